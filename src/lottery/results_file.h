#pragma once

#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <string>

namespace lottery {

enum class WriteOutcome {
    Written,
    WrittenWithProblem, // a start line went to the end of a file that could not be moved
    Failed              // nothing of the record reached the disk
};

// The results file's bytes with a cut last line ended as the next write would end it.
std::string healedResults(std::string bytes);

// Copies the results file to data/bak_result<stamp>[-N].txt, never replacing a backup, then
// removes it; true when there was nothing to set aside. On a failure *problem (UTF-8) says what
// failed.
bool setResultsAside(const EventPaths& paths, const std::string& stamp, std::string* problem);

// A start record copies the results file to data/bak_result<stamp>[-N].txt (never
// replacing a backup) and replaces it with a new file of its line; when the copy fails,
// the line is appended to it. Other records are appended. Every write is flushed to disk;
// on a failure *problem (UTF-8) says what failed and the file is as it was.
WriteOutcome writeRecord(const EventPaths& paths, const ResultsRecord& record,
                         std::string* problem);

} // namespace lottery
