#include "drawscreen/draw_window.h"

#include "core/ccore.h"
#include "core/path_conversion.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/reveal_timeline.h"
#include "drawscreen/sound_output.h"

#include <QDir>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <optional>
#include <vector>

namespace drawscreen {

namespace {

std::unique_ptr<SoundOutput> orSystemSound(std::unique_ptr<SoundOutput> sound) {
    return sound ? std::move(sound) : makeSystemSoundOutput();
}

// Qt hands a blend of more than 95 rows to its thread pool; on a laptop's few cores the
// hand-offs cost more than the blend, so the window paints in strips that stay below it.
std::vector<QRect> inStrips(const QRegion& region) {
    constexpr int kStripRows = 64;
    std::vector<QRect> strips;
    for (const QRect& rect : region)
        for (int top = rect.top(); top <= rect.bottom(); top += kStripRows)
            strips.emplace_back(rect.left(), top, rect.width(),
                                std::min(kStripRows, rect.bottom() + 1 - top));
    return strips;
}

// Writes the stage's frame straight into the image the window paints into, sparing a copy of
// each pixel a frame changes; false where that is not an image of 32-bit pixels at the
// window's own scale.
bool writeFrameInto(QPainter& painter, const QRegion& region, const StageComposer& stage) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto& image = *static_cast<QImage*>(device);
    const QTransform transform = painter.deviceTransform();
    const QPoint at(qRound(transform.dx()), qRound(transform.dy()));
    const bool plain = image.format() == QImage::Format_RGB32 ||
                       image.format() == QImage::Format_ARGB32 ||
                       image.format() == QImage::Format_ARGB32_Premultiplied;
    if (!plain || transform.type() > QTransform::TxTranslate ||
        QPointF(at) != QPointF(transform.dx(), transform.dy()))
        return false;
    // Outside what Qt lets the window paint lie other widgets' pixels.
    const QRegion allowed = engine->systemClip();
    stage.paintFrame(image, at, allowed.isEmpty() ? region : region & allowed.translated(-at));
    return true;
}

} // namespace

DrawWindow::DrawWindow(lottery::LotteryData& data, const lottery::EventPaths& paths,
                       lottery::DrawMachine& machine, std::function<void()> press,
                       float displayScale, QWidget* parent, std::unique_ptr<SoundOutput> sound)
    : QWidget(parent), data_(data), machine_(machine), displayScale_(displayScale),
      sound_(orSystemSound(std::move(sound))),
      cues_(data.options, core::toQString(paths.appFolder), *sound_),
      composer_({}, displayScale, FontChooser::cjkSansFamily()),
      stage_(composer_.fontFamily(), paths.appFolder),
      keys_(std::move(press), DrawKeyFilter::SystemKeys::Swallow) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::StrongFocus);
    installEventFilter(&keys_);
    machine_.addView(*this);
    composer_.setPictureFile(core::toQString(paths.picture));
    revealTimer_.setTimerType(Qt::PreciseTimer);
    revealTimer_.setInterval(kRevealFrameMs);
    connect(&revealTimer_, &QTimer::timeout, this, [this] { revealFrame(); });
    hide(); // until placed
}

DrawWindow::~DrawWindow() {
    machine_.removeView(*this);
}

QRect DrawWindow::windowRectFor(QSize screen, lottery::ScreenLayout layout) {
    if (layout == lottery::ScreenLayout::BigScreen)
        return QRect(QPoint(0, 0), screen);
    // Single-precision factors, the product formed in double and truncated once.
    const auto at = [](int length, float factor) {
        return static_cast<int>(static_cast<double>(length) * static_cast<double>(factor));
    };
    const int left = at(screen.width(), 0.1f);
    const int top = at(screen.height(), 0.1f);
    const int right = at(screen.width(), 0.9f);
    const int bottom = at(screen.height(), 0.95f);
    return QRect(left, top, right - left, bottom - top);
}

const QImage& DrawWindow::canvas() const {
    if (showsOpaqueFrame())
        return stage_.frame();
    return bigScreen() ? stage_.canvas() : composer_.canvas();
}

bool DrawWindow::showsOpaqueFrame() const {
    return bigScreen() && backgroundHeld_;
}

void DrawWindow::paintShown(QPainter& painter, QPoint at, int step) const {
    if (showsOpaqueFrame()) {
        painter.drawImage(at / step, stage_.sampledFrame(step));
        return;
    }
    painter.save();
    painter.scale(1.0 / step, 1.0 / step);
    painter.setOpacity(kOpacity / 255.0);
    painter.drawImage(at, canvas());
    painter.restore();
}

bool DrawWindow::bigScreen() const {
    return data_.options.stage.layout == lottery::ScreenLayout::BigScreen;
}

// The press that cuts the reveal short does that only: one press, one step the room sees.
bool DrawWindow::takePress() {
    if (!isRevealing())
        return false;
    finishReveal();
    return true;
}

void DrawWindow::placeWindow(const QRect& rect) {
    setWindowRect(rect);
    machine_.present();
    show();
}

void DrawWindow::setWindowRect(const QRect& rect) {
    if (isRevealing())
        finishReveal();
    holdBackground(false); // what lies beneath moves with the window; taken again next frame
    windowRect_ = rect;
    setGeometry(rect);
    // Only the layout in use holds a canvas.
    if (bigScreen() && stage_.size() != rect.size()) {
        stage_.setSize(rect.size());
        composer_.setSize({});
    } else if (!bigScreen() && composer_.size() != rect.size()) {
        composer_.setSize(rect.size());
        stage_.setSize({});
    }
}

void DrawWindow::setDisplayScale(float displayScale) {
    displayScale_ = displayScale;
    composer_.setDisplayScale(displayScale);
}

void DrawWindow::namesReread() {
    composer_.invalidateNames();
    stage_.invalidateNames();
}

// The composers size the names at each frame from the count shown. Both layouts take the
// same steps; only the 大屏 one reveals the result after a roll.
void DrawWindow::showPicture(const lottery::DrawPicture& picture) {
    using Screen = lottery::DrawPicture::Screen;
    const bool big = bigScreen();
    if (big && picture.screen == Screen::Result && isRevealing()) {
        revealed_ = picture; // shown again during the reveal: it goes on
        return;
    }
    revealTimer_.stop();
    const Screen before = lastScreen_;
    lastScreen_ = picture.screen;
    switch (picture.screen) {
    case Screen::Rolling: {
        holdBackground(true);
        const FrameLog::Work work(frameLog_);
        if (big)
            stage_.composeRolling(data_, picture);
        else
            composer_.composeRolling(data_, picture);
        rollingFramePending_ = true;
        update(big ? stage_.changedRegion() : composer_.changedRegion());
        return;
    }
    case Screen::Result:
        if (big && before == Screen::Rolling) {
            startReveal(picture);
            return;
        }
        if (big)
            stage_.composeResult(data_, picture, RevealTimeline::kDoneMs);
        else
            composer_.composeResult(data_, picture);
        break;
    case Screen::Ready:
    case Screen::Finished: {
        const bool commitment = data_.options.showFingerprint != 0;
        if (big)
            stage_.composeStatic(data_, picture, commitment);
        else
            composer_.composeStatic(picture, commitment);
        show();
        break;
    }
    }
    holdBackground(false);
    rollingFramePending_ = false;
    update();
}

void DrawWindow::startReveal(const lottery::DrawPicture& picture) {
    revealed_ = picture;
    const int count = static_cast<int>(picture.selection.size());
    revealMs_ = RevealTimeline::durationMs(
        count, lottery::isKeyPrize(data_.options.stage, data_.prizeTable, picture.prizeIndex));
    revealClock_.start();
    stage_.composeResult(data_, picture, 0);
    revealTimer_.start();
    update();
}

void DrawWindow::revealFrame() {
    const auto elapsed = static_cast<int>(revealClock_.elapsed());
    if (elapsed >= revealMs_) {
        finishReveal();
        return;
    }
    stage_.composeResult(data_, revealed_, elapsed);
    update(stage_.changedRegion());
}

void DrawWindow::finishReveal() {
    revealTimer_.stop();
    stage_.composeResult(data_, revealed_, RevealTimeline::kDoneMs);
    holdBackground(false);
    update();
}

void DrawWindow::holdBackground(bool rolling) {
    if (rolling == backgroundHeld_ || !parentWidget())
        return;
    backgroundHeld_ = rolling;
    background_ = QImage();
    setAttribute(Qt::WA_OpaquePaintEvent, rolling);
    if (!rolling)
        return;
    // 大屏 frames are composed in the canvas's pixels, 经典 ones blended in the device's.
    const qreal ratio = bigScreen() ? 1.0 : devicePixelRatioF();
    // Opaque for the stage, which would convert it otherwise.
    QImage beneath(size() * ratio,
                   bigScreen() ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    beneath.setDevicePixelRatio(ratio);
    beneath.fill(Qt::transparent);
    parentWidget()->render(&beneath, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    if (bigScreen())
        stage_.setBackdrop(beneath);
    else
        background_ = beneath;
}

void DrawWindow::playCue(lottery::SoundCue cue) {
    cues_.playCue(cue);
}

void DrawWindow::reportProblem(const std::string& utf8Message) {
    if (problemsElsewhere_)
        return;
    core::CCore::msgboxWarning(window(), QString::fromStdString(utf8Message));
}

void DrawWindow::paintEvent(QPaintEvent* event) {
    std::optional<FrameLog::Work> work;
    if (rollingFramePending_)
        work.emplace(frameLog_);
    QPainter painter(this);
    const std::vector<QRect> strips = inStrips(event->region());
    if (showsOpaqueFrame()) {
        if (!writeFrameInto(painter, event->region(), stage_)) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            for (const QRect& rect : strips)
                painter.drawImage(rect.topLeft(), stage_.frame(), rect);
        }
    } else {
        const qreal ratio = background_.devicePixelRatio();
        for (const QRect& rect : strips) {
            if (!background_.isNull()) {
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(
                    QRectF(rect), background_,
                    QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio));
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            }
            painter.setOpacity(kOpacity / 255.0);
            painter.drawImage(rect.topLeft(), canvas(), rect);
            painter.setOpacity(1.0);
        }
    }
    if (rollingFramePending_) {
        rollingFramePending_ = false;
        work.reset();
        frameLog_.framePresented();
    }
}

} // namespace drawscreen
