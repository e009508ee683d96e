#pragma once

#include <QStringView>

#include <string>

namespace sheets {

// The text of a stored number: an integral value as all its digits (a phone number stored
// as 1.3800138E10 reads 13800138000), any other in the shortest form that reads back
// exactly. Text that is no number comes back as it is.
std::string numberText(QStringView stored);

// How a cell's number format shows its number.
enum class NumberShown { Number, Date, Time, DateTime };

// What a number format shows: Excel's built-in format ids, else the format's code (date
// parts y, d and month m; time parts h and s; quoted text and [colour] sections aside).
NumberShown numberShownBy(int formatId, QStringView formatCode);

// A date or time serial as the sheet shows it: 2024-01-31, 13:45:00 or 2024-01-31 13:45:00.
// date1904: the workbook counts days from 1904. A stored text that is no number comes back
// through numberText.
std::string dateText(QStringView stored, NumberShown shown, bool date1904);

// The column of a cell reference such as "AB12" (from 1); 0 when it names none.
int columnOfReference(QStringView reference);

// The row of a cell or row reference such as "AB12" or "12" (from 1); 0 when it names none.
int rowOfReference(QStringView reference);

// The reference of the cell in column and row (both from 1), such as "AB12".
std::string cellReference(int column, int row);

} // namespace sheets
