// One edit for many cells of the channel sheet on the shipped LMR initial data (four channels and the
// blank row that appends one): every cell takes or refuses its value itself, and the refusals name
// their row and why.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSelectionEdit.h"
#include "sheets/iuiSheetTable.h"

#include "ShippedLmrData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct NoWindows : cmcCellWindows {
    void OpenList(const cmcCellCapsule*, std::string_view, int32_t, int32_t) override {}
    void OpenBits(const cmcCellCapsule*, int32_t, int32_t, int32_t, int32_t, std::string_view) override {}
    void OpenDisplayText(const cmcCellCapsule*, std::string_view, bool, int32_t, const uint8_t*,
                         bool) override {}
    void OpenCharEditor(const cmcCellCapsule*, int32_t) override {}
    bool AskPassword(const cmcCellCapsule*, std::string&) override { return false; }
};

using Edit = iuiSelectionEdit;

struct SelectionEdit : testing::Test, ShippedLmrData {
    NoWindows windows;
    std::unique_ptr<iuiSheetTable> table;

    void SetUp() override {
        Load(&windows);
        table = std::make_unique<iuiSheetTable>(env, *handler, *codecs, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
        ASSERT_EQ(table->DataRowCount(), 4);
    }

    // The cells of a column in table rows first..last, as the window hands them over.
    std::vector<Edit::Target> Cells(const char* header, int32_t first, int32_t last) {
        const int32_t column = table->ColumnOf(header);
        EXPECT_GE(column, 0) << header;
        const int32_t fixed = table->Sheet().GridFixedRows();
        std::vector<Edit::Target> cells;
        for (int32_t row = first; row <= last; ++row) {
            Edit::Target t;
            t.row = row + fixed;
            t.rowName = table->Text(row, 0);
            // The sheet column of the shown column: the one whose cell shows the same text.
            for (int32_t c = 0; c < table->Sheet().ColCount(); ++c) {
                const cmcCellObj& cell = table->Sheet().Cell(c, t.row);
                if (cell.HasCell() && table->HeaderOfCell(row, cell.cell) == table->Header(column)) {
                    t.cell = cell;
                    break;
                }
            }
            EXPECT_TRUE(t.cell.HasCell()) << header << " row " << row;
            cells.push_back(t);
        }
        return cells;
    }
    std::vector<std::string> Column(const char* header, int32_t first, int32_t last) {
        std::vector<std::string> texts;
        for (int32_t row = first; row <= last; ++row)
            texts.push_back(table->Text(row, table->ColumnOf(header)));
        return texts;
    }
};

TEST_F(SelectionEdit, TypedTextGoesToEveryCellThatTakesIt) {
    // The blank row's power waits for its first cell: refused with that reason, the four channels change.
    Edit edit(*handler, *codecs, &table->Sheet());
    Edit::Result result = edit.Type(Cells("RF power", 0, 4), "low1");
    EXPECT_EQ(result.changed, 4);
    EXPECT_EQ(Column("RF power", 0, 3), std::vector<std::string>(4, "Low1"));
    ASSERT_EQ(result.refused.size(), 1u);
    EXPECT_EQ(result.refused[0].why, Edit::Refusal::kEmptyRow);
    EXPECT_EQ(result.refused[0].row, 4 + table->Sheet().GridFixedRows());
    EXPECT_EQ(table->DataRowCount(), 4);

    // A text no cell takes: each refusal carries the cell's own reason, and nothing changes.
    const cmcEeprom before = work;
    result = edit.Type(Cells("RF power", 0, 3), "Low");
    EXPECT_EQ(result.changed, 0);
    ASSERT_EQ(result.refused.size(), 4u);
    EXPECT_EQ(result.refused[2].rowName, table->Text(2, 0));
    EXPECT_EQ(result.refused[2].why, Edit::Refusal::kSaid);
    EXPECT_NE(result.refused[2].text.find("list"), std::string::npos) << result.refused[2].text;
    EXPECT_TRUE(work == before);
}

TEST_F(SelectionEdit, SpaceStepsEachCellOnce) {
    Edit edit(*handler, *codecs, &table->Sheet());
    const std::vector<std::string> before = Column("RF power", 0, 3);
    const Edit::Result result = edit.Step(Cells("RF power", 0, 3), cmcCellCapsule::kKeySpace);
    EXPECT_EQ(result.changed, 4);
    EXPECT_TRUE(result.refused.empty());
    // All four started equal, so one step leaves them equal again, on another entry.
    const std::vector<std::string> after = Column("RF power", 0, 3);
    EXPECT_EQ(after, std::vector<std::string>(4, after[0]));
    EXPECT_NE(after[0], before[0]);
}

TEST_F(SelectionEdit, FillDownCopiesTheTopCell) {
    Edit edit(*handler, *codecs, &table->Sheet());
    ASSERT_TRUE(table->Type(0, table->ColumnOf("Name"), "BASE").accepted);
    const Edit::Result result = edit.FillDown(Cells("Name", 0, 3));
    EXPECT_EQ(result.changed, 3);
    EXPECT_EQ(Column("Name", 0, 3), std::vector<std::string>(4, "BASE"));
}

TEST_F(SelectionEdit, SeriesTexts) {
    struct Case {
        Edit::Series kind;
        const char* start;
        const char* step;
        std::vector<std::string> texts;
        Edit::SeriesError error;
    };
    const auto F = Edit::Series::kFrequency, N = Edit::Series::kNumber;
    const Case cases[] = {
        {F,
         "446.00625",
         "12.5",
         {"446.006250", "446.018750", "446.031250", "446.043750"},
         Edit::SeriesError::kNone},
        {F,
         " 151,625 ",
         "-6.25",
         {"151.625000", "151.618750", "151.612500", "151.606250"},
         Edit::SeriesError::kNone},
        {N, "0098", "1", {"0098", "0099", "0100", "0101"}, Edit::SeriesError::kNone}, // the code's width kept
        {N, "1001", "10", {"1001", "1011", "1021", "1031"}, Edit::SeriesError::kNone},
        {N, "2", "-1", {}, Edit::SeriesError::kBelowZero},
        {F, "446.0000001", "12.5", {}, Edit::SeriesError::kStart}, // finer than a hertz
        {F, "446", "12.5.0", {}, Edit::SeriesError::kStep},
        {N, "12a", "1", {}, Edit::SeriesError::kStart},
        {N, "1", "0.5", {}, Edit::SeriesError::kStep},
        {N, "9999999999999", "1", {}, Edit::SeriesError::kStart}, // too long to count safely
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " by " + c.step);
        std::vector<std::string> texts;
        Edit::SeriesError error = Edit::SeriesError::kNone;
        EXPECT_EQ(Edit::SeriesTexts(c.kind, c.start, c.step, 4, texts, error),
                  c.error == Edit::SeriesError::kNone);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(texts, c.texts);
    }
    Edit::Series kind{};
    EXPECT_TRUE(Edit::SeriesKindOf("RX frequency (MHz)", "", kind));
    EXPECT_EQ(kind, F);
    EXPECT_TRUE(Edit::SeriesKindOf("NXDN unit ID", "0012", kind));
    EXPECT_EQ(kind, N);
    EXPECT_FALSE(Edit::SeriesKindOf("Name", "CH 1", kind));
}

TEST_F(SelectionEdit, SeriesFillsTopToBottomThroughTheCells) {
    Edit edit(*handler, *codecs, &table->Sheet());
    std::vector<std::string> texts;
    Edit::SeriesError error{};
    // Frequencies that run off the top of the band: the last two cells say so and keep their value.
    ASSERT_TRUE(Edit::SeriesTexts(Edit::Series::kFrequency, "799.985", "12.5", 4, texts, error));
    const std::vector<std::string> before = Column("RX frequency (MHz)", 0, 3);
    Edit::Result result = edit.TypeEach(Cells("RX frequency (MHz)", 0, 3), texts);
    EXPECT_EQ(result.changed, 2);
    EXPECT_EQ(Column("RX frequency (MHz)", 0, 3),
              (std::vector<std::string>{"799.985000", "799.997500", before[2], before[3]}));
    ASSERT_EQ(result.refused.size(), 2u);
    EXPECT_EQ(result.refused[0].rowName, table->Text(2, 0));
    EXPECT_EQ(result.refused[0].why, Edit::Refusal::kSaid);
    EXPECT_NE(result.refused[0].text.find("band"), std::string::npos) << result.refused[0].text;

    // IDs by an increment.
    ASSERT_TRUE(Edit::SeriesTexts(Edit::Series::kNumber, "100", "5", 4, texts, error));
    result = edit.TypeEach(Cells("NXDN unit ID", 0, 3), texts);
    EXPECT_EQ(result.changed, 4);
    EXPECT_TRUE(result.refused.empty());
    EXPECT_EQ(Column("NXDN unit ID", 0, 3), texts);
}

} // namespace
