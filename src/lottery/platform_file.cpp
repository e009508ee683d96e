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
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

#include <system_error>

namespace lottery::platform {

namespace {

void setReason(std::string* reason, const std::string& what, int code) {
    if (!reason)
        return;
#ifdef _WIN32
    *reason = what + ": " + std::system_category().message(code);
#else
    *reason = what + ": " + std::generic_category().message(code);
#endif
}

} // namespace

#ifdef _WIN32

bool flushToDisk(const std::filesystem::path& path, std::string* reason) {
    // FlushFileBuffers needs a handle with write access.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        setReason(reason, "open", static_cast<int>(GetLastError()));
        return false;
    }
    const bool flushed = FlushFileBuffers(file) != 0;
    const DWORD flushError = GetLastError();
    const bool closed = CloseHandle(file) != 0;
    if (!flushed || !closed) {
        setReason(reason, flushed ? "close" : "flush",
                  static_cast<int>(flushed ? GetLastError() : flushError));
        return false;
    }
    return true;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string* reason) {
    // std::filesystem::rename does not replace an existing file with every MinGW runtime.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ==
        0) {
        setReason(reason, "rename", static_cast<int>(GetLastError()));
        return false;
    }
    return true;
}

#else

bool flushToDisk(const std::filesystem::path& path, std::string* reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setReason(reason, "open", errno);
        return false;
    }
    const bool flushed = ::fsync(fd) == 0;
    const int flushError = errno;
    const bool closed = ::close(fd) == 0;
    if (!flushed || !closed) {
        setReason(reason, flushed ? "close" : "fsync", flushed ? errno : flushError);
        return false;
    }
    return true;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string* reason) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        setReason(reason, "rename", errno);
        return false;
    }
    return true;
}

#endif

} // namespace lottery::platform
