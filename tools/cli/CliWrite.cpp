#include "CliClone.h"

#include "app/indAuditLog.h"
#include "app/indFleetWrite.h"
#include "clone/cmcPosixSerial.h"
#include "core/cmcAppDir.h"
#include "model/indDataFile.h"
#include "model/indWarningCheck.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

// The file opened as the Open command does: checked, then taken into the working layout of the model
// type stored in it, with that type's initial data. 0, or the exit status with its message printed.
int OpenForWrite(const std::string& path, cmcGTex& tex, indModel& model, cmcEeprom& working,
                 cmcEeprom& initial, int& type) {
    cmcEeprom loaded;
    cmcKvtFile::FileError code = indDataFile::Open(path, loaded);
    if (code == cmcKvtFile::FileError::Ok && indModel::CheckLoadedData(loaded, false) != 0)
        code = cmcKvtFile::FileError::Data;
    if (code == cmcKvtFile::FileError::Ok && model.CheckDataVersion(loaded) != 0)
        code = cmcKvtFile::FileError::Newer;
    if (code != cmcKvtFile::FileError::Ok) {
        std::fprintf(stderr, "%s\n", cmcKvtFile::FileErrorText(code, tex).c_str());
        return kCliFileError + cmcKvtFile::Code(code);
    }
    type = model.StoredModelType(loaded);
    indModel::LoadInitialData(indModel::InitialFilePath(tex, type), initial);
    model.SetDefaults(&initial);
    working = initial;
    working.WriteBlock(0, loaded.Data(), cmcEeprom::kRadioSize);
    model.Convert(working, 0);
    return 0;
}

const char* StateText(indFleetWrite::State state) {
    switch (state) {
    case indFleetWrite::State::Waiting:
        return "waiting";
    case indFleetWrite::State::Asking:
        return "asking";
    case indFleetWrite::State::BackingUp:
        return "backing up";
    case indFleetWrite::State::Writing:
        return "writing";
    case indFleetWrite::State::ReadingBack:
        return "reading back";
    case indFleetWrite::State::Succeeded:
        return "done";
    case indFleetWrite::State::Failed:
        return "failed";
    }
    return "";
}

// On a terminal, one line per radio, redrawn in place; quiet otherwise.
class FleetLines {
public:
    explicit FleetLines(const indFleetWrite& fleet)
        : m_fleet(fleet), m_terminal(isatty(STDERR_FILENO) != 0) {}

    void Draw(bool force) {
        if (!m_terminal)
            return;
        const int64_t now = NowMs();
        if (!force && now - m_drawnAt < 200)
            return;
        m_drawnAt = now;
        if (m_drawn > 0)
            std::fprintf(stderr, "\x1b[%zuA", m_drawn); // back to the first radio's line
        for (size_t i = 0; i < m_fleet.Count(); ++i) {
            const indFleetWrite::Status& s = m_fleet.RadioStatus(i);
            std::fprintf(stderr, "\r\x1b[K%-24s %7d/%-7d %s\n", s.port.c_str(), s.transferred, s.total,
                         StateText(s.state));
        }
        m_drawn = m_fleet.Count();
        std::fflush(stderr);
    }

private:
    static int64_t NowMs() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    const indFleetWrite& m_fleet;
    bool m_terminal;
    int64_t m_drawnAt = -1;
    size_t m_drawn = 0;
};

// Several radios at once (or one with per-radio values or a log): the confirmations are asked once
// for the whole fleet, each radio ends with a result line and a row in the audit log.
int FleetWrite(const CliArgs& args, const std::vector<std::string>& ports) {
    cmcGTex tex;
    tex.OpenFile(cmcAppFile("ENG.OVL"));
    const bool haveSettings = tex.HasKey("GI_AppUnitIdMax") && tex.HasKey("GI_Sys_LockoutNewerData");
    indModel model(nullptr, nullptr, haveSettings ? indModel::ReadSettings(tex) : indModel::Settings{});
    cmcEeprom working, initial;
    int type = 0;
    if (int status = OpenForWrite(args.positional[0], tex, model, working, initial, type); status != 0)
        return status;
    indFleetValues values;
    if (args.Has("--values")) {
        std::string error;
        if (!values.Load(args.Get("--values"), error)) {
            std::fprintf(stderr, "ostrel-cli write: %s\n", error.c_str());
            return kCliUsageError;
        }
    }
    // The radios run side by side: a question waiting on the terminal would stall them all, so the
    // fleet is confirmed as a whole before the first radio is asked.
    CliMessageBox box(args.Has("--yes"));
    for (const char* key : indFleetWrite::Confirmations(working)) {
        std::string question = tex.GetJoinedText(key);
        if (ports.size() > 1)
            question += "\n(" + std::to_string(ports.size()) + " radios)";
        if (box.Show(question, "", cmcMessageBox::Icon::Warning, cmcMessageBox::Buttons::OkCancel) !=
            cmcMessageBox::Answer::Ok)
            return kCliCancelled;
    }

    cmcPollLoop loop;
    indFleetWrite::Options options;
    options.high = !args.Has("--low");
    options.password = args.Get("--password");
    options.backupFolder = args.Get("--backup");
    options.verify = args.Has("--verify");
    options.logPath = args.Has("--log") ? args.Get("--log") : indAuditLog::DefaultPath();
    options.warningCheck = [&](const cmcEeprom& image, int modelType) {
        cmcEeprom copy = image;
        return indWarningCheck::ErrorCount(copy, &initial, tex, modelType);
    };
    indFleetWrite* running = nullptr;
    std::unique_ptr<FleetLines> lines;
    options.message = [&](size_t radio, const std::string& text) {
        std::string oneLine = text;
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        if (!isatty(STDERR_FILENO))
            std::fprintf(stderr, "%s: %s\n", running->RadioStatus(radio).port.c_str(), oneLine.c_str());
    };
    options.changed = [&](size_t) {
        if (lines)
            lines->Draw(false);
    };
    indFleetWrite fleet(
        loop, [] { return std::make_unique<cmcPosixSerial>(); }, tex, options);
    running = &fleet;
    for (const std::string& port : ports)
        fleet.AddPort(port);
    fleet.SetValues(values);
    lines = std::make_unique<FleetLines>(fleet);
    fleet.Start(working, initial, type);
    if (!loop.RunUntil([&] { return fleet.Finished(); }, 60 * 60 * 1000)) {
        fleet.Cancel();
        loop.RunUntil([&] { return fleet.Finished(); }, 5000);
    }
    lines->Draw(true);
    // The result lines: port, serial, firmware, code, result, backup; TAB-separated for scripts.
    for (size_t i = 0; i < fleet.Count(); ++i) {
        const indFleetWrite::Status& s = fleet.RadioStatus(i);
        std::printf("%s\t%s\t%s\t%d\t%s\t%s\n", s.port.c_str(), s.serial.empty() ? "-" : s.serial.c_str(),
                    s.firmware.empty() ? "-" : s.firmware.c_str(), s.code, s.text.c_str(),
                    s.backup.empty() ? "-" : s.backup.c_str());
    }
    std::fflush(stdout);
    if (!fleet.LogError().empty())
        std::fprintf(stderr, "ostrel-cli write: the audit log was not written: %s\n",
                     fleet.LogError().c_str());
    return fleet.ExitCode();
}

} // namespace

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
    const std::vector<std::string> ports = args.GetAll("--port");
    for (size_t i = 0; i < ports.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (ports[i] == ports[j]) {
                std::fprintf(stderr, "ostrel-cli write: the port %s is given twice\n", ports[i].c_str());
                return kCliUsageError;
            }
    if (ports.size() > 1 || args.Has("--values") || args.Has("--log")) {
        if (ports.empty() || (args.Has("--log") && args.Get("--log").empty())) {
            std::fprintf(stderr, "ostrel-cli write: --port DEVICE is required%s\n",
                         args.Has("--log") ? " and --log needs a file" : "");
            return kCliUsageError;
        }
        return FleetWrite(args, ports);
    }
    CliClone c;
    if (!c.Setup(args, "write"))
        return kCliUsageError;
    cmcEeprom working, initial;
    int type = 0;
    if (int status = OpenForWrite(args.positional[0], c.tex, *c.model, working, initial, type); status != 0)
        return status;
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
