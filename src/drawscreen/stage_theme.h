#pragma once

#include "lottery/stage_options.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>

namespace drawscreen {

// The colours, panels and type of one 大屏 preset, and the background it paints when the event
// has no picture of its own.
struct StageTheme {
    QRgb nameFill;      // names while they roll and once revealed
    QRgb nameStroke;    // their translucent outline
    QRgb winnerFill;    // a revealed name
    QRgb cellPanel;     // behind a revealed name
    QRgb cellBorder;    // its frame
    QRgb headerPanel;   // the band at the top
    QRgb headerText;    // the prize's title
    QRgb headerDetail;  // round and what remains
    QRgb accent;        // confetti, light and the frames' highlights
    QRgb backgroundTop; // the generated background, top to bottom
    QRgb backgroundBottom;
    QFont::Weight weight;

    static StageTheme of(lottery::StageTheme preset);
    // A gradient with a pattern of the preset's own, size pixels.
    QImage generatedBackground(QSize size, lottery::StageTheme preset) const;
};

} // namespace drawscreen
