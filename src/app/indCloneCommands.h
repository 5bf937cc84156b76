#pragma once
// The clone commands of the main object without their windows: clone information, clone read and
// clone write with their checks, confirmations and preparation. The desktop program and the command
// line run the same sequences; they supply the boxes, the password dialog and the data.
#include "clone/indCloneMan.h"
#include "core/cmcEeprom.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class cmcGTex;
class cmcMessageBox;
class indModel;

class indCloneCommands {
public:
    // Outcomes that end a command before or instead of a clone operation (clone result codes are >= 0).
    enum : int32_t {
        kCancelled = -1,      // a confirmation or the password dialog was cancelled
        kNoChannelInUse = -2, // GI_AppMess_CloneErr_NoActualCh
        kDataErrors = -3,     // the warning check counted errors: GI_Mess_DataError
        kNotReadyTrunk = -4,  // GI_AppMess_CloneErr_NotReadyVORNTrunk
        kBusy = -5,           // the clone manager is busy
        kBackupFailed = -6,   // the radio's present data could not be read or saved: nothing was written
        kVerifyFailed = -7,   // what the radio holds after the write differs, or could not be read back
    };

    // Clone information block offsets the commands use.
    static constexpr int kInfoSize = 127;
    static constexpr int kInfoRevision = 32; // firmware revision, two nibbles
    static constexpr int kInfoTrunkLevel = 34;
    static constexpr int kInfoDataVersion = 35;
    static constexpr int kInfoSerial = 37; // 12 hexadecimal characters
    static constexpr int kInfoFlags = 53;  // bit 3 protected, bit 4 not for reading
    static constexpr int kInfoEnd4 = 56;
    static constexpr int kInfoWide = 101; // bit 6
    static constexpr int kInfoEnd8 = 102;

    static constexpr int32_t kModelCode = 0x3329;
    // Working-image byte that holds the data's own clone password (0: none).
    static constexpr int32_t kClonePasswordAt = 75262;

    // Receives the outcome: a clone result code (0 success) or one of the outcomes above; result is
    // null when no clone operation ran.
    using Done = std::function<void(int32_t outcome, dst_CDrv_Result* result)>;

    indCloneCommands(indCloneMan& man, indModel& model, cmcGTex* tex, cmcMessageBox* box);

    // The clone password dialog: returns true when a password was entered (and handed to the clone
    // manager with SetClonePassword). Unset: cancelled.
    void SetPasswordDialog(std::function<bool()> dialog) { m_passwordDialog = std::move(dialog); }
    // The warning check run before a write; returns the number of errors. Unset: no errors.
    void SetWarningCheck(std::function<int()> check) { m_warningCheck = std::move(check); }
    void SetMakerMode(bool on) { m_makerMode = on; }
    bool MakerMode() const { return m_makerMode; }
    // Before its data frames, a write reads the radio's present data and saves it in this folder
    // (indBackupStore); a backup that fails stops the write. Empty: no backup.
    void SetBackupFolder(std::string folder) { m_backupFolder = std::move(folder); }
    // After its last frame, a write reads the radio back and compares it with the data sent, over the
    // addresses the write sent.
    void SetVerify(bool on) { m_verify = on; }
    // Where a running write is, for a display of its progress: the backup read, the data frames, the
    // read-back; None before them (checks and information) and once the write ended.
    enum class WriteStage { None, BackingUp, Sending, ReadingBack };
    WriteStage CurrentWriteStage() const { return m_writeStage; }
    // The backup file of the last write; empty when it made none.
    const std::string& BackupPath() const { return m_backupPath; }
    // The first address at which the last verified write read back differently; -1 for none.
    int32_t VerifyMismatch() const { return m_mismatch; }

    bool StartInfo(Done done);
    // Information, then the read of the memory the radio reports; the result holds the image.
    bool StartRead(Done done);
    // working: the current data in the working layout (copied). Checks, confirmations, information
    // twice, conversion to the radio layout, then the write.
    bool StartWrite(const cmcEeprom& working, Done done);

    // The radio information of the last successful information operation.
    const std::array<uint8_t, kInfoSize>& Info() const { return m_info; }
    int32_t RadioModelCode() const { return m_radioModel; }
    int32_t RadioExtraCode() const { return m_radioExtra; }
    // The radio's last memory address from an information block (8-character form, else 4).
    static int32_t EndAddress(const uint8_t* info);
    // The read range's last address: the end address rounded down to 16, plus 15.
    static int32_t ReadLast(const uint8_t* info);
    // The last address of a packed image: the 32-bit value at 0x0134, or the 16-bit one at 0x0112.
    static int32_t DataEnd(const cmcEeprom& image);
    // The radio serial: the last 6 of the 12 characters when all are hexadecimal digits, else 0.
    static int32_t Serial(const uint8_t* info);
    bool HasChannelInUse(const cmcEeprom& working) const;

    // The checks the clone manager runs on results (also used by tests).
    void CheckInformation(dst_CDrv_Result& result);
    void CheckRead(dst_CDrv_Result& result);

    const std::vector<cmcRange>& Ranges() const { return m_ranges; }
    const cmcEeprom& WriteImage() const { return m_writeImage; }

private:
    void ReadStep(dst_CDrv_Result& result);
    void WriteStep(dst_CDrv_Result& result);
    // The steps of a write after its checks: backup read and save, the write, the read-back.
    void StartBackup();
    void BackupDone(dst_CDrv_Result& result);
    void SendData();
    void WriteDone(dst_CDrv_Result& result);
    void VerifyDone(dst_CDrv_Result& result);
    // A read of the radio's whole memory as it is, for the backup or the read-back: no data checks,
    // and the clone manager shows no message (the write's own message says what failed).
    bool StartRawRead(indCloneMan::Done done);
    void SendPasswordAgain();
    // The clone error text of a result as part of a write: a read that failed left the radio as it was.
    std::string WriteErrorText(dst_CDrv_Result& result, bool beforeData);
    std::string BackupNote() const;
    std::string Text(const char* key) const;
    void Show(const std::string& text, bool error);
    bool Confirm(const char* key);
    void Error(const char* key);
    void Finish(int32_t outcome, dst_CDrv_Result* result);

    indCloneMan& m_man;
    indModel& m_model;
    cmcGTex* m_tex;
    cmcMessageBox* m_box;
    std::function<bool()> m_passwordDialog;
    std::function<int()> m_warningCheck;
    bool m_makerMode = false;
    Done m_done;
    std::array<uint8_t, kInfoSize> m_info{};
    int32_t m_radioModel = 0;
    int32_t m_radioExtra = 0;
    bool m_writePhase = false;
    WriteStage m_writeStage = WriteStage::None;
    cmcEeprom m_working;
    cmcEeprom m_writeImage;
    std::vector<cmcRange> m_ranges;
    std::vector<cmcRange> m_readRanges; // the backup read and the read-back
    std::string m_backupFolder;
    std::string m_backupPath;
    bool m_verify = false;
    bool m_rawRead = false;
    std::string m_password; // the clone password of the running write, sent with each of its operations
    int32_t m_mismatch = -1;
};
