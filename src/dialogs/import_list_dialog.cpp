#include "dialogs/import_list_dialog.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "lottery/column_list.h"
#include "lottery/file_text.h"
#include "lottery/import_guess.h"
#include "sheets/sheet_file.h"
#include "ui_import_list_dialog.h"

#include <QDir>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QThread>

#include <algorithm>

namespace dialogs {

namespace {
constexpr int kDuplicatesShown = 3;
} // namespace

ImportListDialog::ImportListDialog(QString sourcePath, std::filesystem::path participantFile,
                                   core::CCore& core, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::ImportListDialog>()),
      sourcePath_(std::move(sourcePath)), participantFile_(std::move(participantFile)),
      core_(core) {
    ui_->setupUi(this);
    ui_->fileLabel->setText(QStringLiteral("文件：") + QDir::toNativeSeparators(sourcePath_));
    ui_->buttonBox->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
    ui_->buttonBox->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    ui_->columnsEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\s*\\d{1,5}(\\s*[,，]\\s*\\d{1,5})*\\s*[,，]?\\s*")),
        this));
    ui_->sheetLabel->hide();
    ui_->sheetBox->hide();
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &ImportListDialog::accept);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &ImportListDialog::reject);
    connect(ui_->stopButton, &QPushButton::clicked, this, &ImportListDialog::OnStop);
    // What the operator sets is never replaced by a guess.
    const auto chosenByHand = [this] {
        guessed_ = true;
        startReading();
    };
    connect(ui_->headerBox, &QCheckBox::toggled, this, chosenByHand);
    connect(ui_->columnsEdit, &QLineEdit::textChanged, this, chosenByHand);
    connect(ui_->sheetBox, &QComboBox::currentIndexChanged, this, &ImportListDialog::startReading);
    startReading();
}

ImportListDialog::~ImportListDialog() {
    stopReading();
    // The stop reaches every loop of the reader, so this wait is short.
    if (thread_)
        thread_->wait();
}

// The column numbers, in order; false when the field names none.
bool ImportListDialog::columnsChosen(std::vector<int>& columns) const {
    const auto chosen = lottery::parseColumnList(ui_->columnsEdit->text().toStdString());
    columns = chosen.value_or(std::vector<int>());
    return chosen.has_value();
}

// The reading under way is told to stop and left to end on its own: waiting for it here
// could hold the window a moment.
void ImportListDialog::stopReading() {
    if (stop_)
        *stop_ = true;
}

void ImportListDialog::readerEnded() {
    readerBusy_ = false;
    thread_->wait(); // it has just said it ends
    if (!restart_)
        return;
    restart_ = false;
    startReading();
}

void ImportListDialog::OnStop() {
    if (stop_)
        *stop_ = true;
}

void ImportListDialog::startReading() {
    stopReading();
    if (readerBusy_) {
        // Two readers of a big workbook would hold it twice in memory: one at a time.
        restart_ = true;
        ++generation_;
        ui_->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
        ui_->summaryLabel->setText(QStringLiteral("正在停止上一次读取…"));
        return;
    }
    lottery::ImportOptions options;
    options.headerRow = ui_->headerBox->isChecked();
    ui_->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
    if (!columnsChosen(options.columns)) {
        reading_ = false;
        ui_->summaryLabel->setText(QStringLiteral("请填写组成条目的列号，如 1 或 1,3。"));
        return;
    }
    const int sheet = std::max(ui_->sheetBox->currentIndex(), 0);
    const int generation = ++generation_;
    stop_ = std::make_shared<std::atomic_bool>(false);
    reading_ = true;
    ui_->progressBar->setRange(0, 0);
    ui_->stopButton->setEnabled(true);
    ui_->summaryLabel->setText(QStringLiteral("正在读取…"));

    const auto stop = stop_;
    thread_.reset(QThread::create([this, stop, options, sheet, generation, path = sourcePath_] {
        auto outcome = std::make_shared<Outcome>();
        sheets::SheetFile file;
        file.setStop(stop.get());
        if (file.open(path, &outcome->problem)) {
            outcome->sheets = file.sheetNames();
            outcome->encoding = file.encoding();
            outcome->import =
                std::make_unique<lottery::ListImport>(options, outcome->encoding, core_);
            lottery::ListImport& import = *outcome->import;
            outcome->read = file.read(
                sheet,
                [&import, &stop](const std::vector<std::string>& cells) {
                    import.addRow(cells);
                    return !*stop;
                },
                &outcome->problem,
                [this, generation](int rows, int percent) {
                    QMetaObject::invokeMethod(
                        this, [=] { showProgress(generation, rows, percent); },
                        Qt::QueuedConnection);
                });
        }
        outcome->stopped = *stop;
        // Queued to the dialog, which waits for this thread before it goes.
        QMetaObject::invokeMethod(
            this, [this, generation, outcome] { finishReading(generation, outcome); },
            Qt::QueuedConnection);
    }));
    connect(thread_.get(), &QThread::finished, this, &ImportListDialog::readerEnded);
    readerBusy_ = true;
    thread_->start();
}

void ImportListDialog::showProgress(int generation, int rows, int percent) {
    if (generation != generation_)
        return;
    if (percent >= 0) {
        ui_->progressBar->setRange(0, 100);
        ui_->progressBar->setValue(percent);
    }
    ui_->summaryLabel->setText(QStringLiteral("正在读取… 已读 %1 行").arg(rows));
}

void ImportListDialog::finishReading(int generation, const std::shared_ptr<Outcome>& outcome) {
    if (generation != generation_)
        return;
    reading_ = false;
    outcome_ = outcome;
    ui_->progressBar->setRange(0, 100);
    ui_->progressBar->setValue(100);
    ui_->stopButton->setEnabled(false);
    if (ui_->sheetBox->count() == 0 && outcome->sheets.size() > 0) {
        const QSignalBlocker blocker(ui_->sheetBox);
        ui_->sheetBox->addItems(outcome->sheets);
        ui_->sheetLabel->show();
        ui_->sheetBox->show();
    }
    // The first reading of a file suggests the header and columns; the operator may change them.
    if (!guessed_ && outcome->import) {
        guessed_ = true;
        if (applyGuess()) {
            startReading();
            return;
        }
    }
    fillPreview();
    ui_->summaryLabel->setText(guessNote_ + summaryText());
    ui_->buttonBox->button(QDialogButtonBox::Ok)
        ->setEnabled(outcome->read && !outcome->stopped && outcome->import->entries() > 0);
}

bool ImportListDialog::applyGuess() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : outcome_->import->preview()) {
        rows.emplace_back();
        for (const std::string& cell : row)
            rows.back().push_back(cellText(cell).toStdString());
    }
    const lottery::ImportGuess guess = lottery::guessImport(rows);
    QStringList columns;
    for (const int column : guess.options.columns)
        columns << QString::number(column);
    QStringList found;
    if (guess.options.headerRow)
        found << QStringLiteral("第一行是标题");
    if (guess.nameColumn)
        found << QStringLiteral("姓名在第 %1 列").arg(guess.nameColumn);
    if (guess.idColumn)
        found << QStringLiteral("编号在第 %1 列").arg(guess.idColumn);
    if (!found.isEmpty())
        guessNote_ = QStringLiteral("已按前几行猜测：%1。如不对，请修改上面的选项。\n")
                         .arg(found.join(QStringLiteral("，")));
    const QString columnsText = columns.join(QLatin1Char(','));
    if (guess.options.headerRow == ui_->headerBox->isChecked() &&
        columnsText == ui_->columnsEdit->text())
        return false;
    const QSignalBlocker headerBlocker(ui_->headerBox);
    const QSignalBlocker columnsBlocker(ui_->columnsEdit);
    ui_->headerBox->setChecked(guess.options.headerRow);
    ui_->columnsEdit->setText(columnsText);
    return true;
}

QString ImportListDialog::cellText(const std::string& cell) const {
    return outcome_->encoding == lottery::CellEncoding::Gbk ? core::GbkCodec::fromGbk(cell)
                                                            : QString::fromStdString(cell);
}

void ImportListDialog::fillPreview() {
    QTableWidget* table = ui_->previewTable;
    table->clear();
    const auto* rows = outcome_->import ? &outcome_->import->preview() : nullptr;
    std::size_t columns = 0;
    if (rows)
        for (const auto& row : *rows)
            columns = std::max(columns, row.size());
    table->setRowCount(rows ? static_cast<int>(rows->size()) : 0);
    table->setColumnCount(static_cast<int>(columns));
    QStringList labels;
    for (std::size_t c = 1; c <= columns; ++c)
        labels << QString::number(c);
    table->setHorizontalHeaderLabels(labels);
    for (int r = 0; r < table->rowCount(); ++r) {
        const auto& row = (*rows)[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < row.size(); ++c)
            table->setItem(r, static_cast<int>(c), new QTableWidgetItem(cellText(row[c])));
    }
}

QString ImportListDialog::summaryText() const {
    if (!outcome_->import || (!outcome_->read && !outcome_->stopped))
        return QStringLiteral("无法读取：") + outcome_->problem;
    const lottery::ListImport& import = *outcome_->import;
    if (outcome_->stopped)
        return QStringLiteral("已停止读取（读到的部分有 %1 个条目），未导入。更改选项会重新读取。")
            .arg(import.entries());
    QString text = QStringLiteral("将写入 %1 个条目").arg(import.entries());
    const auto duplicates = import.duplicates();
    if (duplicates.empty()) {
        text += QStringLiteral("，没有重复");
    } else {
        QStringList shown;
        for (std::size_t i = 0; i < duplicates.size() && i < kDuplicatesShown; ++i)
            shown << QStringLiteral("“%1”%2 次")
                         .arg(core::GbkCodec::fromGbk(duplicates[i].first))
                         .arg(duplicates[i].second);
        text += QStringLiteral("，%1 个文本重复（%2%3）")
                    .arg(duplicates.size())
                    .arg(shown.join(QStringLiteral("，")))
                    .arg(duplicates.size() > kDuplicatesShown ? QStringLiteral("…") : QString());
    }
    text += QStringLiteral("；跳过空行 %1 行；截断 %2 个（超过 %3 字节）")
                .arg(import.emptyRows())
                .arg(import.cut())
                .arg(lottery::kRawTextBytes);
    if (import.unmappable() > 0)
        text += QStringLiteral("；%1 个字符无法用 GBK 表示，将写为“?”").arg(import.unmappable());
    if (import.overCapacity() > 0)
        text += QStringLiteral("；超过 %1 个条目的上限，导入时会先询问是否舍弃后 %2 个")
                    .arg(lottery::kParticipantCapacity)
                    .arg(import.overCapacity());
    if (import.entries() == 0)
        text += QStringLiteral("。所选的列中没有任何条目，无法导入");
    return text + QStringLiteral("。");
}

void ImportListDialog::accept() {
    if (reading_ || !outcome_ || !outcome_->import)
        return;
    if (drawInProgress_ &&
        core::CCore::msgboxConfirm(
            this,
            QStringLiteral("抽奖正在进行中。导入后，已显示和已记录的中奖者保持不变，"
                           "之后的抽取使用新名单，抽奖结果文件会记下新名单的指纹。\n\n是否导入？"),
            QMessageBox::No) != QMessageBox::Yes)
        return;
    const lottery::ListImport& import = *outcome_->import;
    // The list's fingerprint must cover only people who can win: what is past the capacity
    // is not written.
    if (import.overCapacity() > 0 &&
        core::CCore::msgboxConfirm(
            this, QStringLiteral("文件中有 %1 个条目，超过名单 %2 个条目的上限。\n\n"
                                 "只导入前 %2 个条目？后 %3 个条目不会写入名单，也不能中奖。")
                      .arg(import.entries())
                      .arg(lottery::kParticipantCapacity)
                      .arg(import.overCapacity())) != QMessageBox::Yes)
        return;
    std::filesystem::path backup;
    std::string problem;
    if (!lottery::writeImportedList(participantFile_, import.bytesWithinCapacity(), core_, &backup,
                                    &problem)) {
        core::CCore::msgboxWarning(this,
                                   QStringLiteral("导入失败：") + QString::fromStdString(problem));
        return;
    }
    QDialog::accept();
}

} // namespace dialogs
