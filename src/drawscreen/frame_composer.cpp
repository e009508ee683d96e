#include "drawscreen/frame_composer.h"

#include "drawscreen/commitment_painter.h"
#include "drawscreen/name_path.h"
#include "drawscreen/panel_painter.h"
#include "drawscreen/status_lines.h"
#include "lottery/winner_selection.h"

#include <QPainter>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace drawscreen {

FrameComposer::FrameComposer(QSize size, float displayScale, QString family)
    : displayScale_(displayScale), family_(std::move(family)) {
    setSize(size);
}

void FrameComposer::setSize(QSize size) {
    canvas_ = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    canvas_.fill(Qt::transparent);
    rolling_.canvasPainted(canvas_.rect());
    changed_ = QRegion(canvas_.rect());
}

void FrameComposer::setDisplayScale(float displayScale) {
    displayScale_ = displayScale;
    askedCount_ = -1;
}

void FrameComposer::setPictureFile(const QString& path) {
    pictureFile_ = path;
}

void FrameComposer::invalidateNames() {
    nameCache_.invalidate();
    estimate_.invalidate();
    ++namesRead_;
}

int FrameComposer::statusFontSize() const {
    return static_cast<int>(static_cast<double>(displayScale_) * 30.0);
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

// One size for a whole prize keeps the glyph sprites from being rendered again at every
// frame: it is fitted to the widest entry that may be drawn for the prize, once. Of the
// prize's entries only the widest by estimate are measured, so a million entries fit in a
// few milliseconds. A shown entry wider still (no candidate when the size was fitted) fits it
// again; one no wider by estimate than those measured is not measured at all.
void FrameComposer::fitNameFont(const lottery::LotteryData& data,
                                const lottery::DrawPicture& picture) {
    const lottery::DrawOptions& options = data.options;
    const lottery::ParticipantList& list = data.participants;
    const FitKey key{askedFor(shownCount(picture)), canvas_.width(), options.prizeIndex,
                     list.count(), namesRead_};
    if (family_.isEmpty()) {
        fitted_ = key.asked;
    } else if (!hasFit_ || !(key == fitKey_)) {
        hasFit_ = true;
        fitKey_ = key;
        widest_.clear();
        widestAdvance_ = 0;
        const auto& prizes = data.prizeTable.prizes;
        const auto prize = static_cast<std::size_t>(options.prizeIndex);
        const bool inTable = options.prizeIndex >= 0 && prize < prizes.size();
        std::vector<std::pair<float, int>> estimates;
        for (int i = 0; i < list.count(); ++i) {
            if (!inTable || lottery::isCandidateFor(list, i, prizes[prize]))
                estimates.emplace_back(estimate_.of(list, i, family_, NameCache::kReferenceSize),
                                       i);
        }
        const auto measured =
            estimates.begin() + std::min<std::ptrdiff_t>(kMeasuredExactly, estimates.size());
        std::partial_sort(estimates.begin(), measured, estimates.end(),
                          [](const auto& a, const auto& b) { return a.first > b.first; });
        for (auto it = estimates.begin(); it != measured; ++it)
            widens(list.displayText(it->second));
        measuredFrom_ = measured == estimates.end() ? 0 : std::prev(measured)->first;
        for (int i = 0; i < shownCount(picture); ++i)
            shownWidens(picture.selection[static_cast<std::size_t>(i)].display);
        fit();
    } else {
        bool wider = false;
        for (int i = 0; i < shownCount(picture); ++i)
            wider = shownWidens(picture.selection[static_cast<std::size_t>(i)].display) || wider;
        if (wider)
            fit();
    }
}

// A round draws at most kMaxWinnersPerRound whatever its prize asks, and its last round or a
// short list fewer: the names take the room of those really shown.
NameFontSize FrameComposer::askedFor(int count) {
    if (count != askedCount_) {
        askedCount_ = count;
        asked_ = NameFont::compute(std::max(count, 1), displayScale_, family_);
    }
    return asked_;
}

bool FrameComposer::shownWidens(std::string_view display) {
    return !display.empty() &&
           estimate_.ofText(display, family_, NameCache::kReferenceSize) > measuredFrom_ &&
           widens(display);
}

bool FrameComposer::widens(std::string_view display) {
    const qreal advance = nameCache_.referenceAdvance(display, family_);
    if (advance <= widestAdvance_)
        return false;
    widest_ = std::string(display);
    widestAdvance_ = advance;
    return true;
}

void FrameComposer::fit() {
    fitted_ = widest_.empty() ? fitKey_.asked
                              : NameFont::fitWidth(fitKey_.asked, {nameCache_.text(widest_)},
                                                   family_, canvas_.width());
}

void FrameComposer::composeRolling(const lottery::LotteryData& data,
                                   const lottery::DrawPicture& picture) {
    fitNameFont(data, picture);
    nameCache_.setFont(family_, fitted_.fontSize);
    nameCache_.trim();
    const int count = shownCount(picture);
    lines_.clear();
    for (int i = 0; i < count; ++i)
        lines_.push_back(
            &nameCache_.layout(picture.selection[static_cast<std::size_t>(i)].display));
    const int lineHeight = fitted_.lineHeight;
    rolling_.render(canvas_, lines_, NamePath::columnTop(canvas_.height(), lineHeight, count),
                    lineHeight);
    changed_ = rolling_.changedRegion();
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

void FrameComposer::composeStatic(const lottery::DrawPicture& picture, bool commitment) {
    canvas_.fill(Qt::transparent);
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QImage image = pictureFile_.isEmpty() ? QImage() : QImage(pictureFile_);
    const PanelGeometry panel = PanelPainter::geometry(canvas_.size(), displayScale_);
    PanelPainter::draw(painter, panel, picture.screen, family_, image);
    if (commitment)
        CommitmentPainter::draw(painter, panel, canvas_.height() - statusFontSize() * 3 / 2,
                                picture, statusFontSize(), family_);
    StatusLines::draw(painter, statusOf(picture), canvas_.size(), statusFontSize(), family_);
    painter.end();
    repainted();
}

void FrameComposer::paintNames(const lottery::LotteryData& data,
                               const lottery::DrawPicture& picture, bool antialiased) {
    fitNameFont(data, picture);
    const int count = shownCount(picture);
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.append(nameCache_.text(picture.selection[static_cast<std::size_t>(i)].display));
    const QPainterPath path =
        NamePath::build(names, family_, fitted_.fontSize, fitted_.lineHeight, canvas_.height());
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform, antialiased);
    NamePath::paint(painter, path);
}

void FrameComposer::repainted() {
    rolling_.canvasPainted(canvas_.rect());
    changed_ = QRegion(canvas_.rect());
}

} // namespace drawscreen
