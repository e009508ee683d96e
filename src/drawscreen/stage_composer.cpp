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
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <random>
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

} // namespace

StageComposer::StageComposer(QString family, std::filesystem::path appFolder)
    : family_(std::move(family)), appFolder_(std::move(appFolder)) {
    names_.setFont(family_, theme_.weight);
    rolling_.setColours(theme_.nameFill, theme_.nameStroke);
    winners_.setColours(theme_.winnerFill, theme_.nameStroke);
}

void StageComposer::setSize(QSize size) {
    canvas_ = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    canvas_.fill(Qt::transparent);
    changed_ = QRegion(canvas_.rect());
    rollingShown_ = false;
    grid_ = {};
    headerKey_.clear();
    revealTexts_.clear();
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
    rolling_.setColours(theme_.nameFill, theme_.nameStroke);
    winners_.setColours(theme_.winnerFill, theme_.nameStroke);
    headerKey_.clear();
    revealTexts_.clear();
    rollingShown_ = false;
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
        widths.push_back(estimate_.of(list, entry, family_, StageNameCache::kReferenceSize));
    }
    nominalEm_ = 3;
    if (!widths.empty()) {
        const auto at =
            widths.begin() + static_cast<std::ptrdiff_t>((widths.size() - 1) * kNominalShare);
        std::nth_element(widths.begin(), at, widths.end());
        nominalEm_ = std::max(2.0, double(*at) / StageNameCache::kReferenceSize);
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
    takeTheme(data);
    names_.trim();
    const std::vector<std::string> texts = shownTexts(picture);
    layOut(data, picture, texts);
    const bool first = !rollingShown_;
    if (first) {
        canvas_.fill(Qt::transparent);
        QPainter painter(&canvas_);
        paintHeader(painter, data, picture);
        rolling_.canvasCleared(canvas_.size());
        rollingShown_ = true;
    }
    placeNames(texts);
    rolling_.render(canvas_, lines_, origins_);
    changed_ = first ? QRegion(canvas_.rect()) : rolling_.changedRegion();
}

void StageComposer::composeResult(const lottery::LotteryData& data,
                                  const lottery::DrawPicture& picture, int elapsedMs) {
    takeTheme(data);
    const std::vector<std::string> texts = shownTexts(picture);
    layOut(data, picture, texts);
    if (texts != revealTexts_)
        prepareReveal(texts);
    canvas_.fill(Qt::transparent);
    QPainter painter(&canvas_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const bool key = lottery::isKeyPrize(data.options.stage, data.prizeTable, picture.prizeIndex);
    if (key && elapsedMs < RevealTimeline::kBurstMs)
        paintBurst(painter, elapsedMs);
    paintHeader(painter, data, picture);
    const int count = static_cast<int>(texts.size());
    for (int i = 0; i < count; ++i) {
        const QRect cell = grid_.cells[static_cast<std::size_t>(i)];
        const double p = RevealTimeline::settled(i, count, elapsedMs);
        if (p < 1 && !lastRolling_.isNull()) {
            painter.setOpacity(1 - p);
            painter.drawImage(cell, lastRolling_, cell);
        }
        if (p > 0 && !texts[static_cast<std::size_t>(i)].empty()) {
            // Lands from a little larger, as if placed on the stage.
            const double scale = 1 + 0.35 * (1 - p) * (1 - p);
            const QSizeF size = QSizeF(cell.size()) * scale;
            const QRectF target(QPointF(cell.center()) - QPointF(size.width(), size.height()) / 2,
                                size);
            painter.setOpacity(p);
            painter.drawImage(target, cellPanel_);
            painter.drawImage(target, revealedNames_, cell);
        }
    }
    painter.setOpacity(1);
    paintStatus(painter, picture);
    rollingShown_ = false;
    changed_ = QRegion(canvas_.rect());
}

// Names come from the glyph sprites of the roll, as they rolled: the stop costs about what a
// rolling frame does, and each cell needs no image of its own.
void StageComposer::prepareReveal(const std::vector<std::string>& texts) {
    revealTexts_ = texts;
    lastRolling_ = rollingShown_ ? canvas_.copy() : QImage();
    if (revealedNames_.size() != canvas_.size())
        revealedNames_ = QImage(canvas_.size(), QImage::Format_ARGB32_Premultiplied);
    revealedNames_.fill(Qt::transparent);
    winners_.canvasCleared(revealedNames_.size());
    placeNames(texts);
    winners_.render(revealedNames_, lines_, origins_);
    const QSize cell = grid_.cells.empty() ? QSize() : grid_.cells.front().size();
    cellPanel_ = QImage(cell, QImage::Format_ARGB32_Premultiplied);
    cellPanel_.fill(Qt::transparent);
    if (cell.isEmpty())
        return;
    QPainter painter(&cellPanel_);
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = std::min(cell.width(), cell.height()) * 0.06;
    const QRectF panel = QRectF(cellPanel_.rect()).adjusted(inset, inset, -inset, -inset);
    painter.setPen(QPen(QColor::fromRgba(theme_.cellBorder), std::max(2.0, grid_.fontSize / 18.0)));
    painter.setBrush(QColor::fromRgba(theme_.cellPanel));
    painter.drawRoundedRect(panel, inset, inset);
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

// Light from the middle of the grid, and confetti thrown up from both lower corners.
void StageComposer::paintBurst(QPainter& painter, int elapsedMs) const {
    const QRectF area = namesArea(canvas_.size());
    const double t = elapsedMs / 1000.0;
    const double life = RevealTimeline::kBurstMs / 1000.0;
    const double fade = std::clamp((life - t) / (life * 0.4), 0.0, 1.0);
    QColor light = QColor::fromRgba(theme_.accent);
    light.setAlphaF(0.55 * fade * std::min(1.0, t / 0.25));
    const double radius = area.width() * (0.25 + 0.3 * std::min(1.0, t));
    QRadialGradient glow(area.center(), radius);
    glow.setColorAt(0, light);
    glow.setColorAt(1, Qt::transparent);
    // Beyond its radius the light is transparent: only the square around it is filled.
    const QRectF lit(area.center() - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    painter.fillRect(lit.toAlignedRect() & canvas_.rect(), glow);

    const double h = canvas_.height();
    const QRgb colours[] = {theme_.accent, theme_.winnerFill, 0xFFFFFFFF, 0xFFFF4D4D, 0xFF4DD2FF};
    std::mt19937 random(2026); // the same burst every time
    std::uniform_real_distribution<> unit(0, 1);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 160; ++i) {
        const bool left = i % 2 == 0;
        const double delay = unit(random) * 0.35;
        const double vx = (0.15 + 0.55 * unit(random)) * canvas_.width() * (left ? 1 : -1);
        const double vy = -(0.9 + 0.7 * unit(random)) * h;
        const double spin = (unit(random) - 0.5) * 14;
        const double side = (0.006 + 0.008 * unit(random)) * h;
        const QRgb colour = colours[i % 5];
        const double s = t - delay;
        if (s <= 0)
            continue;
        const QPointF at(left ? area.left() : area.right(), area.bottom());
        const QPointF p = at + QPointF(vx * s * 0.8, vy * s + 0.85 * h * s * s);
        const double angle = spin * s;
        const QPointF a(std::cos(angle) * side, std::sin(angle) * side);
        const QPointF b(-a.y() * 0.5, a.x() * 0.5);
        QColor c = QColor::fromRgba(colour);
        c.setAlphaF(fade);
        painter.setBrush(c);
        painter.drawPolygon(QPolygonF({p - a - b, p + a - b, p + a + b, p - a + b}));
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
