#include "dialogs/results_dialog.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "core/path_conversion.h"
#include "dialogs/results_csv.h"
#include "dialogs/results_sheet.h"
#include "lottery/results_reader.h"
#include "lottery/safe_file.h"
#include "sheets/xlsx_writer.h"
#include "ui_results_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>

#include <algorithm>
#include <array>

namespace dialogs {

namespace {
// The last column, the entry, takes the rest of the width.
constexpr std::array<int, 6> kColumnWidths = {150, 80, 100, 50, 50, 50};

} // namespace

ResultsDialog::ResultsDialog(const lottery::EventPaths& paths, core::CCore& core, QWidget* parent,
                             const lottery::DrawMachine* draw)
    : QDialog(parent), ui_(std::make_unique<Ui::ResultsDialog>()), resultFile_(paths.resultFile),
      core_(core), log_(draw ? draw->results() : lottery::readResultsLog(paths.resultFile, core)),
      ledger_(lottery::readLedger(log_)) {
    ui_->setupUi(this);
    connect(ui_->openButton, &QPushButton::clicked, this, &ResultsDialog::OnOpenResultFile);
    connect(ui_->exportButton, &QPushButton::clicked, this, &ResultsDialog::OnExportCsv);
    connect(ui_->exportXlsxButton, &QPushButton::clicked, this, &ResultsDialog::OnExportXlsx);
    connect(ui_->reprintButton, &QPushButton::clicked, this, &ResultsDialog::OnReprint);
    connect(ui_->winnerList, &QTableWidget::itemSelectionChanged, this, [this] {
        ui_->reprintButton->setEnabled(ui_->winnerList->selectionModel()->hasSelection());
    });
    ui_->reprintButton->hide();
    ui_->reprintButton->setEnabled(false);
    OnInitDialog();
}

ResultsDialog::~ResultsDialog() = default;

void ResultsDialog::OnInitDialog() {
    ui_->summaryLabel->setText(summaryText());
    ui_->openButton->setEnabled(core_.fileExists(resultFile_));
    ui_->exportButton->setEnabled(log_.started);

    QTableWidget* list = ui_->winnerList;
    QHeaderView* header = list->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column)
        header->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
    const TextRows rows = resultRows(log_, ledger_);
    list->setRowCount(static_cast<int>(rows.size()) - 1);
    for (int row = 0; row < list->rowCount(); ++row) {
        const std::vector<std::string>& cells = rows[static_cast<std::size_t>(row) + 1];
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            QString text = QString::fromStdString(cells[static_cast<std::size_t>(column)]);
            if (column == 0 && !winnerAt(row).saved)
                text += QStringLiteral("（未保存）");
            list->setItem(row, column, new QTableWidgetItem(text));
        }
    }
}

const lottery::WinnerRecord& ResultsDialog::winnerAt(int row) const {
    return log_
        .winners[static_cast<std::size_t>(ledger_.drawn[static_cast<std::size_t>(row)].line)];
}

QString ResultsDialog::summaryText() const {
    if (!log_.started)
        return log_.unreadable ? QStringLiteral("抽奖结果文件无法读取")
                               : QStringLiteral("还没有抽奖结果");
    const auto held = ledger_.finalHolders().size();
    const auto absent =
        std::count_if(ledger_.drawn.begin(), ledger_.drawn.end(), [](const lottery::DrawnLine& d) {
            return d.status == lottery::WinnerStatus::Absent;
        });
    const QString absentNote =
        absent == 0 ? QString() : QStringLiteral("，另有 %1 人缺席").arg(absent);
    const QString summary =
        QStringLiteral("抽奖开始日期：%1，已记录 %2 名中奖者%3，%4")
            .arg(core::GbkCodec::fromGbk(log_.startTime))
            .arg(held)
            .arg(absentNote)
            .arg(log_.finished ? QStringLiteral("抽奖已结束") : QStringLiteral("抽奖进行中"));
    const auto unsaved = std::count_if(log_.winners.begin(), log_.winners.end(),
                                       [](const lottery::WinnerRecord& w) { return !w.saved; });
    if (unsaved == 0)
        return summary;
    return summary + QStringLiteral("\n其中 %1 名尚未写入抽奖结果文件（标为“未保存”），"
                                    "磁盘恢复后会自动补写。")
                         .arg(unsaved);
}

// Beside the results file.
QString ResultsDialog::exportSuggestion(const QString& fileName) const {
    return QDir(core::toQString(resultFile_.parent_path())).filePath(fileName);
}

QString ResultsDialog::askExportPath(const QString& suggestedPath) {
    if (suggestedPath.endsWith(QStringLiteral(".xlsx")))
        return QFileDialog::getSaveFileName(this, QStringLiteral("导出Excel"), suggestedPath,
                                            QStringLiteral("Excel 工作簿 (*.xlsx)"));
    return QFileDialog::getSaveFileName(this, QStringLiteral("导出CSV"), suggestedPath,
                                        QStringLiteral("CSV 文件 (*.csv)"));
}

void ResultsDialog::setReprint(Reprint reprint) {
    reprint_ = std::move(reprint);
    ui_->reprintButton->setVisible(static_cast<bool>(reprint_));
}

void ResultsDialog::OnReprint() {
    std::vector<int> rows;
    for (const QModelIndex& index : ui_->winnerList->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end()); // in the order of the draw
    std::vector<lottery::WinnerRecord> chosen;
    for (const int row : rows) {
        // An absent winner holds no prize: no ticket.
        if (ledger_.drawn[static_cast<std::size_t>(row)].status != lottery::WinnerStatus::Absent)
            chosen.push_back(winnerAt(row));
    }
    if (chosen.empty()) {
        core::CCore::msgboxInfo(this, QStringLiteral("缺席记录没有奖券，请选中中奖或补抽的记录。"));
        return;
    }
    reprint_(chosen);
}

void ResultsDialog::OnOpenResultFile() {
    if (!core_.fileExists(resultFile_) || !core_.openUrl(resultFile_))
        core::CCore::msgboxWarning(this,
                                   QStringLiteral("无法打开抽奖结果文件！\n\n") +
                                       QDir::toNativeSeparators(core::toQString(resultFile_)));
}

void ResultsDialog::OnExportCsv() {
    const QString chosen = askExportPath(exportSuggestion(QStringLiteral("抽奖结果.csv")));
    if (chosen.isEmpty())
        return;
    std::string problem;
    if (!lottery::writeFileSafely(core::toFsPath(chosen), resultsCsv(resultRows(log_, ledger_)),
                                  &problem)) {
        core::CCore::msgboxWarning(this,
                                   QStringLiteral("导出失败：") + QString::fromStdString(problem));
        return;
    }
    reportExport(chosen);
}

void ResultsDialog::OnExportXlsx() {
    const QString chosen = askExportPath(exportSuggestion(QStringLiteral("抽奖结果.xlsx")));
    if (chosen.isEmpty())
        return;
    QString problem;
    if (!sheets::writeTextWorkbook(
            chosen,
            {{QStringLiteral("抽奖结果"), resultRows(log_, ledger_)},
             {QStringLiteral("最终中奖名单"), finalWinnerRows(log_, ledger_)}},
            &problem)) {
        core::CCore::msgboxWarning(this, QStringLiteral("导出失败：") + problem);
        return;
    }
    reportExport(chosen);
}

void ResultsDialog::reportExport(const QString& path) {
    core::CCore::msgboxInfo(this, QStringLiteral("已导出 %1 名中奖者到\n%2")
                                      .arg(ledger_.drawn.size())
                                      .arg(QDir::toNativeSeparators(path)));
}

} // namespace dialogs
