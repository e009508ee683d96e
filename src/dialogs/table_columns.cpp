#include "dialogs/table_columns.h"

#include <QHeaderView>
#include <QTableWidget>

namespace dialogs {

void prepareTable(QTableWidget& table, const std::vector<int>& columnWidths, int rows) {
    QHeaderView* header = table.horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (std::size_t column = 0; column < columnWidths.size(); ++column)
        header->resizeSection(static_cast<int>(column), columnWidths[column]);
    table.setRowCount(rows);
}

} // namespace dialogs
