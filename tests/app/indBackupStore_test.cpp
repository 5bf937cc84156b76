#include "app/indBackupStore.h"
#include "core/cmcEeprom.h"
#include "model/indDataFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// Sets an environment variable for one scope (null: unset), then puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        m_old = old ? old : "";
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { m_had ? ::setenv(m_name, m_old.c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    bool m_had;
    std::string m_old;
};

cmcEeprom Pattern(uint8_t seed) {
    cmcEeprom image;
    image.SetSize(cmcEeprom::kWorkSize);
    for (int32_t a = 0; a < cmcEeprom::kRadioSize; ++a)
        image.SetByte(a, static_cast<uint8_t>(a * 7 + seed));
    return image;
}

} // namespace

TEST(indBackupStore, FolderFollowsTheUsersDataFolder) {
    ScopedEnv home("HOME", "/home/tech");
    const struct {
        const char* data; // XDG_DATA_HOME, null: unset
        const char* folder;
    } cases[] = {
        {"/srv/data", "/srv/data/Ostrel/backups"},
        {nullptr, "/home/tech/.local/share/Ostrel/backups"},
        {"", "/home/tech/.local/share/Ostrel/backups"},
        {"relative/data", "/home/tech/.local/share/Ostrel/backups"}, // only an absolute path counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data ? c.data : "(unset)");
        ScopedEnv data("XDG_DATA_HOME", c.data);
        EXPECT_EQ(indBackupStore::DefaultFolder(), c.folder);
    }
}

TEST(indBackupStore, NamedAfterTheSerialNumberElseTheModel) {
    std::vector<uint8_t> info(127, 0);
    EXPECT_EQ(indBackupStore::RadioName(info), "ZV7104K");
    std::memcpy(info.data() + 37, "00000012AB34", 12);
    EXPECT_EQ(indBackupStore::RadioName(info), "0000001223476");
    ScopedEnv zone("TZ", "UTC");
    ::tzset();
    EXPECT_EQ(indBackupStore::FileName("0000001223476", 1797120000), "0000001223476-20261213-000000.ocd");
}

TEST(indBackupStore, SaveNeverReplacesAnEarlierBackup) {
    TempDir dir;
    const std::string folder = dir.File("a/b/backups"); // made with its parents
    cmcEeprom first = Pattern(1), second = Pattern(2);
    std::string path1, path2;
    ASSERT_EQ(indBackupStore::Save(folder, "R", 1797120000, first, path1), cmcKvtFile::FileError::Ok);
    ASSERT_EQ(indBackupStore::Save(folder, "R", 1797120000, second, path2), cmcKvtFile::FileError::Ok);
    EXPECT_NE(path1, path2);
    EXPECT_EQ(path2.substr(path2.size() - 6), "-2.ocd");
    for (auto [path, image] : {std::pair{path1, &first}, std::pair{path2, &second}}) {
        cmcEeprom loaded;
        loaded.SetSize(cmcEeprom::kWorkSize);
        ASSERT_EQ(indDataFile::Load(path, loaded), cmcKvtFile::FileError::Ok) << path;
        EXPECT_EQ(0, std::memcmp(loaded.Data(), image->Data(), cmcEeprom::kRadioSize)) << path;
    }
    // A folder that cannot be made (here below a plain file, which stops root too) saves nothing.
    WriteFileText(dir.File("plain"), "x");
    std::string path3 = "stale";
    EXPECT_EQ(indBackupStore::Save(dir.File("plain/backups"), "R", 1797120000, first, path3),
              cmcKvtFile::FileError::Open);
    EXPECT_EQ(path3, "");
}
