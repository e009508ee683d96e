#pragma once

#include "drawscreen/grid_layout.h"
#include "drawscreen/rolling_name_renderer.h"
#include "drawscreen/stage_header.h"
#include "drawscreen/stage_name_cache.h"
#include "drawscreen/stage_theme.h"
#include "drawscreen/width_estimate.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

namespace drawscreen {

// Composes the 大屏 screen, the whole audience screen in one canvas over the background: the
// header band, the round's names in a grid, and the reveal after the stop. Pixels nothing
// touches stay transparent.
class StageComposer {
public:
    // An empty family leaves all text out; prize pictures are looked for in appFolder.
    explicit StageComposer(QString family = {}, std::filesystem::path appFolder = {});

    void setSize(QSize size);
    // The participant texts were re-read.
    void invalidateNames();

    const QImage& canvas() const { return canvas_; }
    QSize size() const { return canvas_.size(); }
    // What the latest frame may have changed.
    const QRegion& changedRegion() const { return changed_; }
    const GridLayout& grid() const { return grid_; }
    // The em size each cell of the latest names frame used.
    const std::vector<int>& cellFontSizes() const { return cellSizes_; }

    // The header of the picture's prize and the names of its selection, aliased.
    void composeRolling(const lottery::LotteryData& data, const lottery::DrawPicture& picture);
    // The result as it is elapsedMs after the stop (RevealTimeline::kDoneMs: settled), with a
    // burst of confetti for a 重点 prize.
    void composeResult(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                       int elapsedMs);
    void composeStatic(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                       bool commitment);

    // Where the names may go on a screen of that size, below the header band.
    static QRect namesArea(QSize screen);
    static QRect headerBand(QSize screen);

private:
    void takeTheme(const lottery::LotteryData& data);
    void layOut(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                const std::vector<std::string>& texts);
    double nominalEm(const lottery::LotteryData& data, int prizeIndex);
    void paintHeader(QPainter& painter, const lottery::LotteryData& data,
                     const lottery::DrawPicture& picture);
    QImage prizePicture(const lottery::LotteryData& data, int prizeIndex) const;
    // key: what the text and picture are; the band is painted again only when it changes.
    void paintHeaderOf(QPainter& painter, const StageHeaderText& text, const QImage& picture,
                       const QString& key);
    void prepareReveal(const std::vector<std::string>& texts);
    void placeNames(const std::vector<std::string>& texts);
    void paintBurst(QPainter& painter, int elapsedMs) const;
    static QRectF landing(const QRect& cell, double settled);
    static std::string revealKeyOf(const lottery::DrawPicture& picture);
    QRegion revealChange(bool key, int elapsedMs, const std::string& pictureKey);
    void paintStatus(QPainter& painter, const lottery::DrawPicture& picture);
    int statusFontSize() const;

    QString family_;
    std::filesystem::path appFolder_;
    QImage canvas_;
    QRegion changed_;
    lottery::StageTheme preset_ = lottery::StageTheme::RedGold;
    StageTheme theme_ = StageTheme::of(lottery::StageTheme::RedGold);
    StageNameCache names_;
    WidthEstimate estimate_;
    RollingNameRenderer rolling_;
    RollingNameRenderer winners_; // in the revealed names' colours
    GridLayout grid_;
    std::vector<int> cellSizes_;
    std::vector<const NameLayout*> lines_;
    std::vector<QPoint> origins_;
    bool rollingShown_ = false; // the canvas holds a rolling frame's header
    // The nominal width holds for one prize of one list.
    int nominalPrize_ = -2;
    int nominalEntries_ = -1;
    unsigned namesRead_ = 0;
    unsigned nominalRead_ = ~0u;
    double nominalEm_ = 3;
    // The reveal, made at the stop: the last rolling frame (null when there was none), the
    // names in the revealed colours, and the panel behind each revealed name.
    std::vector<std::string> revealTexts_;
    QImage lastRolling_;
    QImage revealedNames_;
    QImage cellPanel_;
    // The reveal frame the canvas holds (-1: none) and what its picture showed.
    int revealShownMs_ = -1;
    std::string revealKey_;
    // The header band as last painted, and what it showed.
    QImage header_;
    QString headerKey_;
};

} // namespace drawscreen
