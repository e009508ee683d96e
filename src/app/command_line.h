#pragma once

#include <QString>
#include <QStringList>

namespace app {

// What the command line asks for.
struct CommandLine {
    enum class Action { Present, Check, Verify, Help, Version, Error };

    Action action = Action::Present;
    QString folder;          // the event folder; empty means the executable's folder
    bool allEntries = false; // --all: the check lists every entry
    bool console = false;    // --console: the operator's console even on one screen
    QString resultsFile;     // --verify: the results file to check; empty means the folder's
    QString text;            // help text, version line or error message
};

// Needs a QCoreApplication for the help text. A folder that is not a directory, a second
// folder and unknown options are errors.
CommandLine parseCommandLine(const QStringList& arguments);

// False when the arguments hold an option other than --console: checks, help, version and
// errors print only and must work without a display.
bool wantsWindow(int argc, char* argv[]);

} // namespace app
