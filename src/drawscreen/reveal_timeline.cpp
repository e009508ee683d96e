#include "drawscreen/reveal_timeline.h"

#include <algorithm>

namespace drawscreen {

namespace {

// Between two cells' starts, so that the last one has settled at kSettleMs.
double stepMs(int count) {
    return count > 1 ? std::min(250.0, double(RevealTimeline::kSettleMs - RevealTimeline::kPopMs) /
                                           (count - 1))
                     : 0.0;
}

} // namespace

double RevealTimeline::settled(int i, int count, int elapsedMs) {
    const double start = i * stepMs(count);
    return std::clamp((elapsedMs - start) / kPopMs, 0.0, 1.0);
}

int RevealTimeline::durationMs(int count, bool keyPrize) {
    const int settle = static_cast<int>(std::max(0, count - 1) * stepMs(count)) + kPopMs;
    return keyPrize ? std::max(settle, kBurstMs) : settle;
}

} // namespace drawscreen
