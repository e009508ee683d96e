#include "app/command_line.h"

#include "lottery/column_list.h"

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
    const QCommandLineOption import(
        QStringLiteral("import"),
        QStringLiteral("Make the participant list (data/_items.txt) from FILE (.xlsx, .csv or "
                       ".txt); the old list is kept as data/bak_items<time>.txt."),
        QStringLiteral("FILE"));
    const QCommandLineOption sheet(QStringLiteral("sheet"),
                                   QStringLiteral("With --import: the workbook's sheet N "
                                                  "(default 1)."),
                                   QStringLiteral("N"));
    const QCommandLineOption columns(
        QStringLiteral("columns"),
        QStringLiteral("With --import: the columns that make an entry, joined with a blank "
                       "in this order (default 1)."),
        QStringLiteral("1,3"));
    const QCommandLineOption header(QStringLiteral("header"),
                                    QStringLiteral("With --import: the first row is a header."));
    const QCommandLineOption allowCut(
        QStringLiteral("allow-cut"),
        QStringLiteral("With --import: when the file holds more entries than the list takes, "
                       "write the first ones that fit (without it nothing is written)."));
    parser.addOption(check);
    parser.addOption(allowCut);
    parser.addOption(import);
    parser.addOption(sheet);
    parser.addOption(columns);
    parser.addOption(header);
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
    if (int(parser.isSet(verify)) + int(parser.isSet(check)) + int(parser.isSet(import)) > 1)
        return fail(QStringLiteral("--verify, --check and --import go one at a time."));
    if (!parser.isSet(import) && (parser.isSet(sheet) || parser.isSet(columns) ||
                                  parser.isSet(header) || parser.isSet(allowCut)))
        return fail(
            QStringLiteral("--sheet, --columns, --header and --allow-cut go with --import."));
    if (parser.isSet(sheet)) {
        bool ok = false;
        command.sheet = parser.value(sheet).toInt(&ok);
        if (!ok || command.sheet < 1)
            return fail(QStringLiteral("--sheet takes a sheet number from 1."));
    }
    if (parser.isSet(columns)) {
        const auto chosen = lottery::parseColumnList(parser.value(columns).toStdString());
        if (!chosen)
            return fail(QStringLiteral("--columns takes column numbers from 1, such as 1,3."));
        command.columns = QList<int>(chosen->begin(), chosen->end());
    }
    command.importFile = parser.value(import);
    command.headerRow = parser.isSet(header);
    command.allowCut = parser.isSet(allowCut);
    if (parser.isSet(verify) && folders.size() == 2) {
        if (!QFileInfo(folders.last()).isFile())
            return fail(QStringLiteral("No such results file: %1").arg(folders.last()));
        command.resultsFile = folders.takeLast();
    }
    if (folders.size() > 1)
        return fail(QStringLiteral("Only one folder may be given."));
    if (!folders.isEmpty()) {
        if (!QFileInfo(folders.first()).isDir()) {
            command.missingFolder = folders.first();
            return fail(QStringLiteral("No such folder: %1").arg(folders.first()));
        }
        command.folder = folders.first();
    }
    if (parser.isSet(all) && !parser.isSet(check))
        return fail(QStringLiteral("--all goes with --check."));
    if (parser.isSet(console) &&
        (parser.isSet(check) || parser.isSet(verify) || parser.isSet(import)))
        return fail(QStringLiteral("--console opens the presenter; it does not go with --check, "
                                   "--verify or --import."));
    command.allEntries = parser.isSet(all);
    command.console = parser.isSet(console);
    command.action = parser.isSet(check)    ? CommandLine::Action::Check
                     : parser.isSet(verify) ? CommandLine::Action::Verify
                     : parser.isSet(import) ? CommandLine::Action::Import
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
