#include "CliClone.h"

#include "model/indDataFile.h"
#include "model/indWarningCheck.h"

#include <cstdio>

// Writes a clone data file into the radio, with the checks and confirmations of the desktop program.
// With --backup the radio's present data is first saved in a folder, with --verify it is read back
// after the write and compared.
int CliWrite(const CliArgs& args) {
    if (args.positional.size() != 1) {
        std::fprintf(stderr, "ostrel-cli write: give exactly one clone data file\n");
        return kCliUsageError;
    }
    if (args.Has("--backup") && args.Get("--backup").empty()) {
        std::fprintf(stderr, "ostrel-cli write: --backup needs a folder\n");
        return kCliUsageError;
    }
    CliClone c;
    if (!c.Setup(args, "write"))
        return kCliUsageError;
    // The file is opened as the Open command does: checked, then taken into the working layout of the
    // model type stored in it.
    cmcEeprom loaded;
    cmcKvtFile::FileError code = indDataFile::Open(args.positional[0], loaded);
    if (code == cmcKvtFile::FileError::Ok && indModel::CheckLoadedData(loaded, false) != 0)
        code = cmcKvtFile::FileError::Data;
    if (code == cmcKvtFile::FileError::Ok && c.model->CheckDataVersion(loaded) != 0)
        code = cmcKvtFile::FileError::Newer;
    if (code != cmcKvtFile::FileError::Ok) {
        std::fprintf(stderr, "%s\n", cmcKvtFile::FileErrorText(code, c.tex).c_str());
        return kCliFileError + cmcKvtFile::Code(code);
    }
    int type = c.model->StoredModelType(loaded);
    cmcEeprom initial;
    indModel::LoadInitialData(indModel::InitialFilePath(c.tex, type), initial);
    c.model->SetDefaults(&initial);
    cmcEeprom working = initial;
    working.WriteBlock(0, loaded.Data(), cmcEeprom::kRadioSize);
    c.model->Convert(working, 0);
    // The warning check of the desktop program: data with errors is not written.
    c.commands->SetWarningCheck([&] { return indWarningCheck::ErrorCount(working, &initial, c.tex, type); });
    c.commands->SetBackupFolder(args.Get("--backup"));
    c.commands->SetVerify(args.Has("--verify"));

    if (!c.commands->StartWrite(working, c.Completion()))
        return kCliUsageError;
    int status = c.Wait();
    if (!c.commands->BackupPath().empty())
        std::fprintf(stderr, "Backup %s\n", c.commands->BackupPath().c_str());
    if (status == 0)
        c.box->Show(c.tex.GetJoinedText("GI_Mess_CloneWrite_Succeeded"), "", cmcMessageBox::Icon::Information,
                    cmcMessageBox::Buttons::Ok);
    return status;
}
