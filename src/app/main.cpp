#include "app/check_report.h"
#include "app/command_line.h"
#include "app/presenter.h"

#include <QApplication>

#include <iostream>
#include <memory>

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> application =
        app::wantsWindow(argc, argv) ? std::make_unique<QApplication>(argc, argv)
                                     : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prizedraw"));
    const app::CommandLine command = app::parseCommandLine(QCoreApplication::arguments());

    switch (command.action) {
    case app::CommandLine::Action::Help:
    case app::CommandLine::Action::Version:
        std::cout << command.text.toStdString() << (command.text.endsWith('\n') ? "" : "\n");
        return 0;
    case app::CommandLine::Action::Error:
        std::cerr << "prizedraw: " << command.text.toStdString() << "\n"
                  << "Try 'prizedraw --help'.\n";
        return 2;
    case app::CommandLine::Action::Check:
        return app::runCheckReport(command.folder, command.allEntries, std::cout);
    case app::CommandLine::Action::Present:
        break;
    }
    return app::runPresenter(command.folder);
}
