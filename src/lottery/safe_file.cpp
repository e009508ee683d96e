#include "lottery/safe_file.h"

#include "lottery/file_text.h"

#include "lottery/platform_file.h"

#include <fstream>
#include <system_error>

namespace lottery {

namespace {

// Empty when the bytes are on the disk; otherwise why not, for the operator.
std::string writeAndFlush(const std::filesystem::path& path, std::string_view bytes,
                          std::ios::openmode mode) {
    std::ofstream out(path, mode | std::ios::binary);
    if (!out)
        return "文件夹不存在或不可写";
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const bool written = out.good();
    out.close();
    if (!written || out.fail())
        return "磁盘已满或不可写";
    // The stream's flush only hands the bytes to the system; a write is done when they
    // are on the disk.
    std::string reason;
    if (!platform::flushToDisk(path, &reason))
        return "无法存到磁盘：" + reason;
    return {};
}

} // namespace

bool writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                     std::string* problem) {
    std::filesystem::path temp = path;
    temp += ".saving";
    const std::string failure = writeAndFlush(temp, bytes, std::ios::out | std::ios::trunc);
    if (!failure.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        storeProblem(problem,
                     "无法写入文件 " + pathText(path) + "（" + failure + "），原文件保持不变");
        return false;
    }
    std::string reason;
    if (!platform::replaceFile(temp, path, &reason)) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        storeProblem(problem,
                     "无法替换文件 " + pathText(path) + "（" + reason + "），原文件保持不变");
        return false;
    }
    return true;
}

bool appendToFile(const std::filesystem::path& path, std::string_view bytes, std::string* problem) {
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    const std::uintmax_t size = existed ? std::filesystem::file_size(path, error) : 0;
    const std::string failure = writeAndFlush(path, bytes, std::ios::out | std::ios::app);
    if (!failure.empty()) {
        // A full disk takes part of the bytes: cut them off again, so that no half line is
        // left for the next append to run on from.
        std::error_code ignored;
        if (!existed)
            std::filesystem::remove(path, ignored);
        else if (!error)
            std::filesystem::resize_file(path, size, ignored);
        storeProblem(problem, "无法写入文件 " + pathText(path) + "（" + failure + "）");
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
