#pragma once

#include "lottery/draw_view.h"

#include <functional>
#include <string>
#include <utility>

namespace app {

// A view of the draw machine that only hands each picture on.
class PictureListener : public lottery::DrawView {
public:
    explicit PictureListener(std::function<void(const lottery::DrawPicture&)> onPicture)
        : onPicture_(std::move(onPicture)) {}

    void showPicture(const lottery::DrawPicture& picture) override { onPicture_(picture); }
    void playCue(lottery::SoundCue) override {}
    void reportProblem(const std::string&) override {}

private:
    std::function<void(const lottery::DrawPicture&)> onPicture_;
};

} // namespace app
