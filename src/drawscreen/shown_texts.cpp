#include "drawscreen/shown_texts.h"

#include <algorithm>

namespace drawscreen {

std::vector<std::string> shownTexts(const lottery::LotteryData& data,
                                    const lottery::DrawPicture& picture) {
    const std::size_t count =
        std::min(picture.selection.size(), static_cast<std::size_t>(lottery::kMaxWinnersPerRound));
    std::vector<std::string> texts;
    texts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int entry = picture.selection[i];
        texts.emplace_back(entry >= 0 && entry < data.participants.count()
                               ? data.participants.displayText(entry)
                               : std::string_view());
    }
    return texts;
}

} // namespace drawscreen
