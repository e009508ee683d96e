#pragma once

#include "drawscreen/name_cache.h"
#include "drawscreen/name_font.h"
#include "drawscreen/rolling_name_renderer.h"
#include "drawscreen/width_estimate.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace drawscreen {

// Composes every frame of the draw window into one canvas of the window's size; pixels that
// nothing touches stay fully transparent. The names' size follows the count the round really
// shows (NameFont::compute), shrunk where an entry that may be drawn for the prize would run
// past the right edge; the names from the picture's selection.
class FrameComposer {
public:
    // An empty family leaves all text out.
    explicit FrameComposer(QSize size = {}, float displayScale = 1.0f, QString family = {});

    void setSize(QSize size);
    void setDisplayScale(float displayScale);
    // The picture of the ready and finished screens, read at each of them.
    void setPictureFile(const QString& path);
    // The participant texts were re-read.
    void invalidateNames();

    // Paint this image directly; a copy kept elsewhere would make the next frame copy it whole.
    const QImage& canvas() const { return canvas_; }
    QSize size() const { return canvas_.size(); }
    const QString& fontFamily() const { return family_; }
    int statusFontSize() const;

    // The names of the selection, aliased, from cached glyphs.
    void composeRolling(const lottery::LotteryData& data, const lottery::DrawPicture& picture);
    // The same frame painted as one path, the plain way; kept to check the one above against.
    void composeRollingAsPath(const lottery::LotteryData& data,
                              const lottery::DrawPicture& picture);
    // The names of the selection and the status lines, anti-aliased.
    void composeResult(const lottery::LotteryData& data, const lottery::DrawPicture& picture);
    // The panel of the ready or finished screen and the status lines, anti-aliased; with
    // commitment, the list's fingerprint and its QR code under the panel.
    void composeStatic(const lottery::DrawPicture& picture, bool commitment = false);

    // What may differ from the frame before: the union of the old and new content.
    QRect changedRect() const { return changed_; }
    // The names' size in the latest frame that drew names.
    NameFontSize nameFont() const { return fitted_; }

private:
    // What the fitted size was found for; any change measures the prize's entries again.
    struct FitKey {
        NameFontSize asked;
        int canvasWidth = 0;
        int prizeIndex = 0;
        int entryCount = 0;
        unsigned names = 0;
        bool operator==(const FitKey& o) const {
            return asked.fontSize == o.asked.fontSize && asked.lineHeight == o.asked.lineHeight &&
                   canvasWidth == o.canvasWidth && prizeIndex == o.prizeIndex &&
                   entryCount == o.entryCount && names == o.names;
        }
    };

    NameFontSize askedFor(int count);
    void fitNameFont(const lottery::LotteryData& data, const lottery::DrawPicture& picture);
    bool widens(std::string_view display);
    // The same for an entry shown, unless its estimate is below those measured.
    bool shownWidens(std::string_view display);
    void fit();
    void paintNames(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                    bool antialiased);
    void repainted();

    QImage canvas_;
    float displayScale_;
    QString family_;
    QString pictureFile_;
    // Entries measured exactly when fitting: the widest by estimate. The estimate leaves out
    // kerning, a fraction of a character, so an entry ranked below these is at most that much
    // wider than the widest measured.
    static constexpr int kMeasuredExactly = 64;

    NameCache nameCache_;
    WidthEstimate estimate_;
    RollingNameRenderer rolling_;
    std::vector<const NameLayout*> lines_;
    QRect changed_;
    unsigned namesRead_ = 0; // counts invalidateNames
    bool hasFit_ = false;
    FitKey fitKey_;
    NameFontSize fitted_;
    int askedCount_ = -1; // what asked_ was computed for
    NameFontSize asked_;
    std::string widest_; // the display text of the largest advance met since the key changed
    qreal widestAdvance_ = 0;
    float measuredFrom_ = 0; // the smallest estimate measured exactly; 0: all were
};

} // namespace drawscreen
