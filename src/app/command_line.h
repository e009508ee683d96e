#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace app {

// What the command line asks for.
struct CommandLine {
    enum class Action { Present, Check, Verify, Import, Help, Version, Error };

    Action action = Action::Present;
    QString folder;          // the event folder; empty means the executable's folder
    bool allEntries = false; // --all: the check lists every entry
    bool console = false;    // --console: the operator's console even on one screen
    QString resultsFile;     // --verify: the results file to check; empty means the folder's
    QString text;            // help text, version line or error message
    QString importFile;      // --import: the spreadsheet to take the participants from
    int sheet = 1;           // --sheet: from 1
    QList<int> columns{1};   // --columns: from 1, in the order they join
    bool headerRow = false;  // --header: the first row names the columns
    bool allowCut = false;   // --allow-cut: an import over capacity writes what fits
    QString missingFolder;   // the folder named when it is no folder (with Action::Error)
};

// Needs a QCoreApplication for the help text. A folder that is not a directory, a second
// folder and unknown options are errors.
CommandLine parseCommandLine(const QStringList& arguments);

// False when the arguments hold an option other than --console: checks, help, version and
// errors print only and must work without a display.
bool wantsWindow(int argc, char* argv[]);

} // namespace app
