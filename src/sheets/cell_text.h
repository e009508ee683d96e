#pragma once

#include <QStringView>

#include <string>

namespace sheets {

// The text of a stored number: an integral value as all its digits (a phone number stored
// as 1.3800138E10 reads 13800138000), any other in the shortest form that reads back
// exactly. Text that is no number comes back as it is.
std::string numberText(QStringView stored);

// The column of a cell reference such as "AB12" (from 1); 0 when it names none.
int columnOfReference(QStringView reference);

// The row of a cell or row reference such as "AB12" or "12" (from 1); 0 when it names none.
int rowOfReference(QStringView reference);

// The reference of the cell in column and row (both from 1), such as "AB12".
std::string cellReference(int column, int row);

} // namespace sheets
