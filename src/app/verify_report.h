#pragma once

#include <QString>

#include <ostream>

namespace app {

// Checks the results file of folder (empty: the executable's folder), or resultsFile when
// given, against the folder's participant and prize files: the fingerprints, the chain codes,
// and that the winners keep the draw's rules. Writes UTF-8, one tab-separated item a line,
// ending with "ok" or "problem" lines. Changes nothing.
// Returns 0 when everything holds, 1 otherwise.
int runVerifyReport(const QString& folder, const QString& resultsFile, std::ostream& out);

} // namespace app
