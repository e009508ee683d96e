#pragma once

#include "core/core_services.h"
#include "drawscreen/cue_player.h"
#include "drawscreen/draw_key_filter.h"
#include "drawscreen/frame_composer.h"
#include "drawscreen/frame_log.h"
#include "drawscreen/sound_output.h"
#include "drawscreen/stage_composer.h"
#include "lottery/draw_machine.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace drawscreen {

// The translucent overlay over the middle of the main window on which the draw is shown.
// Each render composes a whole canvas; painting shows it at opacity 229/255 over the parent.
// It takes no mouse input (the parent's menu keeps working) and no key closes it.
class DrawWindow : public QWidget, private lottery::DrawView, private lottery::DrawClock {
    Q_OBJECT
public:
    // sound null: cues through Qt Multimedia.
    DrawWindow(lottery::LotteryData& data, const lottery::EventPaths& paths,
               core::CoreServices& services, float displayScale, QWidget* parent,
               std::unique_ptr<SoundOutput> sound = nullptr);
    ~DrawWindow() override;

    // 经典: 10 % in from the left, top and right, 5 % up from the bottom of the screen;
    // 大屏: the whole screen.
    static QRect windowRectFor(QSize screen,
                               lottery::ScreenLayout layout = lottery::ScreenLayout::Classic);

    // One press of the space bar. During the reveal it only finishes the reveal: the winners
    // are all shown at once, and the next press goes on.
    void advance();
    bool isRevealing() const { return revealTimer_.isActive(); }
    // The operator confirmed a reset: the draw starts again and the ready screen shows.
    void reset();
    // rect is in the parent's coordinates. Shows the ready screen, then the window.
    void placeWindow(const QRect& rect);
    // Like placeWindow, but goes on with the unfinished draw log holds (its marks restored by
    // lottery::applyResume): the last round shows as it was and the next press goes on.
    void resumeAt(const QRect& rect, const lottery::ResultsLog& log);
    // The screen changed: names and status lines take the new scale.
    void setDisplayScale(float displayScale);
    // Another window (the operator's console) lists the problems: no box over the draw.
    void setProblemsShownElsewhere(bool elsewhere) { problemsElsewhere_ = elsewhere; }
    // Marks winners of the round on screen absent (positions from 1).
    void markAbsent(const std::vector<int>& positions);
    // The participant texts were re-read.
    void participantsReloaded();

    // The draw's records, the unsaved ones included.
    lottery::DrawMachine& machine() { return machine_; }

    bool isFrameTimerRunning() const { return frameTimer_.isActive(); }
    const QImage& canvas() const;

    static constexpr int kFramePeriodMs = 40;
    static constexpr int kOpacity = 229;
    static constexpr int kUnsavedRetryMs = 2000;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setWindowRect(const QRect& rect);
    // Unsaved results are written as soon as the disk takes them, not only at the next press.
    void watchUnsaved();
    void computeNameFont() override;
    void showPicture(const lottery::DrawPicture& picture) override;
    void playCue(lottery::SoundCue cue) override;
    void reportProblem(const std::string& utf8Message) override;
    void setTicking(bool ticking) override;
    // While rolling the window paints what lies beneath it itself, from a copy taken as the
    // roll starts, so a frame repaints this window's changed part and not the main window's.
    void holdBackground(bool rolling);
    bool bigScreen() const;
    void showStage(const lottery::DrawPicture& picture);
    void startReveal(const lottery::DrawPicture& picture);
    void revealFrame();
    void finishReveal();

    lottery::LotteryData& data_;
    core::CoreServices& services_;
    float displayScale_;
    std::unique_ptr<SoundOutput> sound_;
    CuePlayer cues_;
    FrameComposer composer_;
    StageComposer stage_;
    lottery::DrawMachine machine_;
    DrawKeyFilter keys_;
    QTimer frameTimer_;
    QTimer unsavedTimer_;
    // The reveal after a stop in the 大屏 layout: its own frames, from the stop on.
    QTimer revealTimer_;
    QElapsedTimer revealClock_;
    lottery::DrawPicture revealed_;
    int revealMs_ = 0;
    lottery::DrawPicture::Screen lastScreen_ = lottery::DrawPicture::Screen::Ready;
    QRect windowRect_;
    FrameLog frameLog_;
    QImage background_; // in device pixels; null when not rolling
    bool rollingFramePending_ = false;
    bool problemsElsewhere_ = false;
};

} // namespace drawscreen
