#include "drawscreen/name_cache.h"

#include "core/gbk_codec.h"
#include "drawscreen/text_outline.h"

namespace drawscreen {

void NameCache::invalidate() {
    entries_.clear();
}

void NameCache::setFont(const QString& family, int fontSize) {
    if (sprites_ && family == family_ && fontSize == fontSize_)
        return;
    family_ = family;
    fontSize_ = fontSize;
    dropLayouts();
}

void NameCache::trim() {
    if (entries_.size() > kMostEntries)
        entries_.clear();
    if (sprites_ && sprites_->bytes() > kSpriteBudget)
        dropLayouts();
}

void NameCache::dropLayouts() {
    for (auto& [index, e] : entries_) {
        e.hasLayout = false;
        e.layout = {};
    }
    sprites_ = std::make_unique<GlyphSpriteCache>(family_, fontSize_);
}

NameCache::Entry& NameCache::entry(std::string_view display) {
    Entry& e = entries_[std::string(display)];
    if (!e.hasText) {
        e.text = core::GbkCodec::fromGbk(display);
        e.hasText = true;
    }
    return e;
}

const QString& NameCache::text(std::string_view display) {
    return entry(display).text;
}

const NameLayout& NameCache::layout(std::string_view display) {
    Entry& e = entry(display);
    if (!e.hasLayout) {
        if (!sprites_)
            sprites_ = std::make_unique<GlyphSpriteCache>(family_, fontSize_);
        e.layout = sprites_->layoutName(e.text);
        e.hasLayout = true;
    }
    return e.layout;
}

qreal NameCache::referenceAdvance(std::string_view display, const QString& family) {
    if (!referenceMetrics_ || family != referenceFamily_) {
        referenceFamily_ = family;
        referenceMetrics_.emplace(TextOutline::font(family, kReferenceSize));
        for (auto& [text, e] : entries_)
            e.advance = -1;
    }
    Entry& e = entry(display);
    if (e.advance < 0)
        e.advance = e.text.isEmpty() ? 0 : referenceMetrics_->horizontalAdvance(e.text);
    return e.advance;
}

} // namespace drawscreen
