#pragma once

#include <vector>

class QTableWidget;

namespace dialogs {

// Left-aligned headers, the columns at these widths (the last column takes the rest of the
// width) and that many empty rows.
void prepareTable(QTableWidget& table, const std::vector<int>& columnWidths, int rows);

} // namespace dialogs
