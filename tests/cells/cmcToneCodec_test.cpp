#include "cells/cmcToneCodec.h"

#include "cells/CodecTestSupport.h"

#include <gtest/gtest.h>

namespace {

using C = cmcToneCodec;
using Tone = C::Tone;
constexpr uint8_t kOn = C::kOn, kCode = C::kOn | C::kDigital, kInv = C::kOn | C::kDigital | C::kInverted;

CodecFixture Tones() {
    return CodecFixture({
        {"GI_Sheet_Sel_Mch_CTone_Cells",
         {"|{(%Flex0[52]:OFF)}|{(%Flex0[0]:67\\.0)}|{(%Flex0[1]:69\\.3)}|{(%Flex0[2]:71\\.9)}|",
          "|{(%FlexDtcs[53]:DTCS)}|"}},
        {"GI_AppItem_Ctcss", {"67.0,69.3", "71.9"}},
    });
}

} // namespace

TEST(cmcToneCodec, EditTone) {
    CodecFixture f = Tones();
    const Tone off{};
    const Tone t0{kOn, 0, 0}, t1{kOn, 1, 0}, t2{kOn, 2, 0};
    const Tone c023{kCode, 0, 023}, c754i{kInv, 0, 0754}, c754n{kCode, 0, 0754};
    struct Row {
        const char* what;
        Tone rx, tx;
        bool transmit;
        cmcCodecIo io;
        Tone rxAfter, txAfter;
        bool changed;
        const char* shown;
        int32_t result = 0;
        std::vector<std::string> opened = {};
    };
    const Row rows[] = {
        {"off", off, off, false, MakeIo(Draw()), off, off, false, "OFF"},
        {"a tone", t1, off, false, MakeIo(Draw()), t1, off, false, "69.3"},
        {"a normal code", off, off, false, MakeIo(Typed("023")), c023, c023, true, "023N"},
        // The other field keeps its last value: the flags say which one counts.
        {"an inverted code", t1, off, false, MakeIo(Typed(" 754i")), {kInv, 1, 0754}, off, true, "754i"},
        {"space toggles a code", c754i, off, false, MakeIo(Key(' ')), c754n, off, true, "754N"},
        {"8 is no octal digit: looked up as a tone", t1, off, false, MakeIo(Typed("854")), t1, off, false,
         "69.3"},
        {"a unique tone prefix", off, off, false, MakeIo(Typed("7")), t2, t2, true, "71.9"},
        {"one character matching two tones", off, off, false, MakeIo(Typed("6")), off, off, false, "OFF"},
        {"two characters pick the first match", off, off, false, MakeIo(Typed("69.")), t1, t1, true, "69.3"},
        {"space steps the list", t0, off, false, MakeIo(Key(' ')), t1, off, true, "69.3"},
        {"backspace wraps", off, off, false, MakeIo(Key(8)), t2, t2, true, "71.9"},
        {"carriage return opens the list",
         t2,
         off,
         false,
         MakeIo(Key(13)),
         t2,
         off,
         false,
         "71.9",
         cmcCodecIo::kResultRefresh,
         {"list GI_Sheet_Sel_Mch_CTone 1 2"}},
        {"a letter opens the editor", t2, off, false, MakeIo(Key('d')), t2, off, false, "d",
         cmcCodecIo::kResultEdit},
        {"list answer", c023, off, false, Chosen(1, 2), {kOn, 2, 023}, off, true, "71.9"},
        {"list answer off", t1, t1, false, Chosen(1, 52), off, off, true, "OFF"},
        {"equal transmit shows <-", t1, t1, true, MakeIo(Draw()), t1, t1, false, "<-"},
        {"equal but off shows the text", off, off, true, MakeIo(Draw()), off, off, false, "OFF"},
        {"the transmit cell alone", t1, t1, true, MakeIo(Key(' ')), t1, t2, true, "71.9"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        f.windows.opened.clear();
        cmcCodecIo io = r.io;
        Tone rx = r.rx, tx = r.tx;
        EXPECT_EQ(C::EditTone(io, f.env, rx, tx, r.transmit), r.changed);
        EXPECT_EQ(rx, r.rxAfter);
        EXPECT_EQ(tx, r.txAfter);
        EXPECT_EQ(io.displayText, r.shown);
        EXPECT_EQ(io.result, r.result);
        EXPECT_EQ(f.windows.opened, r.opened);
    }
}

TEST(cmcToneCodec, CodeEntryFromTheListReopensTheEditor) {
    CodecFixture f = Tones();
    Tone rx{kCode, 0, 0754}, tx{};
    cmcCodecIo io = Chosen(5, 53);
    EXPECT_FALSE(C::EditTone(io, f.env, rx, tx, false));
    EXPECT_TRUE(io.restartEdit);
    EXPECT_EQ(io.displayText, "754");
}
