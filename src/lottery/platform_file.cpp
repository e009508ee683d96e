#include "lottery/platform_file.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <system_error>
#include <utility>

namespace lottery::platform {

namespace {

bool fail(Failure* failure, const char* call, int code) {
    if (failure) {
        failure->call = call;
#ifdef _WIN32
        failure->reason = std::system_category().message(code);
#else
        failure->reason = std::generic_category().message(code);
#endif
    }
    return false;
}

} // namespace

#ifdef _WIN32

namespace {

int lastError() {
    return static_cast<int>(GetLastError());
}

HANDLE asHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

} // namespace

OpenFile::~OpenFile() {
    if (handle_)
        CloseHandle(asHandle(handle_));
}

OpenFile::OpenFile(OpenFile&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

bool OpenFile::isOpen() const {
    return handle_ != nullptr;
}

bool OpenFile::write(std::string_view bytes, Failure* failure) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(asHandle(handle_), bytes.data(), chunk, &written, nullptr) || written == 0)
            return fail(failure, "write", lastError());
        bytes.remove_prefix(written);
    }
    return true;
}

bool OpenFile::sync(Failure* failure) {
    return FlushFileBuffers(asHandle(handle_)) != 0 || fail(failure, "flush", lastError());
}

bool OpenFile::size(unsigned long long& bytes, Failure* failure) {
    LARGE_INTEGER got;
    if (!GetFileSizeEx(asHandle(handle_), &got))
        return fail(failure, "size", lastError());
    bytes = static_cast<unsigned long long>(got.QuadPart);
    return true;
}

bool OpenFile::truncate(unsigned long long bytes, Failure* failure) {
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(bytes);
    return SetFileInformationByHandle(asHandle(handle_), FileEndOfFileInfo, &end, sizeof end) !=
               0 ||
           fail(failure, "truncate", lastError());
}

bool OpenFile::close(Failure* failure) {
    const bool closed = CloseHandle(asHandle(std::exchange(handle_, nullptr))) != 0;
    return closed || fail(failure, "close", lastError());
}

OpenFile createNew(const std::filesystem::path& path, Failure* failure) {
    OpenFile file;
    // CREATE_NEW fails on any existing name, a link included.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        fail(failure, "create", lastError());
    else
        file.handle_ = handle;
    return file;
}

OpenFile openForAppend(const std::filesystem::path& path, bool* created, Failure* failure) {
    OpenFile file;
    // A reparse point (a link) opens as itself; a link is then refused below.
    const HANDLE handle = CreateFileW(
        path.c_str(), FILE_APPEND_DATA | GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(failure, "open", lastError());
        return file;
    }
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    file.handle_ = handle;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) {
        fail(failure, "open", lastError());
        return OpenFile();
    }
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
        fail(failure, "open", ERROR_CANT_ACCESS_FILE);
        return OpenFile();
    }
    LARGE_INTEGER end{};
    SetFilePointerEx(handle, end, nullptr, FILE_END);
    if (created)
        *created = !existed;
    return file;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 Failure* failure) {
    // std::filesystem::rename does not replace an existing file with every MinGW runtime.
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           fail(failure, "rename", lastError());
}

bool syncFolder(const std::filesystem::path&, Failure*) {
    return true;
}

#else

OpenFile::~OpenFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

OpenFile::OpenFile(OpenFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
}

bool OpenFile::isOpen() const {
    return fd_ >= 0;
}

bool OpenFile::write(std::string_view bytes, Failure* failure) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail(failure, "write", written < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool OpenFile::sync(Failure* failure) {
    return ::fsync(fd_) == 0 || fail(failure, "fsync", errno);
}

bool OpenFile::size(unsigned long long& bytes, Failure* failure) {
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return fail(failure, "stat", errno);
    bytes = static_cast<unsigned long long>(info.st_size);
    return true;
}

bool OpenFile::truncate(unsigned long long bytes, Failure* failure) {
    return ::ftruncate(fd_, static_cast<off_t>(bytes)) == 0 || fail(failure, "truncate", errno);
}

bool OpenFile::close(Failure* failure) {
    return ::close(std::exchange(fd_, -1)) == 0 || fail(failure, "close", errno);
}

OpenFile createNew(const std::filesystem::path& path, Failure* failure) {
    OpenFile file;
    file.fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file.fd_ < 0)
        fail(failure, "create", errno);
    return file;
}

OpenFile openForAppend(const std::filesystem::path& path, bool* created, Failure* failure) {
    OpenFile file;
    // First without O_CREAT, to know whether the file is new and its folder entry to sync.
    file.fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    bool made = false;
    if (file.fd_ < 0 && errno == ENOENT) {
        file.fd_ = ::open(path.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        made = true;
    }
    if (file.fd_ < 0)
        fail(failure, "open", errno);
    else if (created)
        *created = made;
    return file;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 Failure* failure) {
    return std::rename(from.c_str(), to.c_str()) == 0 || fail(failure, "rename", errno);
}

bool syncFolder(const std::filesystem::path& folder, Failure* failure) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fail(failure, "open folder", errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced || fail(failure, "fsync folder", error);
}

#endif

} // namespace lottery::platform
