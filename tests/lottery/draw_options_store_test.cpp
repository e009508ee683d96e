#include "lottery/draw_options_store.h"
#include "support/fake_core_services.h"

#include <gtest/gtest.h>

TEST(DrawOptionsStore, LoadsTheFiveSettingsAndLeavesTheRest) {
    testsupport::FakeCoreServices services;
    services.settings = {{"hide", 1}, {"print", 0}, {"muse", 1}, {"hstart", 3}, {"hend", 5}};
    lottery::DrawOptions options;
    options.prizeIndex = 4;
    lottery::loadDrawOptions(options, services);
    EXPECT_EQ(options.hide, 1);
    EXPECT_EQ(options.print, 0);
    EXPECT_EQ(options.muse, 1);
    EXPECT_EQ(options.hstart, 3);
    EXPECT_EQ(options.hend, 5);
    EXPECT_EQ(options.prizeIndex, 4);
}

TEST(DrawOptionsStore, SavesAndReportsTheFlush) {
    testsupport::FakeCoreServices services;
    lottery::DrawOptions options;
    options.hide = 0;
    options.print = 1;
    options.muse = 0;
    options.hstart = 7;
    options.hend = -2;
    EXPECT_TRUE(lottery::saveDrawOptions(options, services));
    const std::map<std::string, int> expected{
        {"hide", 0}, {"print", 1}, {"muse", 0}, {"hstart", 7}, {"hend", -2}};
    EXPECT_EQ(services.settings, expected);

    services.flushSucceeds = false;
    EXPECT_FALSE(lottery::saveDrawOptions(options, services));
}
