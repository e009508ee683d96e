#pragma once

namespace drawscreen {

// The two static screens; the values are those the draw window is called with.
enum class ScreenKind : int { Ready = 0, Finished = 1 };

} // namespace drawscreen
