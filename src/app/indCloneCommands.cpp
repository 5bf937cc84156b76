#include "app/indCloneCommands.h"

#include "app/indBackupStore.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "core/cmcText.h"
#include "model/datCh.h"
#include "model/indLayout.h"
#include "model/indModel.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// The number a field of hexadecimal characters in the clone information spells; none when a
// character is not a digit.
std::optional<uint32_t> HexField(const uint8_t* p, size_t n) {
    return cmcText::HexNumber(std::string_view(reinterpret_cast<const char*>(p), n));
}

// An overlay text with its "%s" replaced by value; filled by hand, as overlay texts never go to printf.
// A text without the placeholder gets the value on a line of its own.
std::string Fill(const std::string& text, const std::string& value) {
    return text.find("%s") == std::string::npos ? text + "\n" + value : cmcText::FillIn(text, {value});
}

// The first address of the ranges, up to last, where the two images differ; -1 when they agree.
int32_t FirstDifference(const cmcEeprom& sent, const cmcEeprom& back, const std::vector<cmcRange>& ranges,
                        int32_t last) {
    for (const cmcRange& r : ranges) {
        if (r.IsEnd())
            break;
        const int32_t end = std::min({r.last, last, sent.GetSize() - 1, back.GetSize() - 1});
        for (int32_t a = std::max(r.first, 0); a <= end; ++a)
            if (sent.GetByte(a) != back.GetByte(a))
                return a;
    }
    return -1;
}

} // namespace

indCloneCommands::indCloneCommands(indCloneMan& man, indModel& model, cmcGTex* tex, cmcMessageBox* box)
    : m_man(man), m_model(model), m_tex(tex), m_box(box) {
    m_man.SetInfoHandler([this](dst_CDrv_Result& r) { CheckInformation(r); });
    m_man.SetReadHandler([this](dst_CDrv_Result& r) { CheckRead(r); });
}

int32_t indCloneCommands::EndAddress(const uint8_t* info) {
    int32_t end = static_cast<int32_t>(HexField(info + kInfoEnd8, 8).value_or(0));
    if (end == 0)
        end = static_cast<int32_t>(HexField(info + kInfoEnd4, 4).value_or(0));
    return end;
}

int32_t indCloneCommands::ReadLast(const uint8_t* info) {
    return (EndAddress(info) & ~0x0F) + 15;
}

int32_t indCloneCommands::DataEnd(const cmcEeprom& image) {
    const uint8_t* d = image.Data();
    if (image.GetSize() < indLayout::kDir32At)
        return 0;
    int32_t end = static_cast<int32_t>(indLayout::Get32(d, indLayout::kEndAt32));
    if (end == 0)
        end = indLayout::Get16(d, indLayout::kEndAt16);
    return end;
}

int32_t indCloneCommands::Serial(const uint8_t* info) {
    if (!HexField(info + kInfoSerial, 12))
        return 0;
    return static_cast<int32_t>(*HexField(info + kInfoSerial + 6, 6));
}

bool indCloneCommands::HasChannelInUse(const cmcEeprom& working) const {
    if (working.GetSize() < cmcEeprom::kWorkSize)
        return false;
    datCh ch(const_cast<cmcEeprom*>(&working)); // Decode only reads
    for (int i = 0; i < indLayout::kChannels; ++i) {
        ch.Decode(indModel::kChannelKind, i);
        if (ch.status & datCh::kInUse)
            return true;
    }
    return false;
}

void indCloneCommands::CheckInformation(dst_CDrv_Result& r) {
    if (r.status != 0 || r.mode != cmcCloneMode::Info)
        return;
    if (r.modelCode != kModelCode) {
        r.status = kCloneModel;
        return;
    }
    m_radioModel = r.modelCode;
    m_radioExtra = r.extraCode;
    int32_t n = r.information.GetLength();
    if (n < kInfoSize || *r.information.At(0) != n) {
        r.status = kCloneModel; // a block shorter than the fields the commands read is no valid answer
        return;
    }
    std::copy(r.information.Data(), r.information.Data() + kInfoSize, m_info.begin());
    // The end address decides how much a read asks for and how much the progress counts: an answer
    // naming no end, or one past the radio memory this model has, is refused before anything is sized
    // after it.
    const int32_t end = EndAddress(m_info.data());
    if (end <= 0 || end > indLayout::kRadioLast) {
        r.status = kCloneInformation;
        return;
    }
    if (m_info[kInfoDataVersion] >= 2)
        r.status = kCloneDataVersion;
}

void indCloneCommands::CheckRead(dst_CDrv_Result& r) {
    // A backup keeps whatever the radio holds, and the read-back compares bytes: neither judges them.
    if (m_rawRead || r.status != 0 || r.mode != cmcCloneMode::Read)
        return;
    if (indModel::CheckLoadedData(r.image, true) != 0)
        r.status = kCloneDataCheck;
    else if (m_model.CheckDataVersion(r.image) != 0)
        r.status = kCloneNewerData;
}

bool indCloneCommands::Confirm(const char* key) {
    if (!m_box || !m_tex)
        return true;
    return m_box->Show(m_tex->GetJoinedText(key), m_tex->GetLine("GI_Sys_AppTitle", 0),
                       cmcMessageBox::Icon::Warning,
                       cmcMessageBox::Buttons::OkCancel) == cmcMessageBox::Answer::Ok;
}

void indCloneCommands::Error(const char* key) {
    if (m_box && m_tex)
        m_box->Show(m_tex->GetJoinedText(key), m_tex->GetLine("GI_Sys_AppTitle", 0),
                    cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
}

void indCloneCommands::Finish(int32_t outcome, dst_CDrv_Result* result) {
    m_ranges.clear();
    m_writeStage = WriteStage::None;
    if (m_done) {
        Done done = std::move(m_done);
        m_done = nullptr;
        done(outcome, result);
    }
}

bool indCloneCommands::StartInfo(Done done) {
    if (m_man.IsBusy())
        return false;
    m_done = std::move(done);
    m_man.SetModelCodes(kModelCode, 0);
    return m_man.StartInfo([this](dst_CDrv_Result& r) { Finish(r.status, &r); });
}

bool indCloneCommands::StartRead(Done done) {
    if (m_man.IsBusy())
        return false;
    m_done = std::move(done);
    m_man.SetModelCodes(kModelCode, 0);
    return m_man.StartInfo([this](dst_CDrv_Result& r) { ReadStep(r); });
}

void indCloneCommands::ReadStep(dst_CDrv_Result& r) {
    if (r.status != 0) {
        Finish(r.status, &r);
        return;
    }
    const bool protectedRead = (m_info[kInfoFlags] & 0x08) && !(m_info[kInfoFlags] & 0x10);
    if (protectedRead && !(m_passwordDialog && m_passwordDialog())) {
        Finish(kCancelled, nullptr);
        return;
    }
    m_ranges = indModel::RangeList(1);
    if (!m_ranges.empty() && !m_ranges[0].IsEnd())
        m_ranges[0].last = ReadLast(m_info.data());
    m_man.SetWideAddress(m_info[kInfoWide] & 0x40);
    m_man.SetImageSize(cmcEeprom::kWorkSize);
    if (!m_man.StartRead(m_ranges.data(), [this](dst_CDrv_Result& rr) { Finish(rr.status, &rr); }))
        Finish(kBusy, nullptr);
}

bool indCloneCommands::StartWrite(const cmcEeprom& working, Done done) {
    if (!HasChannelInUse(working)) {
        Error("GI_AppMess_CloneErr_NoActualCh");
        if (done)
            done(kNoChannelInUse, nullptr);
        return true;
    }
    // The warning check arrives with the sheets; until then it counts no errors.
    int errors = m_warningCheck ? m_warningCheck() : 0;
    if (errors > 0) {
        Error("GI_Mess_DataError");
        if (done)
            done(kDataErrors, nullptr);
        return true;
    }
    if (m_man.IsBusy())
        return false;
    m_done = std::move(done);
    m_working = working;
    m_writePhase = false;
    m_backupPath.clear();
    m_password.clear();
    m_mismatch = -1;
    m_man.SetModelCodes(kModelCode, 0);
    return m_man.StartInfo([this](dst_CDrv_Result& r) { WriteStep(r); });
}

void indCloneCommands::WriteStep(dst_CDrv_Result& r) {
    if (r.status != 0) {
        Finish(r.status, &r);
        return;
    }
    if (!m_writePhase) {
        if (m_makerMode && !Confirm("GI_Mess_Maker_Caution")) {
            Finish(kCancelled, nullptr);
            return;
        }
        if (m_working.GetByte(kClonePasswordAt) != 0 && !Confirm("GI_Mess_Confirm_CloneWriteClonePass")) {
            Finish(kCancelled, nullptr);
            return;
        }
        if (!Confirm("GI_Mess_Confirm_CloneWrite")) {
            Finish(kCancelled, nullptr);
            return;
        }
        // The radio may have been changed while the questions were open: ask it again.
        m_writePhase = true;
        if (!m_man.StartInfo([this](dst_CDrv_Result& rr) { WriteStep(rr); }))
            Finish(kBusy, nullptr);
        return;
    }
    m_writePhase = false;
    if ((m_info[kInfoFlags] & 0x08) && !(m_passwordDialog && m_passwordDialog())) {
        Finish(kCancelled, nullptr);
        return;
    }
    m_password = m_man.PasswordNext() ? m_man.ClonePassword() : std::string();
    m_writeImage = m_working;
    m_man.SetWideAddress(m_info[kInfoWide] & 0x40);
    m_man.SetImageSize(cmcEeprom::kWorkSize);
    m_ranges = indModel::RangeList(m_makerMode ? 1 : 0);
    bool packFailed = m_model.Convert(m_writeImage, 1, true);
    if (packFailed) {
        Error("GI_Mess_DataError");
        Finish(kDataErrors, nullptr);
        return;
    }
    // Data for radios below trunking readiness 16 is not told apart by the conversion yet: such a
    // radio is refused.
    if (m_info[kInfoTrunkLevel] < 16) {
        Error("GI_AppMess_CloneErr_NotReadyVORNTrunk");
        Finish(kNotReadyTrunk, nullptr);
        return;
    }
    if (!m_ranges.empty() && !m_ranges[0].IsEnd()) {
        // The data's own end, rounded up to the radio's 128-byte pages, but never outside the range:
        // a damaged end address must not send bytes beyond the radio memory or nothing at all.
        int32_t last = DataEnd(m_writeImage) | 0x7F;
        if (last >= m_ranges[0].first && last <= m_ranges[0].last)
            m_ranges[0].last = last;
    }
    m_writeImage.SetByte(264, m_info[kInfoDataVersion]);
    if (m_backupFolder.empty())
        SendData();
    else
        StartBackup();
}

void indCloneCommands::SendPasswordAgain() {
    if (!m_password.empty() && !m_man.PasswordNext())
        m_man.SetClonePassword(m_password);
}

bool indCloneCommands::StartRawRead(indCloneMan::Done done) {
    if (m_man.IsBusy())
        return false;
    m_readRanges = indModel::RangeList(1);
    if (!m_readRanges.empty() && !m_readRanges[0].IsEnd())
        m_readRanges[0].last = ReadLast(m_info.data());
    SendPasswordAgain();
    m_man.SuppressNextMessage();
    m_rawRead = true;
    if (m_man.StartRead(m_readRanges.data(), std::move(done)))
        return true;
    m_rawRead = false;
    return false;
}

void indCloneCommands::StartBackup() {
    m_writeStage = WriteStage::BackingUp;
    if (!StartRawRead([this](dst_CDrv_Result& r) { BackupDone(r); }))
        Finish(kBusy, nullptr);
}

void indCloneCommands::BackupDone(dst_CDrv_Result& r) {
    m_rawRead = false;
    if (r.status != 0) {
        const bool cancelled = r.status == kCloneCancelled;
        std::string text = cancelled ? std::string() : Text("GI_Mess_Backup_ReadFailed") + "\n\n";
        Show(text + WriteErrorText(r, true), !cancelled);
        Finish(cancelled ? int32_t{kCloneCancelled} : int32_t{kBackupFailed}, &r);
        return;
    }
    std::string path;
    const std::vector<uint8_t> info(m_info.begin(), m_info.end());
    if (indBackupStore::Save(m_backupFolder, indBackupStore::RadioName(info), std::time(nullptr), r.image,
                             path) != cmcKvtFile::FileError::Ok) {
        Show(Fill(Text("GI_Mess_Backup_SaveFailed"), m_backupFolder), true);
        Finish(kBackupFailed, nullptr);
        return;
    }
    m_backupPath = path;
    SendData();
}

void indCloneCommands::SendData() {
    if (m_man.IsBusy()) {
        Finish(kBusy, nullptr);
        return;
    }
    SendPasswordAgain();
    m_writeStage = WriteStage::Sending;
    // A failed write names the backup that puts the radio back: that message is the commands' own.
    if (!m_backupPath.empty())
        m_man.SuppressNextMessage();
    m_man.StartWrite(m_writeImage, m_ranges.data(), [this](dst_CDrv_Result& r) { WriteDone(r); });
}

void indCloneCommands::WriteDone(dst_CDrv_Result& r) {
    if (r.status != 0) {
        if (!m_backupPath.empty())
            Show(WriteErrorText(r, false) + "\n\n" + BackupNote(), r.status != kCloneCancelled);
        Finish(r.status, &r);
        return;
    }
    if (!m_verify) {
        Finish(0, &r);
        return;
    }
    m_writeStage = WriteStage::ReadingBack;
    if (!StartRawRead([this](dst_CDrv_Result& rr) { VerifyDone(rr); }))
        Finish(kBusy, nullptr);
}

void indCloneCommands::VerifyDone(dst_CDrv_Result& r) {
    m_rawRead = false;
    std::string text;
    if (r.status != 0) {
        text = Text("GI_Mess_Verify_ReadFailed") + "\n\n" + WriteErrorText(r, false);
    } else {
        m_mismatch = FirstDifference(m_writeImage, r.image, m_ranges,
                                     m_readRanges.empty() ? -1 : m_readRanges[0].last);
        if (m_mismatch < 0) {
            Finish(0, &r);
            return;
        }
        char address[16];
        std::snprintf(address, sizeof address, "0x%04X", static_cast<unsigned>(m_mismatch));
        text = Fill(Text("GI_Mess_Verify_Failed"), address);
    }
    if (!m_backupPath.empty())
        text += "\n\n" + BackupNote();
    Show(text, true);
    Finish(kVerifyFailed, &r);
}

std::string indCloneCommands::WriteErrorText(dst_CDrv_Result& r, bool beforeData) {
    // Told as a write that sent nothing, a failed backup read says that the radio is unchanged.
    const cmcCloneMode mode = r.mode;
    if (beforeData)
        r.mode = cmcCloneMode::Write;
    std::string text = m_man.CloneErrorText(r);
    r.mode = mode;
    return text;
}

std::string indCloneCommands::BackupNote() const {
    return Fill(Text("GI_Mess_Backup_Kept"), m_backupPath);
}

std::string indCloneCommands::Text(const char* key) const {
    return m_tex ? m_tex->GetJoinedText(key) : std::string();
}

void indCloneCommands::Show(const std::string& text, bool error) {
    if (m_box && m_tex && !text.empty())
        m_box->Show(text, m_tex->GetLine("GI_Sys_AppTitle", 0),
                    error ? cmcMessageBox::Icon::Error : cmcMessageBox::Icon::Warning,
                    cmcMessageBox::Buttons::Ok);
}
