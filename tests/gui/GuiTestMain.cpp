// The main of every widget test: the offscreen platform, a temporary folder as the user's config, data
// and runtime folder (no test touches the real settings or backups), one QApplication for all tests.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string tmpl = (std::filesystem::temp_directory_path() / "ostrel-gui-XXXXXX").string();
    const char* home = mkdtemp(tmpl.data());
    if (!home)
        return 2;
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (std::string(home) + "/data").c_str(), 1);
    std::filesystem::create_directories(std::string(home) + "/runtime");
    std::filesystem::permissions(std::string(home) + "/runtime", std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (std::string(home) + "/runtime").c_str(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return result;
}
