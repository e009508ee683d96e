#pragma once

#include "drawscreen/confetti.h"
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

// Composes the 大屏 screen, the whole audience screen: the header band, the round's names in a
// grid, and the reveal after the stop. A still screen is a canvas, shown at kCanvasOpacity over
// the background, in which pixels nothing touches stay transparent. Rolling and revealing
// frames are opaque, over a copy of the backdrop: a rolling frame is written where it changed
// straight into the shown image, a revealing one composed into a frame and copied from there.
class StageComposer {
public:
    // An empty family leaves all text out; prize pictures are looked for in appFolder.
    explicit StageComposer(QString family = {}, std::filesystem::path appFolder = {});

    // The backdrop turns black.
    void setSize(QSize size);
    // What lies beneath the screen, of its size; the next frame is composed whole over it.
    void setBackdrop(const QImage& backdrop);
    // The participant texts were re-read.
    void invalidateNames();

    const QImage& canvas() const { return canvas_; }
    // The latest rolling or revealing frame, opaque.
    const QImage& frame() const;
    // Writes region of the latest frame into target, the frame's (0, 0) at at. A rolling frame
    // is written from its names and what lies under them, never by way of frame(): showing it
    // costs one write of the pixels it changed.
    void paintFrame(QImage& target, QPoint at, const QRegion& region) const;
    // The latest frame at every step-th column and row, for a preview: a rolling one is
    // sampled from its names, so that no whole frame is kept up for it.
    QImage sampledFrame(int step) const;
    QSize size() const { return canvas_.size(); }
    // What the latest frame may have changed.
    const QRegion& changedRegion() const { return changed_; }
    const GridLayout& grid() const { return grid_; }
    // The em size each cell of the latest names frame used.
    const std::vector<int>& cellFontSizes() const { return cellSizes_; }

    // The header of the picture's prize and the names of its selection, aliased.
    void composeRolling(const lottery::LotteryData& data, const lottery::DrawPicture& picture);
    // The result as it is elapsedMs after the stop (RevealTimeline::kDoneMs: settled), with a
    // burst of confetti for a 重点 prize: the canvas holds it settled, the frame as it is then.
    void composeResult(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                       int elapsedMs);
    void composeStatic(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                       bool commitment);

    // Where the names may go on a screen of that size, below the header band.
    static QRect namesArea(QSize screen);
    static QRect headerBand(QSize screen);

    // How much of a still screen's canvas shows over the background, out of 255.
    static constexpr int kCanvasOpacity = 229;

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
    // The canvas over the backdrop, where painted; the backdrop elsewhere.
    void layOverBackdrop(QImage& into, const QRegion& painted) const;
    QRegion settledArea() const;
    void takeShot();
    void paintSettled(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                      const std::vector<std::string>& texts);
    void placeNames(const std::vector<std::string>& texts);
    static std::string revealKeyOf(const lottery::DrawPicture& picture);
    std::vector<ConfettiPiece> confettiAt(bool key, int elapsedMs) const;
    QRegion revealChange(int elapsedMs, const std::vector<ConfettiPiece>& confetti);
    void paintReveal(const QRect& rect, int elapsedMs, const std::vector<ConfettiPiece>& confetti);
    void flipCell(const QRect& cell, double settled, const QRect& clip);
    void paintStatus(QPainter& painter, const lottery::DrawPicture& picture);
    int statusFontSize() const;

    QString family_;
    std::filesystem::path appFolder_;
    QImage canvas_;
    QImage backdrop_;
    // While rolling the backdrop with the header over it, while revealing with the result.
    QImage under_;
    // The rolling frames' pixels are written into it only when it is asked for.
    mutable QImage frame_;
    mutable QRegion frameBehind_; // where it lags behind the latest frame
    static constexpr int kMostRectsBehind = 256;
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
    // The reveal, made at the stop: the last rolling frame's cells, when a roll came before.
    std::vector<std::string> revealTexts_;
    QImage shot_;
    bool shotTaken_ = false;
    // The reveal frame the frame holds (-1: none) and what its picture showed.
    int revealShownMs_ = -1;
    std::vector<ConfettiPiece> confettiShown_;
    std::string revealKey_;
    // The header band as last painted, and what it showed.
    QImage header_;
    QString headerKey_;
};

} // namespace drawscreen
