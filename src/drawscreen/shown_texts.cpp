#include "drawscreen/shown_texts.h"

#include <algorithm>

namespace drawscreen {

std::vector<std::string> shownTexts(const lottery::DrawPicture& picture) {
    const std::size_t count =
        std::min(picture.selection.size(), static_cast<std::size_t>(lottery::kMaxWinnersPerRound));
    std::vector<std::string> texts;
    texts.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        texts.push_back(picture.selection[i].display);
    return texts;
}

} // namespace drawscreen
