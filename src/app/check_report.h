#pragma once

#include <QString>

#include <ostream>

namespace app {

// Loads folder (empty: the executable's folder) as the program does at start-up and
// writes what it found to out: UTF-8, one tab-separated item a line; allEntries lists every
// entry and the texts several entries share. Saves nothing.
// Returns 0 when a draw could start, 1 when prizes or entries are missing.
int runCheckReport(const QString& folder, bool allEntries, std::ostream& out);

} // namespace app
