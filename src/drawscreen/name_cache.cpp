#include "drawscreen/name_cache.h"

#include "core/gbk_codec.h"
#include "drawscreen/text_outline.h"

namespace drawscreen {

namespace {

const QString& noText() {
    static const QString empty;
    return empty;
}

const NameLayout& noLayout() {
    static const NameLayout empty;
    return empty;
}

} // namespace

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

NameCache::Entry* NameCache::entry(const lottery::ParticipantList& list, int index) {
    if (index < 0 || index >= list.count())
        return nullptr;
    Entry& e = entries_[index];
    if (!e.hasText) {
        e.text = core::GbkCodec::fromGbk(list.displayText(index));
        e.hasText = true;
    }
    return &e;
}

const QString& NameCache::text(const lottery::ParticipantList& list, int index) {
    const Entry* e = entry(list, index);
    return e ? e->text : noText();
}

const NameLayout& NameCache::layout(const lottery::ParticipantList& list, int index) {
    Entry* e = entry(list, index);
    if (!e)
        return noLayout();
    if (!e->hasLayout) {
        if (!sprites_)
            sprites_ = std::make_unique<GlyphSpriteCache>(family_, fontSize_);
        e->layout = sprites_->layoutName(e->text);
        e->hasLayout = true;
    }
    return e->layout;
}

qreal NameCache::referenceAdvance(const lottery::ParticipantList& list, int index,
                                  const QString& family) {
    if (!referenceMetrics_ || family != referenceFamily_) {
        referenceFamily_ = family;
        referenceMetrics_.emplace(TextOutline::font(family, kReferenceSize));
        for (auto& [i, e] : entries_)
            e.advance = -1;
    }
    Entry* e = entry(list, index);
    if (!e)
        return 0;
    if (e->advance < 0)
        e->advance = e->text.isEmpty() ? 0 : referenceMetrics_->horizontalAdvance(e->text);
    return e->advance;
}

} // namespace drawscreen
