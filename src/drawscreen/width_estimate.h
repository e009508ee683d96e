#pragma once

#include "lottery/participant_list.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

namespace drawscreen {

// Entries' widths at a reference size, estimated as the sum of their characters' advances:
// each character is measured once, so a million entries cost a walk over their bytes. Close
// enough to tell the few entries worth measuring exactly.
class WidthEstimate {
public:
    // The participant texts were re-read.
    void invalidate();
    float of(const lottery::ParticipantList& list, int index, const QString& family,
             int referenceSize, QFont::Weight weight = QFont::Normal);
    // A display text's width, not kept per entry: for names shown whatever list they came from.
    float ofText(std::string_view gbkText, const QString& family, int referenceSize,
                 QFont::Weight weight = QFont::Normal);

private:
    void useFont(const QString& family, int referenceSize, QFont::Weight weight);
    float charAdvance(std::string_view gbkChar);

    QString family_;
    QFont::Weight weight_ = QFont::Normal;
    std::optional<QFontMetricsF> metrics_;
    std::vector<float> perChar_;  // by GBK code: a single byte, or lead * 256 + trail
    std::vector<float> perEntry_; // negative: not estimated yet
};

} // namespace drawscreen
