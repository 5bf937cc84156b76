#include "CliClone.h"

#include "app/indFleetWrite.h"
#include "clone/cmcPosixSerial.h"
#include "core/cmcAppDir.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

cmcMessageBox::Answer CliMessageBox::Show(const std::string& text, const std::string&, Icon,
                                          Buttons buttons) {
    std::fprintf(stderr, "%s\n", text.c_str());
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
    if (m_yes)
        return yesNo ? Answer::Yes : Answer::Ok;
    if (!isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "(no terminal to answer on: declined; use --yes)\n");
        return yesNo ? Answer::No : Answer::Cancel;
    }
    std::fprintf(stderr, "Continue? [y/N] ");
    std::fflush(stderr);
    char line[16] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return yesNo ? Answer::No : Answer::Cancel;
    bool ok = line[0] == 'y' || line[0] == 'Y';
    if (yesNo)
        return ok ? Answer::Yes : Answer::No;
    return ok ? Answer::Ok : Answer::Cancel;
}

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The line is redrawn at most this often; the last state is always drawn.
constexpr int64_t kRedrawMs = 200;

} // namespace

void CliProgressBar::ShowProgress(int32_t total) {
    m_shown = true;
    m_terminal = isatty(STDERR_FILENO) != 0;
    m_drawnAtMs = -1;
    m_drawnLength = 0;
    m_rate.Start(NowMs(), total);
    Draw();
}

void CliProgressBar::UpdateProgress(int32_t transferred, int32_t total) {
    if (!m_shown)
        return;
    const int64_t now = NowMs();
    m_rate.Update(now, transferred);
    if (transferred < total && m_drawnAtMs >= 0 && now - m_drawnAtMs < kRedrawMs)
        return;
    Draw();
}

void CliProgressBar::Draw() {
    if (!m_terminal)
        return;
    m_drawnAtMs = NowMs();
    std::string bar(static_cast<size_t>(FilledCells(m_rate.Transferred(), m_rate.Total())), '#');
    bar.resize(32, '.');
    std::string line = "Cloning [" + bar + "] " + m_rate.Line();
    // Blanks over what a longer earlier line left behind.
    const size_t length = line.size();
    if (length < m_drawnLength)
        line.append(m_drawnLength - length, ' ');
    m_drawnLength = length;
    std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
}

void CliProgressBar::HideProgress() {
    if (m_shown && m_terminal)
        std::fprintf(stderr, "\n");
    m_shown = false;
}

bool CliClone::Setup(const CliArgs& args, const char* verb) {
    std::string port = args.Get("--port");
    if (port.empty()) {
        std::fprintf(stderr, "ostrel-cli %s: --port DEVICE is required\n", verb);
        return false;
    }
    tex.OpenFile(cmcAppFile("ENG.OVL"));
    box = std::make_unique<CliMessageBox>(args.Has("--yes"));
    man = std::make_unique<indCloneMan>(
        loop, [] { return std::make_unique<cmcPosixSerial>(); }, &tex, box.get(), &progress);
    // Device paths take a port number above the four on-board ports.
    constexpr int kPort = 5;
    cmcPortMap map;
    map.SetDevicePath(kPort, port);
    man->SetPortMap(map);
    man->SetComPort(kPort);
    man->SetComSpeedHigh(!args.Has("--low"));
    // Reading a radio needs no model settings; an overlay without them reads with the defaults.
    bool haveSettings = tex.HasKey("GI_AppUnitIdMax") && tex.HasKey("GI_Sys_LockoutNewerData");
    model = std::make_unique<indModel>(nullptr, box.get(),
                                       haveSettings ? indModel::ReadSettings(tex) : indModel::Settings{});
    commands = std::make_unique<indCloneCommands>(*man, *model, &tex, box.get());
    password = args.Get("--password");
    commands->SetPasswordDialog([this] {
        if (password.empty()) {
            std::fprintf(stderr, "The radio is protected by a clone password: give it with --password.\n");
            return false;
        }
        man->SetClonePassword(password);
        return true;
    });
    return true;
}

indCloneCommands::Done CliClone::Completion(std::function<void(dst_CDrv_Result&)> keep) {
    return [this, keep](int32_t result, dst_CDrv_Result* r) {
        if (keep && r && result == 0)
            keep(*r);
        outcome = result;
        finished = true;
    };
}

int CliClone::Wait() {
    // Every clone step has its own time-out; this bound only guards against a stuck loop.
    if (!loop.RunUntil([this] { return finished; }, 30 * 60 * 1000)) {
        std::fprintf(stderr, "ostrel-cli: the operation did not end\n");
        return kCloneTimeout;
    }
    return ExitStatus(outcome);
}

int CliClone::ExitStatus(int32_t outcome) {
    // One table of result codes for every write, the fleet's and its audit log's included.
    return indFleetWrite::ResultCode(outcome);
}
