#include "sheets/sheet_file.h"

#include "lottery/csv_reader.h"
#include "lottery/list_import.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace sheets {

namespace {

constexpr int kProgressRows = 4096;

bool looksLikeWorkbook(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(4);
        if (head == QByteArrayLiteral("PK\x03\x04") ||
            head == QByteArrayLiteral("\xD0\xCF\x11\xE0"))
            return true;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"xlsx" || suffix == u"xlsm" || suffix == u"xls";
}

} // namespace

bool SheetFile::open(const QString& path, QString* problem) {
    path_ = path;
    const QFileInfo info(path);
    size_ = info.size();
    modified_ = info.lastModified();
    workbook_ = looksLikeWorkbook(path);
    if (workbook_)
        return xlsx_.open(path, problem);
    if (lottery::textSourceOfFile(std::filesystem::path(path.toStdU16String()), &source_))
        return true;
    if (problem)
        *problem = QStringLiteral("无法读取文件 %1。").arg(path);
    return false;
}

bool SheetFile::unchanged(QString* problem) const {
    const QFileInfo now(path_);
    if (now.size() == size_ && now.lastModified() == modified_)
        return true;
    if (problem)
        *problem =
            QStringLiteral("文件 %1 在读取期间被改动（大小或修改时间变了），读到的内容不可靠，"
                           "未导入。请等文件保存完毕、不再改动后重新导入。")
                .arg(path_);
    return false;
}

bool SheetFile::read(int sheet, const lottery::RowSink& sink, QString* problem,
                     const XlsxReader::Progress& progress) {
    if (workbook_)
        return xlsx_.readSheet(sheet, sink, problem, progress) && unchanged(problem);
    int rows = 0;
    const lottery::RowSink counted = [&](const std::vector<std::string>& cells) {
        if (progress && ++rows % kProgressRows == 0)
            progress(rows, -1);
        return sink(cells);
    };
    if (!lottery::readCsvFile(std::filesystem::path(path_.toStdU16String()), source_,
                              lottery::kImportCellBytes, counted)) {
        if (problem)
            *problem = QStringLiteral("无法读取文件 %1。").arg(path_);
        return false;
    }
    return unchanged(problem);
}

} // namespace sheets
