#pragma once

#include <functional>
#include <string>

namespace dialogs {

// The live draw's answers to whether an edit of the prize at a table index would make its
// results wrong: empty when it is fine, else why not (UTF-8). An unset question allows all,
// as when no draw is running.
struct DrawGuard {
    std::function<std::string(int prizeIndex)> whyNotDelete;
    std::function<std::string(int prizeIndex, int total)> whyNotTotal;
    std::function<std::string(int prizeIndex)> whyNotChangeId;
    // A draw has begun and is not over: a new list keeps its winners.
    std::function<bool()> drawInProgress;

    std::string deleteRefusal(int prizeIndex) const {
        return whyNotDelete ? whyNotDelete(prizeIndex) : std::string();
    }
    std::string totalRefusal(int prizeIndex, int total) const {
        return whyNotTotal ? whyNotTotal(prizeIndex, total) : std::string();
    }
    std::string idRefusal(int prizeIndex) const {
        return whyNotChangeId ? whyNotChangeId(prizeIndex) : std::string();
    }
    bool drawing() const { return drawInProgress && drawInProgress(); }
};

} // namespace dialogs
