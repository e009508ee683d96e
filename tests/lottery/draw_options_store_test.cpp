#include "lottery/draw_options_store.h"
#include "support/fake_core_services.h"

#include <gtest/gtest.h>

// The settings come back as saved, the draw position is left alone, a failed flush is told.
TEST(DrawOptionsStore, SavesAndLoadsTheSettings) {
    testsupport::FakeCoreServices services;
    using core::Setting;
    const std::map<Setting, int> stored{
        {Setting::MaskEntries, 1}, {Setting::Print, 0},    {Setting::MuteMusic, 1},
        {Setting::MaskStart, 7},   {Setting::MaskEnd, -2}, {Setting::Fingerprint, 1},
        {Setting::Layout, 1},      {Setting::Theme, 2},    {Setting::Volume, 35}};
    services.settings = stored;
    lottery::DrawOptions options;
    options.prizeIndex = 4;
    lottery::loadDrawOptions(options, services);
    EXPECT_EQ(options.prizeIndex, 4);
    services.settings.clear();
    EXPECT_TRUE(lottery::saveDrawOptions(options, services));
    EXPECT_EQ(services.settings, stored);
    services.flushSucceeds = false;
    EXPECT_FALSE(lottery::saveDrawOptions(options, services));
}
