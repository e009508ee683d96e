#include "drawscreen/status_lines.h"

#include "core/gbk_codec.h"
#include "drawscreen/text_outline.h"
#include "lottery/drawable_prize.h"

#include <algorithm>
#include <cmath>

namespace drawscreen {

namespace {

constexpr QRgb kYellow = 0xFFFFFF00;
constexpr int kPasses = 5;

QString step(const char* prefix, const lottery::PrizeRecord& prize, int round) {
    // One arg() call substitutes all markers at once, so a title holding "%1" stays as typed.
    return QString::fromUtf8(prefix)
        .append(QStringLiteral("%1，第%2轮/共%3轮"))
        .arg(core::GbkCodec::fromGbk(prize.title), QString::number(round),
             QString::number(prize.rounds));
}

QString nextStep(const lottery::PrizeRecord& prize, int round) {
    return step("下一步：", prize, round);
}

QString currentStep(const lottery::PrizeRecord& prize, int round) {
    return step("当前：", prize, round);
}

} // namespace

StatusTexts StatusLines::texts(const lottery::PrizeTable& table,
                               const lottery::DrawOptions& options) {
    if (options.state() == lottery::DrawState::Ready) {
        const int first = lottery::nextDrawablePrize(table, 0);
        if (first < 0)
            return {};
        return {QString(), nextStep(table.prizes[first], 1)};
    }
    const int index = options.prizeIndex;
    if (index < 0 || index >= table.count())
        return {};
    const lottery::PrizeRecord& prize = table.prizes[index];
    const int round = options.roundIndex;
    if (round + 1 < prize.rounds)
        return {currentStep(prize, round + 1), nextStep(prize, round + 2)};
    const int next = lottery::nextDrawablePrize(table, index + 1);
    if (next < 0)
        return {currentStep(prize, prize.rounds), QStringLiteral("抽奖结束！")};
    return {currentStep(prize, round + 1), nextStep(table.prizes[next], 1)};
}

void StatusLines::draw(QPainter& painter, const StatusTexts& texts, QSize canvas, int fontSize,
                       const QString& family) {
    const QSize right = TextOutline::measureText(family, fontSize, texts.right);
    int y = canvas.height() - right.height();
    // Faces with a tall ascent push the glyphs' feet past the bottom edge; lift the lines
    // just enough to keep them, outline included, on the canvas.
    const qreal outlineHalfWidth = (kPasses - 1) / 2.0 + 0.5; // half a pixel of smoothing
    qreal bottom = 0;
    for (const QString& text : {texts.left, texts.right})
        bottom = std::max(
            bottom,
            TextOutline::outline(family, fontSize, text, QPointF(0, y)).boundingRect().bottom());
    y -= std::max(0, static_cast<int>(std::ceil(bottom + outlineHalfWidth - canvas.height())));
    TextOutline::drawOutlinedText(painter, 0, y, 0, texts.left, family, kYellow, fontSize, kPasses);
    const int x = static_cast<int>(canvas.width() - right.width() * static_cast<double>(1.01f));
    TextOutline::drawOutlinedText(painter, x, y, 0, texts.right, family, kYellow, fontSize,
                                  kPasses);
}

} // namespace drawscreen
