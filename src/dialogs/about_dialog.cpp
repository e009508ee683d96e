#include "dialogs/about_dialog.h"

#include "core/path_conversion.h"
#include "ui_about_dialog.h"

#include <QBrush>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>

#include <array>

namespace dialogs {

namespace {

constexpr std::array<int, 2> kColumnWidths = {220, 70};

// Bytes below 1 KB, then KB or MB with one decimal.
QString fileSizeText(qint64 bytes) {
    constexpr qint64 kKilo = 1024;
    if (bytes < kKilo)
        return QStringLiteral("%1 字节").arg(bytes);
    if (bytes < kKilo * kKilo)
        return QStringLiteral("%1 KB").arg(double(bytes) / kKilo, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(double(bytes) / (kKilo * kKilo), 0, 'f', 1);
}

} // namespace

AboutDialog::AboutDialog(const lottery::EventPaths& paths, const QString& version, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::AboutDialog>()) {
    ui_->setupUi(this);
    OnInitDialog(paths, version);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::OnInitDialog(const lottery::EventPaths& paths, const QString& version) {
    const QString folder = core::toQString(paths.appFolder);
    ui_->versionLabel->setText(QStringLiteral("版本 %1").arg(version));
    ui_->folderLabel->setText(QDir::toNativeSeparators(folder));

    QHeaderView* header = ui_->fileList->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column)
        header->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
    for (const auto& file :
         {paths.prizeFile, paths.participantFile, paths.resultFile, paths.settingsFile,
          paths.background, paths.picture, paths.rollingCue, paths.resultCue})
        addFileRow(folder, core::toQString(file));
}

void AboutDialog::addFileRow(const QString& folder, const QString& file) {
    const QFileInfo info(file);
    const bool present = info.isFile();
    const std::array<QString, 3> cells = {
        QDir::toNativeSeparators(QDir(folder).relativeFilePath(file)),
        present ? QStringLiteral("存在") : QStringLiteral("缺失"),
        present ? fileSizeText(info.size()) : QString(),
    };
    QTableWidget* list = ui_->fileList;
    const int row = list->rowCount();
    list->insertRow(row);
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
        auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(column)]);
        if (!present)
            item->setForeground(QBrush(Qt::darkRed));
        list->setItem(row, column, item);
    }
}

} // namespace dialogs
