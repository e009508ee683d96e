#include "lottery/safe_file.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

// Read-only folders and full disks are in the fault injection tests.
TEST(SafeFile, WritesLeaveNoTemporaryAndFailuresNameTheFile) {
    TempEventFolder folder;
    const auto entries = [&] {
        return std::distance(fs::directory_iterator(folder.data()), fs::directory_iterator());
    };
    const fs::path file = folder.data() / "f.txt";
    TempEventFolder::write(file, "old");
    ASSERT_TRUE(lottery::writeFileSafely(file, "a\r\n", nullptr));
    ASSERT_TRUE(lottery::appendToFile(file, "b\r\n", nullptr));
    std::string bytes;
    ASSERT_TRUE(lottery::readWholeFile(file, bytes));
    EXPECT_EQ(bytes, "a\r\nb\r\n");
    EXPECT_EQ(entries(), 1);
    EXPECT_FALSE(lottery::readWholeFile(folder.data() / "none.txt", bytes));
    EXPECT_FALSE(lottery::readWholeFile(folder.data(), bytes));

    const fs::path missing = folder.root() / "missing" / "_prize.txt";
    std::string problem;
    EXPECT_FALSE(lottery::writeFileSafely(missing, "x", &problem));
    EXPECT_NE(problem.find("_prize.txt"), std::string::npos) << problem;
    EXPECT_FALSE(lottery::appendToFile(missing, "x", &problem));
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    const fs::path busy = folder.data() / "busy"; // a folder where the file should be
    fs::create_directories(busy / "inside");
    EXPECT_FALSE(lottery::writeFileSafely(busy, "x", &problem));
    EXPECT_NE(problem.find("busy"), std::string::npos) << problem;
    EXPECT_TRUE(fs::is_directory(busy / "inside"));
    EXPECT_EQ(entries(), 2);
}
