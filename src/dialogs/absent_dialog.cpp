#include "dialogs/absent_dialog.h"

#include "core/ccore.h"
#include "dialogs/table_columns.h"
#include "ui_absent_dialog.h"

#include <utility>

namespace dialogs {

AbsentDialog::AbsentDialog(std::vector<Row> rows, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::AbsentDialog>()), rows_(std::move(rows)) {
    ui_->setupUi(this);
    QTableWidget* list = ui_->winnerList;
    prepareTable(*list, {50, 50, 150}, static_cast<int>(rows_.size()));
    for (int row = 0; row < list->rowCount(); ++row) {
        const Row& winner = rows_[static_cast<std::size_t>(row)];
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        tick->setCheckState(Qt::Unchecked);
        list->setItem(row, 0, tick);
        list->setItem(row, 1, new QTableWidgetItem(QString::number(winner.position)));
        list->setItem(row, 2, new QTableWidgetItem(winner.shown));
        list->setItem(row, 3, new QTableWidgetItem(winner.full));
    }
}

AbsentDialog::~AbsentDialog() = default;

std::vector<int> AbsentDialog::tickedPositions() const {
    std::vector<int> positions;
    for (int row = 0; row < ui_->winnerList->rowCount(); ++row)
        if (ui_->winnerList->item(row, 0)->checkState() == Qt::Checked)
            positions.push_back(rows_[static_cast<std::size_t>(row)].position);
    return positions;
}

void AbsentDialog::accept() {
    std::vector<int> positions = tickedPositions();
    if (positions.empty()) {
        core::CCore::msgboxWarning(this, QStringLiteral("请先勾选缺席的中奖者。"));
        return;
    }
    if (core::CCore::msgboxConfirm(
            this,
            QStringLiteral("确定将选中的 %1 名中奖者记为缺席并补抽吗？").arg(positions.size()),
            QMessageBox::No) != QMessageBox::Yes)
        return;
    absentPositions_ = std::move(positions);
    QDialog::accept();
}

} // namespace dialogs
