#include "clone/indCloneMan.h"
#include "core/cmcGTex.h"
#include "core/cmcVirtualLoop.h"
#include "support/TestSupport.h"

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

    explicit Rig(RadioSimEngine::Options options = {}, cmcGTex* tex = nullptr, cmcMessageBox* box = nullptr) {
        radio = std::make_unique<RadioSimEngine>(options, PatternImage(3));
        line.radio = radio.get();
        man = std::make_unique<indCloneMan>(
            loop, [this] { return MakeFake(made++ == 0 ? line : modelLine); }, tex, box, nullptr);
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

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Hex(const std::string& text) {
    Bytes out;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == ' ')
            continue;
        out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
        ++i;
    }
    return out;
}

Bytes Fe(size_t n) {
    return Bytes(n, 0xFE);
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The line speed and bytes of every stretch of the wire, up to the first data byte of the radio.
std::vector<FakeLine::Chunk> Head(const FakeLine& line, size_t chunks) {
    std::vector<FakeLine::Chunk> out(line.written.begin(), line.written.begin() + static_cast<long>(chunks));
    return out;
}

} // namespace

TEST(indCloneMan, LowSpeedReadWithoutPasswordOnTheWire) {
    Rig rig;
    rig.man->SetComSpeedHigh(false);
    ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartRead(kAll, cb); }), 0);
    const Bytes slow = Join({Fe(20), Hex("EE EF E8 33 29 00 00 01 32 37 FD")});
    ASSERT_GE(rig.line.written.size(), 4u);
    auto head = Head(rig.line, 4);
    EXPECT_EQ(head[0].baud, 38400);
    EXPECT_EQ(head[0].bytes, slow);
    EXPECT_EQ(head[1].baud, 9600);
    EXPECT_EQ(head[1].bytes, Hex("FE FE EE EF E8 33 29 00 00 55 30 30 FD"));
    EXPECT_EQ(head[2].baud, 38400);
    EXPECT_EQ(head[2].bytes, slow);
    EXPECT_EQ(head[3].baud, 9600);
    // The echo test's probe, then the read request behind 12 extra 0xFE.
    EXPECT_EQ(head[3].bytes, Join({Fe(4), Fe(12), Hex("FE FE EE EF E2 33 29 00 00 FD")}));
    EXPECT_EQ(rig.line.written.size(), 4u);
    EXPECT_EQ(rig.man->RadioSpeedState(), 0);
}

TEST(indCloneMan, HighSpeedWriteWithPasswordOnTheWire) {
    RadioSimEngine::Options o;
    o.password = "Ab1!";
    Rig rig(o);
    rig.man->SetComSpeedHigh(true);
    rig.man->SetClonePassword("Ab1!");
    cmcEeprom image = PatternImage(5);
    ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartWrite(image, kFrom100, cb); }), 0);
    EXPECT_FALSE(rig.man->PasswordNext());
    auto head = Head(rig.line, 3);
    EXPECT_EQ(head[0].baud, 38400);
    unsigned sum = 'A' + 'b' + '1' + '!';
    uint8_t check = static_cast<uint8_t>((256 - sum % 256) % 256);
    EXPECT_EQ(head[1].baud, 9600);
    EXPECT_EQ(head[1].bytes, Join({Hex("FE FE EE EF E8 33 29 00 00 99 04"),
                                   {check},
                                   Hex("41 62 31 21 FD"),
                                   Hex("FE FE EE EF E8 33 29 00 00 55 30 31 FD"),
                                   Fe(20),
                                   Hex("EE EF E8 33 29 00 00 01 30 39 FD")}));
    EXPECT_EQ(head[2].baud, 38400);
    Bytes request = Join({Fe(4), Fe(48), Hex("FE FE EE EF E3 33 29 00 00 FD")});
    ASSERT_GT(head[2].bytes.size(), request.size());
    EXPECT_EQ(Bytes(head[2].bytes.begin(), head[2].bytes.begin() + static_cast<long>(request.size())),
              request);
    EXPECT_EQ(rig.man->Driver().AckTimeout(), 5000);
    EXPECT_EQ(rig.man->Driver().DefaultTimeout(), 2000);
}

TEST(indCloneMan, PasswordIsSpentEvenWhenTheOperationFails) {
    Rig rig;
    rig.line.radio = nullptr; // no radio answers
    rig.man->SetClonePassword("secret");
    ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartRead(kAll, cb); }), 5);
    EXPECT_FALSE(rig.man->PasswordNext());
    rig.line.written.clear();
    rig.Run([&](auto cb) { return rig.man->StartRead(kAll, cb); });
    for (const auto& chunk : rig.line.written)
        for (size_t i = 0; i + 1 < chunk.bytes.size(); ++i)
            EXPECT_FALSE(chunk.bytes[i] == 0xE8 && i + 5 < chunk.bytes.size() && chunk.bytes[i + 5] == 0x99);
}

TEST(indCloneMan, ErrorMessagesBySpeedStateAndSuppression) {
    cmcGTex tex;
    std::vector<std::string> lines = {"#GI_Sys_AppTitle", "Ostrel", "#", "#GI_Mess_CloneErr_Head"};
    for (int i = 0; i < 18; ++i)
        lines.push_back(i == 2 ? "Port %d failed (100%%)." : "Head " + std::to_string(i));
    lines.push_back("#");
    lines.push_back("#GI_Mess_CloneErr_Check");
    for (int i = 0; i < 8; ++i)
        lines.push_back("Check " + std::to_string(i));
    lines.insert(lines.end(), {"#", "#End_Of_Ovl"});
    ASSERT_TRUE(tex.AttachLines(lines));
    ScriptedMessageBox box;
    Rig rig({}, &tex, &box);
    rig.line.radio = nullptr;
    rig.man->SetComPort(3);

    ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartInfo(cb); }), 5);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Head 5\n\nCheck 0\nCheck 1\nCheck 2\nCheck 3");
    EXPECT_EQ(box.shown[0].caption, "Ostrel");
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    EXPECT_EQ(rig.man->RadioSpeedState(), -1);

    rig.man->SuppressNextMessage();
    EXPECT_EQ(rig.Run([&](auto cb) { return rig.man->StartInfo(cb); }), 5);
    EXPECT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(rig.Run([&](auto cb) { return rig.man->StartInfo(cb); }), 5);
    EXPECT_EQ(box.shown.size(), 2u);

    EXPECT_EQ(indCloneMan::CloneErrorText(2, 3, tex),
              "Port 3 failed (100%).\n\nCheck 0\nCheck 1\nCheck 2\nCheck 3");
    EXPECT_EQ(indCloneMan::CloneErrorText(13, 3, tex), "Head 13\n\nCheck 6\nCheck 7");
    EXPECT_EQ(indCloneMan::CloneErrorText(14, 3, tex), "Head 14\n\nCheck 0\nCheck 4\nCheck 5");
    EXPECT_EQ(indCloneMan::CloneErrorText(16, 3, tex), "Head 16");
    EXPECT_EQ(indCloneMan::CloneErrorText(0, 3, tex), "");
}

TEST(indCloneMan, BusyManagerRefusesAndProgressCounts) {
    struct Progress : indCloneProgress {
        std::vector<bool> enabled;
        int32_t shownTotal = -1;
        int32_t last = -1;
        bool hidden = false;
        void SetMainWindowEnabled(bool on) override { enabled.push_back(on); }
        void ShowProgress(int32_t total) override { shownTotal = total; }
        void UpdateProgress(int32_t done, int32_t) override { last = done; }
        void HideProgress() override { hidden = true; }
    } progress;
    cmcVirtualLoop loop;
    FakeLine line{loop};
    RadioSimEngine radio({}, PatternImage(1));
    line.radio = &radio;
    indCloneMan man(
        loop, [&] { return MakeFake(line); }, nullptr, nullptr, &progress);
    man.SetModelCodes(0x3329, 0);
    man.SetImageSize(cmcEeprom::kWorkSize);
    man.SetReadHandler([](dst_CDrv_Result&) {});
    bool done = false;
    ASSERT_TRUE(man.StartRead(kAll, [&](dst_CDrv_Result&) { done = true; }));
    EXPECT_TRUE(man.IsBusy());
    EXPECT_FALSE(man.StartInfo([](dst_CDrv_Result&) {}));
    loop.RunUntil([&] { return done; }, 600000);
    EXPECT_EQ(progress.shownTotal, 0xFF80);
    EXPECT_EQ(progress.last, 0xFF80);
    EXPECT_TRUE(progress.hidden);
    EXPECT_EQ(progress.enabled.back(), true);
    EXPECT_EQ(indCloneProgress::FilledCells(0xFF80, 0xFF80), 32);
    EXPECT_EQ(indCloneProgress::FilledCells(0x7FC0, 0xFF80), 16);
}
