#include "csv_check.h"

#include "check_services.h"
#include "lottery/csv_reader.h"
#include "lottery/list_import.h"
#include "scratch_folder.h"

#include <fstream>
#include <vector>

namespace fuzzchecks {

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr std::size_t kKeptBytes = 16;

lottery::ImportOptions optionsFrom(unsigned char flags) {
    lottery::ImportOptions options;
    options.headerRow = flags & 1;
    options.columns = {1 + ((flags >> 1) & 3), 1 + ((flags >> 3) & 1)};
    return options;
}

std::string checkRows(const Rows& rows) {
    for (const auto& row : rows) {
        if (row.size() > static_cast<std::size_t>(lottery::kMaxSheetColumns))
            return "a row with more cells than kept";
        for (const std::string& cell : row)
            if (cell.size() > kKeptBytes)
                return "a cell longer than kept";
    }
    return {};
}

// Every line of the written list is an entry no longer than the limit, none empty.
std::string checkImport(const lottery::ListImport& import) {
    const std::string& bytes = import.fileBytes();
    int lines = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string_view line(bytes.data() + start, end - start);
        if (line.empty() || line.size() > lottery::kRawTextBytes)
            return "an entry empty or past the limit";
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return "an entry holds a line break";
        ++lines;
    }
    if (start != bytes.size() || lines != import.entries())
        return "the list's lines are not its entries";
    int repeated = 0;
    for (const auto& [text, count] : import.duplicates())
        repeated += count;
    if (repeated > import.entries())
        return "more duplicates than entries";
    return {};
}

} // namespace

std::string checkCsv(std::string_view input) {
    if (input.empty())
        return {};
    const lottery::ImportOptions options = optionsFrom(static_cast<unsigned char>(input[0]));
    const std::string_view file = input.substr(1);

    Rows rows;
    const lottery::RowSink keep = [&rows](const std::vector<std::string>& cells) {
        rows.push_back(cells);
        return true;
    };
    const lottery::TextSource source = lottery::textSourceOf(file);
    lottery::readCsvText(file, source, kKeptBytes, keep);
    if (std::string problem = checkRows(rows); !problem.empty())
        return problem;

    // The file is read in pieces; it must give the same rows.
    const auto path = scratchFolder() / "sheet.csv";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    lottery::TextSource fileSource = lottery::TextSource::Gbk;
    Rows fileRows;
    if (!lottery::textSourceOfFile(path, &fileSource) ||
        !lottery::readCsvFile(path, fileSource, kKeptBytes,
                              [&fileRows](const std::vector<std::string>& cells) {
                                  fileRows.push_back(cells);
                                  return true;
                              }))
        return "the written file could not be read";
    if (fileSource != source || fileRows != rows)
        return "reading the file found other rows";

    CheckServices services;
    lottery::ListImport import(options, lottery::cellEncodingOf(source), services);
    for (const auto& row : rows)
        import.addRow(row);
    return checkImport(import);
}

} // namespace fuzzchecks
