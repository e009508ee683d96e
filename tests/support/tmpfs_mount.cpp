#include "support/tmpfs_mount.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace testsupport {

namespace {

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

} // namespace

TmpfsMount::TmpfsMount(std::filesystem::path folder, const std::string& size)
    : folder_(std::move(folder)) {
#ifdef __linux__
    mounted_ = run("mount -t tmpfs -o size=" + size + " tmpfs " + quoted(folder_));
#else
    (void)size; // no tmpfs elsewhere: the tests that need one skip
#endif
}

TmpfsMount::~TmpfsMount() {
    if (mounted_)
        run("umount " + quoted(folder_));
}

bool TmpfsMount::makeReadOnly() {
    return mounted_ && run("mount -o remount,ro " + quoted(folder_));
}

bool TmpfsMount::makeWritable() {
    return mounted_ && run("mount -o remount,rw " + quoted(folder_));
}

std::size_t TmpfsMount::fill() {
    std::FILE* file = std::fopen((folder_ / "filler").string().c_str(), "wb");
    if (!file)
        return 0;
    std::setvbuf(file, nullptr, _IONBF, 0);
    const std::vector<char> block(512, 'x');
    std::size_t taken = 0;
    while (true) {
        const std::size_t written = std::fwrite(block.data(), 1, block.size(), file);
        taken += written;
        if (written < block.size())
            break;
    }
    std::fclose(file);
    return taken;
}

void TmpfsMount::unfill() {
    std::error_code ignored;
    std::filesystem::remove(folder_ / "filler", ignored);
}

} // namespace testsupport
