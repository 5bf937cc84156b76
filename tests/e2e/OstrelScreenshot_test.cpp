// ostrel --screenshot, run as a process on the offscreen platform: exit 0 only for a picture that
// shows a sheet; a failure ends promptly, non-zero, with a message (a box nobody can answer must not
// hold the run).
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Case {
    const char* name;
    std::vector<std::string> extra;
    int status;
    const char* message; // a part of the output, or "" for none
};

long FileSize(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

} // namespace

TEST(OstrelScreenshot, ExitStatusTellsWhetherThePictureShowsTheSheet) {
    if (access((CliBinDir() + "/ostrel").c_str(), X_OK) != 0)
        GTEST_SKIP() << "the desktop program is not built";
    TempDir dir;
    mkdir(dir.File("config").c_str(), 0700);
    mkdir(dir.File("runtime").c_str(), 0700);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir.File("runtime").c_str(), 1);

    const Case cases[] = {
        {"first sheet", {}, 0, ""},
        {"bank sheet of a file",
         {"--open", CliBinDir() + "/Initial_LMR.ocd", "--sheet", "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"},
         0,
         ""},
        {"unknown sheet", {"--sheet", "nonsense"}, 1, "no sheet 'nonsense'"},
        {"file that cannot be opened", {"--open", dir.File("missing.ocd")}, 1, "cannot open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string picture = dir.File("shot.png");
        std::remove(picture.c_str());
        std::vector<std::string> args{"--screenshot", picture};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        CliRun run = RunProgram("ostrel", args, 20000);
        EXPECT_EQ(run.status, c.status) << run.both;
        EXPECT_NE(run.both.find(c.message), std::string::npos) << run.both;
        if (c.status == 0) {
            EXPECT_GT(FileSize(picture), 0);
        }
    }
}

// What a desktop needs to list the program: its version on the command line, and the desktop entry
// and icon the build lays out under build/share.
TEST(OstrelScreenshot, VersionAndDesktopEntry) {
    if (access((CliBinDir() + "/ostrel").c_str(), X_OK) != 0)
        GTEST_SKIP() << "the desktop program is not built";
    CliRun run = RunProgram("ostrel", {"--version"}, 20000);
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(run.both.rfind("ostrel ", 0), 0u) << run.both;
    EXPECT_NE(run.both.find('.'), std::string::npos) << run.both;
    const std::string share = CliBinDir() + "/../share";
    EXPECT_GT(FileSize(share + "/applications/ostrel.desktop"), 0);
    EXPECT_GT(FileSize(share + "/icons/hicolor/scalable/apps/ostrel.svg"), 0);
}
