#include "lottery/safe_file.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace fs = std::filesystem;

TEST(SafeFile, ReplacesTheFileAndLeavesNoTemporary) {
    TempEventFolder folder;
    const fs::path file = folder.data() / "f.txt";
    TempEventFolder::write(file, "old");
    ASSERT_TRUE(lottery::writeFileSafely(file, "new\r\n", nullptr));
    EXPECT_EQ(TempEventFolder::read(file), "new\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.data()), fs::directory_iterator()), 1);
}

TEST(SafeFile, MissingFolderFailsWithAMessage) {
    TempEventFolder folder;
    const fs::path file = folder.root() / "missing" / "_prize.txt";
    std::string problem;
    EXPECT_FALSE(lottery::writeFileSafely(file, "x", &problem));
    EXPECT_NE(problem.find("_prize.txt"), std::string::npos) << problem;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(lottery::appendToFile(file, "x", &problem));
}

TEST(SafeFile, UnwritableFolderKeepsTheOldFile) {
    TempEventFolder folder;
    const fs::path file = folder.data() / "_prize.txt";
    TempEventFolder::write(file, "old");
#if defined(__unix__) || defined(__APPLE__)
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
#endif
    fs::permissions(folder.data(), fs::perms::owner_read | fs::perms::owner_exec);
    std::string problem;
    EXPECT_FALSE(lottery::writeFileSafely(file, "new", &problem));
    EXPECT_NE(problem.find("_prize.txt"), std::string::npos);
    fs::permissions(folder.data(), fs::perms::owner_all);
    EXPECT_EQ(TempEventFolder::read(file), "old");
}

TEST(SafeFile, TargetThatIsAFolderKeepsIt) {
    TempEventFolder folder;
    const fs::path target = folder.data() / "busy";
    fs::create_directories(target / "inside");
    std::string problem;
    EXPECT_FALSE(lottery::writeFileSafely(target, "x", &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.data()), fs::directory_iterator()), 1);
}

TEST(SafeFile, AppendAddsToTheEnd) {
    TempEventFolder folder;
    const fs::path file = folder.data() / "log.txt";
    ASSERT_TRUE(lottery::appendToFile(file, "a\r\n", nullptr));
    ASSERT_TRUE(lottery::appendToFile(file, "b\r\n", nullptr));
    std::string bytes;
    ASSERT_TRUE(lottery::readWholeFile(file, bytes));
    EXPECT_EQ(bytes, "a\r\nb\r\n");
    EXPECT_FALSE(lottery::readWholeFile(folder.data() / "none.txt", bytes));
    EXPECT_FALSE(lottery::readWholeFile(folder.data(), bytes));
}
