#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "core/cmcMemorySettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace {

// A lock that some other process already holds.
class HeldLock : public cmcInstanceLock {
public:
    bool TryLock() override { return false; }
};

// A lock that records when it is released, so the order of writing and releasing can be seen.
class TrackedLock : public cmcInstanceLock {
public:
    TrackedLock(const cmcMemorySettings& store, bool& sawSettingsAtRelease)
        : m_store(store), m_saw(sawSettingsAtRelease) {}
    ~TrackedLock() override { m_saw = m_store.ReadInt("Global", "BBT").has_value(); }
    bool TryLock() override { return true; }

private:
    const cmcMemorySettings& m_store;
    bool& m_saw;
};

// Every value a complete store holds, as the program writes it.
void FillValidStore(cmcMemorySettings& store) {
    store.WriteInt("Global", "BBT", indEnviron::kSignature);
    store.WriteInt("Global", "ComPort", 7);
    store.WriteInt("Global", "ComSpeedHigh", 0);
    store.WriteText("Global", "Current Directory", "/home/u/radio");
    store.WriteInt("Global", "MCH View", 1);
    store.WriteInt("Global", "DockFloatCheck", 1);
    store.WriteInt("Global", "AlignCheck", 3);
    store.WriteInt("Global", "FloatingCheck", 1);
    for (int i = 0; i < 10; ++i)
        store.WriteText("Recent File List", "Recent" + std::to_string(i),
                        i < 2 ? "/r/" + std::to_string(i) : "");
    store.WriteInt("View Option", "FontSize Percentage", 150);
    store.WriteInt("View Option", "Toolbar Visible", 0);
    store.WriteInt("View Option", "FontSize Printer", 11);
    store.WriteInt("Window Position", "Left", -5);
    store.WriteInt("Window Position", "Top", 20);
    store.WriteInt("Window Position", "Width", 1000);
    store.WriteInt("Window Position", "Height", 700);
    store.WriteInt("Window Position", "SplitterV", 250);
    store.WriteInt("Setup", "ModelType", 0);
    store.WriteInt("Setup", "Language", 2);
    store.WriteText("Password", "MakerReserveMode", "61626364"); // "abcd"
    store.WriteText("Password", "AdjustMode", "00");
}

// Checks that env holds the defaults of a 1024 x 768 screen.
void ExpectDefaults(const indEnviron& env) {
    EXPECT_EQ(env.signature, indEnviron::kSignature);
    EXPECT_EQ(env.comPort, 1);
    EXPECT_EQ(env.comSpeedHigh, 1);
    EXPECT_EQ(env.currentDirectory, "");
    EXPECT_EQ(env.mchViewOn, 0);
    EXPECT_EQ(env.floatingCheck, 0);
    EXPECT_EQ(env.alignCheck, 0);
    EXPECT_EQ(env.recent.Count(), 0);
    EXPECT_EQ(env.fontSizePercentage, 100);
    EXPECT_EQ(env.toolbarVisible, 1);
    EXPECT_EQ(env.printerFontSize, 10);
    EXPECT_EQ(env.windowWidth, 800);
    EXPECT_EQ(env.windowHeight, 600);
    EXPECT_EQ(env.windowLeft, 112);
    EXPECT_EQ(env.windowTop, 50);
    EXPECT_EQ(env.splitterPosition, 200);
    EXPECT_EQ(env.modelType, 1);
    EXPECT_EQ(env.language, 0);
    EXPECT_EQ(env.makerKeys, indEnviron::kDefaultMakerKeys);
    EXPECT_EQ(env.adjustPassword, "");
    EXPECT_EQ(env.mchDockPending, 1);
}

TEST(indEnviron, EmptyStoreGivesDefaults) {
    cmcMemorySettings store;
    indEnviron env(store, nullptr, 1024, 768);
    EXPECT_TRUE(env.IsInstanceOwner());
    ExpectDefaults(env);
}

TEST(indEnviron, DefaultWindowFollowsTheScreen) {
    cmcMemorySettings store;
    indEnviron small(store, nullptr, 640, 480);
    EXPECT_EQ(small.windowWidth, 576);
    EXPECT_EQ(small.windowHeight, 432);
    EXPECT_EQ(small.windowLeft, 32);
    EXPECT_EQ(small.windowTop, 14); // (480 - 432) * 0.3 = 14.4
}

TEST(indEnviron, LoadsACompleteStore) {
    cmcMemorySettings store;
    FillValidStore(store);
    indEnviron env(store, nullptr, 1024, 768);
    EXPECT_EQ(env.comPort, 7);
    EXPECT_EQ(env.comSpeedHigh, 0);
    EXPECT_EQ(env.currentDirectory, "/home/u/radio");
    EXPECT_EQ(env.mchViewOn, 1);
    EXPECT_EQ(env.dockFloatCheck, 1);
    EXPECT_EQ(env.alignCheck, 3);
    EXPECT_EQ(env.floatingCheck, 1);
    EXPECT_EQ(env.mchDockPending, 0); // the inverse of floating
    ASSERT_EQ(env.recent.Count(), 2);
    EXPECT_EQ(env.recent.DisplayText(0, ""), "/r/0");
    EXPECT_EQ(env.recent.DisplayText(1, ""), "/r/1");
    EXPECT_EQ(env.fontSizePercentage, 150);
    EXPECT_EQ(env.toolbarVisible, 0);
    EXPECT_EQ(env.printerFontSize, 11);
    EXPECT_EQ(env.windowLeft, -5); // kept on the work area by the main window, not here
    EXPECT_EQ(env.windowWidth, 1000);
    EXPECT_EQ(env.splitterPosition, 250);
    EXPECT_EQ(env.modelType, 0);
    EXPECT_EQ(env.language, 2);
    EXPECT_EQ(env.makerKeys, "abcd");
    EXPECT_EQ(env.adjustPassword, "");
}

TEST(indEnviron, OutOfRangeValuesAreClamped) {
    struct Case {
        const char* group;
        const char* name;
        int32_t stored;
        int32_t indEnviron::*member;
        int32_t loaded;
    } cases[] = {
        {"Global", "ComPort", 0, &indEnviron::comPort, 1},
        {"Global", "ComPort", 300, &indEnviron::comPort, 256},
        {"Global", "ComPort", 256, &indEnviron::comPort, 256},
        {"Global", "ComSpeedHigh", 5, &indEnviron::comSpeedHigh, 1},
        {"Global", "ComSpeedHigh", -1, &indEnviron::comSpeedHigh, 0},
        {"View Option", "FontSize Printer", 20, &indEnviron::printerFontSize, 12},
        {"View Option", "FontSize Printer", 3, &indEnviron::printerFontSize, 8},
        {"View Option", "FontSize Percentage", 24, &indEnviron::fontSizePercentage, 25},
        {"View Option", "FontSize Percentage", 1001, &indEnviron::fontSizePercentage, 1000},
        {"View Option", "Toolbar Visible", -3, &indEnviron::toolbarVisible, 1},
        {"Setup", "ModelType", 5, &indEnviron::modelType, 5}, // range checked when applied
    };
    for (const Case& c : cases) {
        cmcMemorySettings store;
        FillValidStore(store);
        store.WriteInt(c.group, c.name, c.stored);
        indEnviron env(store, nullptr, 1024, 768);
        EXPECT_EQ(env.*c.member, c.loaded) << c.name << " stored as " << c.stored;
    }
}

TEST(indEnviron, OneBadValueGivesDefaultsForAll) {
    struct Case {
        const char* what;
        void (*damage)(cmcMemorySettings&);
    } cases[] = {
        {"missing AdjustMode", [](cmcMemorySettings& s) { s.Remove("Password", "AdjustMode"); }},
        {"missing Recent9", [](cmcMemorySettings& s) { s.Remove("Recent File List", "Recent9"); }},
        {"text for an integer", [](cmcMemorySettings& s) { s.WriteText("Setup", "Language", "2"); }},
        {"integer for a text", [](cmcMemorySettings& s) { s.WriteInt("Global", "Current Directory", 1); }},
        {"wrong signature", [](cmcMemorySettings& s) { s.WriteInt("Global", "BBT", 753950); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cmcMemorySettings store;
        FillValidStore(store);
        c.damage(store);
        indEnviron env(store, nullptr, 1024, 768);
        ExpectDefaults(env);
    }
}

TEST(indEnviron, PasswordsDecodeFromHexadecimal) {
    struct Case {
        const char* maker;
        const char* adjust;
        std::string makerKeys;
        std::string adjustPassword;
    } cases[] = {
        {"", "", indEnviron::kDefaultMakerKeys, ""},
        {"00", "00", "", ""},
        {"7a6f7276", "4142", "zorv", "AB"},
        {"4100", "41004200", "A", "A"}, // a zero character ends the text
    };
    for (const Case& c : cases) {
        cmcMemorySettings store;
        FillValidStore(store);
        store.WriteText("Password", "MakerReserveMode", c.maker);
        store.WriteText("Password", "AdjustMode", c.adjust);
        indEnviron env(store, nullptr, 1024, 768);
        EXPECT_EQ(env.makerKeys, c.makerKeys) << c.maker;
        EXPECT_EQ(env.adjustPassword, c.adjustPassword) << c.adjust;
    }
}

TEST(indEnviron, WritesBackExactlyTheListedValues) {
    cmcMemorySettings store;
    bool settingsWrittenBeforeRelease = false;
    {
        indEnviron env(store, std::make_unique<TrackedLock>(store, settingsWrittenBeforeRelease), 1024, 768);
        env.comPort = 12;
        env.comDevice = "/dev/ttyUSB0";
        env.currentDirectory = "/home/u";
        env.recent.AddFront("/home/u/b.ocd");
        env.recent.AddFront("/home/u/a.ocd");
        env.sessionClonePassword = "secret"; // never stored
        env.makerKeys = "";
        env.adjustPassword = "Pw";
        env.backupBeforeWrite = 0;
        env.SetWindowPosition("MchWin", 10, 20, 300, 400, 1, 2, 3, 4, 2, 1);
    }
    EXPECT_TRUE(settingsWrittenBeforeRelease);

    std::set<std::string> written;
    for (const auto& [key, value] : store.All())
        written.insert(key.first + "/" + key.second);
    std::set<std::string> expected = {"Global/BBT",
                                      "Global/ComPort",
                                      "Global/ComSpeedHigh",
                                      "Global/Current Directory",
                                      "Global/MCH View",
                                      "Global/DockFloatCheck",
                                      "Global/AlignCheck",
                                      "Global/FloatingCheck",
                                      "Global/ComDevice",
                                      "View Option/FontSize Percentage",
                                      "View Option/Toolbar Visible",
                                      "View Option/FontSize Printer",
                                      "Window Position/Left",
                                      "Window Position/Top",
                                      "Window Position/Width",
                                      "Window Position/Height",
                                      "Window Position/SplitterV",
                                      "Setup/ModelType",
                                      "Setup/Language",
                                      "Setup/BackupBeforeWrite",
                                      "Password/MakerReserveMode",
                                      "Password/AdjustMode",
                                      "EditForm Position/MchWin_Left",
                                      "EditForm Position/MchWin_Top",
                                      "EditForm Position/MchWin_Width",
                                      "EditForm Position/MchWin_Height",
                                      "EditForm Position/MchWin_WindowState"};
    for (int i = 0; i < 10; ++i)
        expected.insert("Recent File List/Recent" + std::to_string(i));
    EXPECT_EQ(written, expected);

    EXPECT_EQ(store.ReadInt("Global", "BBT"), indEnviron::kSignature);
    EXPECT_EQ(store.ReadInt("Global", "ComPort"), 12);
    EXPECT_EQ(store.ReadText("Global", "ComDevice"), "/dev/ttyUSB0");
    EXPECT_EQ(store.ReadText("Recent File List", "Recent0"), "/home/u/a.ocd");
    EXPECT_EQ(store.ReadText("Recent File List", "Recent1"), "/home/u/b.ocd");
    EXPECT_EQ(store.ReadText("Recent File List", "Recent2"), "");
    EXPECT_EQ(store.ReadInt("Window Position", "Width"), 800);
    EXPECT_EQ(store.ReadText("Password", "MakerReserveMode"), "00");
    EXPECT_EQ(store.ReadText("Password", "AdjustMode"), "5077");
    EXPECT_EQ(store.ReadInt("EditForm Position", "MchWin_WindowState"), 2);

    // What was written loads again unchanged.
    indEnviron again(store, nullptr, 1024, 768);
    EXPECT_EQ(again.comPort, 12);
    EXPECT_EQ(again.comDevice, "/dev/ttyUSB0");
    EXPECT_EQ(again.recent.DisplayText(1, ""), "/home/u/b.ocd");
    EXPECT_EQ(again.makerKeys, "");
    EXPECT_EQ(again.adjustPassword, "Pw");
    EXPECT_EQ(again.backupBeforeWrite, 0);
    EXPECT_EQ(again.sessionClonePassword, "");
}

TEST(indEnviron, AStoreWithoutTheDevicePathKeepsTheOtherValues) {
    cmcMemorySettings store;
    FillValidStore(store);
    indEnviron env(store, nullptr, 1024, 768);
    EXPECT_EQ(env.comPort, 7);
    EXPECT_EQ(env.comDevice, "");
    EXPECT_EQ(env.backupBeforeWrite, 1); // nor does one without the backup setting lose its backups
}

TEST(indEnviron, TypedDevicePathsAreKeptNewestFirstWithoutRepeats) {
    cmcMemorySettings store;
    {
        indEnviron env(store, nullptr, 1024, 768);
        for (const char* path : {"/dev/pts/1", "/dev/pts/2", "/dev/pts/3", "/dev/pts/1", "/dev/pts/4",
                                 "/dev/pts/5", "/dev/pts/6"})
            env.AddTypedDevice(path);
        EXPECT_EQ(env.typedDevices, (std::vector<std::string>{"/dev/pts/6", "/dev/pts/5", "/dev/pts/4",
                                                              "/dev/pts/1", "/dev/pts/3"}));
    }
    {
        indEnviron env(store, nullptr, 1024, 768);
        EXPECT_EQ(env.typedDevices.size(), 5u);
        EXPECT_EQ(env.typedDevices.front(), "/dev/pts/6");
        env.typedDevices = {"/dev/pts/9"};
    }
    // A shorter list leaves nothing of the longer one behind.
    indEnviron env(store, nullptr, 1024, 768);
    EXPECT_EQ(env.typedDevices, std::vector<std::string>{"/dev/pts/9"});
    EXPECT_EQ(store.ReadText("Typed Devices", "Device1"), std::nullopt);
}

TEST(indEnviron, ASecondInstanceNeitherReadsNorWrites) {
    cmcMemorySettings store;
    FillValidStore(store);
    store.WriteInt("EditForm Position", "RptWin_Left", 1);
    cmcMemorySettings::Values before = store.All();
    {
        indEnviron env(store, std::make_unique<HeldLock>(), 1024, 768);
        EXPECT_FALSE(env.IsInstanceOwner());
        EXPECT_EQ(env.comPort, 0); // nothing loaded
        EXPECT_EQ(env.recent.Count(), 0);
        EXPECT_EQ(env.FindWindowPosition("RptWin"), nullptr);
        env.comPort = 3;
        env.SetWindowPosition("MchWin", 1, 2, 3, 4, -1, -1, -1, -1, 0, 0);
    }
    EXPECT_EQ(store.All(), before);
}

TEST(indEnviron, WindowPositionsLoadOnDemandAndMoveToTheFront) {
    cmcMemorySettings store;
    FillValidStore(store);
    const char* names[] = {"Left", "Top", "Width", "Height", "WindowState"};
    for (int i = 0; i < 5; ++i) {
        store.WriteInt("EditForm Position", std::string("MchWin_") + names[i], 100 + i);
        if (i < 4) // RptWin lacks its window state
            store.WriteInt("EditForm Position", std::string("RptWin_") + names[i], 200 + i);
    }
    indEnviron env(store, nullptr, 1024, 768);
    EXPECT_TRUE(env.WindowPositions().empty());

    indWinPos* mch = env.FindWindowPosition("MchWin");
    ASSERT_NE(mch, nullptr);
    EXPECT_EQ(mch->left, 100);
    EXPECT_EQ(mch->height, 103);
    EXPECT_EQ(mch->windowState, 104);
    EXPECT_EQ(mch->extra[0], -1);
    EXPECT_EQ(mch->open, 0);
    EXPECT_EQ(env.FindWindowPosition("MchWin"), mch); // loaded once
    EXPECT_EQ(env.FindWindowPosition("RptWin"), nullptr);
    EXPECT_EQ(env.FindWindowPosition("AdWin"), nullptr);

    env.SetWindowPosition("AdWin", 1, 2, 3, 4, 5, 6, 7, 8, 0, 1);
    env.SetWindowPosition("MchWin", 9, 9, 9, 9, 0, 0, 0, 0, 1, 1);
    ASSERT_EQ(env.WindowPositions().size(), 2u);
    EXPECT_EQ(env.WindowPositions().front().name, "MchWin");
    EXPECT_EQ(mch->left, 9); // the same entry, moved to the front
    EXPECT_EQ(env.FindWindowPosition("AdWin")->extra[3], 8);
}

} // namespace
