#pragma once

#include <QRect>
#include <QRgb>

#include <vector>

namespace drawscreen {

struct ConfettiPiece {
    QRect rect;
    QRgb colour; // opaque
};

// The burst of a 重点 prize: paper thrown up from both lower corners of the names' area,
// falling back as it spins. Each piece is a flat rectangle whose width turns with it, so a
// frame only fills small rects and the screen beneath changes nowhere else.
class Confetti {
public:
    // The same burst every time: the pieces elapsedMs after the stop, thrown from the lower
    // corners of area and sized by the canvas, clipped to it.
    static std::vector<ConfettiPiece> at(const QRect& area, const QRect& canvas, int elapsedMs,
                                         const std::vector<QRgb>& colours);

    static constexpr int kPieces = 160;
};

} // namespace drawscreen
