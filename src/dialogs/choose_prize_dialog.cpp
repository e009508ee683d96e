#include "dialogs/choose_prize_dialog.h"

#include "dialogs/table_columns.h"
#include "ui_choose_prize_dialog.h"

#include <array>
#include <utility>

namespace dialogs {

ChoosePrizeDialog::ChoosePrizeDialog(std::vector<Row> rows, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::ChoosePrizeDialog>()), rows_(std::move(rows)) {
    ui_->setupUi(this);
    QTableWidget* list = ui_->prizeList;
    prepareTable(*list, {180, 120}, static_cast<int>(rows_.size()));
    int firstSelectable = -1;
    for (int row = 0; row < list->rowCount(); ++row) {
        const Row& prize = rows_[static_cast<std::size_t>(row)];
        const std::array<QString, 3> cells = {
            prize.title,
            QStringLiteral("%1/%2").arg(prize.roundsDone).arg(prize.roundsTotal),
            QStringLiteral("%1/%2").arg(prize.winnersDone).arg(prize.winnersTotal),
        };
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(column)]);
            item->setToolTip(prize.id);
            // Without ItemIsEnabled a row is greyed, and neither clicks nor keys select it.
            if (!prize.selectable)
                item->setFlags(Qt::NoItemFlags);
            list->setItem(row, column, item);
        }
        if (prize.selectable && firstSelectable < 0)
            firstSelectable = row;
    }
    connect(list, &QTableWidget::cellDoubleClicked, this, &ChoosePrizeDialog::OnListDoubleClick);
    connect(list, &QTableWidget::itemSelectionChanged, this,
            &ChoosePrizeDialog::OnSelectionChanged);
    if (firstSelectable >= 0)
        list->selectRow(firstSelectable);
    OnSelectionChanged();
}

ChoosePrizeDialog::~ChoosePrizeDialog() = default;

int ChoosePrizeDialog::selectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = ui_->prizeList->selectedRanges();
    if (ranges.isEmpty())
        return -1;
    const int row = ranges.first().topRow();
    return rows_[static_cast<std::size_t>(row)].selectable ? row : -1;
}

void ChoosePrizeDialog::OnSelectionChanged() {
    ui_->okButton->setEnabled(selectedRow() >= 0);
}

void ChoosePrizeDialog::OnListDoubleClick(int row) {
    if (row >= 0 && rows_[static_cast<std::size_t>(row)].selectable) {
        ui_->prizeList->selectRow(row);
        accept();
    }
}

void ChoosePrizeDialog::accept() {
    const int row = selectedRow();
    if (row < 0)
        return;
    chosenRow_ = row;
    QDialog::accept();
}

} // namespace dialogs
