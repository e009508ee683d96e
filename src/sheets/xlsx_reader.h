#pragma once

#include "lottery/sheet_rows.h"
#include "sheets/cell_text.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

namespace sheets {

class ZipArchive;

// Reads the cells of an Excel workbook (.xlsx) sheet by sheet as UTF-8 texts: a number the
// way it reads in full (a phone number as its digits, others in their shortest exact form),
// a date as the sheet shows it (2024-01-31), TRUE or FALSE, or the string shown. Sheet rows
// are streamed; only the shared strings are held, each at most kCellChars characters, as is
// every cell. Every problem is told in Chinese.
class XlsxReader {
public:
    // Rows read so far and the share of the sheet read in percent, -1 when unknown.
    using Progress = std::function<void(int rows, int percent)>;

    // A cell's characters kept; more could never make a longer entry.
    static constexpr std::size_t kCellChars = 1024;
    // A workbook with more shared strings, or more bytes of them unpacked, is refused: its
    // strings alone would take more memory than a list the program can draw from.
    struct Limits {
        std::size_t sharedStrings = 8'000'000;
        std::size_t sharedBytes = 256'000'000;
    };

    XlsxReader();
    ~XlsxReader();

    bool open(const QString& path, QString* problem);
    // The workbook in device, which must stay open while the reader reads.
    bool open(QIODevice* device, QString* problem);

    // Lower limits, for tests.
    void setLimits(Limits limits) { limits_ = limits; }
    // Once *stop is true, opening and reading end early, as failed.
    void setStop(const std::atomic_bool* stop) { stop_ = stop; }

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
    void readStyles(const QString& path);
    bool stopped() const { return stop_ && *stop_; }

    std::unique_ptr<QIODevice> file_;
    std::unique_ptr<ZipArchive> zip_;
    QStringList names_;
    QStringList sheetPaths_;
    // The shared strings end to end, and where each ends.
    std::string sharedText_;
    std::vector<std::size_t> sharedEnds_;
    // What each cell style shows a number as.
    std::vector<NumberShown> styles_;
    bool date1904_ = false;
    Limits limits_;
    const std::atomic_bool* stop_ = nullptr;
};

} // namespace sheets
