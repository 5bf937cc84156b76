#include "cells/cmcCellCapsule.h"

#include "cells/cmcCellObj.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

cmcCellCapsule Filled(cmcCellObj& cell, cmcCellCapsule& other) {
    cmcCellCapsule c;
    c.link = &other;
    c.groupIndex = 5;
    c.ownerControl = &other;
    c.cell = &cell;
    c.windowOwner = &other;
    c.cellRect = {1, 2, 3, 4};
    c.selStart = 1;
    c.selLength = 2;
    c.key = 'A';
    c.command = 127;
    c.enteredText = "entered";
    c.displayText = "shown";
    c.refusal = "refused";
    c.stateBits = 0xFF;
    c.markPosition = 3;
    c.editState = 1;
    c.redirect = {1, 2, 176, 9, 13};
    c.rangeFlags = cmcCellCapsule::kRangeBlock;
    c.rangeFirst = 3;
    c.rangeLast = 8;
    c.refresh = [](void*, cmcCellCapsule&, uint8_t) {};
    c.refreshContext = &other;
    c.restartEdit = [](void*, cmcCellCapsule&, int32_t) {};
    c.restartEditContext = &other;
    return c;
}

} // namespace

TEST(CellCapsule, ResetKeepsOnlyTheGroupIndex) {
    cmcCellObj cell;
    cmcCellCapsule other;
    cmcCellCapsule c = Filled(cell, other);
    c.ResetCapsule();
    EXPECT_EQ(c.groupIndex, 5);
    c.groupIndex = 0;
    const cmcCellCapsule fresh;
    EXPECT_EQ(c.link, nullptr);
    EXPECT_EQ(c.cell, nullptr);
    EXPECT_EQ(c.refresh, nullptr);
    EXPECT_EQ(c.restartEdit, nullptr);
    EXPECT_EQ(c.enteredText, "");
    EXPECT_EQ(c.displayText, "");
    EXPECT_EQ(c.refusal, "");
    EXPECT_EQ(c.stateBits, 0);
    EXPECT_EQ(c.rangeFlags, 0);
    EXPECT_EQ(c.rangeFirst, 0);
    EXPECT_EQ(c.rangeLast, 0);
    EXPECT_EQ(c.redirect.on, 0);
    EXPECT_EQ(c.redirect.cell, 0);
    EXPECT_EQ(c.key, 0);
    EXPECT_EQ(c.command, 0);
    EXPECT_EQ(c.editState, 0);
    EXPECT_EQ(c.cellRect.right, 0);
}

// The list answer works on a copy of the opener's capsule: it keeps the selected range but takes its
// own group index, and of the state only the four defined bits.
TEST(CellCapsule, CopyForAnAnswer) {
    cmcCellObj cell;
    cmcCellCapsule other;
    const cmcCellCapsule source = Filled(cell, other);
    cmcCellCapsule copy;
    copy.groupIndex = 77;
    copy.CopyCapsule(source);
    EXPECT_EQ(copy.groupIndex, 77);
    EXPECT_EQ(copy.stateBits, 0x0F);
    EXPECT_EQ(copy.rangeFlags, cmcCellCapsule::kRangeBlock);
    EXPECT_EQ(copy.rangeFirst, 3);
    EXPECT_EQ(copy.rangeLast, 8);
    EXPECT_EQ(copy.link, &other);
    EXPECT_EQ(copy.cell, &cell);
    EXPECT_EQ(copy.displayText, "shown");
    EXPECT_EQ(copy.enteredText, "entered");
    EXPECT_EQ(copy.refusal, "refused");
    EXPECT_EQ(copy.redirect.cell, 176);
    EXPECT_EQ(copy.refreshContext, &other);
    copy.CopyCapsule(copy); // copying onto itself changes nothing
    EXPECT_EQ(copy.displayText, "shown");
}

TEST(CellCapsule, CallbacksAreCalledOnlyWhenSetAndNeeded) {
    struct Calls {
        std::vector<int> scopes;
        std::vector<int> restarts;
    } calls;
    cmcCellCapsule c;
    c.Refresh(0x21); // no callback set: nothing happens
    c.RestartEdit();
    c.refresh = [](void* ctx, cmcCellCapsule&, uint8_t scope) {
        static_cast<Calls*>(ctx)->scopes.push_back(scope);
    };
    c.refreshContext = &calls;
    c.restartEdit = [](void* ctx, cmcCellCapsule&, int32_t flag) {
        static_cast<Calls*>(ctx)->restarts.push_back(flag);
    };
    c.restartEditContext = &calls;
    c.Refresh(0);
    c.Refresh(0x21);
    c.RestartEdit();
    EXPECT_EQ(calls.scopes, std::vector<int>{0x21});
    EXPECT_EQ(calls.restarts, std::vector<int>{0});
}

TEST(CellCapsule, KeyCodes) {
    EXPECT_EQ(cmcCellCapsule::KeyF(1), 0x7000);
    EXPECT_EQ(cmcCellCapsule::KeyF(12), cmcCellCapsule::kKeyF12);
    EXPECT_EQ(cmcCellCapsule::KeyF(12), 0x7B00);
}

TEST(CellCapsule, RefreshScopeSelectsCells) {
    auto make = [](int32_t category, int32_t cellNo, int32_t parameter) {
        cmcCellObj c;
        c.category = category;
        c.cell = cellNo;
        c.parameter = parameter;
        return c;
    };
    const cmcCellObj acted = make(2, 176, 7);
    const cmcCellObj noCategory = make(47, 176, 7);
    struct Case {
        uint8_t scope;
        const cmcCellObj* actedOn;
        cmcCellObj visible;
        bool redrawn;
    };
    const Case cases[] = {
        {0x01, &acted, make(2, 176, 7), true},       {0x01, &acted, make(2, 176, 8), false},
        {0x01, &acted, make(2, 177, 7), false},      {0x02, &acted, make(2, 1754, 1), true},
        {0x02, &acted, make(3, 176, 7), false},      {0x04, &acted, make(9, 176, 0), true},
        {0x08, &acted, make(5, 200, 7), true},       {0x08, &acted, make(5, 1754, 7), false},
        {0x08, &noCategory, make(5, 200, 7), false}, {0x10, &acted, make(2, 200, 6), true},
        {0x10, &acted, make(2, 200, 8), true},       {0x10, &acted, make(2, 200, 9), false},
        {0x10, &acted, make(3, 200, 7), false},      {0x20, &acted, make(47, 0, -5), true},
        {0x20, &acted, make(2, 1754, 7), false},     {0x40, &acted, make(0, 10, 7), true},
        {0x40, &acted, make(0, 10, 100), true},      {0x40, &acted, make(0, 10, 6), false},
        {0x40, &noCategory, make(0, 10, 8), false},  {0x80, &acted, make(0, 10, 6), true},
        {0x80, &acted, make(0, 10, 8), false},       {0x00, &acted, make(2, 176, 7), false},
        {0x41, &acted, make(2, 176, 7), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cmcCellCapsule::ScopeSelects(c.scope, *c.actedOn, c.visible), c.redrawn)
            << "scope " << int(c.scope) << " visible " << c.visible.category << "/" << c.visible.cell << "/"
            << c.visible.parameter;
}
