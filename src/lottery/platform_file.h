#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Every call of the lottery layer that differs between operating systems sits here.
namespace lottery::platform {

// What a failed call tells the caller: which call and the system's reason.
struct Failure {
    std::string call;
    std::string reason;
};

// An open file being written; closed (without any flush) when it goes.
class OpenFile {
public:
    OpenFile() = default;
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const;

    // All of bytes, or false.
    bool write(std::string_view bytes, Failure* failure);
    // Asks the system to put the bytes written on the disk.
    bool sync(Failure* failure);
    // The file's size, for an append to cut back to.
    bool size(unsigned long long& bytes, Failure* failure);
    bool truncate(unsigned long long bytes, Failure* failure);
    bool close(Failure* failure);

private:
    friend OpenFile createNew(const std::filesystem::path&, Failure*);
    friend OpenFile openForAppend(const std::filesystem::path&, bool*, Failure*);
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// A new file, made by this call: it fails when anything at all is at path, a symbolic link
// included, so nothing that existed is ever reused or followed.
OpenFile createNew(const std::filesystem::path& path, Failure* failure);

// The file at path for appending, made when missing (*created says so). A symbolic link at
// path is refused rather than followed.
OpenFile openForAppend(const std::filesystem::path& path, bool* created, Failure* failure);

// Moves from onto to, replacing to in one step if it exists (a symbolic link at to is
// replaced, not followed). False when that fails; to is then as it was.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 Failure* failure);

// Puts the folder's entries (a rename, a new file) on the disk. Windows has no such call:
// there the rename itself writes through.
bool syncFolder(const std::filesystem::path& folder, Failure* failure);

} // namespace lottery::platform
