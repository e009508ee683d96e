#include "drawscreen/stage_name_cache.h"

#include "core/gbk_codec.h"
#include "drawscreen/name_path.h"
#include "drawscreen/text_outline.h"

#include <QFontMetricsF>

namespace drawscreen {

void StageNameCache::setFont(const QString& family, QFont::Weight weight) {
    if (family == family_ && weight == weight_)
        return;
    family_ = family;
    weight_ = weight;
    clear();
}

void StageNameCache::clear() {
    entries_.clear();
    sprites_.clear();
}

void StageNameCache::trim() {
    std::size_t bytes = 0;
    for (const auto& [size, cache] : sprites_)
        bytes += cache->bytes();
    if (entries_.size() > kMostTexts || bytes > kSpriteBudget)
        clear();
}

StageNameCache::Entry& StageNameCache::entry(const std::string& gbk) {
    Entry& e = entries_[gbk];
    if (e.widthEm < 0) {
        e.text = core::GbkCodec::fromGbk(gbk);
        QFont font = TextOutline::font(family_, kReferenceSize);
        font.setWeight(weight_);
        const qreal advance = e.text.isEmpty() ? 0 : QFontMetricsF(font).horizontalAdvance(e.text);
        e.widthEm = widthEmOf(advance);
    }
    return e;
}

const QString& StageNameCache::text(const std::string& gbk) {
    return entry(gbk).text;
}

double StageNameCache::widthEm(const std::string& gbk) {
    return entry(gbk).widthEm;
}

double StageNameCache::widthEmOf(double advance) {
    return (advance + NamePath::kPenWidth) / kReferenceSize;
}

GlyphSpriteCache& StageNameCache::sprites(int fontSize) {
    std::unique_ptr<GlyphSpriteCache>& cache = sprites_[fontSize];
    if (!cache)
        cache = std::make_unique<GlyphSpriteCache>(family_, fontSize, weight_);
    return *cache;
}

const NameLayout& StageNameCache::layout(const std::string& gbk, int fontSize) {
    Entry& e = entry(gbk);
    const auto found = e.layouts.find(fontSize);
    if (found != e.layouts.end())
        return found->second;
    return e.layouts.emplace(fontSize, sprites(fontSize).layoutName(e.text)).first->second;
}

} // namespace drawscreen
