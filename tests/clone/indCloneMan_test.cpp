#include "clone/indCloneMan.h"
#include "core/cmcVirtualLoop.h"

#include "FakeSerial.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

cmcEeprom PatternImage(uint8_t seed) {
    cmcEeprom image;
    image.SetSize(cmcEeprom::kRadioSize);
    for (int32_t a = 0; a < image.GetSize(); ++a)
        image.SetByte(a, static_cast<uint8_t>(a * 7 + seed + (a >> 8)));
    return image;
}

struct Rig {
    cmcVirtualLoop loop;
    FakeLine line{loop};
    FakeLine modelLine{loop};
    int made = 0;
    std::unique_ptr<indCloneMan> man;
    std::unique_ptr<RadioSimEngine> radio;

    explicit Rig(RadioSimEngine::Options options = {}) {
        radio = std::make_unique<RadioSimEngine>(options, PatternImage(3));
        line.radio = radio.get();
        man = std::make_unique<indCloneMan>(
            loop, [this] { return MakeFake(made++ == 0 ? line : modelLine); }, nullptr, nullptr, nullptr);
        man->SetModelCodes(0x3329, 0);
        man->SetImageSize(cmcEeprom::kWorkSize);
        man->SetInfoHandler([](dst_CDrv_Result&) {});
        man->SetReadHandler([](dst_CDrv_Result&) {});
    }
    // Runs one operation to its end; returns the status (-1 when it never finished).
    template <class Start> int32_t Run(Start start, dst_CDrv_Result* copy = nullptr) {
        bool done = false;
        int32_t status = -1;
        bool started = start([&](dst_CDrv_Result& r) {
            done = true;
            status = r.status;
            if (copy) {
                copy->status = r.status;
                copy->information = r.information;
                copy->image = r.image;
                copy->modelCode = r.modelCode;
            }
        });
        EXPECT_TRUE(started);
        loop.RunUntil([&] { return done; }, 600000);
        return status;
    }
};

const cmcRange kAll[] = {{0x0000, 0xFF7F}, kRangeListEnd};
const cmcRange kFrom100[] = {{0x0100, 0xFF7F}, kRangeListEnd};

} // namespace

TEST(indCloneMan, InformationReadAndWriteAgainstTheRadio) {
    for (bool high : {false, true}) {
        SCOPED_TRACE(high ? "high speed" : "low speed");
        Rig rig;
        rig.man->SetComSpeedHigh(high);
        dst_CDrv_Result info;
        ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartInfo(cb); }, &info), 0);
        EXPECT_EQ(info.modelCode, 0x3329);
        EXPECT_EQ(info.information.GetLength(), 127);
        EXPECT_EQ(*info.information.At(0), 127);

        dst_CDrv_Result read;
        ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartRead(kAll, cb); }, &read), 0);
        cmcEeprom expected = PatternImage(3);
        EXPECT_EQ(0, std::memcmp(read.image.Data(), expected.Data(), cmcEeprom::kRadioSize));
        EXPECT_EQ(rig.radio->ListenBaud(), high ? 38400 : 9600);

        cmcEeprom toWrite;
        toWrite.SetSize(cmcEeprom::kWorkSize);
        cmcEeprom other = PatternImage(9);
        toWrite.WriteBlock(0, other.Data(), cmcEeprom::kRadioSize);
        ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartWrite(toWrite, kFrom100, cb); }), 0);
        const cmcEeprom& now = rig.radio->Image();
        EXPECT_EQ(0, std::memcmp(now.Data(), expected.Data(), 0x100)); // the head is not written
        EXPECT_EQ(0, std::memcmp(now.Data() + 0x100, other.Data() + 0x100, cmcEeprom::kRadioSize - 0x100));
    }
}
