#pragma once

#include "lottery/lottery_data.h"

#include <string>
#include <vector>

namespace lottery {

// What would stop the draw's results from being kept, found before the first press: data/
// must take a file (one is written, flushed and removed again) and an existing results file
// must be readable. One UTF-8 message per problem, saying what to do; empty when all is well.
std::vector<std::string> eventFolderProblems(const EventPaths& paths);

// data/ or a file the program writes there or beside it (prizes, list, results, settings)
// that is a link leading out of the event folder would have the draw written elsewhere.
// The UTF-8 refusal for the first such link; empty when there is none.
std::string linkLeadingOutside(const EventPaths& paths);

} // namespace lottery
