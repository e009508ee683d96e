#include "lottery/draw_options_store.h"
#include "support/fake_core_services.h"

#include <gtest/gtest.h>

// The settings come back as saved, the draw position is left alone, a failed flush is told.
TEST(DrawOptionsStore, SavesAndLoadsTheSettings) {
    testsupport::FakeCoreServices services;
    const std::map<std::string, int> stored{{"hide", 1},   {"print", 0}, {"muse", 1},
                                            {"hstart", 7}, {"hend", -2}, {"fingerprint", 1},
                                            {"layout", 1}, {"theme", 2}, {"volume", 35}};
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
