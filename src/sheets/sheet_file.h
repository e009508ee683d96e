#pragma once

#include "lottery/csv_reader.h"
#include "sheets/xlsx_reader.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>

namespace sheets {

// A participant source: an Excel workbook (told by its first bytes, or by its name when
// those are no workbook's), else a CSV or text file, whose encoding opening reads. A file
// whose size or modification time changed between the open and the end of a read is
// refused: what was read may be half of the old file and half of the new.
class SheetFile {
public:
    // Once *stop is true, opening and reading end early.
    void setStop(const std::atomic_bool* stop) { xlsx_.setStop(stop); }
    bool open(const QString& path, QString* problem);

    bool isWorkbook() const { return workbook_; }
    // A workbook's sheets; a CSV file has none.
    QStringList sheetNames() const { return workbook_ ? xlsx_.sheetNames() : QStringList(); }
    // How the cells are encoded.
    lottery::CellEncoding encoding() const {
        return workbook_ ? lottery::CellEncoding::Utf8 : lottery::cellEncodingOf(source_);
    }

    // Hands the rows of sheet (from 0; ignored for CSV) to sink; progress as the reader's.
    bool read(int sheet, const lottery::RowSink& sink, QString* problem,
              const XlsxReader::Progress& progress = {});

private:
    bool unchanged(QString* problem) const;

    QString path_;
    qint64 size_ = -1;
    QDateTime modified_;
    bool workbook_ = false;
    XlsxReader xlsx_;
    lottery::TextSource source_ = lottery::TextSource::Gbk; // of a CSV file
};

} // namespace sheets
