#include "dialogs/prize_list_dialog.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "core/message_box.h"
#include "core/path_conversion.h"
#include "dialogs/import_list_dialog.h"
#include "dialogs/prize_capacity.h"
#include "dialogs/prize_edit_dialog.h"
#include "lottery/draw_machine.h"
#include "ui_prize_list_dialog.h"

#include <QFileDialog>
#include <QHeaderView>

#include <array>

namespace dialogs {

namespace {
constexpr std::array<int, 7> kColumnWidths = {80, 80, 90, 60, 90, 90, 100};
}

PrizeListDialog::PrizeListDialog(lottery::LotteryData& data, std::filesystem::path participantFile,
                                 core::CCore& core, std::function<void()> resetDraw,
                                 DrawGuard guard, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PrizeListDialog>()), data_(data),
      participantFile_(std::move(participantFile)), core_(core), resetDraw_(std::move(resetDraw)),
      guard_(std::move(guard)) {
    ui_->setupUi(this);
    connect(ui_->addButton, &QPushButton::clicked, this, &PrizeListDialog::OnAddPrize);
    connect(ui_->modifyButton, &QPushButton::clicked, this, &PrizeListDialog::OnModifyPrize);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &PrizeListDialog::OnDeletePrize);
    connect(ui_->participantsButton, &QPushButton::clicked, this,
            &PrizeListDialog::OnOpenParticipantFile);
    connect(ui_->importButton, &QPushButton::clicked, this, &PrizeListDialog::OnImportParticipants);
    connect(ui_->resetButton, &QPushButton::clicked, this, &PrizeListDialog::OnResetDraw);
    connect(ui_->prizeList, &QTableWidget::cellDoubleClicked, this,
            &PrizeListDialog::OnListDoubleClick);
    OnInitDialog();
}

PrizeListDialog::~PrizeListDialog() = default;

void PrizeListDialog::OnInitDialog() {
    QHeaderView* header = ui_->prizeList->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column)
        header->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
    for (int row = 0; row < data_.prizeTable.count(); ++row)
        fillRow(row);
}

// Row i shows record i; a missing row is appended.
void PrizeListDialog::fillRow(int row) {
    const lottery::PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(row)];
    QTableWidget* list = ui_->prizeList;
    if (row >= list->rowCount())
        list->insertRow(row);
    const std::array<QString, 7> cells = {
        core::GbkCodec::fromGbk(prize.id),
        core::GbkCodec::fromGbk(prize.title),
        core::GbkCodec::fromGbk(prize.image),
        QString::number(prize.order),
        QString::number(prize.total),
        QString::number(prize.perRound),
        core::GbkCodec::fromGbk(prize.repeatList),
    };
    for (int column = 0; column < static_cast<int>(cells.size()); ++column)
        list->setItem(row, column, new QTableWidgetItem(cells[static_cast<std::size_t>(column)]));
}

int PrizeListDialog::selectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = ui_->prizeList->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void PrizeListDialog::OnAddPrize() {
    if (refuseWhenFull(this, data_.prizeTable))
        return;
    PrizeEditDialog edit(data_.prizeTable, PrizeEditDialog::Add, 0, guard_, this,
                         &data_.options.stage, core_.getAppPath() / "img");
    if (edit.exec() != QDialog::Accepted)
        return; // 取消 changes nothing
    fillRow(data_.prizeTable.count() - 1);
    prizesChanged_ = true;
}

void PrizeListDialog::OnModifyPrize() {
    const int row = selectedRow();
    if (row < 0) {
        core::CCore::msgboxWarning(this, QStringLiteral("没有选中任何记录！"));
        return;
    }
    PrizeEditDialog edit(data_.prizeTable, PrizeEditDialog::Modify, row, guard_, this,
                         &data_.options.stage, core_.getAppPath() / "img");
    if (edit.exec() != QDialog::Accepted)
        return;
    fillRow(row);
    prizesChanged_ = true;
}

void PrizeListDialog::OnListDoubleClick(int row) {
    if (row >= 0)
        OnModifyPrize();
}

void PrizeListDialog::OnDeletePrize() {
    const int row = selectedRow();
    if (row < 0) {
        core::CCore::msgboxWarning(this, QStringLiteral("没有选中任何记录！"));
        return;
    }
    const std::string refusal = guard_.deleteRefusal(row);
    if (!refusal.empty()) {
        core::CCore::msgboxWarning(this, QString::fromStdString(refusal));
        return;
    }
    auto& prizes = data_.prizeTable.prizes;
    const QString title = core::GbkCodec::fromGbk(prizes[static_cast<std::size_t>(row)].title);
    if (core::CCore::msgboxConfirm(this, QStringLiteral("确定要删除奖项【%1】吗？").arg(title)) !=
        QMessageBox::Yes)
        return;
    prizes.erase(prizes.begin() + row);
    ui_->prizeList->removeRow(row);
    prizesChanged_ = true;
}

void PrizeListDialog::OnResetDraw() {
    if (core::CCore::msgboxConfirm(this, QStringLiteral("确定要重置抽奖吗？")) != QMessageBox::Yes)
        return;
    lottery::DrawMachine::resetProgress(data_.options);
    if (resetDraw_)
        resetDraw_();
    accept();
}

void PrizeListDialog::OnOpenParticipantFile() {
    if (!core_.fileExists(participantFile_))
        return;
    if (!core_.openUrl(participantFile_)) {
        core::CCore::msgboxWarning(this, QStringLiteral("无法打开抽奖数据文件！\r\n\r\n") +
                                             core::toQString(participantFile_));
        return;
    }
    participantFileOpened_ = true;
}

QString PrizeListDialog::askImportPath() {
    return QFileDialog::getOpenFileName(
        this, QStringLiteral("导入名单"), core::toQString(participantFile_.parent_path()),
        QStringLiteral("名单表格 (*.xlsx *.csv *.txt);;所有文件 (*)"));
}

void PrizeListDialog::OnImportParticipants() {
    const QString path = askImportPath();
    if (path.isEmpty())
        return;
    ImportListDialog dialog(path, participantFile_, core_, this);
    dialog.setDrawInProgress(guard_.drawing());
    if (dialog.exec() == QDialog::Accepted)
        participantFileOpened_ = true;
}

} // namespace dialogs
