#include "drawscreen/stage_composer.h"

#include "core/gbk_codec.h"
#include "core/path_conversion.h"
#include "drawscreen/commitment_painter.h"
#include "drawscreen/panel_painter.h"
#include "drawscreen/reveal_timeline.h"
#include "drawscreen/shown_texts.h"
#include "drawscreen/status_lines.h"
#include "lottery/prize_file.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace drawscreen {

namespace {

const lottery::PrizeRecord* prizeAt(const lottery::LotteryData& data, int index) {
    return index >= 0 && index < data.prizeTable.count()
               ? &data.prizeTable.prizes[static_cast<std::size_t>(index)]
               : nullptr;
}

StageHeaderText headerOf(const lottery::PrizeRecord& prize, const lottery::DrawPicture& picture,
                         int shown) {
    if (picture.screen == lottery::DrawPicture::Screen::Ready) // the prize is next
        return {core::GbkCodec::fromGbk(prize.title),
                QStringLiteral("共 %1 名　　分 %2 轮").arg(prize.total).arg(prize.rounds)};
    return {core::GbkCodec::fromGbk(prize.title),
            QStringLiteral("第 %1 轮 / 共 %2 轮　　本轮 %3 名　　剩余 %4 名")
                .arg(picture.roundIndex + 1)
                .arg(std::max(picture.roundsInAll, picture.roundIndex + 1))
                .arg(shown)
                .arg(picture.positionsLeft)};
}

// Fewer entries than this are all estimated when sizing a prize's grid; more are sampled.
constexpr int kWidthSample = 20000;
// The grid is sized for all but the widest few in a hundred, which shrink in their cells.
constexpr double kNominalShare = 0.95;
constexpr double kPi = 3.14159265358979323846;

} // namespace

StageComposer::StageComposer(QString family, std::filesystem::path appFolder)
    : family_(std::move(family)), appFolder_(std::move(appFolder)) {
    names_.setFont(family_, theme_.weight);
    rolling_.setColours(theme_.nameFill, theme_.nameStroke, kCanvasOpacity);
    winners_.setColours(theme_.winnerFill, theme_.nameStroke);
}

void StageComposer::setSize(QSize size) {
    revealShownMs_ = -1;
    canvas_ = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    canvas_.fill(Qt::transparent);
    QImage black(canvas_.size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    setBackdrop(black);
    changed_ = QRegion(canvas_.rect());
    grid_ = {};
    headerKey_.clear();
}

void StageComposer::setBackdrop(const QImage& backdrop) {
    backdrop_ = backdrop.size() == canvas_.size()
                    ? backdrop.convertToFormat(QImage::Format_RGB32)
                    : backdrop.scaled(canvas_.size()).convertToFormat(QImage::Format_RGB32);
    rollingShown_ = false;
    revealShownMs_ = -1;
    revealTexts_.clear();
    shotTaken_ = false;
}

namespace {

// Copies rect of from into into, both 32 bits a pixel, with from's (0, 0) at at of into.
void copyRect(const QImage& from, QImage& into, const QRect& rect, QPoint at = QPoint(0, 0)) {
    const QRect part = rect & from.rect() & into.rect().translated(-at);
    for (int y = part.top(); y <= part.bottom(); ++y)
        std::memcpy(into.scanLine(y + at.y()) + (part.left() + at.x()) * 4,
                    from.constScanLine(y) + part.left() * 4,
                    static_cast<std::size_t>(part.width()) * 4);
}

// Keeps the image's memory from frame to frame: a 4K one is 33 MB.
void makeOpaque(QImage& image, QSize size) {
    if (image.size() != size)
        image = QImage(size, QImage::Format_RGB32);
}

} // namespace

void StageComposer::layOverBackdrop(QImage& into, const QRegion& painted) const {
    makeOpaque(into, canvas_.size());
    copyRect(backdrop_, into, into.rect());
    QPainter painter(&into);
    painter.setClipRegion(painted);
    painter.setOpacity(kCanvasOpacity / 255.0);
    painter.drawImage(0, 0, canvas_);
}

// Where a settled screen's canvas holds anything: the header, the cells, the names in them and
// the status lines below the grid.
QRegion StageComposer::settledArea() const {
    const QRect area = namesArea(canvas_.size());
    QRegion painted = QRegion(headerBand(canvas_.size())) +
                      QRect(0, area.bottom() + 1, canvas_.width(), canvas_.height());
    for (const QRect& cell : grid_.cells)
        painted += cell;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        painted += lines_[i]->bounds.translated(origins_[i]);
    return painted;
}

void StageComposer::invalidateNames() {
    names_.clear();
    estimate_.invalidate();
    ++namesRead_;
    revealTexts_.clear();
}

QRect StageComposer::headerBand(QSize screen) {
    return {0, 0, screen.width(), screen.height() * 17 / 100};
}

QRect StageComposer::namesArea(QSize screen) {
    const int side = screen.width() * 4 / 100;
    const int top = screen.height() * 20 / 100;
    return {side, top, screen.width() - 2 * side, screen.height() * 92 / 100 - top};
}

int StageComposer::statusFontSize() const {
    return std::max(12, canvas_.height() * 26 / 1000);
}

void StageComposer::takeTheme(const lottery::LotteryData& data) {
    const lottery::StageTheme preset = data.options.stage.theme;
    if (preset == preset_)
        return;
    preset_ = preset;
    theme_ = StageTheme::of(preset);
    names_.setFont(family_, theme_.weight);
    nominalPrize_ = -2; // the names' widths follow the weight
    rolling_.setColours(theme_.nameFill, theme_.nameStroke, kCanvasOpacity);
    winners_.setColours(theme_.winnerFill, theme_.nameStroke);
    headerKey_.clear();
    revealTexts_.clear();
    rollingShown_ = false;
    revealShownMs_ = -1;
}

double StageComposer::nominalEm(const lottery::LotteryData& data, int prizeIndex) {
    const lottery::ParticipantList& list = data.participants;
    if (prizeIndex == nominalPrize_ && list.count() == nominalEntries_ &&
        namesRead_ == nominalRead_)
        return nominalEm_;
    nominalPrize_ = prizeIndex;
    nominalEntries_ = list.count();
    nominalRead_ = namesRead_;
    const bool ownPool = data.pool.prizeIndex == prizeIndex && !data.pool.candidates.empty();
    const int total = ownPool ? static_cast<int>(data.pool.candidates.size()) : list.count();
    const int stride = std::max(1, total / kWidthSample);
    std::vector<float> widths;
    for (int i = 0; i < total; i += stride) {
        const int entry = ownPool ? data.pool.candidates[static_cast<std::size_t>(i)] : i;
        widths.push_back(
            estimate_.of(list, entry, family_, StageNameCache::kReferenceSize, theme_.weight));
    }
    nominalEm_ = 3;
    if (!widths.empty()) {
        const auto at =
            widths.begin() + static_cast<std::ptrdiff_t>((widths.size() - 1) * kNominalShare);
        std::nth_element(widths.begin(), at, widths.end());
        nominalEm_ = std::max(2.0, StageNameCache::widthEmOf(*at));
    }
    return nominalEm_;
}

void StageComposer::layOut(const lottery::LotteryData& data, const lottery::DrawPicture& picture,
                           const std::vector<std::string>& texts) {
    const int count = std::max<int>(1, static_cast<int>(texts.size()));
    const QRect area = namesArea(canvas_.size());
    const double nominal = nominalEm(data, picture.prizeIndex);
    if (grid_.cells.size() != static_cast<std::size_t>(count) || grid_.nominalEm != nominal ||
        grid_.area != area) {
        grid_ = GridLayoutMaker::make(area, count, nominal);
    }
    cellSizes_.clear();
    for (const std::string& text : texts)
        cellSizes_.push_back(GridLayoutMaker::fontSizeFor(grid_, names_.widthEm(text)));
}

void StageComposer::composeRolling(const lottery::LotteryData& data,
                                   const lottery::DrawPicture& picture) {
    revealShownMs_ = -1;
    revealTexts_.clear();
    takeTheme(data);
    names_.trim();
    const std::vector<std::string> texts = shownTexts(picture);
    layOut(data, picture, texts);
    const bool first = !rollingShown_;
    if (first) {
        canvas_.fill(Qt::transparent);
        QPainter painter(&canvas_);
        paintHeader(painter, data, picture);
        painter.end();
        layOverBackdrop(under_, headerBand(canvas_.size()));
        // Written now, the frames' pages are not first touched in the stop's frame.
        makeOpaque(frame_, canvas_.size());
        copyRect(under_, frame_, frame_.rect());
        if (shot_.size() != canvas_.size()) {
            makeOpaque(shot_, canvas_.size());
            shot_.fill(Qt::black);
        }
        frameBehind_ = QRegion();
        rolling_.canvasCleared(canvas_.size());
        rollingShown_ = true;
    }
    placeNames(texts);
    rolling_.place(canvas_.size(), lines_, origins_);
    changed_ = first ? QRegion(canvas_.rect()) : rolling_.changedRegion();
    frameBehind_ += rolling_.changedRegion();
    // A roll nobody looks at the frame of would make the region ever more rects.
    if (frameBehind_.rectCount() > kMostRectsBehind)
        frameBehind_ = frameBehind_.boundingRect();
}

void StageComposer::paintFrame(QImage& target, QPoint at, const QRegion& region) const {
    if (rollingShown_) {
        rolling_.write(target, at, region, &under_);
        return;
    }
    for (const QRect& rect : region)
        copyRect(frame(), target, rect, at);
}

QImage StageComposer::sampledFrame(int step) const {
    const QSize size = canvas_.size();
    QImage sampled((size.width() + step - 1) / step, (size.height() + step - 1) / step,
                   QImage::Format_RGB32);
    if (rollingShown_) {
        rolling_.writeSampled(sampled, step, under_);
        return sampled;
    }
    const QImage& whole = frame();
    for (int y = 0; y < sampled.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(sampled.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(whole.constScanLine(y * step));
        for (int x = 0; x < sampled.width(); ++x)
            out[x] = in[x * step];
    }
    return sampled;
}

const QImage& StageComposer::frame() const {
    if (!frameBehind_.isEmpty()) {
        rolling_.write(frame_, QPoint(0, 0), frameBehind_, &under_);
        frameBehind_ = QRegion();
    }
    return frame_;
}

// At the stop the settled screen is composed once; each frame after it copies, into what it
// changed, the settled screen, the cells still turning over and the confetti.
void StageComposer::composeResult(const lottery::LotteryData& data,
                                  const lottery::DrawPicture& picture, int elapsedMs) {
    takeTheme(data);
    const std::vector<std::string> texts = shownTexts(picture);
    layOut(data, picture, texts);
    const std::string key = revealKeyOf(picture);
    if (texts != revealTexts_) {
        revealTexts_ = texts;
        takeShot();
        revealKey_.clear();
    }
    if (!frameBehind_.isEmpty())
        revealShownMs_ = -1; // the frame is written whole, not caught up first
    if (key != revealKey_) {
        revealKey_ = key;
        paintSettled(data, picture, texts);
        layOverBackdrop(under_, settledArea());
        makeOpaque(frame_, canvas_.size());
        revealShownMs_ = -1;
    }
    const bool keyPrize =
        lottery::isKeyPrize(data.options.stage, data.prizeTable, picture.prizeIndex);
    std::vector<ConfettiPiece> confetti = confettiAt(keyPrize, elapsedMs);
    changed_ = revealChange(elapsedMs, confetti);
    for (const QRect& rect : changed_)
        paintReveal(rect, elapsedMs, confetti);
    frameBehind_ = QRegion();
    confettiShown_ = std::move(confetti);
    rollingShown_ = false;
    revealShownMs_ = elapsedMs;
}

std::string StageComposer::revealKeyOf(const lottery::DrawPicture& picture) {
    return std::to_string(picture.prizeIndex) + '/' + std::to_string(picture.roundIndex) + '/' +
           std::to_string(picture.positionsLeft) + '\n' + picture.status.current + '\n' +
           picture.status.next;
}

std::vector<ConfettiPiece> StageComposer::confettiAt(bool key, int elapsedMs) const {
    if (!key || elapsedMs < 0)
        return {};
    return Confetti::at(namesArea(canvas_.size()), canvas_.rect(), elapsedMs,
                        {theme_.accent, theme_.winnerFill, 0xFFFFFFFF, 0xFFFF4D4D, 0xFF4DD2FF});
}

// Between two frames of one reveal only the cells still turning and the confetti change;
// anything else starts the reveal's screen afresh.
QRegion StageComposer::revealChange(int elapsedMs, const std::vector<ConfettiPiece>& confetti) {
    const int before = revealShownMs_;
    if (before < 0 || elapsedMs < before)
        return QRegion(canvas_.rect());
    QRegion changed;
    const int count = static_cast<int>(revealTexts_.size());
    for (int i = 0; i < count; ++i)
        if (RevealTimeline::settled(i, count, before) !=
            RevealTimeline::settled(i, count, elapsedMs))
            changed += grid_.cells[static_cast<std::size_t>(i)];
    for (const ConfettiPiece& piece : confettiShown_)
        changed += piece.rect;
    for (const ConfettiPiece& piece : confetti)
        changed += piece.rect;
    return changed;
}

void StageComposer::paintReveal(const QRect& rect, int elapsedMs,
                                const std::vector<ConfettiPiece>& confetti) {
    // Inline, as a frame tests each of its rects against every cell and piece.
    const auto overlap = [](const QRect& a, const QRect& b) {
        return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
               b.top() <= a.bottom();
    };
    const int count = static_cast<int>(revealTexts_.size());
    std::vector<std::pair<const QRect*, double>> turning;
    bool withinOne = false; // a turning cell writes all of the rect
    for (int i = 0; i < count; ++i) {
        const QRect& cell = grid_.cells[static_cast<std::size_t>(i)];
        const double p = RevealTimeline::settled(i, count, elapsedMs);
        if (p < 1 && overlap(cell, rect)) {
            turning.emplace_back(&cell, p);
            withinOne = withinOne || (cell.left() <= rect.left() && cell.right() >= rect.right() &&
                                      cell.top() <= rect.top() && cell.bottom() >= rect.bottom());
        }
    }
    if (!withinOne)
        copyRect(under_, frame_, rect);
    for (const auto& [cell, p] : turning)
        flipCell(*cell, p, rect);
    for (const ConfettiPiece& piece : confetti) {
        if (!overlap(piece.rect, rect))
            continue;
        const QRect part = piece.rect & rect;
        for (int y = part.top(); y <= part.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(frame_.scanLine(y));
            std::fill(row + part.left(), row + part.right() + 1, piece.colour);
        }
    }
}

// A cell turns over like a card: the rolling name folds away about its middle row, and the
// settled one unfolds; beyond the card the backdrop shows.
void StageComposer::flipCell(const QRect& cell, double settled, const QRect& clip) {
    const QRect part = cell & clip;
    const QImage& face = settled < 0.5 ? shot_ : under_;
    const bool faceShown = settled >= 0.5 || shotTaken_;
    const int height = cell.height();
    const auto band = static_cast<int>(std::lround(height * std::abs(std::cos(kPi * settled))));
    const int bandTop = cell.top() + (height - band) / 2;
    const auto bytes = static_cast<std::size_t>(part.width()) * 4;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const bool onCard = faceShown && y >= bandTop && y < bandTop + band;
        const uchar* from = onCard ? face.constScanLine(cell.top() + (y - bandTop) * height / band)
                                   : backdrop_.constScanLine(y);
        std::memcpy(frame_.scanLine(y) + part.left() * 4, from + part.left() * 4, bytes);
    }
}

// The rolling names the cells turn over from; none when no roll came before.
void StageComposer::takeShot() {
    shotTaken_ = rollingShown_;
    if (!shotTaken_)
        return;
    makeOpaque(shot_, canvas_.size());
    QRegion cells;
    for (const QRect& cell : grid_.cells) {
        copyRect(under_, shot_, cell);
        cells += cell;
    }
    rolling_.write(shot_, QPoint(0, 0), cells & rolling_.linesRegion(), &under_);
}

// Names come from the glyph sprites of the roll, in the revealed colours, over a panel each:
// the stop costs about what a rolling frame does.
void StageComposer::paintSettled(const lottery::LotteryData& data,
                                 const lottery::DrawPicture& picture,
                                 const std::vector<std::string>& texts) {
    canvas_.fill(Qt::transparent);
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    paintHeader(painter, data, picture);
    const double inset =
        grid_.cells.empty()
            ? 0
            : std::min(grid_.cells.front().width(), grid_.cells.front().height()) * 0.06;
    painter.setPen(QPen(QColor::fromRgba(theme_.cellBorder), std::max(2.0, grid_.fontSize / 18.0)));
    painter.setBrush(QColor::fromRgba(theme_.cellPanel));
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (!texts[i].empty())
            painter.drawRoundedRect(QRectF(grid_.cells[i]).adjusted(inset, inset, -inset, -inset),
                                    inset, inset);
    paintStatus(painter, picture);
    painter.end();
    // Over the panels, the canvas being its own underlay.
    winners_.canvasCleared(canvas_.size());
    placeNames(texts);
    winners_.render(canvas_, lines_, origins_, &canvas_);
}

void StageComposer::placeNames(const std::vector<std::string>& texts) {
    lines_.clear();
    origins_.clear();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const NameLayout& line = names_.layout(texts[i], cellSizes_[i]);
        lines_.push_back(&line);
        origins_.push_back(grid_.cells[i].center() - line.bounds.center());
    }
}

void StageComposer::paintStatus(QPainter& painter, const lottery::DrawPicture& picture) {
    const int margin = canvas_.width() * 2 / 100;
    painter.save();
    painter.translate(margin, 0);
    StatusLines::draw(painter,
                      {QString::fromStdString(picture.status.current),
                       QString::fromStdString(picture.status.next)},
                      QSize(canvas_.width() - 2 * margin, canvas_.height() - margin / 2),
                      statusFontSize(), family_);
    painter.restore();
}

QImage StageComposer::prizePicture(const lottery::LotteryData& data, int prizeIndex) const {
    const lottery::PrizeRecord* prize = prizeAt(data, prizeIndex);
    if (!prize || prize->image.empty())
        return {};
    const std::filesystem::path name = core::toFsPath(core::GbkCodec::fromGbk(prize->image));
    for (const std::filesystem::path& file : {name, appFolder_ / "img" / name, appFolder_ / name}) {
        if (!file.is_absolute() && file == name)
            continue;
        const QImage image(core::toQString(file));
        if (!image.isNull())
            return image;
    }
    return {};
}

void StageComposer::paintHeader(QPainter& painter, const lottery::LotteryData& data,
                                const lottery::DrawPicture& picture) {
    const lottery::PrizeRecord* prize = prizeAt(data, picture.prizeIndex);
    if (!prize)
        return;
    const StageHeaderText text =
        headerOf(*prize, picture, static_cast<int>(shownTexts(picture).size()));
    const QString key = text.title + QLatin1Char('\n') + text.detail + QLatin1Char('\n') +
                        core::GbkCodec::fromGbk(prize->image);
    paintHeaderOf(painter, text,
                  key == headerKey_ ? QImage() : prizePicture(data, picture.prizeIndex), key);
}

void StageComposer::paintHeaderOf(QPainter& painter, const StageHeaderText& text,
                                  const QImage& picture, const QString& key) {
    const QRect band = headerBand(canvas_.size());
    if (key != headerKey_) {
        header_ = QImage(band.size(), QImage::Format_ARGB32_Premultiplied);
        header_.fill(Qt::transparent);
        QPainter into(&header_);
        StageHeader::paint(into, header_.rect(), theme_, family_, text, picture);
        headerKey_ = key;
    }
    painter.drawImage(band.topLeft(), header_);
}

void StageComposer::composeStatic(const lottery::LotteryData& data,
                                  const lottery::DrawPicture& picture, bool commitment) {
    revealShownMs_ = -1;
    takeTheme(data);
    canvas_.fill(Qt::transparent);
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const bool ready = picture.screen == lottery::DrawPicture::Screen::Ready;
    if (ready)
        paintHeader(painter, data, picture);
    const QRect area = namesArea(canvas_.size());
    if (!family_.isEmpty()) {
        QFont font(family_);
        font.setPixelSize(canvas_.height() * 13 / 100);
        font.setWeight(theme_.weight);
        const QString title = PanelPainter::title(picture.screen);
        QPainterPath path;
        path.addText(0, 0, font, title);
        const QPointF centre(area.center().x(),
                             area.top() + area.height() * (commitment ? 0.22 : 0.4));
        path.translate(centre - path.boundingRect().center());
        painter.strokePath(path, QPen(QColor::fromRgba(theme_.nameStroke), font.pixelSize() / 10.0,
                                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, QColor::fromRgba(theme_.winnerFill));
        if (commitment) {
            PanelGeometry below;
            below.P = std::max(12, canvas_.height() / 90);
            below.xLeft = area.left() + area.width() / 4;
            below.yBottom = static_cast<int>(path.boundingRect().bottom());
            CommitmentPainter::draw(painter, below, area.bottom(), picture, statusFontSize(),
                                    family_);
        }
    }
    paintStatus(painter, picture);
    rollingShown_ = false;
    changed_ = QRegion(canvas_.rect());
}

} // namespace drawscreen
