#pragma once

#include "drawscreen/glyph_sprite_cache.h"

#include <QFontMetricsF>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace drawscreen {

// Display texts of the entries shown lately, converted from GBK once, and their glyph layouts
// in the names' font. Holds at most kMostEntries: a list of a million entries costs no more.
class NameCache {
public:
    // The participant texts were re-read: every entry is converted again when next shown.
    void invalidate();
    // Layouts and sprites are dropped when the family or size changes.
    void setFont(const QString& family, int fontSize);
    // Drops all layouts and sprites once they outgrow their budget, and every entry once there
    // are more than kMostEntries; call between frames.
    void trim();

    // By display text (GBK): a name shown keeps its look whatever list it came from.
    const QString& text(std::string_view display);
    const NameLayout& layout(std::string_view display);
    // The text's advance at kReferenceSize in family, measured once per text: widths at
    // other sizes scale with it, so the widest entry is found without measuring again.
    qreal referenceAdvance(std::string_view display, const QString& family);

    static constexpr std::size_t kSpriteBudget = 64u << 20;
    static constexpr std::size_t kMostEntries = 16384;
    static constexpr int kReferenceSize = 100;

private:
    struct Entry {
        bool hasText = false;
        bool hasLayout = false;
        QString text;
        qreal advance = -1; // not measured yet
        NameLayout layout;
    };

    Entry& entry(std::string_view display);
    void dropLayouts();

    std::unordered_map<std::string, Entry> entries_; // nodes: a reference stays valid until trim()
    QString family_;
    int fontSize_ = 0;
    std::unique_ptr<GlyphSpriteCache> sprites_;
    QString referenceFamily_;
    std::optional<QFontMetricsF> referenceMetrics_;
};

} // namespace drawscreen
