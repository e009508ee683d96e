#pragma once

#include "lottery/sheet_rows.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

namespace sheets {

class ZipArchive;

// Reads the cells of an Excel workbook (.xlsx) sheet by sheet as UTF-8 texts: a number the
// way it reads in full (a phone number as its digits, others in their shortest exact form),
// TRUE or FALSE, or the string shown. Sheet rows are streamed; only the shared strings are
// held. Every problem is told in Chinese.
class XlsxReader {
public:
    // Rows read so far and the share of the sheet read in percent, -1 when unknown.
    using Progress = std::function<void(int rows, int percent)>;

    XlsxReader();
    ~XlsxReader();

    bool open(const QString& path, QString* problem);
    // The workbook in device, which must stay open while the reader reads.
    bool open(QIODevice* device, QString* problem);

    // The sheet names in the workbook's order.
    const QStringList& sheetNames() const { return names_; }

    // Hands the rows of sheet index (from 0) to sink, row 1 first; a missing row is an empty
    // row and a missing cell an empty text. Stops early when sink returns false.
    bool readSheet(int index, const lottery::RowSink& sink, QString* problem,
                   const Progress& progress = {});

private:
    bool openZip(QString* problem);
    bool readWorkbook(QString* problem);
    bool readSharedStrings(const QString& path, QString* problem);

    std::unique_ptr<QIODevice> file_;
    std::unique_ptr<ZipArchive> zip_;
    QStringList names_;
    QStringList sheetPaths_;
    std::vector<std::string> shared_;
};

} // namespace sheets
