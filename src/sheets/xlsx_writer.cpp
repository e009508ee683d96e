#include "sheets/xlsx_writer.h"

#include "lottery/safe_file.h"
#include "lottery/sheet_rows.h"

#include <QDir>
#include <QFile>

extern "C" {
#include <xlsxwriter.h>
}

#include <filesystem>

namespace sheets {

namespace {

constexpr std::size_t kMaxRows = 1048576;

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

void store(QString* problem, const QString& text) {
    if (problem)
        *problem = text;
}

// Fills a new workbook; the reason of the first failure in *reason.
bool fill(lxw_workbook* book, const std::vector<TextSheet>& sheets, QString* reason) {
    for (const TextSheet& sheet : sheets) {
        const QByteArray name = sheet.name.toUtf8();
        lxw_worksheet* page = workbook_add_worksheet(book, name.constData());
        if (!page) {
            *reason = QStringLiteral("工作表名“%1”不可用").arg(sheet.name);
            return false;
        }
        for (std::size_t r = 0; r < sheet.rows.size(); ++r)
            for (std::size_t c = 0; c < sheet.rows[r].size() &&
                                    c < static_cast<std::size_t>(lottery::kMaxSheetColumns);
                 ++c) {
                const std::string& text = sheet.rows[r][c];
                if (text.empty())
                    continue;
                const lxw_error error =
                    worksheet_write_string(page, static_cast<lxw_row_t>(r),
                                           static_cast<lxw_col_t>(c), text.c_str(), nullptr);
                if (error != LXW_NO_ERROR) {
                    *reason = QString::fromUtf8(lxw_strerror(error));
                    return false;
                }
            }
    }
    return true;
}

} // namespace

bool writeTextWorkbook(const QString& path, const std::vector<TextSheet>& sheets,
                       QString* problem) {
    for (const TextSheet& sheet : sheets)
        if (sheet.rows.size() > kMaxRows) {
            store(problem, QStringLiteral("行数超过 Excel 工作表的上限，无法导出。"));
            return false;
        }
    const QString partPath = path + QStringLiteral(".part");
    // Row by row into the package, each row written out as the next one starts: a big sheet
    // never sits whole in memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
#ifdef _WIN32
    const QByteArray partName = partPath.toUtf8(); // opened through the UTF-16 calls
#else
    const QByteArray partName = QFile::encodeName(partPath);
#endif
    lxw_workbook* book = workbook_new_opt(partName.constData(), &options);
    QString reason;
    bool written = book != nullptr;
    if (book) {
        written = fill(book, sheets, &reason);
        const lxw_error closed = workbook_close(book); // frees the book, written or not
        if (written && closed != LXW_NO_ERROR) {
            written = false;
            reason = QString::fromUtf8(lxw_strerror(closed));
        }
    }
    // The finished workbook goes through the one safe way of writing a file.
    std::string bytes;
    std::string systemReason;
    written = written && lottery::readWholeFile(nativePath(partPath), bytes);
    QFile::remove(partPath);
    written = written && lottery::writeFileSafely(nativePath(path), bytes, &systemReason);
    if (!written) {
        if (reason.isEmpty())
            reason = QString::fromStdString(systemReason);
        store(problem,
              QStringLiteral("无法写入 %1%2")
                  .arg(path, reason.isEmpty() ? QString() : QStringLiteral("：") + reason));
        return false;
    }
    return true;
}

} // namespace sheets
