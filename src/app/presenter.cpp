#include "app/presenter.h"

#include "app/main_window.h"

#include <QApplication>
#include <QScreen>

namespace app {

int runPresenter(const QString& folder) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    MainWindow window(folder, screen->size());
    window.showFullScreen();
    return QApplication::exec();
}

} // namespace app
