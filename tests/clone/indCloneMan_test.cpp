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
                copy->mode = r.mode;
                copy->portFailure = r.portFailure;
                copy->portHolder = r.portHolder;
                copy->dataSent = r.dataSent;
                copy->passwordLikely = r.passwordLikely;
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

namespace {

// Short clone texts that show which parts a message is made of.
void AttachCloneTexts(cmcGTex& tex) {
    std::vector<std::string> lines = {"#GI_Sys_AppTitle", "Ostrel", "#", "#GI_Mess_CloneErr_Head"};
    for (int i = 0; i <= kCloneCancelled; ++i)
        lines.push_back(i == 2 ? "Port %d failed (100%%)." : "Head " + std::to_string(i));
    lines.push_back("#");
    lines.push_back("#GI_Mess_CloneErr_Check");
    for (int i = 0; i < 8; ++i)
        lines.push_back("Check " + std::to_string(i));
    lines.insert(lines.end(), {"#",
                               "#GI_Mess_CloneErr_Password",
                               "Password",
                               "wrong",
                               "#",
                               "#GI_Mess_CloneErr_HalfWritten",
                               "Half",
                               "#",
                               "#GI_Mess_CloneErr_PortPermission",
                               "Permission",
                               "#",
                               "#GI_Mess_CloneErr_PortBusy",
                               "Busy",
                               "#",
                               "#GI_Mess_CloneErr_PortBusyBy",
                               "Busy by %s.",
                               "#",
                               "#GI_Mess_CloneErr_PortMissing",
                               "Missing",
                               "#",
                               "#GI_Mess_CloneErr_PortNotSerial",
                               "Not serial",
                               "#",
                               "#GI_Mess_CloneErr_Cancelled",
                               "Cancel read",
                               "Cancel before",
                               "Cancel partial",
                               "#",
                               "#End_Of_Ovl"});
    ASSERT_TRUE(tex.AttachLines(lines));
}

} // namespace

TEST(indCloneMan, ErrorMessagesBySpeedStateAndSuppression) {
    cmcGTex tex;
    AttachCloneTexts(tex);
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

TEST(indCloneMan, MessagesNameWhatTheResultTells) {
    cmcGTex tex;
    AttachCloneTexts(tex);
    using P = cmcPortFailure;
    using M = cmcCloneMode;
    const std::string checks = "\n\nCheck 0\nCheck 1\nCheck 2\nCheck 3";
    struct Case {
        int32_t status;
        M mode;
        bool dataSent;
        bool password;
        P port;
        const char* holder;
        std::string text;
    };
    const Case cases[] = {
        {kCloneTimeout, M::Read, false, false, P::None, "", "Head 5" + checks},
        {kCloneTimeout, M::Read, false, true, P::None, "", "Head 5\n\nPassword\nwrong"},
        {kCloneFormat, M::Write, false, true, P::None, "", "Head 6\n\nPassword\nwrong"},
        {kCloneTimeout, M::Write, true, false, P::None, "", "Head 5\n\nHalf" + checks},
        {kCloneWriteFailed, M::Write, true, false, P::None, "", "Head 17\n\nHalf" + checks},
        {kCloneWriteResult, M::Write, true, false, P::None, "",
         "Head 10\n\nHalf\n\nCheck 0\nCheck 2\nCheck 3"},
        {kCloneTimeout, M::Read, true, false, P::None, "", "Head 5" + checks}, // only writes half-write
        {kClonePortOpen, M::Read, false, false, P::Permission, "", "Port 3 failed (100%).\n\nPermission"},
        {kClonePortOpen, M::Write, false, false, P::Busy, "", "Port 3 failed (100%).\n\nBusy"},
        {kClonePortOpen, M::Read, false, false, P::Busy, "minicom, process 42",
         "Port 3 failed (100%).\n\nBusy by minicom, process 42."},
        {kClonePortOpen, M::Info, false, false, P::Missing, "", "Port 3 failed (100%).\n\nMissing"},
        {kClonePortOpen, M::Info, false, false, P::NotSerial, "", "Port 3 failed (100%).\n\nNot serial"},
        {kClonePortOpen, M::Info, false, false, P::Other, "", "Port 3 failed (100%)." + checks},
        {kCloneCancelled, M::Read, false, false, P::None, "", "Head 18\n\nCancel read"},
        {kCloneCancelled, M::Write, false, false, P::None, "", "Head 18\n\nCancel before"},
        {kCloneCancelled, M::Write, true, false, P::None, "", "Head 18\n\nCancel partial"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dst_CDrv_Result r;
        r.status = c.status;
        r.mode = c.mode;
        r.dataSent = c.dataSent;
        r.passwordLikely = c.password;
        r.portFailure = c.port;
        r.portHolder = c.holder;
        EXPECT_EQ(indCloneMan::CloneErrorText(r, 3, tex), c.text);
    }
}

TEST(indCloneMan, ResultsCarryTheCauseTheDriverSaw) {
    using F = RadioSimEngine::Fault;
    struct Case {
        const char* name;
        std::string radioPassword; // protects the radio when set
        F fault;
        bool write;
        std::string sentPassword; // handed to the manager before the operation
        bool silentRadio;         // the radio stops answering after the information
        int32_t acceptLimit;      // the device takes no more bytes after this many (-1 no limit)
        int32_t status;
        bool passwordLikely;
        bool dataSent;
    };
    const Case cases[] = {
        {"wrong password, read", "pw", F::None, false, "px", false, -1, kCloneTimeout, true, false},
        {"wrong password, write", "pw", F::None, true, "px", false, -1, kCloneFormat, true, false},
        {"right password, silence during the read", "pw", F::Silence, false, "pw", false, -1, kCloneTimeout,
         false, false},
        {"unprotected radio goes quiet", "", F::None, false, "px", true, -1, kCloneTimeout, false, false},
        {"silence during a write", "", F::Silence, true, "", false, -1, kCloneTimeout, false, true},
        {"device stops taking bytes during a write", "", F::None, true, "", false, 3000, kCloneWriteFailed,
         false, true},
        {"refused write", "", F::RefuseWrite, true, "", false, -1, kCloneFormat, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioSimEngine::Options o;
        o.password = c.radioPassword;
        o.fault = c.fault;
        o.faultFrame = 20;
        Rig rig(o);
        ASSERT_EQ(rig.Run([&](auto cb) { return rig.man->StartInfo(cb); }), 0);
        if (c.silentRadio)
            rig.line.radio = nullptr;
        rig.line.acceptLimit = c.acceptLimit < 0 ? -1 : rig.line.totalWritten + c.acceptLimit;
        if (!c.sentPassword.empty())
            rig.man->SetClonePassword(c.sentPassword);
        cmcEeprom image = PatternImage(5);
        dst_CDrv_Result r;
        int32_t status = c.write
                             ? rig.Run([&](auto cb) { return rig.man->StartWrite(image, kFrom100, cb); }, &r)
                             : rig.Run([&](auto cb) { return rig.man->StartRead(kAll, cb); }, &r);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(r.passwordLikely, c.passwordLikely);
        EXPECT_EQ(r.dataSent, c.dataSent);
        EXPECT_FALSE(rig.line.open);
    }
}

TEST(indCloneMan, PortFailuresKeepCodeTwoAndSayWhy) {
    using P = cmcPortFailure;
    const std::pair<P, std::string> cases[] = {
        {P::Permission, ""}, {P::Busy, "minicom, process 42"}, {P::Missing, ""}, {P::Other, ""}};
    for (const auto& [failure, holder] : cases) {
        Rig rig;
        rig.line.openFailures = 100;
        rig.line.openFailure = failure;
        rig.line.openHolder = holder;
        dst_CDrv_Result r;
        EXPECT_EQ(rig.Run([&](auto cb) { return rig.man->StartRead(kAll, cb); }, &r), kClonePortOpen);
        EXPECT_EQ(r.portFailure, failure);
        EXPECT_EQ(r.portHolder, holder);
    }
}

TEST(indCloneMan, CancelStopsClosesAndTellsWhatIsLeft) {
    struct Case {
        const char* name;
        bool write;
        int32_t cancelAfterBytes; // 0: at once, before any data
        const char* text;
        bool dataSent;
    };
    const Case cases[] = {
        {"read", false, 4096, "Head 18\n\nCancel read", false},
        {"write before data", true, 0, "Head 18\n\nCancel before", false},
        {"write with data sent", true, 4096, "Head 18\n\nCancel partial", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cmcGTex tex;
        AttachCloneTexts(tex);
        ScriptedMessageBox box;
        Rig rig({}, &tex, &box);
        const cmcEeprom radioBefore = rig.radio->Image();
        EXPECT_FALSE(rig.man->Cancel()); // nothing runs
        bool done = false;
        dst_CDrv_Result r;
        auto cb = [&](dst_CDrv_Result& result) {
            done = true;
            r.status = result.status;
            r.dataSent = result.dataSent;
        };
        const cmcEeprom image = PatternImage(5);
        ASSERT_TRUE(c.write ? rig.man->StartWrite(image, kFrom100, cb) : rig.man->StartRead(kAll, cb));
        if (c.cancelAfterBytes > 0)
            rig.loop.RunUntil([&] { return rig.man->Driver().DataBytes() >= c.cancelAfterBytes; }, 600000);
        ASSERT_FALSE(done);
        ASSERT_TRUE(rig.man->Cancel());
        ASSERT_TRUE(done); // the completion runs at once
        EXPECT_EQ(r.status, kCloneCancelled);
        EXPECT_EQ(r.dataSent, c.dataSent);
        EXPECT_FALSE(rig.man->IsBusy());
        EXPECT_FALSE(rig.line.open);
        // Nothing more goes to the radio, and the radio kept its memory (a write commits only whole).
        const int32_t written = rig.line.totalWritten;
        rig.loop.Advance(5000);
        EXPECT_EQ(rig.line.totalWritten, written);
        EXPECT_EQ(0, std::memcmp(rig.radio->Image().Data(), radioBefore.Data(), cmcEeprom::kRadioSize));
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, c.text);
        EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Warning);
        EXPECT_EQ(rig.man->RadioSpeedState(), -1); // the radio may be left at either speed
        // The manager takes the next operation as usual.
        EXPECT_EQ(rig.Run([&](auto next) { return rig.man->StartInfo(next); }), 0);
    }
}
