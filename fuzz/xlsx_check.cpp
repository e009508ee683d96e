#include "xlsx_check.h"

#include "sheets/xlsx_reader.h"

#include <QBuffer>

namespace fuzzchecks {

namespace {
constexpr int kMaxRowsRead = 5000;
} // namespace

std::string checkXlsx(std::string_view input) {
    QByteArray bytes(input.data(), static_cast<qsizetype>(input.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    sheets::XlsxReader reader;
    QString problem;
    if (!reader.open(&buffer, &problem))
        return problem.isEmpty() ? "a refusal without a reason" : std::string();
    if (reader.sheetNames().isEmpty())
        return "an opened workbook without sheets";
    std::string broken;
    for (int sheet = 0; sheet < reader.sheetNames().size() && broken.empty(); ++sheet) {
        int rows = 0;
        problem.clear();
        const bool read = reader.readSheet(
            sheet,
            [&rows, &broken](const std::vector<std::string>& cells) {
                if (cells.size() > static_cast<std::size_t>(lottery::kMaxSheetColumns))
                    broken = "a row with more columns than a sheet has";
                return ++rows < kMaxRowsRead && broken.empty();
            },
            &problem);
        if (!read && problem.isEmpty())
            broken = "a failed sheet without a reason";
    }
    return broken;
}

} // namespace fuzzchecks
