#include "drawscreen/frame_composer.h"

#include "drawscreen/name_path.h"
#include "drawscreen/panel_painter.h"
#include "drawscreen/status_lines.h"

#include <QPainter>

#include <algorithm>

namespace drawscreen {

FrameComposer::FrameComposer(QSize size, float displayScale, QString family)
    : displayScale_(displayScale), family_(std::move(family)) {
    setSize(size);
}

void FrameComposer::setSize(QSize size) {
    canvas_ = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    canvas_.fill(Qt::transparent);
    rolling_.canvasPainted(canvas_.rect());
    changed_ = canvas_.rect();
}

void FrameComposer::setDisplayScale(float displayScale) {
    displayScale_ = displayScale;
}

void FrameComposer::setPictureFile(const QString& path) {
    pictureFile_ = path;
}

void FrameComposer::invalidateNames() {
    nameCache_.invalidate();
}

int FrameComposer::statusFontSize() const {
    return static_cast<int>(static_cast<double>(displayScale_) * 30.0);
}

void FrameComposer::useNameFont(const lottery::DrawOptions& options) {
    nameCache_.setFont(family_, options.fontSize);
}

namespace {

int shownCount(const lottery::DrawPicture& picture) {
    return std::min(static_cast<int>(picture.selection.size()), lottery::kMaxWinnersPerRound);
}

StatusTexts statusOf(const lottery::DrawPicture& picture) {
    return {QString::fromStdString(picture.status.current),
            QString::fromStdString(picture.status.next)};
}

} // namespace

void FrameComposer::composeRolling(const lottery::LotteryData& data,
                                   const lottery::DrawPicture& picture) {
    useNameFont(data.options);
    nameCache_.trim();
    const int count = shownCount(picture);
    lines_.clear();
    for (int i = 0; i < count; ++i)
        lines_.push_back(
            &nameCache_.layout(data.participants, picture.selection[static_cast<std::size_t>(i)]));
    const int lineHeight = data.options.lineHeight;
    rolling_.render(canvas_, lines_, NamePath::columnTop(canvas_.height(), lineHeight, count),
                    lineHeight);
    changed_ = rolling_.changedRect();
}

void FrameComposer::composeRollingAsPath(const lottery::LotteryData& data,
                                         const lottery::DrawPicture& picture) {
    canvas_.fill(Qt::transparent);
    paintNames(data, picture, false);
    repainted();
}

void FrameComposer::composeResult(const lottery::LotteryData& data,
                                  const lottery::DrawPicture& picture) {
    canvas_.fill(Qt::transparent);
    paintNames(data, picture, true);
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    StatusLines::draw(painter, statusOf(picture), canvas_.size(), statusFontSize(), family_);
    painter.end();
    repainted();
}

void FrameComposer::composeStatic(ScreenKind kind, const lottery::DrawPicture& picture) {
    canvas_.fill(Qt::transparent);
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QImage image = pictureFile_.isEmpty() ? QImage() : QImage(pictureFile_);
    PanelPainter::draw(painter, PanelPainter::geometry(canvas_.size(), displayScale_), kind,
                       family_, image);
    StatusLines::draw(painter, statusOf(picture), canvas_.size(), statusFontSize(), family_);
    painter.end();
    repainted();
}

void FrameComposer::paintNames(const lottery::LotteryData& data,
                               const lottery::DrawPicture& picture, bool antialiased) {
    const int count = shownCount(picture);
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.append(
            nameCache_.text(data.participants, picture.selection[static_cast<std::size_t>(i)]));
    const QPainterPath path = NamePath::build(names, family_, data.options.fontSize,
                                              data.options.lineHeight, canvas_.height());
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform, antialiased);
    NamePath::paint(painter, path);
}

void FrameComposer::repainted() {
    rolling_.canvasPainted(canvas_.rect());
    changed_ = canvas_.rect();
}

} // namespace drawscreen
