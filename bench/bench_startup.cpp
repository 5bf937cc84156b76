// Start-up of the desktop program against a bare Qt main window: each is run as
// `PROGRAM --screenshot OUT.png` on the offscreen platform, which paints the window once, saves a
// picture and exits. Measured per run: the time from starting the process to the moment it sees its
// window painted (each reports it), the time to its end, its CPU time and its peak memory (maximum
// resident set); several runs alternate, the medians are compared.
#include "core/cmcAppDir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;

struct Run {
    double painted = 0;    // start to painted
    double seconds = 0;    // start to ended
    double cpuSeconds = 0; // user and system time: what the start costs on a busy machine too
    long maxRssKb = 0;
    bool ok = false;
};

std::string ExeDir() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    std::string path(buf, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/'));
}

bool Executable(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

Run RunOnce(const std::string& program, const std::string& picture) {
    Run run;
    std::remove(picture.c_str());
    const auto start = Clock::now();
    int out[2];
    if (pipe(out) != 0)
        return run;
    pid_t pid = fork();
    if (pid < 0)
        return run;
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(out[1], STDOUT_FILENO);
        dup2(null, STDERR_FILENO); // the offscreen platform's notes
        execl(program.c_str(), program.c_str(), "--screenshot", picture.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string said;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        said.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    long long paintedNs = 0;
    if (const size_t at = said.find("painted "); at != std::string::npos)
        paintedNs = std::atoll(said.c_str() + at + 8);
    run.painted =
        paintedNs > 0
            ? static_cast<double>(
                  paintedNs -
                  std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count()) /
                  1e9
            : 0;
    run.maxRssKb = usage.ru_maxrss;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    struct stat st {};
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && stat(picture.c_str(), &st) == 0 &&
             st.st_size > 0 && run.painted > 0;
    if (!run.ok)
        std::fprintf(stderr, "bench_startup: %s ended with status %d%s\n", program.c_str(),
                     WIFEXITED(status) ? WEXITSTATUS(status) : -1, st.st_size > 0 ? "" : ", no picture");
    return run;
}

template <typename T> T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    const std::string ostrel = cmcAppFile("ostrel");
    const std::string baseline = ExeDir() + "/startup_baseline";
    if (!Executable(ostrel) || !Executable(baseline)) {
        std::printf("startup: skipped (needs %s and %s)\n", ostrel.c_str(), baseline.c_str());
        return 0;
    }
    // A settings and runtime folder of our own, kept over the runs as a user's would be.
    char tmpl[] = "/tmp/bench_startup.XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    const std::string tmp = tmpl;
    const std::string config = tmp + "/config", runtime = tmp + "/runtime";
    mkdir(config.c_str(), 0700);
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("OSTREL_REPORT_PAINTED", "1", 1);
    const std::string picture = tmp + "/shot.png";

    // One run each first, unmeasured: it fills the file cache and writes the settings.
    RunOnce(baseline, picture);
    RunOnce(ostrel, picture);
    std::vector<double> basePaint, appPaint, baseTime, appTime, baseCpu, appCpu;
    std::vector<long> baseRss, appRss;
    bool ok = true;
    for (int i = 0; i < kRuns; ++i) {
        Run b = RunOnce(baseline, picture);
        Run a = RunOnce(ostrel, picture);
        ok = ok && a.ok && b.ok;
        basePaint.push_back(b.painted);
        appPaint.push_back(a.painted);
        baseTime.push_back(b.seconds);
        appTime.push_back(a.seconds);
        baseCpu.push_back(b.cpuSeconds);
        appCpu.push_back(a.cpuSeconds);
        baseRss.push_back(b.maxRssKb);
        appRss.push_back(a.maxRssKb);
    }
    std::string cleanup = "rm -rf '" + tmp + "'";
    if (std::system(cleanup.c_str()) != 0)
        std::fprintf(stderr, "bench_startup: cannot remove %s\n", tmp.c_str());
    if (!ok) {
        std::printf("startup: failed (see above)\n");
        return 0;
    }
    const double bt = Median(baseTime), at = Median(appTime);
    const long br = Median(baseRss), ar = Median(appRss);
    const double bp = Median(basePaint), ap = Median(appPaint);
    std::printf("startup_painted_baseline: %.3f s (median of %d runs: start to the first painted window)\n",
                bp, kRuns);
    std::printf("startup_painted_ostrel: %.3f s (%.2f x baseline, goal <= 1.5)\n", ap, ap / bp);
    std::printf("startup_ended_baseline: %.3f s (start to painted, picture saved and ended)\n", bt);
    std::printf("startup_ended_ostrel: %.3f s (%.2f x baseline)\n", at, at / bt);
    const double bc = Median(baseCpu), ac = Median(appCpu);
    std::printf("startup_cpu_baseline: %.3f s (user and system time)\n", bc);
    std::printf("startup_cpu_ostrel: %.3f s (%.2f x baseline)\n", ac, ac / bc);
    std::printf("startup_peak_memory_baseline: %ld KB (maximum resident set)\n", br);
    std::printf("startup_peak_memory_ostrel: %ld KB (%.2f x baseline, goal <= 2)\n", ar,
                static_cast<double>(ar) / static_cast<double>(br));
    return 0;
}
