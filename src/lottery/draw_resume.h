#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <string>

namespace lottery {

// The round an unfinished draw reached, as its results file records it.
struct ResumePoint {
    int prizeIndex = 0;
    int roundIndex = 0; // from 0, like DrawOptions::roundIndex
};

struct ResumePlan {
    enum class Kind {
        Nothing,   // no draw in progress: no start line, an end line, or no winner yet
        Resumable, // point is the last recorded round
        DoesNotFit // the prizes or entries changed; problem (UTF-8) says what
    };
    Kind kind = Kind::Nothing;
    ResumePoint point;
    std::string problem;
};

// Whether the draw that log holds can go on with data's prize table and participant list:
// every recorded prize id is in the table, every recorded round within its prize's rounds
// and winners per round, the rounds follow the table's draw order, and every recorded entry
// is in the list (entries with the same raw text matched one for one within a round).
ResumePlan planResume(const LotteryData& data, const ResultsLog& log, core::CoreServices& services);

// Sets data to the result of point's round as planResume found it: the repeat marks from
// log, the draw progress (ShowingResult) and the pool's winner slots and winnerCount with that
// round's winners in recorded order.
void applyResume(LotteryData& data, const ResultsLog& log, const ResumePoint& point);

} // namespace lottery
