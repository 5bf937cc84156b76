// Printing on the shipped overlay and initial data. Which sheets the print commands print: every
// tree sheet in tree order, the repeater lists of the banks that have repeaters after the third node
// (LMR only), the summary and Print current. And a printed bank sheet shows its own bank whatever
// bank the sheet open on screen shows.
#include "print/cuiPrintJob.h"
#include "print/cuiPrintList.h"
#include "print/cuiPrinter.h"

#include "RecordingDevice.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "model/indCellHandler.h"

#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indRptList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Shipped {
    cmcTextTables tables;
    cmcEeprom work;

    explicit Shipped(int type) {
        tables.Load(cmcAppDir(), 0);
        indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), type), work);
        indModel::ConvertInitial(work, indModel::ReadSettings(tables.Text()));
    }
    // Bank 1 a conventional repeater bank with two repeaters, bank 3 a trunking bank with one.
    void AddRepeaterBanks() {
        uint8_t* w = work.Data();
        w[indLayout::kBankF1] |= 0x80 >> 1;
        w[indLayout::kBankF3] |= 0x80 >> 3;
        indRptList repeaters(work, indRptList::kRepeaters);
        indRptList trunking(work, indRptList::kTrunkRepeaters);
        for (int g = 0; g < indLayout::kGroups; ++g) {
            ASSERT_EQ(repeaters.GroupSize(g) + trunking.GroupSize(g), 0) << "the initial data has repeaters";
        }
        ASSERT_GE(repeaters.AddToGroup(1), 0);
        ASSERT_GE(repeaters.AddToGroup(1), 0);
        ASSERT_GE(trunking.AddToGroup(3), 0);
    }
    std::vector<std::string> TreeSheets(int type) {
        std::vector<std::string> out;
        for (const auto& node : iuiTreeSheets::Nodes(tables.Text(), work.Data(), {type, false, false})) {
            if (!node.sheetText.empty()) {
                out.push_back(node.sheetText);
            }
        }
        return out;
    }
};

const std::vector<std::string> kRepeaterLists = {"GI_Sheet_RptSetWin,R 9,1", "GI_Sheet_RptSetWin_VORN,R 9,3"};

TEST(cuiPrintList, AllSheetsInTreeOrderWithRepeaterListsAfterTheThirdNode) {
    Shipped lmr(indModel::kLmr);
    const std::vector<std::string> tree = lmr.TreeSheets(indModel::kLmr);
    const cuiPrintList plain =
        cuiPrintList::AllSheets(lmr.tables.Text(), lmr.work, {indModel::kLmr, false, false});
    EXPECT_EQ(plain.sheets, tree);
    EXPECT_FALSE(plain.repeaterPrint);

    lmr.AddRepeaterBanks();
    const cuiPrintList all =
        cuiPrintList::AllSheets(lmr.tables.Text(), lmr.work, {indModel::kLmr, false, false});
    EXPECT_TRUE(all.repeaterPrint);
    // The tree's first node has no sheet: its second and third nodes print before the repeaters.
    std::vector<std::string> expected(tree.begin(), tree.begin() + 2);
    expected.insert(expected.end(), kRepeaterLists.begin(), kRepeaterLists.end());
    expected.insert(expected.end(), tree.begin() + 2, tree.end());
    EXPECT_EQ(all.sheets, expected);

    std::vector<std::string> summary(tree.begin(), tree.begin() + 2);
    summary.insert(summary.end(), kRepeaterLists.begin(), kRepeaterLists.end());
    EXPECT_EQ(cuiPrintList::Summary(lmr.tables.Text(), lmr.work, {indModel::kLmr, false, false}).sheets,
              summary);
    EXPECT_EQ(cuiPrintList::Current("GI_Sheet_BankOpLtr,Bank %d,%d,0", lmr.tables.Text(), lmr.work,
                                    {indModel::kLmr, false, false})
                  .sheets,
              summary);
    EXPECT_EQ(cuiPrintList::Current(tree.back(), lmr.tables.Text(), lmr.work, {indModel::kLmr, false, false})
                  .sheets,
              std::vector<std::string>{tree.back()});
}

TEST(cuiPrintList, PmrPrintsNoRepeaterLists) {
    Shipped pmr(indModel::kPmr);
    pmr.AddRepeaterBanks();
    const cuiPrintList all =
        cuiPrintList::AllSheets(pmr.tables.Text(), pmr.work, {indModel::kPmr, false, false});
    EXPECT_EQ(all.sheets, pmr.TreeSheets(indModel::kPmr));
    EXPECT_FALSE(all.repeaterPrint);
}

TEST(ShippedPrint, BankSheetPrintsItsOwnBankWhateverTheScreenShows) {
    Shipped lmr(indModel::kLmr);
    uint8_t* w = lmr.work.Data();
    // Two channels in each of the first two banks.
    for (int g = 0; g < indLayout::kGroups; ++g) {
        indLayout::Put16(w, indLayout::kGroupCounts + 2 * g, g < 2 ? 2 : 0);
    }
    cmcFCache lists(lmr.tables.Text());
    cmcCodecEnv codecs(&lmr.tables.Text(), &lists, nullptr);
    indCellHandler::Services hs;
    hs.work = &lmr.work;
    hs.defaults = &lmr.work;
    hs.env = &codecs;
    indCellHandler handler(hs);
    handler.shownBank = 0; // the screen shows bank 1's sheet

    cuiPrinter::Services ps;
    ps.texts = &lmr.tables.Text();
    ps.sheetEnv = [&] {
        cuiSheetEnv env;
        env.texts = &lmr.tables.Text();
        env.languages = &lmr.tables.Languages();
        env.work = &lmr.work;
        env.current = &lmr.work;
        return env;
    };
    ps.handler = &handler;
    cuiPrinter printer(ps);
    RecordingDevice device(4960, 7016, 600);
    cuiPrintJob job(printer, device, {{"[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1"}, false});
    ASSERT_EQ(job.Run(), cuiPrintJob::State::Finished);
    std::vector<std::string> numbers;
    for (const auto& t : device.canvas.texts) {
        if (t.text.find("- ") == 1) {
            numbers.push_back(t.text);
        }
    }
    // The channel numbers of bank 2, once per page across.
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), "2-  1"), job.PagesPrinted());
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), "1-  1"), 0);
    EXPECT_EQ(handler.shownBank, 0);
}

} // namespace
