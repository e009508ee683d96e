#include "lottery/safe_file.h"

#include "lottery/file_text.h"
#include "lottery/platform_file.h"

#include <chrono>
#include <fstream>
#include <random>
#include <system_error>

namespace lottery {

namespace {

std::function<bool(WriteStep)>& probe() {
    static std::function<bool(WriteStep)> installed;
    return installed;
}

// Whether the step may run; a refused one reads as the system's refusal.
bool allowed(WriteStep step, platform::Failure& failure) {
    if (!probe() || probe()(step))
        return true;
    failure = {"injected", "fault injection"};
    return false;
}

std::string why(const platform::Failure& failure) {
    return failure.call + ": " + failure.reason;
}

// What the operator reads about a failed step before the file was replaced.
std::string stepProblem(WriteStep step, const platform::Failure& failure) {
    switch (step) {
    case WriteStep::Create:
        return "文件夹不存在或不可写：" + why(failure);
    case WriteStep::Write:
        return "磁盘已满或不可写：" + why(failure);
    default:
        return "无法存到磁盘：" + why(failure);
    }
}

// A name beside path that nothing has; the random part keeps a name planted in advance (a
// link, a folder) from being the one chosen.
std::filesystem::path temporaryName(const std::filesystem::path& path, unsigned attempt) {
    static std::mt19937 generator(std::random_device{}());
    std::filesystem::path temp = path;
    temp += ".saving-" + std::to_string(generator() % 1000000) + "-" + std::to_string(attempt);
    return temp;
}

// Creates a new temporary file, retrying under another name when one is taken.
platform::OpenFile createTemporary(const std::filesystem::path& path, std::filesystem::path& temp,
                                   platform::Failure& failure) {
    constexpr unsigned kAttempts = 16;
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        temp = temporaryName(path, attempt);
        if (!allowed(WriteStep::Create, failure))
            return {};
        platform::OpenFile file = platform::createNew(temp, &failure);
        std::error_code error;
        if (file.isOpen() || !std::filesystem::exists(std::filesystem::symlink_status(temp, error)))
            return file;
    }
    return {};
}

std::string createProblem(const std::filesystem::path& path, const platform::Failure& failure) {
    return "无法写入文件 " + pathText(path) + "（" + stepProblem(WriteStep::Create, failure) + "）";
}

// step tells which failed.
bool writeAndSync(platform::OpenFile& file, std::string_view bytes, WriteStep& step,
                  platform::Failure& failure) {
    step = WriteStep::Write;
    return allowed(step, failure) && file.write(bytes, &failure) &&
           allowed(step = WriteStep::Sync, failure) && file.sync(&failure);
}

} // namespace

void setWriteStepProbe(std::function<bool(WriteStep)> installed) {
    probe() = std::move(installed);
}

bool writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                     std::string* problem) {
    platform::Failure failure;
    std::filesystem::path temp;
    platform::OpenFile file = createTemporary(path, temp, failure);
    if (!file.isOpen()) {
        storeProblem(problem, createProblem(path, failure) + "，原文件保持不变");
        return false;
    }
    WriteStep step = WriteStep::Write;
    const bool written = writeAndSync(file, bytes, step, failure) && file.close(&failure) &&
                         allowed(step = WriteStep::Rename, failure) &&
                         platform::replaceFile(temp, path, &failure);
    if (!written) {
        file = platform::OpenFile();
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        const std::string what = step == WriteStep::Rename ? "无法替换文件 " : "无法写入文件 ";
        const std::string detail =
            step == WriteStep::Rename ? why(failure) : stepProblem(step, failure);
        storeProblem(problem, what + pathText(path) + "（" + detail + "），原文件保持不变");
        return false;
    }
    if (!allowed(WriteStep::SyncFolder, failure) ||
        !platform::syncFolder(path.parent_path(), &failure)) {
        storeProblem(problem, "文件 " + pathText(path) + " 已写入，但无法确认已存到磁盘（" +
                                  why(failure) + "）");
        return false;
    }
    return true;
}

bool appendToFile(const std::filesystem::path& path, std::string_view bytes, std::string* problem) {
    platform::Failure failure;
    bool created = false;
    platform::OpenFile file;
    if (allowed(WriteStep::Create, failure))
        file = platform::openForAppend(path, &created, &failure);
    unsigned long long size = 0;
    if (!file.isOpen() || !file.size(size, &failure)) {
        storeProblem(problem, createProblem(path, failure));
        return false;
    }
    WriteStep step = WriteStep::Write;
    const bool written = writeAndSync(file, bytes, step, failure) &&
                         (!created || (allowed(step = WriteStep::SyncFolder, failure) &&
                                       platform::syncFolder(path.parent_path(), &failure)));
    if (!written) {
        // A full disk takes part of the bytes: cut them off again, so that no half line is
        // left for the next append to run on from.
        if (created) {
            file = platform::OpenFile();
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        } else {
            file.truncate(size, nullptr);
        }
        storeProblem(problem,
                     "无法写入文件 " + pathText(path) + "（" + stepProblem(step, failure) + "）");
        return false;
    }
    if (!file.close(&failure)) {
        storeProblem(problem, "无法写入文件 " + pathText(path) + "（" + why(failure) + "）");
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
