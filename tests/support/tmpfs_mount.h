#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A small tmpfs over an existing folder, for tests of a full disk or a read-only folder;
// unmounted when it goes. Mounting needs privileges and a Linux system: tests skip when
// mounted() is false.
class TmpfsMount {
public:
    // size as mount takes it, e.g. "64k".
    TmpfsMount(std::filesystem::path folder, const std::string& size);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    // Writes to the folder fail from now on (root included); the files stay readable.
    bool makeReadOnly();
    bool makeWritable();
    // Takes all free space with a file of its own, so that the next write needing a new
    // block fails. Returns the bytes it took.
    std::size_t fill();
    // Gives the space that fill() took back.
    void unfill();

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

} // namespace testsupport
