#include "drawscreen/draw_window.h"

#include "core/ccore.h"
#include "core/path_conversion.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/name_font.h"
#include "drawscreen/sound_output.h"

#include <QDir>
#include <QPaintEvent>
#include <QPainter>

namespace drawscreen {

namespace {

std::unique_ptr<SoundOutput> orSystemSound(std::unique_ptr<SoundOutput> sound) {
    return sound ? std::move(sound) : makeSystemSoundOutput();
}

} // namespace

DrawWindow::DrawWindow(lottery::LotteryData& data, const lottery::EventPaths& paths,
                       lottery::DrawMachine& machine, std::function<void()> press,
                       float displayScale, QWidget* parent, std::unique_ptr<SoundOutput> sound)
    : QWidget(parent), data_(data), machine_(machine), displayScale_(displayScale),
      sound_(orSystemSound(std::move(sound))),
      cues_(data.options, core::toQString(paths.appFolder), *sound_),
      composer_({}, displayScale, FontChooser::cjkSansFamily()),
      keys_(std::move(press), DrawKeyFilter::SystemKeys::Swallow) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::StrongFocus);
    installEventFilter(&keys_);
    machine_.addView(*this);
    composer_.setPictureFile(core::toQString(paths.picture));
    hide(); // until placed
}

DrawWindow::~DrawWindow() {
    machine_.removeView(*this);
}

QRect DrawWindow::windowRectFor(QSize screen) {
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

void DrawWindow::placeWindow(const QRect& rect) {
    setWindowRect(rect);
    machine_.present();
    show();
}

void DrawWindow::setWindowRect(const QRect& rect) {
    holdBackground(false); // what lies beneath moves with the window; taken again next frame
    windowRect_ = rect;
    setGeometry(rect);
    if (composer_.size() != rect.size())
        composer_.setSize(rect.size());
}

void DrawWindow::setDisplayScale(float displayScale) {
    displayScale_ = displayScale;
    composer_.setDisplayScale(displayScale);
    computeNameFont();
}

void DrawWindow::namesReread() {
    composer_.invalidateNames();
}

void DrawWindow::computeNameFont() {
    NameFont::computeNameFont(data_, displayScale_, composer_.fontFamily());
}

void DrawWindow::showPicture(const lottery::DrawPicture& picture) {
    using Screen = lottery::DrawPicture::Screen;
    switch (picture.screen) {
    case Screen::Rolling:
        holdBackground(true);
        composer_.composeRolling(data_, picture);
        rollingFramePending_ = true;
        update(composer_.changedRect());
        return;
    case Screen::Result:
        composer_.composeResult(data_, picture);
        break;
    case Screen::Ready:
    case Screen::Finished:
        composer_.composeStatic(picture.screen == Screen::Ready ? lottery::ScreenKind::Ready
                                                                : lottery::ScreenKind::Finished,
                                picture,
                                picture.screen == Screen::Ready && data_.options.showFingerprint);
        show();
        break;
    }
    holdBackground(false);
    rollingFramePending_ = false;
    update();
}

void DrawWindow::holdBackground(bool rolling) {
    if (rolling == !background_.isNull() || !parentWidget())
        return;
    background_ = QImage();
    if (rolling) {
        const qreal ratio = devicePixelRatioF();
        background_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        background_.setDevicePixelRatio(ratio);
        background_.fill(Qt::transparent);
        parentWidget()->render(&background_, QPoint(), QRegion(geometry()),
                               QWidget::DrawWindowBackground);
    }
    setAttribute(Qt::WA_OpaquePaintEvent, rolling);
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
    QPainter painter(this);
    const qreal ratio = background_.devicePixelRatio();
    for (const QRect& rect : event->region()) {
        if (!background_.isNull()) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(QRectF(rect), background_,
                              QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio));
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        painter.setOpacity(kOpacity / 255.0);
        painter.drawImage(rect.topLeft(), composer_.canvas(), rect);
        painter.setOpacity(1.0);
    }
    if (rollingFramePending_) {
        rollingFramePending_ = false;
        frameLog_.framePresented();
    }
}

} // namespace drawscreen
