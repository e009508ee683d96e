#pragma once

namespace drawscreen {

// When each of a round's cells settles after the stop: one after another, all within
// kSettleMs; a 重点 prize's burst of confetti lasts longer.
class RevealTimeline {
public:
    // 0 before cell i (of count) begins to settle, 1 once it has.
    static double settled(int i, int count, int elapsedMs);
    // From the stop to the last frame of the reveal.
    static int durationMs(int count, bool keyPrize);

    static constexpr int kSettleMs = 1500;
    static constexpr int kPopMs = 320;
    static constexpr int kBurstMs = 2600;
    static constexpr int kDoneMs = 1 << 20; // any time past the end
};

} // namespace drawscreen
