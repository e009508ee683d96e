#include "sheets/cell_text.h"

#include "lottery/sheet_rows.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <cmath>

namespace sheets {

namespace {
// Past this, 'f' notation would print digits the double does not hold anyway.
constexpr double kLargestWholeShown = 1e21;
// Excel's limits; a reference past them names nothing.
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

NumberShown numberShownBy(int formatId, QStringView formatCode) {
    if ((formatId >= 14 && formatId <= 17) || (formatId >= 27 && formatId <= 36) ||
        (formatId >= 50 && formatId <= 58))
        return NumberShown::Date;
    if ((formatId >= 18 && formatId <= 21) || (formatId >= 45 && formatId <= 47))
        return NumberShown::Time;
    if (formatId == 22)
        return NumberShown::DateTime;
    bool date = false;
    bool time = false;
    bool quoted = false;
    bool bracket = false;
    for (qsizetype i = 0; i < formatCode.size(); ++i) {
        const QChar c = formatCode[i].toLower();
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\\' || c == u'_' || c == u'*')
            ++i; // an escaped or padding character
        else if (c == u'[')
            bracket = true;
        else if (c == u']')
            bracket = false;
        else if (c == u'h' || c == u's')
            time = true; // [h] elapsed hours too
        else if (!bracket && (c == u'y' || c == u'd' || c == u'e'))
            date = true;
    }
    return date && time ? NumberShown::DateTime
           : date       ? NumberShown::Date
           : time       ? NumberShown::Time
                        : NumberShown::Number;
}

std::string dateText(QStringView stored, NumberShown shown, bool date1904) {
    bool ok = false;
    const double serial = stored.trimmed().toDouble(&ok);
    // Excel shows ##### for what no date can show.
    if (!ok || shown == NumberShown::Number || !(serial >= 0 && serial < 2958466))
        return numberText(stored);
    long long days = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - static_cast<double>(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    // Day 60 of the 1900 count is 1900-02-29, a day that never was; days before it are
    // counted from 1899-12-31.
    const QDate epoch = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, days < 60 ? 31 : 30);
    const QString date = date1904 || days != 60 ? epoch.addDays(days).toString(u"yyyy-MM-dd")
                                                : QStringLiteral("1900-02-29");
    const QString time = QStringLiteral("%1:%2:%3")
                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                             .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (shown == NumberShown::Date)
        return date.toStdString();
    if (shown == NumberShown::Time)
        return time.toStdString();
    return (date + QLatin1Char(' ') + time).toStdString();
}

int columnOfReference(QStringView reference) {
    int column = 0;
    for (const QChar c : reference) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
        if (column > lottery::kMaxSheetColumns)
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
