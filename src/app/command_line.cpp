#include "app/command_line.h"

#include "lottery/column_list.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstring>

namespace app {

namespace {

struct Options {
    QCommandLineOption help, check, verify, all, version, console, import, sheet, columns, header,
        allowCut;
};

Options declareOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Full-screen prize-draw presenter. The event folder holds bg.jpg, "
                       "data/, img/, music/ and prizedraw.ini."));
    const auto option = [](const char* name, const char* description, const char* value = "") {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                                  QString::fromLatin1(value));
    };
    Options o{
        parser.addHelpOption(),
        option("check", "Print what the program would load from the folder and change nothing."),
        option("verify", "Check the results file (or RESULTS_FILE) against the folder's files: "
                         "fingerprints, chain codes, the draw's rules. Changes nothing."),
        option("all", "With --check: list every entry, not the first 10."),
        QCommandLineOption(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                           QStringLiteral("Print the version.")),
        option("console", "Open the operator's console even with one screen (for a rehearsal)."),
        option("import",
               "Make the participant list (data/_items.txt) from FILE (.xlsx, .csv or .txt); the "
               "old list is kept as data/bak_items<time>.txt.",
               "FILE"),
        option("sheet", "With --import: the workbook's sheet N (default 1).", "N"),
        option("columns",
               "With --import: the columns that make an entry, joined with a blank in this order "
               "(default 1).",
               "1,3"),
        option("header", "With --import: the first row is a header."),
        option("allow-cut", "With --import: when the file holds more entries than the list "
                            "takes, write the first ones that fit (without it nothing is "
                            "written)."),
    };
    parser.addOptions({o.check, o.allowCut, o.import, o.sheet, o.columns, o.header, o.verify, o.all,
                       o.console, o.version});
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        QStringLiteral("The event folder (default: the program's folder)."),
        QStringLiteral("[FOLDER]"));
    parser.addPositionalArgument(QStringLiteral("results"),
                                 QStringLiteral("With --verify: the results file to check."),
                                 QStringLiteral("[RESULTS_FILE]"));
    return o;
}

// Options that do not go together; empty when they do.
QString whyNotTogether(const QCommandLineParser& parser, const Options& o) {
    const bool check = parser.isSet(o.check), verify = parser.isSet(o.verify),
               import = parser.isSet(o.import);
    if (int(verify) + int(check) + int(import) > 1)
        return QStringLiteral("--verify, --check and --import go one at a time.");
    if (!import && (parser.isSet(o.sheet) || parser.isSet(o.columns) || parser.isSet(o.header) ||
                    parser.isSet(o.allowCut)))
        return QStringLiteral("--sheet, --columns, --header and --allow-cut go with --import.");
    if (parser.isSet(o.all) && !check)
        return QStringLiteral("--all goes with --check.");
    if (parser.isSet(o.console) && (check || verify || import))
        return QStringLiteral("--console opens the presenter; it does not go with --check, "
                              "--verify or --import.");
    return {};
}

// The --import options; an error message, empty when they are fine.
QString readImportOptions(const QCommandLineParser& parser, const Options& o,
                          CommandLine& command) {
    if (parser.isSet(o.sheet)) {
        bool ok = false;
        command.sheet = parser.value(o.sheet).toInt(&ok);
        if (!ok || command.sheet < 1)
            return QStringLiteral("--sheet takes a sheet number from 1.");
    }
    if (parser.isSet(o.columns)) {
        const auto chosen = lottery::parseColumnList(parser.value(o.columns).toStdString());
        if (!chosen)
            return QStringLiteral("--columns takes column numbers from 1, such as 1,3.");
        command.columns = QList<int>(chosen->begin(), chosen->end());
    }
    command.importFile = parser.value(o.import);
    command.headerRow = parser.isSet(o.header);
    command.allowCut = parser.isSet(o.allowCut);
    return {};
}

// The event folder and, with --verify, the results file; an error message, empty when fine.
QString readFolders(QStringList folders, bool verify, CommandLine& command) {
    if (verify && folders.size() == 2) {
        if (!QFileInfo(folders.last()).isFile())
            return QStringLiteral("No such results file: %1").arg(folders.last());
        command.resultsFile = folders.takeLast();
    }
    if (folders.size() > 1)
        return QStringLiteral("Only one folder may be given.");
    if (!folders.isEmpty()) {
        if (!QFileInfo(folders.first()).isDir()) {
            command.missingFolder = folders.first();
            return QStringLiteral("No such folder: %1").arg(folders.first());
        }
        command.folder = folders.first();
    }
    return {};
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const Options o = declareOptions(parser);
    CommandLine command;
    const auto fail = [&command](const QString& message) {
        command.action = CommandLine::Action::Error;
        command.text = message;
        return command;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(o.help) || parser.isSet(QStringLiteral("help-all"))) {
        command.action = CommandLine::Action::Help;
        command.text = parser.helpText();
        return command;
    }
    if (parser.isSet(o.version)) {
        command.action = CommandLine::Action::Version;
        command.text = QStringLiteral("prizedraw " PRIZEDRAW_VERSION);
        return command;
    }
    QString problem = whyNotTogether(parser, o);
    if (problem.isEmpty())
        problem = readImportOptions(parser, o, command);
    if (problem.isEmpty())
        problem = readFolders(parser.positionalArguments(), parser.isSet(o.verify), command);
    if (!problem.isEmpty())
        return fail(problem);
    command.allEntries = parser.isSet(o.all);
    command.console = parser.isSet(o.console);
    command.action = parser.isSet(o.check)    ? CommandLine::Action::Check
                     : parser.isSet(o.verify) ? CommandLine::Action::Verify
                     : parser.isSet(o.import) ? CommandLine::Action::Import
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
