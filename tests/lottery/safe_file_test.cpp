#include "lottery/safe_file.h"
#include "support/temp_event_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
constexpr const char* kUnflushable = "NUL";
#elif defined(__linux__)
constexpr const char* kUnflushable = "/dev/null";
#endif

} // namespace

// Writes that succeed, and whether they leave temporaries, are every draw test's and the
// fault injection tests'.
TEST(SafeFile, FailuresNameTheFileAndSayWhy) {
    TempEventFolder folder;
    const fs::path missing = folder.root() / "missing" / "_prize.txt";
    const fs::path busy = folder.data() / "busy"; // a folder where the file should be
    fs::create_directories(busy / "inside");
    struct Case {
        bool append;
        fs::path path;
        std::string named;
        std::string why;
    };
    const Case cases[] = {
        {false, missing, "_prize.txt", "文件夹不存在"},
        {true, missing, "_prize.txt", "文件夹不存在"},
        {false, busy, "busy", "无法替换"},
        {true, busy, "busy", "不可写"},
#if defined(__linux__)
        // The system refuses to flush this device: the bytes are not known to be on a disk.
        {true, kUnflushable, kUnflushable, "无法存到磁盘"},
#elif defined(_WIN32)
        // Windows (as Wine has it) refuses to open this device for appending at all.
        {true, kUnflushable, kUnflushable, "无法写入"},
#endif
    };
    for (const Case& c : cases) {
        std::string problem;
        const bool written = c.append ? lottery::appendToFile(c.path, "x", &problem)
                                      : lottery::writeFileSafely(c.path, "x", &problem);
        EXPECT_FALSE(written) << c.path;
        EXPECT_NE(problem.find(c.named), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.why), std::string::npos) << problem;
    }
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_TRUE(fs::is_directory(busy / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.data()), fs::directory_iterator()), 1);
}
