#pragma once

#include "drawscreen/glyph_sprite_cache.h"

#include <QFont>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace drawscreen {

// The names of the 大屏 grid by their shown text (GBK): converted once, measured once, and laid
// out from glyph sprites at each size a cell asks for. Drops everything past its budget, so a
// long roll over a big list holds no more than a short one.
class StageNameCache {
public:
    void setFont(const QString& family, QFont::Weight weight);
    void clear();

    const QString& text(const std::string& gbk);
    // The text's width in ems, the outline's pen included.
    double widthEm(const std::string& gbk);
    // The same for a text advance wide at kReferenceSize in the cache's font.
    static double widthEmOf(double advance);
    const NameLayout& layout(const std::string& gbk, int fontSize);
    // Call between frames.
    void trim();

    static constexpr std::size_t kMostTexts = 16384;
    static constexpr std::size_t kSpriteBudget = 64u << 20;
    static constexpr int kReferenceSize = 100;

private:
    struct Entry {
        QString text;
        double widthEm = -1; // not measured yet
        std::map<int, NameLayout> layouts;
    };
    Entry& entry(const std::string& gbk);
    GlyphSpriteCache& sprites(int fontSize);

    QString family_;
    QFont::Weight weight_ = QFont::Normal;
    std::unordered_map<std::string, Entry> entries_;
    std::map<int, std::unique_ptr<GlyphSpriteCache>> sprites_;
};

} // namespace drawscreen
