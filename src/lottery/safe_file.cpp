#include "lottery/safe_file.h"

#include "lottery/file_text.h"

#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lottery {

namespace {

// The stream's flush hands the bytes to the system; this asks it to put them on the disk.
void syncToDisk(const std::filesystem::path& path) {
#if defined(__unix__) || defined(__APPLE__)
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)path;
#endif
}

void setProblem(std::string* problem, const std::string& text) {
    if (problem)
        *problem = text;
}

bool writeAndFlush(const std::filesystem::path& path, std::string_view bytes,
                   std::ios::openmode mode) {
    std::ofstream out(path, mode | std::ios::binary);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const bool written = out.good();
    out.close();
    if (!written || out.fail())
        return false;
    syncToDisk(path);
    return true;
}

} // namespace

bool writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                     std::string* problem) {
    std::filesystem::path temp = path;
    temp += ".saving";
    if (!writeAndFlush(temp, bytes, std::ios::out | std::ios::trunc)) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        setProblem(problem,
                   "无法写入文件 " + pathText(path) + "（文件夹不存在或不可写），原文件保持不变");
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        setProblem(problem, "无法替换文件 " + pathText(path) + "，原文件保持不变");
        return false;
    }
    return true;
}

bool appendToFile(const std::filesystem::path& path, std::string_view bytes, std::string* problem) {
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    const std::uintmax_t size = existed ? std::filesystem::file_size(path, error) : 0;
    if (!writeAndFlush(path, bytes, std::ios::out | std::ios::app)) {
        // A full disk takes part of the bytes: cut them off again, so that no half line is
        // left for the next append to run on from.
        std::error_code ignored;
        if (!existed)
            std::filesystem::remove(path, ignored);
        else if (!error)
            std::filesystem::resize_file(path, size, ignored);
        setProblem(problem, "无法写入文件 " + pathText(path));
        return false;
    }
    return true;
}

bool readFileInPieces(const std::filesystem::path& path,
                      const std::function<void(std::string_view)>& take) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string buffer(std::size_t{1} << 16, '\0');
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got > 0)
            take(std::string_view(buffer.data(), got));
    }
    return in.eof();
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    return readFileInPieces(path, [&bytes](std::string_view piece) { bytes.append(piece); });
}

} // namespace lottery
