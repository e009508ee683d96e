#pragma once

#include "app/command_line.h"

#include <ostream>

namespace app {

// prizedraw --import: makes the folder's participant list from the spreadsheet without a
// window. Prints UTF-8 tab-separated lines to out (entries, duplicates, skipped rows, cuts,
// the backup) and problems to err. Returns 0 when the list was written, 1 when nothing could
// be imported (an unreadable file, no entries, the folder held by a running copy, a failed
// write).
int runImportCommand(const CommandLine& command, std::ostream& out, std::ostream& err);

} // namespace app
