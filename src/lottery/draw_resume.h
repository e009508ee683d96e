#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <string>

namespace lottery {

struct ResumePlan {
    enum class Kind {
        Nothing,   // no draw in progress: no start line, an end line, or no winner yet
        Resumable, // every record fits the prizes and entries
        DoesNotFit // the prizes or entries changed; problem (UTF-8) says what first
    };
    Kind kind = Kind::Nothing;
    std::string problem;
};

// Whether the draw that log holds can go on with data's prize table: every recorded prize is
// in the table, and none holds more winners than its total nor a round more than its winners
// per round. Winners are named by their text, so a changed list never stops a resume.
ResumePlan planResume(const LotteryData& data, const ResultsLog& log, core::CoreServices& services);

} // namespace lottery
