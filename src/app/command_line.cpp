#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstring>

namespace app {

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Full-screen prize-draw presenter. The event folder holds bg.jpg, "
                       "data/, img/, music/ and prizedraw.ini."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Print what the program would load from the folder and change nothing."));
    const QCommandLineOption verify(
        QStringLiteral("verify"),
        QStringLiteral("Check the results file (or RESULTS_FILE) against the folder's files: "
                       "fingerprints, chain codes, the draw's rules. Changes nothing."));
    const QCommandLineOption all(
        QStringLiteral("all"), QStringLiteral("With --check: list every entry, not the first 10."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Print the version."));
    const QCommandLineOption console(
        QStringLiteral("console"),
        QStringLiteral("Open the operator's console even with one screen (for a rehearsal)."));
    parser.addOption(check);
    parser.addOption(verify);
    parser.addOption(all);
    parser.addOption(console);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        QStringLiteral("The event folder (default: the program's folder)."),
        QStringLiteral("[FOLDER]"));
    parser.addPositionalArgument(QStringLiteral("results"),
                                 QStringLiteral("With --verify: the results file to check."),
                                 QStringLiteral("[RESULTS_FILE]"));

    CommandLine command;
    const auto fail = [&command](const QString& message) {
        command.action = CommandLine::Action::Error;
        command.text = message;
        return command;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        command.action = CommandLine::Action::Help;
        command.text = parser.helpText();
        return command;
    }
    if (parser.isSet(version)) {
        command.action = CommandLine::Action::Version;
        command.text = QStringLiteral("prizedraw " PRIZEDRAW_VERSION);
        return command;
    }
    QStringList folders = parser.positionalArguments();
    if (parser.isSet(verify) && parser.isSet(check))
        return fail(QStringLiteral("--verify and --check go one at a time."));
    if (parser.isSet(verify) && folders.size() == 2) {
        if (!QFileInfo(folders.last()).isFile())
            return fail(QStringLiteral("No such results file: %1").arg(folders.last()));
        command.resultsFile = folders.takeLast();
    }
    if (folders.size() > 1)
        return fail(QStringLiteral("Only one folder may be given."));
    if (!folders.isEmpty()) {
        if (!QFileInfo(folders.first()).isDir())
            return fail(QStringLiteral("No such folder: %1").arg(folders.first()));
        command.folder = folders.first();
    }
    if (parser.isSet(all) && !parser.isSet(check))
        return fail(QStringLiteral("--all goes with --check."));
    if (parser.isSet(console) && (parser.isSet(check) || parser.isSet(verify)))
        return fail(QStringLiteral("--console opens the presenter; it does not go with --check "
                                   "or --verify."));
    command.allEntries = parser.isSet(all);
    command.console = parser.isSet(console);
    command.action = parser.isSet(check)    ? CommandLine::Action::Check
                     : parser.isSet(verify) ? CommandLine::Action::Verify
                                            : CommandLine::Action::Present;
    return command;
}

bool wantsWindow(int argc, char* argv[]) {
    // The presenter takes only --console; any other option means printed output or an error.
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-' && std::strcmp(argv[i], "--console") != 0)
            return false;
    return true;
}

} // namespace app
