// drawharness EVENT_FOLDER: loads the event's prizes and entries and runs the draw over a
// plain dark full-screen window. Space drives the draw; the window closes with Ctrl+Q.
#include "core/ccore.h"
#include "core/path_conversion.h"
#include "drawscreen/draw_key_filter.h"
#include "drawscreen/draw_window.h"
#include "lottery/draw_options_store.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QShortcut>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath()).absolutePath();
    core::CCore services(folder);
    services.autoFileConfig();
    const auto paths = lottery::EventPaths::forFolder(core::toFsPath(folder));
    lottery::LotteryData data;
    lottery::loadDrawOptions(data.options, services);
    std::vector<std::string> warnings;
    lottery::loadPrizeFile(paths.prizeFile, data.prizeTable, services, warnings);
    lottery::loadParticipantFile(paths, data.participants, data.options, services, warnings);
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "%s\n", warning.c_str());

    const QRect screen = app.primaryScreen()->geometry();
    QWidget background;
    background.setPalette(QPalette(QColor(0x20, 0x18, 0x30)));
    background.setAutoFillBackground(true);
    background.setGeometry(screen);
    const float displayScale = screen.width() <= 1120 ? 0.8f : 1.0f;
    drawscreen::DrawWindow draw(data, paths, services, displayScale, &background);
    // The background filters its keys the way the main window does.
    drawscreen::DrawKeyFilter keys([&draw] { draw.advance(); },
                                   drawscreen::DrawKeyFilter::SystemKeys::PassOn);
    background.installEventFilter(&keys);
    QShortcut quit(QKeySequence(Qt::CTRL | Qt::Key_Q), &background);
    QObject::connect(&quit, &QShortcut::activated, &background, &QWidget::close);

    background.showFullScreen();
    draw.placeWindow(drawscreen::DrawWindow::windowRectFor(screen.size()));
    draw.setFocus();
    return app.exec();
}
