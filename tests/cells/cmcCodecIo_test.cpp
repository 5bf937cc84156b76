#include "cells/cmcCodecIo.h"

#include "cells/CodecTestSupport.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecText.h"

#include <gtest/gtest.h>

namespace {

// Only the font colour: a canvas that cannot paint glyphs.
struct ColourOnly : cmcCellCanvas {
    uint32_t color = 0;
    uint32_t FontColor() const override { return color; }
    void SetFontColor(uint32_t c) override { color = c; }
    void SetBrushColor(uint32_t) override {}
};

} // namespace

TEST(cmcCodecIo, ReadsTheCapsuleAndWritesTheAnswerBack) {
    CodecFixture f({{"GI_Sheet_Sel_Test_Cells", {"|{(%Flex0[0]:Off)}|{(%Flex0[1]:On)}|"}}, {"GI_X", {"x"}}});
    cmcCellObj cell, entry;
    cell.layoutFlags = 0x02 | cmcCellObj::kWiden; // right-aligned, widened
    entry.cell = 1;
    entry.parameter = 1;
    cmcCellCapsule chosen, capsule;
    chosen.cell = &entry;
    capsule.cell = &cell;
    capsule.link = &chosen;
    capsule.editState = cmcCellCapsule::kEditChosen;
    capsule.onGrid = true;
    capsule.cellRect = {1, 2, 30, 40};
    RecordingCanvas canvas;
    capsule.canvas = &canvas;

    cmcCodecIo io = cmcCodecIo::FromCapsule(capsule);
    EXPECT_TRUE(io.grid);
    EXPECT_TRUE(io.Chose(1));
    EXPECT_EQ(io.chosenParam, 1);
    EXPECT_EQ(io.painter, &canvas);
    EXPECT_EQ(io.rect, (cmcCanvas::Rect{1, 2, 30, 40}));
    EXPECT_EQ(io.capsule, &capsule);
    int32_t value = 0;
    EXPECT_TRUE(cmcChoiceCodecs::EditChoice(io, f.env, value, "GI_Sheet_Sel_Test"));
    EXPECT_EQ(value, 1);

    // A draw: the text, its selection and the alignment the codec asks for reach the capsule and cell.
    capsule.link = nullptr;
    capsule.editState = 0;
    capsule.key = cmcCellCapsule::kKeyActivate;
    ColourOnly plain;
    capsule.canvas = &plain;
    io = cmcCodecIo::FromCapsule(capsule);
    EXPECT_EQ(io.Key(), cmcCodecIo::kKeyReturn);
    EXPECT_EQ(io.painter, nullptr);
    io.ShowDashes();
    io.align = 1;
    io.ToCapsule(capsule);
    EXPECT_EQ(capsule.displayText, "----");
    EXPECT_EQ(capsule.selLength, 4);
    EXPECT_EQ(plain.color, cmcCodecIo::kGrey);
    EXPECT_EQ(cell.layoutFlags, 0x01 | cmcCellObj::kWiden);

    int restarted = 0;
    capsule.restartEdit = [](void* context, cmcCellCapsule&, int32_t) { ++*static_cast<int*>(context); };
    capsule.restartEditContext = &restarted;
    io.restartEdit = true;
    io.OpenEditorAt("12", 1);
    io.ToCapsule(capsule);
    EXPECT_EQ(restarted, 1);
    EXPECT_EQ(capsule.displayText, "12");
    EXPECT_EQ(capsule.selStart, 1);
    EXPECT_EQ(capsule.selLength, 0);

    // No grid: keys are not honoured.
    capsule.onGrid = false;
    EXPECT_EQ(cmcCodecIo::FromCapsule(capsule).Key(), 0);
}

TEST(cmcCodecIo, EditorOpening) {
    cmcCodecIo io;
    io.Show("  2.500 ");
    io.OpenEditorTrimmed();
    EXPECT_EQ(io.displayText, "2.500");
    EXPECT_EQ(io.selStart, 0);
    EXPECT_EQ(io.selLength, 5);
    EXPECT_EQ(io.result, cmcCodecIo::kResultEdit);
    io.Show("   ");
    io.OpenEditorTrimmed();
    EXPECT_EQ(io.displayText, "");
    io.OpenEditorWith('7');
    EXPECT_EQ(io.displayText, "7");
    EXPECT_EQ(io.selStart, 1);
    EXPECT_EQ(io.selLength, 0);
}

// Overlay texts of refusals are filled by hand: only "%1".."%9" with a value and "%%" are replaced,
// so a text naming more values than given, or printf codes, comes out as written.
TEST(cmcCodecIo, RefusalTextsAreFilledByHand) {
    struct Row {
        const char* format;
        std::initializer_list<std::string_view> values;
        const char* filled;
    };
    const Row rows[] = {
        {"%1-%2 MHz", {"136.000000", "174.000000"}, "136.000000-174.000000 MHz"},
        {"%2 before %1", {"a", "b"}, "b before a"},
        {"%1, %1", {"x"}, "x, x"},
        {"100%% %1", {"x"}, "100% x"},
        {"%3 has no value", {"a", "b"}, "%3 has no value"},
        {"%s %d %n %", {"a"}, "%s %d %n %"},
        {"", {"a"}, ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(cmcCodecText::Fill(r.format, r.values), r.filled) << r.format;

    // The reason reaches the capsule; without an overlay the key and the limits stand for it.
    CodecFixture f({{"GI_AppMess_Refuse_Range", {"out of range: %1-%2"}}});
    cmcCodecIo io;
    io.env = &f.env;
    io.Refuse(cmcCodecIo::kRefuseRange, {"0", "255"});
    cmcCellObj cell;
    cmcCellCapsule capsule;
    capsule.cell = &cell;
    io.ToCapsule(capsule);
    EXPECT_EQ(capsule.refusal, "out of range: 0-255");
    cmcCodecIo bare;
    bare.Refuse(cmcCodecIo::kRefuseRange, {"0", "255"});
    EXPECT_EQ(bare.refusal, "GI_AppMess_Refuse_Range 0 255");
}
