#include "app/event_chooser.h"

#include "app/event_folder_setup.h"
#include "app/event_name.h"
#include "app/recent_events.h"
#include "app/screen_roles.h"
#include "core/ccore.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace app {

namespace {

QScreen* operatorScreen() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    QList<ScreenInfo> infos;
    for (const QScreen* screen : screens)
        infos.append(
            {screen->name(), screen->geometry(), screen == QGuiApplication::primaryScreen()});
    // No event yet, so no stored choice: the default roles, with a place for the console.
    const ScreenRoles roles = assignScreenRoles(infos, QString(), true);
    return roles.operatorScreen >= 0 ? screens.at(roles.operatorScreen)
                                     : QGuiApplication::primaryScreen();
}

// The recent events, then those under the documents folder this user never opened here,
// such as the installer's demo.
QStringList knownEvents() {
    QStringList events = recentEvents();
    const QDir root(EventChooser::eventsRoot());
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = QDir::cleanPath(root.absoluteFilePath(name));
        if (isEventFolder(folder) && !events.contains(folder))
            events << folder;
    }
    return events;
}

} // namespace

EventChooser::EventChooser(const QStringList& recent, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("选择活动"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("最近打开的活动，和文档文件夹里的活动："), this));
    recentList_ = new QListWidget(this);
    for (const QString& folder : recent) {
        auto* item =
            new QListWidgetItem(QStringLiteral("%1　　%2")
                                    .arg(QDir(folder).dirName(), QDir::toNativeSeparators(folder)),
                                recentList_);
        item->setData(Qt::UserRole, folder);
    }
    layout->addWidget(recentList_);

    auto* buttons = new QHBoxLayout;
    openRecentButton_ = new QPushButton(QStringLiteral("打开所选活动"), this);
    auto* newButton = new QPushButton(QStringLiteral("新建活动…"), this);
    auto* openButton = new QPushButton(QStringLiteral("打开活动…"), this);
    auto* quitButton = new QPushButton(QStringLiteral("退出"), this);
    for (QPushButton* button : {openRecentButton_, newButton, openButton, quitButton})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    connect(openRecentButton_, &QPushButton::clicked, this, &EventChooser::openRecent);
    connect(recentList_, &QListWidget::itemActivated, this, &EventChooser::openRecent);
    connect(newButton, &QPushButton::clicked, this, &EventChooser::newEvent);
    connect(openButton, &QPushButton::clicked, this, &EventChooser::openFolder);
    connect(quitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence::New, this), &QShortcut::activated, this,
            &EventChooser::newEvent);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this,
            &EventChooser::openFolder);

    // The last event opened comes first and is the one Return opens.
    const bool anyRecent = recentList_->count() > 0;
    openRecentButton_->setEnabled(anyRecent);
    if (anyRecent) {
        recentList_->setCurrentRow(0);
        openRecentButton_->setDefault(true);
        recentList_->setFocus();
    } else {
        newButton->setDefault(true);
        newButton->setFocus();
    }
    resize(640, 360);
}

QString EventChooser::eventsRoot() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return QDir(documents).filePath(QStringLiteral("prizedraw"));
}

void EventChooser::newEvent() {
    const QString root = eventsRoot();
    QInputDialog ask(this);
    ask.setWindowTitle(QStringLiteral("新建活动"));
    ask.setLabelText(
        QStringLiteral("活动名称（将建在 %1 中）：").arg(QDir::toNativeSeparators(root)));
    ask.setOkButtonText(QStringLiteral("确定"));
    ask.setCancelButtonText(QStringLiteral("取消"));
    QString name;
    for (;;) {
        if (ask.exec() != QDialog::Accepted)
            return;
        name = ask.textValue();
        const QString problem = eventNameProblem(name, root);
        if (problem.isEmpty())
            break;
        core::CCore::msgboxWarning(this, problem);
    }
    const QString folder = QDir(root).filePath(name);
    if (!QDir().mkpath(folder)) {
        core::CCore::msgboxWarning(this, QStringLiteral("无法创建活动文件夹 %1。\n\n请检查文档"
                                                        "文件夹是否可写，或用“打开活动…”另选一个"
                                                        "文件夹。")
                                             .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    choose(folder);
}

void EventChooser::openFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("打开活动文件夹"),
        recentList_->count() > 0 ? recentList_->item(0)->data(Qt::UserRole).toString()
                                 : eventsRoot());
    if (!folder.isEmpty())
        choose(folder);
}

void EventChooser::openRecent() {
    if (const QListWidgetItem* item = recentList_->currentItem())
        choose(item->data(Qt::UserRole).toString());
}

void EventChooser::choose(const QString& folder) {
    chosen_ = QDir::cleanPath(QDir(folder).absolutePath());
    accept();
}

QString chooseEvent() {
    EventChooser chooser(knownEvents());
    QScreen* screen = operatorScreen();
    chooser.move(screen->availableGeometry().center() - chooser.rect().center());
    return chooser.exec() == QDialog::Accepted ? chooser.chosenFolder() : QString();
}

} // namespace app
