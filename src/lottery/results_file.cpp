#include "lottery/results_file.h"

#include "lottery/backup_name.h"
#include "lottery/file_text.h"
#include "lottery/results_lines.h"
#include "lottery/safe_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace lottery {

namespace {

// Whether the file ends inside a line, cut short by a power cut in the middle of a write.
bool endsInsideLine(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() <= 0)
        return false;
    in.seekg(-1, std::ios::end);
    char last = 0;
    return in.get(last) && last != '\n';
}

// Ends a cut line first, so that it stays apart from the new lines.
bool appendRecord(const std::filesystem::path& path, const std::string& bytes,
                  std::string* problem) {
    if (endsInsideLine(path))
        return appendToFile(path, std::string(1, kTornEnd) + "\r\n" + bytes, problem);
    return appendToFile(path, bytes, problem);
}

} // namespace

std::string healedResults(std::string bytes) {
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += std::string(1, kTornEnd) + "\r\n";
    return bytes;
}

bool setResultsAside(const EventPaths& paths, const std::string& stamp, std::string* problem) {
    std::error_code error;
    if (!std::filesystem::exists(paths.resultFile, error))
        return !error;
    // Copied first: a complete record of the draw is there at every instant.
    std::string why;
    if (!backUpFile(paths.resultFile, "bak_result", stamp, nullptr, &why)) {
        storeProblem(problem,
                     "抽奖结果文件 " + pathText(paths.resultFile) + " 无法备份（" + why + "）");
        return false;
    }
    std::filesystem::remove(paths.resultFile, error);
    if (error)
        storeProblem(problem, "抽奖结果文件 " + pathText(paths.resultFile) +
                                  " 已备份，但无法移走（" + error.message() + "）");
    return !error;
}

WriteOutcome writeRecord(const EventPaths& paths, const ResultsRecord& record,
                         std::string* problem) {
    if (record.kind != ResultsRecord::Kind::Start)
        return record.bytes.empty() || appendRecord(paths.resultFile, record.bytes, problem)
                   ? WriteOutcome::Written
                   : WriteOutcome::Failed;
    // The earlier results are copied, not moved: until the new file replaces them in one
    // rename, a complete results file is there at every instant.
    std::string kept;
    std::error_code error;
    if (std::filesystem::exists(paths.resultFile, error) &&
        !backUpFile(paths.resultFile, "bak_result", record.stamp, nullptr, &kept)) {
        kept = "上次的抽奖结果文件 " + pathText(paths.resultFile) + " 无法备份（" + kept + "）";
        if (!appendRecord(paths.resultFile, record.bytes, nullptr)) {
            storeProblem(problem, kept + "，也无法写入本次抽奖的开始时间");
            return WriteOutcome::Failed;
        }
        storeProblem(problem, kept + "，本次抽奖接在原文件末尾记录");
        return WriteOutcome::WrittenWithProblem;
    }
    return writeFileSafely(paths.resultFile, record.bytes, problem) ? WriteOutcome::Written
                                                                    : WriteOutcome::Failed;
}

} // namespace lottery
