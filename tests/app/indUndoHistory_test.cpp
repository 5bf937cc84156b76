#include "app/indUndoHistory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A small image whose bytes tell which edit made it.
cmcEeprom Image(std::initializer_list<std::pair<int32_t, uint8_t>> bytes = {}) {
    cmcEeprom image;
    image.SetSize(256);
    for (auto [address, value] : bytes)
        image.SetByte(address, value);
    return image;
}

// Edits the history's present image at address and records it.
cmcEeprom Edit(indUndoHistory& history, int32_t address, uint8_t value, const std::string& label) {
    cmcEeprom after = history.State();
    after.SetByte(address, value);
    EXPECT_TRUE(history.Record(history.State(), after, label));
    return after;
}

TEST(indUndoHistory, UndoAndRedoRestoreEveryImageExactly) {
    indUndoHistory history;
    const cmcEeprom start = Image({{3, 7}});
    history.Clear(start, true);
    // Changes far apart and near each other, over several steps.
    const cmcEeprom one = Edit(history, 0, 1, "first");
    cmcEeprom twoImage = one;
    for (int32_t a : {10, 12, 40, 255})
        twoImage.SetByte(a, 0xAA);
    ASSERT_TRUE(history.Record(one, twoImage, "second"));
    // Nothing changed: no step.
    EXPECT_FALSE(history.Record(twoImage, twoImage, "none"));
    EXPECT_EQ(history.UndoCount(), 2u);
    EXPECT_EQ(history.UndoLabel(), "second");

    ASSERT_NE(history.Undo(), nullptr);
    EXPECT_TRUE(history.State() == one);
    EXPECT_EQ(history.UndoLabel(), "first");
    EXPECT_EQ(history.RedoLabel(), "second");
    ASSERT_NE(history.Undo(), nullptr);
    EXPECT_TRUE(history.State() == start);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Undo(), nullptr);
    EXPECT_EQ(history.UndoLabel(), "");

    ASSERT_NE(history.Redo(), nullptr);
    ASSERT_NE(history.Redo(), nullptr);
    EXPECT_TRUE(history.State() == twoImage);
    EXPECT_EQ(history.Redo(), nullptr);
}

TEST(indUndoHistory, ANewStepCutsOffTheStepsToRedo) {
    indUndoHistory history;
    history.Clear(Image(), true);
    Edit(history, 1, 1, "a");
    Edit(history, 2, 2, "b");
    history.Undo();
    ASSERT_TRUE(history.CanRedo());
    const cmcEeprom c = Edit(history, 3, 3, "c");
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoLabel(), "c");
    history.Undo();
    EXPECT_TRUE(history.State() == Image({{1, 1}})); // b is gone, a stays
    history.Redo();
    EXPECT_TRUE(history.State() == c);
}

TEST(indUndoHistory, AChangeNobodyRecordedBecomesAStepOfItsOwn) {
    indUndoHistory history;
    history.Clear(Image(), true);
    const cmcEeprom stray = Image({{5, 5}});
    const cmcEeprom edited = Image({{5, 5}, {6, 6}});
    ASSERT_TRUE(history.Record(stray, edited, "edit"));
    EXPECT_EQ(history.UndoCount(), 2u);
    history.Undo();
    EXPECT_TRUE(history.State() == stray);
    EXPECT_EQ(history.UndoLabel(), "");
    history.Undo();
    EXPECT_TRUE(history.State() == Image());
}

TEST(indUndoHistory, UnsavedFollowsTheSavedStep) {
    indUndoHistory history;
    history.Clear(Image(), true);
    EXPECT_FALSE(history.Unsaved());
    Edit(history, 1, 1, "a");
    EXPECT_TRUE(history.Unsaved());
    history.MarkSaved(history.State());
    EXPECT_FALSE(history.Unsaved());
    Edit(history, 2, 2, "b");
    EXPECT_TRUE(history.Unsaved());
    history.Undo();
    EXPECT_FALSE(history.Unsaved()); // back at the saved data
    history.Undo();
    EXPECT_TRUE(history.Unsaved()); // before it
    history.Redo();
    EXPECT_FALSE(history.Unsaved());
    history.Redo();
    EXPECT_TRUE(history.Unsaved()); // past it

    // The saved step cut off by a new step cannot come back.
    history.Undo();
    history.Undo();
    Edit(history, 3, 3, "c");
    history.Undo();
    EXPECT_TRUE(history.Unsaved());
    history.Redo();
    EXPECT_TRUE(history.Unsaved());

    // Data that has never been saved stays unsaved at the start.
    history.Clear(Image(), false);
    EXPECT_TRUE(history.Unsaved());
}

TEST(indUndoHistory, SavingThatNormalisesTheDataFoldsItIntoThePresentStep) {
    indUndoHistory history;
    history.Clear(Image(), true);
    Edit(history, 1, 1, "a");
    Edit(history, 2, 2, "b");
    history.Undo();
    // Saving wrote the data in its stored form: one more byte changed.
    const cmcEeprom stored = Image({{1, 1}, {9, 9}});
    history.MarkSaved(stored);
    EXPECT_TRUE(history.State() == stored);
    EXPECT_FALSE(history.Unsaved());
    EXPECT_FALSE(history.CanRedo()); // b was made on the data before saving
    EXPECT_EQ(history.UndoCount(), 1u);
    EXPECT_EQ(history.UndoLabel(), "a");
    history.Undo();
    EXPECT_TRUE(history.State() == Image());
    history.Redo();
    EXPECT_TRUE(history.State() == stored);
    EXPECT_FALSE(history.Unsaved());

    // A save that takes the last step's change back leaves nothing of it to undo.
    history.Clear(Image(), true);
    Edit(history, 4, 4, "d");
    history.MarkSaved(Image());
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Unsaved());
}

TEST(indUndoHistory, TheOldestStepsGoWhenFull) {
    indUndoHistory history(3);
    history.Clear(Image(), true);
    for (uint8_t i = 1; i <= 5; ++i)
        Edit(history, i, i, "step " + std::to_string(i));
    EXPECT_EQ(history.UndoCount(), 3u);
    while (history.Undo()) {
    }
    // Back as far as the history reaches: steps 1 and 2 stay done, and the saved data is out of reach.
    EXPECT_TRUE(history.State() == Image({{1, 1}, {2, 2}}));
    EXPECT_EQ(history.RedoLabel(), "step 3");
    EXPECT_TRUE(history.Unsaved());

    // The byte bound drops old steps too, but keeps the newest however large it is.
    indUndoHistory small(200, 64);
    small.Clear(Image(), true);
    cmcEeprom all = Image();
    all.Fill(0x55);
    ASSERT_TRUE(small.Record(small.State(), all, "fill"));
    Edit(small, 0, 1, "one");
    EXPECT_EQ(small.UndoCount(), 1u);
    EXPECT_EQ(small.UndoLabel(), "one");
    small.Undo();
    EXPECT_TRUE(small.State() == all);
}

} // namespace
