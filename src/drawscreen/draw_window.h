#pragma once

#include "drawscreen/cue_player.h"
#include "drawscreen/draw_key_filter.h"
#include "drawscreen/frame_composer.h"
#include "drawscreen/frame_log.h"
#include "drawscreen/sound_output.h"
#include "drawscreen/stage_composer.h"
#include "lottery/draw_machine.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace drawscreen {

// The translucent overlay over the middle of the main window on which the draw is shown.
// Each render composes a whole canvas; painting shows it at opacity 229/255 over the parent.
// In the 大屏 layout rolling and revealing frames come opaque, composed over the parent.
// It takes no mouse input (the parent's menu keeps working) and no key closes it.
// A view of the draw machine: it shows the machine's pictures and sends the draw key on.
class DrawWindow : public QWidget, public lottery::DrawView {
    Q_OBJECT
public:
    // Adds itself to machine's views; press is the draw key. sound null: cues through Qt
    // Multimedia.
    DrawWindow(lottery::LotteryData& data, const lottery::EventPaths& paths,
               lottery::DrawMachine& machine, std::function<void()> press, float displayScale,
               QWidget* parent, std::unique_ptr<SoundOutput> sound = nullptr);
    ~DrawWindow() override;

    // 经典: 10 % in from the left, top and right, 5 % up from the bottom of the screen;
    // 大屏: the whole screen.
    static QRect windowRectFor(QSize screen,
                               lottery::ScreenLayout layout = lottery::ScreenLayout::Classic);

    // A press of the draw key during the reveal after a stop only finishes the reveal: the
    // winners all show at once, and the next press goes on. True when it did so; the caller
    // then passes the press on to the draw no further.
    bool takePress();
    bool isRevealing() const { return revealTimer_.isActive(); }

    // rect is in the parent's coordinates. Shows the machine's picture, then the window.
    void placeWindow(const QRect& rect);
    // The screen changed: names and status lines take the new scale.
    void setDisplayScale(float displayScale);
    // Another window (the operator's console) lists the problems: no box over the draw.
    void setProblemsShownElsewhere(bool elsewhere) { problemsElsewhere_ = elsewhere; }
    // The participant texts were re-read: before the machine shows names of the new list.
    void namesReread();

    // What the window shows over its parent: an opaque frame, or the canvas at kOpacity.
    const QImage& canvas() const;
    bool showsOpaqueFrame() const;
    // Paints what the window shows, with its top-left at at, over what the parent painted,
    // at 1 / step of its size.
    void paintShown(QPainter& painter, QPoint at, int step) const;

    static constexpr int kOpacity = StageComposer::kCanvasOpacity;
    static constexpr int kRevealFrameMs = 40;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setWindowRect(const QRect& rect);
    void showPicture(const lottery::DrawPicture& picture) override;
    void playCue(lottery::SoundCue cue) override;
    void reportProblem(const std::string& utf8Message) override;
    // While rolling the window paints what lies beneath it itself, from a copy taken as the
    // roll starts, so a frame repaints this window's changed part and not the main window's.
    void holdBackground(bool rolling);
    bool bigScreen() const;
    void startReveal(const lottery::DrawPicture& picture);
    void revealFrame();
    void finishReveal();

    lottery::LotteryData& data_;
    lottery::DrawMachine& machine_;
    float displayScale_;
    std::unique_ptr<SoundOutput> sound_;
    CuePlayer cues_;
    FrameComposer composer_;
    StageComposer stage_;
    DrawKeyFilter keys_;
    // The reveal after a stop in the 大屏 layout: its own frames, from the stop on.
    QTimer revealTimer_;
    QElapsedTimer revealClock_;
    lottery::DrawPicture revealed_;
    int revealMs_ = 0;
    lottery::DrawPicture::Screen lastScreen_ = lottery::DrawPicture::Screen::Ready;
    QRect windowRect_;
    FrameLog frameLog_;
    QImage background_; // 经典, in device pixels; null when not rolling
    bool backgroundHeld_ = false;
    bool rollingFramePending_ = false;
    bool problemsElsewhere_ = false;
};

} // namespace drawscreen
