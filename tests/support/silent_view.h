#pragma once

#include "lottery/draw_view.h"

namespace testsupport {

// A view and clock for tests that only look at what the draw machine writes.
class SilentView : public lottery::DrawView, public lottery::DrawClock {
public:
    void showPicture(const lottery::DrawPicture&) override {}
    void playCue(lottery::SoundCue) override {}
    void reportProblem(const std::string&) override {}
    void setTicking(bool) override {}
};

} // namespace testsupport
