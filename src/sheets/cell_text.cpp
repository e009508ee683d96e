#include "sheets/cell_text.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <cmath>

namespace sheets {

namespace {
// Past this, 'f' notation would print digits the double does not hold anyway.
constexpr double kLargestWholeShown = 1e21;
// Excel's limits; a reference past them names nothing.
constexpr int kMaxColumn = 16384;
constexpr int kMaxRow = 1048576;
} // namespace

std::string numberText(QStringView stored) {
    // Whole numbers of up to 15 digits, phone numbers among them, are their own digits.
    const QStringView digits = stored.trimmed();
    if (!digits.isEmpty() && digits.size() <= 15 && (digits[0] != u'0' || digits.size() == 1) &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return digits.toString().toStdString();
    bool ok = false;
    const double value = stored.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return stored.toString().toStdString();
    if (value == std::floor(value) && std::fabs(value) < kLargestWholeShown)
        return QString::number(value == 0 ? 0.0 : value, 'f', 0).toStdString();
    return QString::number(value, 'g', QLocale::FloatingPointShortest).toStdString();
}

int columnOfReference(QStringView reference) {
    int column = 0;
    for (const QChar c : reference) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
        if (column > kMaxColumn)
            return 0;
    }
    return column;
}

int rowOfReference(QStringView reference) {
    qsizetype start = 0;
    while (start < reference.size() && reference[start] >= QLatin1Char('A') &&
           reference[start] <= QLatin1Char('Z'))
        ++start;
    bool ok = false;
    const int row = reference.mid(start).toInt(&ok);
    return ok && row >= 1 && row <= kMaxRow ? row : 0;
}

std::string cellReference(int column, int row) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters + std::to_string(row);
}

} // namespace sheets
