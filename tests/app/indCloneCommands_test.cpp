#include "app/indCloneCommands.h"
#include "core/cmcGTex.h"
#include "core/cmcVirtualLoop.h"
#include "model/datCh.h"
#include "model/indDataFile.h"
#include "model/indModel.h"
#include "support/TestSupport.h"

#include "clone/FakeSerial.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Packed radio data that passes the strict check: model values, signatures, end and start.
cmcEeprom ValidRadioImage(uint8_t seed) {
    cmcEeprom image;
    image.SetSize(cmcEeprom::kRadioSize);
    for (int32_t a = 0x0200; a < image.GetSize(); ++a)
        image.SetByte(a, static_cast<uint8_t>(a * 13 + seed));
    uint8_t* d = image.Data();
    d[0x80] = 0x33;
    d[0x81] = 0x28;
    std::memcpy(d + 0x100, "Zorv Inc", 8);
    d[0x108] = 0;
    d[0x10A] = 0x33;
    d[0x10B] = 0x29;
    const uint32_t end = 0x1000, start = 0x0200;
    d[0x130] = 0, d[0x131] = 0, d[0x132] = 0x02, d[0x133] = 0x00;
    d[0x134] = 0, d[0x135] = 0, d[0x136] = end >> 8, d[0x137] = end & 0xFF;
    d[0x138] = 0, d[0x139] = 0, d[0x13A] = start >> 8, d[0x13B] = start & 0xFF;
    std::memcpy(d + 0x200 + end - start - 8, "Zorv Inc", 8);
    return image;
}

struct Rig {
    cmcVirtualLoop loop;
    FakeLine line{loop};
    std::unique_ptr<RadioSimEngine> radio;
    cmcGTex tex;
    ScriptedMessageBox box;
    std::unique_ptr<indCloneMan> man;
    indModel model{nullptr, nullptr, indModel::Settings{}};
    std::unique_ptr<indCloneCommands> commands;
    int infos = 0;

    explicit Rig(RadioSimEngine::Options options = {}, cmcEeprom image = ValidRadioImage(1)) {
        radio = std::make_unique<RadioSimEngine>(options, image);
        radio->SetOperationHandler([this](char kind, bool) { infos += kind == 'I'; });
        line.radio = radio.get();
        std::vector<std::string> lines = {"#GI_Sys_AppTitle", "Ostrel", "#", "#GI_Mess_CloneErr_Head"};
        for (int i = 0; i < 18; ++i)
            lines.push_back("Head " + std::to_string(i));
        lines.insert(lines.end(), {"#", "#GI_Mess_CloneErr_Check"});
        for (int i = 0; i < 8; ++i)
            lines.push_back("Check " + std::to_string(i));
        lines.push_back("#");
        for (const char* key :
             {"GI_Mess_Confirm_CloneWrite", "GI_Mess_Confirm_CloneWriteClonePass", "GI_Mess_Maker_Caution",
              "GI_Mess_DataError", "GI_AppMess_CloneErr_NoActualCh", "GI_AppMess_CloneErr_NotReadyVORNTrunk",
              "GI_Mess_Backup_ReadFailed", "GI_Mess_Backup_SaveFailed", "GI_Mess_Backup_Kept",
              "GI_Mess_Verify_Failed", "GI_Mess_Verify_ReadFailed"}) {
            lines.push_back(std::string("#") + key);
            lines.push_back(std::string("text of ") + key);
            lines.push_back("#");
        }
        lines.push_back("#End_Of_Ovl");
        tex.AttachLines(lines);
        man = std::make_unique<indCloneMan>(
            loop, [this] { return MakeFake(line); }, &tex, &box, nullptr);
        commands = std::make_unique<indCloneCommands>(*man, model, &tex, &box);
    }

    struct Outcome {
        int32_t code = 99;
        bool ran = false; // a clone operation ran and handed its result
        cmcEeprom image;
    };
    template <class Start> Outcome Run(Start start) {
        Outcome out;
        bool done = false;
        EXPECT_TRUE(start([&](int32_t code, dst_CDrv_Result* r) {
            done = true;
            out.code = code;
            out.ran = r != nullptr;
            if (r)
                out.image = r->image;
        }));
        loop.RunUntil([&] { return done; }, 900000);
        return out;
    }
};

// A working image with one channel in use.
cmcEeprom WorkingWithChannel(const indModel& model) {
    cmcEeprom working;
    working.SetSize(cmcEeprom::kWorkSize);
    cmcEeprom packed = ValidRadioImage(7);
    working.WriteBlock(0, packed.Data(), cmcEeprom::kRadioSize);
    model.Convert(working, 0);
    datCh ch(&working);
    ch.Decode(indModel::kChannelKind, 0);
    ch.rxFrequency = 146000000;
    ch.txFrequency = 146000000;
    ch.Encode(indModel::kChannelKind, 0);
    return working;
}

} // namespace

TEST(indCloneCommands, ReadTakesTheRangeFromTheInformation) {
    RadioSimEngine::Options o;
    o.endAddress = 0x1FF3; // rounded to 0x1FFF
    Rig rig(o);
    auto out = rig.Run([&](auto cb) { return rig.commands->StartRead(cb); });
    ASSERT_EQ(out.code, 0);
    EXPECT_EQ(out.image.GetSize(), cmcEeprom::kWorkSize);
    EXPECT_EQ(0, std::memcmp(out.image.Data(), rig.radio->Image().Data(), 0x2000));
    EXPECT_EQ(out.image.GetByte(0x2000), 0); // beyond the radio's reported end
    EXPECT_EQ(rig.commands->Info()[indCloneCommands::kInfoDataVersion], 1);
    EXPECT_TRUE(rig.box.shown.empty());
}

TEST(indCloneCommands, InformationAndReadChecks) {
    struct Case {
        const char* name;
        RadioSimEngine::Fault fault;
        bool validImage;
        int32_t code;
    };
    const Case cases[] = {
        {"wrong model", RadioSimEngine::Fault::WrongModel, true, 11},
        {"data version 2", RadioSimEngine::Fault::DataVersion2, true, 14},
        {"damaged data", RadioSimEngine::Fault::None, false, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioSimEngine::Options o;
        o.fault = c.fault;
        cmcEeprom image = ValidRadioImage(2);
        if (!c.validImage)
            image.SetByte(0x0101, 'x');
        Rig rig(o, image);
        auto out = rig.Run([&](auto cb) { return rig.commands->StartRead(cb); });
        EXPECT_EQ(out.code, c.code);
        ASSERT_EQ(rig.box.shown.size(), 1u);
        EXPECT_EQ(rig.box.shown[0].text.substr(0, 7), "Head " + std::to_string(c.code));
    }
    // An end address outside the radio memory (or none) is refused before the read is sized after it.
    for (int32_t end : {int32_t(0x7FFFFFF0), int32_t(0x7FFFFF00), int32_t(-1), int32_t(0), int32_t(0xFF80)}) {
        SCOPED_TRACE(end);
        RadioSimEngine::Options o;
        o.endAddress = end;
        o.wide = true;
        Rig rig(o);
        auto out = rig.Run([&](auto cb) { return rig.commands->StartRead(cb); });
        EXPECT_EQ(out.code, kCloneInformation);
        EXPECT_EQ(rig.infos, 1);
        ASSERT_EQ(rig.box.shown.size(), 1u);
        EXPECT_EQ(rig.box.shown[0].text.substr(0, 7), "Head 12");
    }
    // An information block that does not count itself, or is too short for its fields, is refused.
    Rig rig;
    for (int n : {127, 100}) {
        dst_CDrv_Result r;
        r.mode = cmcCloneMode::Info;
        r.status = 0;
        r.modelCode = 0x3329;
        r.information.SetLength(n);
        *r.information.At(0) = n == 127 ? 126 : 100;
        rig.commands->CheckInformation(r);
        EXPECT_EQ(r.status, 11);
    }
}

TEST(indCloneCommands, ProtectedRadioNeedsThePassword) {
    for (bool readUnprotected : {false, true}) {
        RadioSimEngine::Options o;
        o.password = "pw";
        o.readUnprotected = readUnprotected;
        Rig rig(o);
        auto cancelled = rig.Run([&](auto cb) { return rig.commands->StartRead(cb); });
        EXPECT_EQ(cancelled.code, readUnprotected ? 0 : indCloneCommands::kCancelled);
        int asked = 0;
        rig.commands->SetPasswordDialog([&] {
            ++asked;
            rig.man->SetClonePassword("pw");
            return true;
        });
        auto read = rig.Run([&](auto cb) { return rig.commands->StartRead(cb); });
        EXPECT_EQ(read.code, 0);
        EXPECT_EQ(asked, readUnprotected ? 0 : 1);
    }
}

TEST(indCloneCommands, WriteChecksAskAndConvert) {
    Rig rig;
    cmcEeprom working = WorkingWithChannel(rig.model);
    EXPECT_TRUE(rig.commands->HasChannelInUse(working));

    cmcEeprom empty;
    empty.SetSize(cmcEeprom::kWorkSize);
    auto none = rig.Run([&](auto cb) { return rig.commands->StartWrite(empty, cb); });
    EXPECT_EQ(none.code, indCloneCommands::kNoChannelInUse);
    EXPECT_EQ(rig.box.shown.back().text, "text of GI_AppMess_CloneErr_NoActualCh");

    rig.commands->SetWarningCheck([] { return 2; });
    auto errors = rig.Run([&](auto cb) { return rig.commands->StartWrite(working, cb); });
    EXPECT_EQ(errors.code, indCloneCommands::kDataErrors);
    rig.commands->SetWarningCheck(nullptr);
    EXPECT_EQ(rig.infos, 0);

    rig.box.answers = {cmcMessageBox::Answer::Cancel};
    auto cancelled = rig.Run([&](auto cb) { return rig.commands->StartWrite(working, cb); });
    EXPECT_EQ(cancelled.code, indCloneCommands::kCancelled);
    EXPECT_EQ(rig.infos, 1);

    cmcEeprom before = rig.radio->Image();
    rig.box.shown.clear();
    auto written = rig.Run([&](auto cb) { return rig.commands->StartWrite(working, cb); });
    ASSERT_EQ(written.code, 0);
    EXPECT_EQ(rig.infos, 3); // asked again after the confirmation
    ASSERT_EQ(rig.box.shown.size(), 1u);
    EXPECT_EQ(rig.box.shown[0].text, "text of GI_Mess_Confirm_CloneWrite");
    const cmcEeprom& sent = rig.commands->WriteImage();
    EXPECT_EQ(sent.GetByte(264), 1); // the radio's data version
    int32_t last = indCloneCommands::DataEnd(sent) | 0x7F;
    const cmcEeprom& now = rig.radio->Image();
    EXPECT_EQ(0, std::memcmp(now.Data(), before.Data(), 0x100));
    EXPECT_EQ(0, std::memcmp(now.Data() + 0x100, sent.Data() + 0x100, static_cast<size_t>(last + 1 - 0x100)));
    EXPECT_EQ(0, std::memcmp(now.Data() + last + 1, before.Data() + last + 1,
                             static_cast<size_t>(cmcEeprom::kRadioSize - last - 1)));
}

TEST(indCloneCommands, WriteRefusedByARadioNotReadyForTrunking) {
    RadioSimEngine::Options o;
    o.trunkLevel = 15;
    Rig rig(o);
    cmcEeprom before = rig.radio->Image();
    auto out = rig.Run([&](auto cb) { return rig.commands->StartWrite(WorkingWithChannel(rig.model), cb); });
    EXPECT_EQ(out.code, indCloneCommands::kNotReadyTrunk);
    EXPECT_EQ(rig.radio->Image(), before);
}

TEST(indCloneCommands, AddressFields) {
    uint8_t info[127] = {};
    std::memcpy(info + indCloneCommands::kInfoEnd8, "00000000", 8);
    std::memcpy(info + indCloneCommands::kInfoEnd4, "FF7A", 4);
    EXPECT_EQ(indCloneCommands::EndAddress(info), 0xFF7A);
    EXPECT_EQ(indCloneCommands::ReadLast(info), 0xFF7F);
    std::memcpy(info + indCloneCommands::kInfoEnd8, "00012345", 8);
    EXPECT_EQ(indCloneCommands::EndAddress(info), 0x12345);
    std::memcpy(info + indCloneCommands::kInfoSerial, "0000001A2B3C", 12);
    EXPECT_EQ(indCloneCommands::Serial(info), 0x1A2B3C);
    info[indCloneCommands::kInfoSerial] = 'G';
    EXPECT_EQ(indCloneCommands::Serial(info), 0);
}

TEST(indCloneCommands, BackupAndReadBackOfAProtectedRadioWithDamagedData) {
    // The radio's present data fails the read checks, yet it is what the backup must keep; each of the
    // write's three operations needs the clone password, which is asked once.
    RadioSimEngine::Options o;
    o.password = "pw";
    cmcEeprom damaged = ValidRadioImage(3);
    damaged.SetByte(0x0101, 'x');
    Rig rig(o, damaged);
    int asked = 0;
    rig.commands->SetPasswordDialog([&] {
        ++asked;
        rig.man->SetClonePassword("pw");
        return true;
    });
    TempDir dir;
    rig.commands->SetBackupFolder(dir.File("backups"));
    rig.commands->SetVerify(true);
    // The step the write reports as the radio takes each of its operations.
    using Step = indCloneCommands::WriteStage;
    std::vector<std::pair<char, Step>> steps;
    rig.radio->SetOperationHandler([&](char kind, bool) {
        if (kind != 'I')
            steps.emplace_back(kind, rig.commands->CurrentWriteStage());
    });
    auto out = rig.Run([&](auto cb) { return rig.commands->StartWrite(WorkingWithChannel(rig.model), cb); });
    ASSERT_EQ(out.code, 0) << (rig.box.shown.empty() ? "" : rig.box.shown.back().text);
    const std::vector<std::pair<char, Step>> expected = {
        {'R', Step::BackingUp}, {'W', Step::Sending}, {'R', Step::ReadingBack}};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(rig.commands->CurrentWriteStage(), Step::None);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rig.commands->VerifyMismatch(), -1);
    ASSERT_FALSE(rig.commands->BackupPath().empty());
    cmcEeprom kept;
    kept.SetSize(cmcEeprom::kWorkSize);
    ASSERT_EQ(indDataFile::Load(rig.commands->BackupPath(), kept), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(0, std::memcmp(kept.Data(), damaged.Data(), cmcEeprom::kRadioSize));
    const cmcEeprom& sent = rig.commands->WriteImage();
    EXPECT_EQ(0, std::memcmp(rig.radio->Image().Data() + 0x100, sent.Data() + 0x100, 0x100));
}

TEST(indCloneCommands, AWriteThatFailsSaysWhatTheRadioHoldsAndWhereItsBackupIs) {
    using F = RadioSimEngine::Fault;
    const struct {
        const char* name;
        F fault;
        int32_t frame;
        int32_t code;
        bool backup;      // a backup file was made
        bool radioBefore; // the radio still holds what it held
        const char* says; // the message begins with this text
    } cases[] = {
        // The silence strikes the first read, which is the backup's.
        {"backup read fails", F::Silence, 5, indCloneCommands::kBackupFailed, false, true,
         "text of GI_Mess_Backup_ReadFailed"},
        {"write result fails", F::WriteResult, 0, kCloneWriteResult, true, true, "Head 10"},
        {"radio stores a byte wrongly", F::CorruptWrite, 3, indCloneCommands::kVerifyFailed, true, false,
         "text of GI_Mess_Verify_Failed\n0x0130"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RadioSimEngine::Options o;
        o.fault = c.fault;
        o.faultFrame = c.frame;
        Rig rig(o);
        const cmcEeprom before = rig.radio->Image();
        TempDir dir;
        rig.commands->SetBackupFolder(dir.File("backups"));
        rig.commands->SetVerify(true);
        auto out =
            rig.Run([&](auto cb) { return rig.commands->StartWrite(WorkingWithChannel(rig.model), cb); });
        EXPECT_EQ(out.code, c.code);
        EXPECT_EQ(rig.radio->Image() == before, c.radioBefore);
        ASSERT_FALSE(rig.box.shown.empty());
        const std::string& text = rig.box.shown.back().text;
        EXPECT_EQ(rig.box.shown.back().icon, cmcMessageBox::Icon::Error);
        EXPECT_EQ(text.rfind(c.says, 0), 0u) << text;
        EXPECT_EQ(rig.box.shown.size(), 2u) << text; // the confirmation and this one message
        const std::string& backup = rig.commands->BackupPath();
        EXPECT_EQ(!backup.empty(), c.backup);
        if (c.backup) {
            EXPECT_NE(text.find("text of GI_Mess_Backup_Kept\n" + backup), std::string::npos) << text;
        }
    }
}
