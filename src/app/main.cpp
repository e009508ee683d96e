#include "app/check_report.h"
#include "app/command_line.h"
#include "app/import_command.h"
#include "app/presenter.h"
#include "app/starting_console.h"
#include "app/verify_report.h"
#include "core/ccore.h"
#include "core/gbk_codec.h"

#include <QApplication>
#include <QDir>

#include <iostream>
#include <memory>

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> application =
        app::wantsWindow(argc, argv) ? std::make_unique<QApplication>(argc, argv)
                                     : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prizedraw"));
    const app::CommandLine command = app::parseCommandLine(QCoreApplication::arguments());
    if (command.action != app::CommandLine::Action::Present)
        app::useStartingConsole();

    // Every text is GBK: without the codec nothing could be read or shown.
    const bool printsOnly = command.action == app::CommandLine::Action::Check ||
                            command.action == app::CommandLine::Action::Verify ||
                            command.action == app::CommandLine::Action::Import;
    const bool needsCodec = printsOnly || command.action == app::CommandLine::Action::Present;
    if (needsCodec && !core::GbkCodec::available()) {
        const QString problem =
            QStringLiteral("本程序所用的 Qt 缺少 GBK 文字编码（Qt Core5Compat），无法读取或显示"
                           "活动文件，程序将退出。");
        if (printsOnly)
            std::cerr << "prizedraw: " << problem.toStdString() << "\n";
        else
            core::CCore::msgboxWarning(nullptr, problem);
        return 1;
    }

    switch (command.action) {
    case app::CommandLine::Action::Help:
    case app::CommandLine::Action::Version:
        std::cout << command.text.toStdString() << (command.text.endsWith('\n') ? "" : "\n");
        return 0;
    case app::CommandLine::Action::Error:
        std::cerr << "prizedraw: " << command.text.toStdString() << "\n"
                  << "Try 'prizedraw --help'.\n";
        // Started from a shortcut, no one reads the terminal.
        if (!printsOnly && !command.missingFolder.isEmpty() &&
            qobject_cast<QApplication*>(application.get()))
            core::CCore::msgboxWarning(
                nullptr, QStringLiteral("找不到活动文件夹 %1。\n\n请检查启动命令或快捷方式中给出的"
                                        "文件夹，程序将退出。")
                             .arg(QDir::toNativeSeparators(command.missingFolder)));
        return 2;
    case app::CommandLine::Action::Check:
        return app::runCheckReport(command.folder, command.allEntries, std::cout);
    case app::CommandLine::Action::Verify:
        return app::runVerifyReport(command.folder, command.resultsFile, std::cout);
    case app::CommandLine::Action::Import:
        return app::runImportCommand(command, std::cout, std::cerr);
    case app::CommandLine::Action::Present:
        break;
    }
    return app::runPresenter(command.folder, command.console);
}
