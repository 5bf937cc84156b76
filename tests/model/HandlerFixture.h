#pragma once
// The model cell handler on the shipped initial data and the English overlay, driven through real
// capsules: a draw, a key, a typed text or a list answer per call, with the windows and message boxes
// recorded.
#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "core/cmcEvMan.h"
#include "core/cmcEvRec.h"
#include "core/cmcTextTables.h"
#include "core/cmcVirtualLoop.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indWorkImage.h"

#include "TableHolding.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace handlerfix {

using L = indLayout;

inline std::string DataDir() {
    const char* d = std::getenv("OSTREL_DATA_DIR");
    return d ? d : ".";
}

class NullWindows : public cmcCellWindows {
public:
    std::vector<std::string> lists;
    void OpenList(const cmcCellCapsule*, std::string_view name, int32_t, int32_t) override {
        lists.emplace_back(name);
    }
    void OpenBits(const cmcCellCapsule*, int32_t, int32_t, int32_t, int32_t, std::string_view) override {}
    void OpenDisplayText(const cmcCellCapsule*, std::string_view, bool, int32_t, const uint8_t*,
                         bool) override {}
    void OpenCharEditor(const cmcCellCapsule*, int32_t) override {}
    bool AskPassword(const cmcCellCapsule*, std::string&) override { return false; }
};

class Canvas : public cmcCellCanvas {
public:
    uint32_t color = 0;
    uint32_t FontColor() const override { return color; }
    void SetFontColor(uint32_t c) override { color = c; }
    void SetBrushColor(uint32_t) override {}
};

struct Outcome {
    std::string text;
    int32_t result = 0;
    uint8_t marks = 0;
    uint32_t color = 0;
    uint8_t scope = 0;
    cmcCellCapsule::Redirect redirect;
    std::string refusal;
};

class HandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        events.Register(&HandlerTest::Listen, this);
        ASSERT_GE(tables.Load(DataDir(), 0), 0);
        work.SetSize(L::kWorkSize);
        const std::string initial = DataDir() + "/Initial_LMR.ocd";
        ASSERT_TRUE(std::filesystem::exists(initial)) << initial << " is missing: build ostrel_initial_data";
        indModel::LoadInitialData(initial, work);
        indModel::ConvertInitial(work, {});
        defaults = work;
        Build(0);
    }

    void Build(int family) {
        indCellHandler::Services s;
        s.work = &work;
        s.defaults = &defaults;
        s.env = &env;
        s.box = &box;
        s.events = &events;
        s.modelFamily = family;
        handler = std::make_unique<indCellHandler>(s);
    }

    // The events posted so far, as "type:p1:p2", delivered by one pump.
    std::vector<std::string> Events() {
        posted.clear();
        loop.Advance(cmcEvMan::kPumpIntervalMs);
        return posted;
    }
    static void Listen(void* context, const cmcEvRec& e) {
        static_cast<HandlerTest*>(context)->posted.push_back(
            std::to_string(e.type) + ":" + std::to_string(e.p1) + ":" + std::to_string(e.p2));
    }

    int Count(int bank) { return L::GroupCount(work.Data(), bank); }
    int Total() {
        int t = 0;
        for (int g = 0; g < L::kGroups; ++g)
            t += Count(g);
        return t;
    }
    uint8_t* A(int n) { return work.Data() + L::kChA + L::kChASize * n; }
    uint8_t* B(int n) { return work.Data() + L::kChB + L::kChBSize * n; }

    // One call: a draw (no grid) unless a key or typed text is given.
    Outcome Call(int32_t category, int32_t cell, int32_t param, int32_t key = 0, const char* typed = nullptr,
                 bool grid = false) {
        cmcCellObj obj;
        obj.category = category;
        obj.cell = cell;
        obj.parameter = param;
        cmcCellCapsule c;
        c.cell = &obj;
        Canvas canvas;
        c.canvas = &canvas;
        c.key = key;
        if (typed) {
            c.editState = cmcCellCapsule::kEditEntered;
            c.enteredText = typed;
        }
        if (key || typed || grid)
            c.onGrid = true;
        Outcome o;
        c.refresh = [](void* ctx, cmcCellCapsule&, uint8_t scope) {
            static_cast<Outcome*>(ctx)->scope = scope;
        };
        c.refreshContext = &o;
        const bool acting = key || typed;
        o.result = handler->CallCell(c, acting ? 1 : 0);
        o.text = c.displayText;
        o.marks = c.stateBits;
        o.color = canvas.color;
        o.redirect = c.redirect;
        o.refusal = c.refusal;
        return o;
    }

    // The answer of a list window opened from the cell: the chosen entry's cell and parameter.
    Outcome Answer(int32_t category, int32_t cell, int32_t param, int32_t chosenCell, int32_t chosenParam) {
        cmcCellObj obj;
        obj.category = category;
        obj.cell = cell;
        obj.parameter = param;
        cmcCellObj chosen;
        chosen.cell = chosenCell;
        chosen.parameter = chosenParam;
        cmcCellCapsule entry;
        entry.cell = &chosen;
        cmcCellCapsule c;
        c.cell = &obj;
        c.onGrid = true;
        c.link = &entry;
        c.editState = cmcCellCapsule::kEditChosen;
        Outcome o;
        o.result = handler->CallCell(c, 1);
        o.text = c.displayText;
        o.refusal = c.refusal;
        return o;
    }

    // Makes the working image hold tables (as data of a related variant does) or lack them (as an
    // older file or a radio without them does).
    void Hold(std::initializer_list<int> ids) { HoldIds(std::vector<int>(ids)); }
    void HoldIds(const std::vector<int>& ids) { tableholding::HoldTables(work, ids); }
    void Lack(std::initializer_list<int> ids) { LackIds(std::vector<int>(ids)); }
    void LackIds(const std::vector<int>& ids) { tableholding::LackTables(work, ids); }

    // A save and a reopen: the packed radio memory alone, expanded again.
    cmcEeprom Reopened() {
        EXPECT_EQ(indWorkImage(work, &defaults).PackTables(false), indWorkImage::PackResult::Ok);
        cmcEeprom reread;
        reread.SetSize(L::kWorkSize);
        std::memcpy(reread.Data(), work.Data(), L::kRadioSize);
        indWorkImage(reread, &defaults).ExpandTables();
        return reread;
    }

    // Adds a channel to a bank with a receive frequency.
    int AddChannel(int bank, const char* mhz) {
        handler->shownBank = bank;
        const int n = L::GroupStart(work.Data(), bank) + Count(bank);
        EXPECT_EQ(Call(CT_Mch, CL_Mch_FreqR, n, '1').result, cmcCellHandler::kResultEdit);
        Call(CT_Mch, CL_Mch_FreqR, n, 0, mhz);
        handler->shownBank = -1;
        return n;
    }

    cmcTextTables tables;
    cmcFCache lists{tables.Text()};
    NullWindows windows;
    cmcCodecEnv env{&tables.Text(), &lists, &windows};
    ScriptedMessageBox box;
    cmcVirtualLoop loop;
    cmcEvMan events{loop};
    std::vector<std::string> posted;
    cmcEeprom work, defaults;
    std::unique_ptr<indCellHandler> handler;
};

} // namespace handlerfix
