#pragma once

#include "drawscreen/glyph_sprite_cache.h"
#include "lottery/lottery_data.h"

#include <QString>

#include <memory>
#include <vector>

namespace drawscreen {

// Per-entry display texts, converted from GBK once, and their glyph layouts in the names' font.
class NameCache {
public:
    // The participant texts were re-read: every entry is converted again when next shown.
    void invalidate();
    // Layouts and sprites are dropped when the family or size changes.
    void setFont(const QString& family, int fontSize);
    // Drops all layouts and sprites once they outgrow their budget; call between frames.
    void trim();

    const QString& text(const lottery::ParticipantList& list, int index);
    const NameLayout& layout(const lottery::ParticipantList& list, int index);

    static constexpr std::size_t kSpriteBudget = 64u << 20;

private:
    struct Entry {
        bool hasText = false;
        bool hasLayout = false;
        QString text;
        NameLayout layout;
    };

    Entry* entry(const lottery::ParticipantList& list, int index);
    void dropLayouts();

    std::vector<Entry> entries_;
    QString family_;
    int fontSize_ = 0;
    std::unique_ptr<GlyphSpriteCache> sprites_;
};

} // namespace drawscreen
