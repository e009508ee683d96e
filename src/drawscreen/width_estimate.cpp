#include "drawscreen/width_estimate.h"

#include "core/gbk_codec.h"
#include "drawscreen/text_outline.h"
#include "lottery/gbk_text.h"

namespace drawscreen {

void WidthEstimate::invalidate() {
    perEntry_.clear();
}

void WidthEstimate::useFont(const QString& family, int referenceSize, QFont::Weight weight) {
    if (metrics_ && family == family_ && weight == weight_)
        return;
    family_ = family;
    weight_ = weight;
    QFont font = TextOutline::font(family, referenceSize);
    font.setWeight(weight);
    metrics_.emplace(font);
    perChar_.assign(1u << 16, -1.0f);
    perEntry_.clear();
}

float WidthEstimate::of(const lottery::ParticipantList& list, int index, const QString& family,
                        int referenceSize, QFont::Weight weight) {
    useFont(family, referenceSize, weight);
    if (perEntry_.size() != static_cast<std::size_t>(list.count()))
        perEntry_.assign(static_cast<std::size_t>(list.count()), -1.0f);
    float& width = perEntry_[static_cast<std::size_t>(index)];
    if (width < 0)
        width = ofText(list.displayText(index), family, referenceSize, weight);
    return width;
}

float WidthEstimate::ofText(std::string_view text, const QString& family, int referenceSize,
                            QFont::Weight weight) {
    useFont(family, referenceSize, weight);
    float width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = lottery::gbkCharLength(text, pos);
        width += charAdvance(text.substr(pos, length));
        pos += length;
    }
    return width;
}

float WidthEstimate::charAdvance(std::string_view gbkChar) {
    std::size_t code = static_cast<unsigned char>(gbkChar[0]);
    if (gbkChar.size() == 2)
        code = code << 8 | static_cast<unsigned char>(gbkChar[1]);
    float& advance = perChar_[code];
    if (advance < 0)
        advance = static_cast<float>(metrics_->horizontalAdvance(core::GbkCodec::fromGbk(gbkChar)));
    return advance;
}

} // namespace drawscreen
