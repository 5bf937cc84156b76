#include "app/cmcRecent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

Paths Entries(const cmcRecent& recent) {
    Paths paths;
    for (int i = 0; i < recent.Count(); ++i)
        paths.push_back(recent.DisplayText(i, ""));
    return paths;
}

TEST(cmcRecent, AddFrontMovesAnExistingPathToTheFront) {
    cmcRecent recent(10);
    recent.AddFront("/d/a.ocd");
    recent.AddFront("/d/b.ocd");
    recent.AddFront("/d/c.ocd");
    recent.AddFront("/d/a.ocd");
    EXPECT_EQ(Entries(recent), (Paths{"/d/a.ocd", "/d/c.ocd", "/d/b.ocd"}));
    // Letter case names another file here.
    recent.AddFront("/d/B.ocd");
    EXPECT_EQ(Entries(recent), (Paths{"/d/B.ocd", "/d/a.ocd", "/d/c.ocd", "/d/b.ocd"}));
    recent.Remove("/d/c.ocd");
    recent.Remove("/d/missing.ocd");
    EXPECT_EQ(Entries(recent), (Paths{"/d/B.ocd", "/d/a.ocd", "/d/b.ocd"}));
    recent.Clear();
    EXPECT_EQ(recent.Count(), 0);
}

TEST(cmcRecent, CapacityDropsTheOldest) {
    cmcRecent recent(10);
    for (int i = 0; i < 11; ++i)
        recent.AddFront("/d/" + std::to_string(i) + ".ocd");
    ASSERT_EQ(recent.Count(), 10);
    EXPECT_EQ(recent.DisplayText(0, ""), "/d/10.ocd");
    EXPECT_EQ(recent.DisplayText(9, ""), "/d/1.ocd"); // 0.ocd, the oldest, is gone

    // Loading appends in stored order and keeps the first ten.
    cmcRecent loaded(3);
    for (const char* path : {"/x", "/y", "", "/x", "/z", "/w"})
        loaded.AddBack(path);
    EXPECT_EQ(Entries(loaded), (Paths{"/y", "/x", "/z"})); // the empty slot holds no file
}

TEST(cmcRecent, DisplayTextShowsOnlyTheNameInsideTheFolder) {
    cmcRecent recent(10);
    recent.AddFront("/");
    recent.AddFront("/top.ocd");
    recent.AddFront("/home/u/other/b.ocd");
    recent.AddFront("/home/u/radio/a.ocd");
    struct Case {
        int index;
        const char* folder;
        const char* shown;
    } cases[] = {
        {0, "/home/u/radio", "a.ocd"},
        {0, "/home/u/radio/", "a.ocd"},
        {0, "/home/u/Radio", "/home/u/radio/a.ocd"},
        {0, "/home/u", "/home/u/radio/a.ocd"},
        {1, "/home/u/radio", "/home/u/other/b.ocd"},
        {2, "/", "top.ocd"},
        {2, "", "/top.ocd"}, // an empty folder always gives the full path, the one that is opened
        {4, "/home/u/radio", ""},
        {-1, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recent.DisplayText(c.index, c.folder), c.shown) << c.index << " in '" << c.folder << "'";
}

TEST(cmcRecent, MenuCaptionNumbersTheItemAndShowsAmpersands) {
    cmcRecent recent(10);
    recent.AddFront("/home/u/R&D/tone&voice.ocd");
    EXPECT_EQ(recent.MenuCaption(0, "/home/u/R&D"), "&1 tone&&voice.ocd");
    EXPECT_EQ(recent.MenuCaption(0, "/tmp"), "&1 /home/u/R&&D/tone&&voice.ocd");
    EXPECT_EQ(recent.MenuCaption(1, "/tmp"), ""); // unused slot: disabled item
}

} // namespace
