#pragma once

#include <QString>

#include <string>
#include <vector>

namespace sheets {

// Writes rows of UTF-8 texts as the one sheet of a new workbook (.xlsx), every cell a text
// so that a phone number or an id keeps every digit. The workbook is written beside path and
// then renamed over it, so a failed write leaves path as it was. *problem says in Chinese
// what failed.
bool writeTextWorkbook(const QString& path, const QString& sheetName,
                       const std::vector<std::vector<std::string>>& rows, QString* problem);

} // namespace sheets
