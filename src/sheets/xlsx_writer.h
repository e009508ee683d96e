#pragma once

#include <QString>

#include <string>
#include <vector>

namespace sheets {

// A sheet of a workbook to write: its name and its rows of UTF-8 texts.
struct TextSheet {
    QString name;
    std::vector<std::vector<std::string>> rows;
};

// Writes sheets, in order, as a new workbook (.xlsx), every cell a text so that a phone
// number or an id keeps every digit. The workbook is written beside path, put on the disk
// and then renamed over it, so a failed write leaves path as it was. *problem says in
// Chinese what failed.
bool writeTextWorkbook(const QString& path, const std::vector<TextSheet>& sheets, QString* problem);

} // namespace sheets
