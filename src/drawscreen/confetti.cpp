#include "drawscreen/confetti.h"

#include "drawscreen/reveal_timeline.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace drawscreen {

std::vector<ConfettiPiece> Confetti::at(const QRect& area, const QRect& canvas, int elapsedMs,
                                        const std::vector<QRgb>& colours) {
    std::vector<ConfettiPiece> pieces;
    if (colours.empty() || elapsedMs >= RevealTimeline::kBurstMs)
        return pieces;
    const double t = elapsedMs / 1000.0;
    const double life = RevealTimeline::kBurstMs / 1000.0;
    // Pieces shrink away over the last part of the burst rather than fade: each stays opaque.
    const double fade = std::clamp((life - t) / (life * 0.4), 0.0, 1.0);
    const double h = canvas.height();
    std::mt19937 random(2026);
    std::uniform_real_distribution<> unit(0, 1);
    for (int i = 0; i < kPieces; ++i) {
        const bool left = i % 2 == 0;
        const double delay = unit(random) * 0.35;
        const double vx = (0.15 + 0.55 * unit(random)) * canvas.width() * (left ? 1 : -1);
        const double vy = -(0.9 + 0.7 * unit(random)) * h;
        const double spin = (unit(random) - 0.5) * 14;
        const double side = (0.006 + 0.008 * unit(random)) * h * fade;
        const double s = t - delay;
        if (s <= 0 || side < 1)
            continue;
        const QPointF from(left ? area.left() : area.right(), area.bottom());
        const QPointF centre = from + QPointF(vx * s * 0.8, vy * s + 0.85 * h * s * s);
        const double width = std::max(1.0, side * std::abs(std::cos(spin * s)));
        const QRectF piece(centre - QPointF(width, side * 0.6) / 2, QSizeF(width, side * 0.6));
        const QRect rect = piece.toAlignedRect() & canvas;
        if (!rect.isEmpty())
            pieces.push_back({rect, colours[static_cast<std::size_t>(i) % colours.size()]});
    }
    return pieces;
}

} // namespace drawscreen
