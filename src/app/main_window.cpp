#include "app/main_window.h"

#include "app/draw_session.h"
#include "app/event_loader.h"
#include "app/picture_listener.h"
#include "app/resume_offer.h"
#include "app/screen_placement.h"
#include "app/unsaved_results.h"
#include "console/console_window.h"
#include "core/gbk_codec.h"
#include "core/path_conversion.h"
#include "dialogs/about_dialog.h"
#include "dialogs/absent_dialog.h"
#include "dialogs/choose_prize_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/prize_list_dialog.h"
#include "dialogs/results_dialog.h"
#include "drawscreen/cue_player.h"
#include "drawscreen/draw_key_filter.h"
#include "drawscreen/draw_window.h"
#include "drawscreen/sound_output.h"
#include "drawscreen/stage_background.h"
#include "lottery/draw_machine.h"
#include "lottery/draw_options_store.h"
#include "lottery/file_text.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"
#include "lottery/results_log.h"
#include "tickets/ticket_service.h"
#include "tickets/ticket_settings.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinterInfo>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace app {

namespace {

constexpr int kStartupDelayMs = 200;
constexpr std::uint32_t kBackgroundFill = 0xFF094A74;
constexpr char kPrepareHint[] = "请单击右键打开菜单，在“奖项...”中添加奖项、导入名单；"
                                "奖项和名单都有了，即可按空格键开始抽奖。";

QString joinLines(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines)
        texts << QString::fromStdString(line);
    return texts.join(QLatin1Char('\n'));
}

} // namespace

MainWindow::MainWindow(const QString& appFolder, QSize screenSize)
    : core_(appFolder), screenSize_(screenSize), displayScale_(displayScaleFor(screenSize.width())),
      drawWindowRect_(drawscreen::DrawWindow::windowRectFor(screenSize)),
      askSavePath_(askSavePathWithDialog),
      prizeStore_(lottery::EventPaths::forFolder(core_.getAppPath()).prizeFile) {
    OnInitDialog();
}

MainWindow::~MainWindow() {
    shutdown();
    // The views go before the draw they show.
    if (console_)
        closeConsole();
    tickets_.reset();
    delete drawWindow_;
}

float MainWindow::displayScaleFor(int screenWidth) {
    return screenWidth <= 1120 ? 0.8f : 1.0f;
}

void MainWindow::OnInitDialog() {
    setWindowTitle(QStringLiteral("抽奖"));
    paths_ = lottery::EventPaths::forFolder(core_.getAppPath());

    setGeometry(0, 0, screenSize_.width(), screenSize_.height());
    initSkin();
    // The layout and theme decide the draw window's place and the background.
    lottery::loadDrawOptions(data_.options, core_);
    layOutFor(screenSize_);

    keyFilter_ = std::make_unique<drawscreen::DrawKeyFilter>(
        [this] {
            if (session_)
                press();
        },
        drawscreen::DrawKeyFilter::SystemKeys::PassOn);
    installEventFilter(keyFilter_.get());

    startupTimer_.setSingleShot(true);
    connect(&startupTimer_, &QTimer::timeout, this, [this] { onStartupTimer(); });
    startupTimer_.start(kStartupDelayMs);

    // A session that ends closes no window: save all the same.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { shutdown(); });
}

void MainWindow::layOutFor(QSize screen) {
    screenSize_ = screen;
    displayScale_ = displayScaleFor(screen.width());
    drawWindowRect_ = drawscreen::DrawWindow::windowRectFor(screen, data_.options.stage.layout);
    setContentRect(-2, -2, screen.width(), screen.height());
    // The solid fill shows wherever the picture is missing or smaller than the screen.
    paint::PaintElement background(-2, -2, screen.width() + 2, screen.height() + 2);
    background.addColour(kBackgroundFill);
    background.addImage(0, 0, core::toQString(paths_.background), 0);
    backgroundList_ = paint::PaintElementList();
    backgroundList_.addElement(background);
    stageBackground_ =
        bigScreen() ? drawscreen::StageBackground::forScreen(core::toQString(paths_.background),
                                                             data_.options.stage.theme, screen)
                    : QImage();
    previewBackground_ = QImage();
    if (drawWindow_) {
        drawWindow_->setDisplayScale(displayScale_);
        drawWindow_->placeWindow(drawWindowRect_);
    }
    update();
}

void MainWindow::onStartupTimer() {
    std::vector<std::string> warnings;
    lottery::PrizeLoadReport prizeReport;
    const LoadOutcome outcome = loadEventData(paths_, data_, core_, warnings, &prizeReport);
    if (outcome == LoadOutcome::LinkedOutside) {
        // Not a file is written: the settings at exit would go through the link too.
        shutDown_ = true;
        warn(loadOutcomeMessage(outcome, paths_, "\n\n"));
        QCoreApplication::exit(1);
        return;
    }
    const std::string backupNote =
        prizeStore_.loaded(prizeReport, core_.getTimeNowStr("%Y%m%d%H%M%S"));
    if (!backupNote.empty())
        warnings.push_back(backupNote);
    // The draw window, and the console beside it, first: every message goes to the console.
    if (outcome == LoadOutcome::Ready)
        openDraw();
    // One box for everything the start found: several in a row would hide the first.
    warnings.insert(warnings.begin(), startupProblems_.begin(), startupProblems_.end());
    if (outcome != LoadOutcome::Ready)
        warnings.insert(warnings.begin(),
                        loadOutcomeMessage(outcome, paths_, "\n\n") + "\n\n" + kPrepareHint);
    warnAll(warnings);
    if (outcome == LoadOutcome::Ready)
        placeDrawWindow();
}

void MainWindow::openDraw() {
    session_ = std::make_unique<DrawSession>(data_, paths_, core_);
    drawWindow_ = new drawscreen::DrawWindow(
        data_, paths_, session_->machine(), [this] { press(); }, displayScale_, this);
    session_->machine().setPrizeSaver([this] { savePrizes(); });
    tickets_ = std::make_unique<tickets::TicketService>(
        session_->machine(), data_.options, [this](const QString& text) { reportProblem(text); });
    tickets_->usePrinterOf(core_.settings());
    if (roles_.console)
        openConsole();
}

void MainWindow::openDrawOnceReady() {
    if (session_ || shutDown_ || data_.prizeTable.count() == 0)
        return;
    std::vector<std::string> warnings;
    lottery::loadParticipantFile(paths_, data_.participants, data_.options, core_, warnings);
    if (data_.participants.count() == 0)
        return;
    openDraw();
    warnAll(warnings);
    placeDrawWindow();
}

void MainWindow::placeDrawWindow() {
    const std::optional<lottery::ResultsLog> resumed =
        offerResume(dialogOwner(), data_, paths_, core_);
    drawWindow_->placeWindow(drawWindowRect_);
    if (resumed)
        session_->resume(*resumed);
}

void MainWindow::press() {
    if (drawWindow_ && drawWindow_->takePress())
        return;
    session_->advance();
}

bool MainWindow::bigScreen() const {
    return data_.options.stage.layout == lottery::ScreenLayout::BigScreen;
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintFace(painter, event->rect());
    if (!stageBackground_.isNull())
        painter.drawImage(event->rect(), stageBackground_, event->rect());
    else
        backgroundList_.paintAll(painter, rect(), event->rect());
}

QImage MainWindow::audienceView() {
    constexpr int kStep = 4;
    const QSize size = screenSize_ / kStep;
    if (previewBackground_.size() != size) {
        QImage full(screenSize_, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&full);
        if (!stageBackground_.isNull())
            painter.drawImage(0, 0, stageBackground_);
        else
            backgroundList_.paintAll(painter, QRect(QPoint(0, 0), screenSize_), full.rect());
        painter.end();
        previewBackground_ = full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QImage view = previewBackground_;
    if (drawWindow_ && drawWindow_->isVisible()) {
        QPainter painter(&view);
        drawWindow_->paintShown(painter, drawWindowRect_.topLeft(), kStep);
    }
    return view;
}

std::unique_ptr<QMenu> MainWindow::createMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QStringLiteral("奖项..."), this, &MainWindow::OnPrizeList);
    menu->addAction(QStringLiteral("抽奖结果"), this, &MainWindow::OnResults);
    // The live commands show only when the draw allows them.
    if (session_ && session_->machine().whyNoAbsentMarks().empty())
        menu->addAction(QStringLiteral("补抽…"), this, &MainWindow::OnAbsent);
    if (session_ && session_->machine().whyNoPrizeChoice().empty())
        menu->addAction(QStringLiteral("选择奖项…"), this, &MainWindow::OnChoosePrize);
    menu->addSeparator();
    menu->addAction(QStringLiteral("选项"), this, &MainWindow::OnOptions);
    menu->addAction(QStringLiteral("关于"), this, &MainWindow::OnAbout);
    menu->addSeparator();
    menu->addAction(QStringLiteral("退出"), this, &MainWindow::OnExit);
    return menu;
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // With a console no menu opens in front of the audience: the console has the commands.
    if (console_)
        return;
    // From the keyboard the menu opens a little inside the content's top-left corner.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? mapToGlobal(getContentRect().topLeft()) + QPoint(5, 5)
                          : event->globalPos();
    const std::unique_ptr<QMenu> menu = createMenu();
    menu->exec(at);
}

void MainWindow::OnPrizeList() {
    const auto resetDraw = [this] {
        if (session_)
            session_->reset();
        else
            lottery::DrawMachine::resetProgress(data_.options);
    };
    dialogs::DrawGuard guard;
    if (session_) {
        const lottery::DrawMachine& machine = session_->machine();
        guard.whyNotDelete = [&machine](int i) { return machine.whyNotDelete(i); };
        guard.whyNotTotal = [&machine](int i, int total) { return machine.whyNotTotal(i, total); };
        guard.whyNotChangeId = [&machine](int i) { return machine.whyNotChangeId(i); };
        guard.drawInProgress = [&machine] { return machine.inProgress(); };
    }
    dialogs::PrizeListDialog dialog(data_, paths_.participantFile, core_, resetDraw, guard,
                                    dialogOwner());
    dialog.exec();
    // Without a draw the list is read below, once there are prizes.
    if (dialog.participantFileOpened() && session_)
        reloadParticipants();
    if (dialog.prizesChanged()) {
        if (session_)
            session_->machine().prizesChanged();
        else
            lottery::sortPrizes(data_.prizeTable);
        savePrizes();
    }
    // A new event: the draw can begin as soon as it has prizes and a list.
    openDrawOnceReady();
}

void MainWindow::OnAbsent() {
    std::vector<dialogs::AbsentDialog::Row> rows;
    const std::vector<std::string>& round = session_->machine().roundOnScreen();
    for (std::size_t i = 0; i < round.size(); ++i) {
        if (round[i].empty())
            continue;
        rows.push_back({static_cast<int>(i) + 1,
                        core::GbkCodec::fromGbk(lottery::maskedText(round[i], data_.options)),
                        core::GbkCodec::fromGbk(round[i])});
    }
    dialogs::AbsentDialog dialog(std::move(rows), dialogOwner());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The draw may have moved on while the dialog was open: say so rather than nothing.
    if (const std::string why = session_->machine().whyNoAbsentMarks(); !why.empty())
        warn("未记为缺席：" + why);
    else
        session_->declareAbsent(dialog.absentPositions());
}

void MainWindow::OnChoosePrize() {
    const lottery::DrawMachine& machine = session_->machine();
    std::vector<dialogs::ChoosePrizeDialog::Row> rows;
    for (int i = 0; i < data_.prizeTable.count(); ++i) {
        const lottery::PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(i)];
        const lottery::PrizeProgress progress = machine.progressOf(i);
        const int rounds = machine.roundsInAll(i);
        rows.push_back({core::GbkCodec::fromGbk(prize.id), core::GbkCodec::fromGbk(prize.title),
                        progress.rounds, rounds, progress.held, prize.total, machine.canChoose(i)});
    }
    dialogs::ChoosePrizeDialog dialog(std::move(rows), dialogOwner());
    if (dialog.exec() != QDialog::Accepted || dialog.chosenRow() < 0)
        return;
    const int row = dialog.chosenRow();
    if (const std::string why = machine.whyNoPrizeChoice(); !why.empty())
        warn("未选择奖项：" + why);
    else if (row >= data_.prizeTable.count() || !machine.canChoose(row))
        warn("未选择奖项：这个奖项已没有剩余的轮次。");
    else
        session_->choosePrize(row);
}

void MainWindow::reloadParticipants() {
    std::vector<std::string> warnings;
    lottery::loadParticipantFile(paths_, data_.participants, data_.options, core_, warnings);
    warnAll(warnings);
    if (session_) {
        drawWindow_->namesReread();
        session_->machine().participantsReloaded();
    }
}

void MainWindow::OnResults() {
    dialogs::ResultsDialog dialog(paths_, core_, dialogOwner(),
                                  session_ ? &session_->machine() : nullptr);
    if (tickets_)
        dialog.setReprint([this](const auto& winners) { tickets_->reprint(winners); });
    dialog.exec();
}

void MainWindow::OnOptions() {
    tickets::TicketSettings ticketSettings = tickets::TicketSettings::load(core_.settings());
    dialogs::OptionsDialog dialog(data_.options, ticketSettings,
                                  QPrinterInfo::availablePrinterNames(), dialogOwner());
    const std::unique_ptr<drawscreen::SoundOutput> sound = drawscreen::makeSystemSoundOutput();
    dialog.addLookAndSoundPage(paths_, [this, &sound](const QString& file) {
        sound->stopAll();
        sound->load(drawscreen::CuePlayer::fileOf(file));
        sound->setVolume(data_.options.stage.volume);
        sound->play(drawscreen::SoundOutput::Playback::Once);
    });
    const lottery::StageOptions before = data_.options.stage;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    sound->stopAll();
    // Files may have been put in place even when a later one failed and the dialog was left.
    if (dialog.mediaChanged())
        layOutFor(screenSize_);
    if (!accepted)
        return;
    if (before.layout != data_.options.stage.layout || before.theme != data_.options.stage.theme)
        layOutFor(screenSize_);
    if (!lottery::saveDrawOptions(data_.options, core_) || !ticketSettings.save(core_.settings()))
        warn("选项保存失败：无法写入 " + lottery::pathText(paths_.settingsFile));
    if (session_) {
        tickets_->usePrinterOf(core_.settings());
        session_->machine().present();
    }
}

void MainWindow::OnAbout() {
    dialogs::AboutDialog dialog(paths_, QStringLiteral(PRIZEDRAW_VERSION), dialogOwner());
    dialog.exec();
}

void MainWindow::OnExit() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A stray Alt+F4 or menu click must not end the show.
    if (session_ && !shutDown_ && session_->machine().inProgress() &&
        core::CCore::msgboxConfirm(dialogOwner(),
                                   QStringLiteral("抽奖还没有结束，确定要退出吗？\n\n"
                                                  "下次打开这个活动时，可以接着抽奖。"),
                                   QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    if (session_ && !shutDown_ &&
        !rescueUnsavedResults(dialogOwner(), session_->machine(), paths_, askSavePath_)) {
        event->ignore();
        return;
    }
    shutdown();
    // The program ends with the presenter: the console goes with it.
    if (console_)
        closeConsole();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The console's own close button would leave the operator without control: 退出 ends.
    if (console_ && watched == console_.get() && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void MainWindow::shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    startupTimer_.stop();
    if (!lottery::saveDrawOptions(data_.options, core_))
        warn("选项保存失败：无法写入 " + lottery::pathText(paths_.settingsFile));
    savePrizes();
}

void MainWindow::savePrizes() {
    std::string problem;
    if (!prizeStore_.save(data_.prizeTable, &problem))
        warn(problem);
}

QWidget* MainWindow::dialogOwner() {
    if (console_)
        return console_.get();
    // Two screens and no console (the event did not load): a box of its own, in front on
    // the operator's screen, never over the audience's.
    if (roles_.consoleMaximized)
        return nullptr;
    return this;
}

void MainWindow::useScreens(bool consoleAsked) {
    consoleAsked_ = consoleAsked;
    screens_ = currentScreens();
    roles_ = assignScreenRoles(screens_, storedAudience(), consoleAsked_);
    placePresenter();
    connect(qApp, &QGuiApplication::screenAdded, this, [this] { followScreens(); });
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] { followScreens(); });
}

QList<ScreenInfo> MainWindow::currentScreens() {
    QList<ScreenInfo> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        // Separate X screens may all be called alike: a stored choice must name one.
        QString name = screen->name();
        for (int n = 2; std::any_of(screens.begin(), screens.end(),
                                    [&name](const ScreenInfo& s) { return s.name == name; });
             ++n)
            name = screen->name() + QLatin1Char('#') + QString::number(n);
        screens.append({name, screen->geometry(), screen == primary});
    }
    return screens;
}

QString MainWindow::storedAudience() {
    return core_.settings().text(core::Setting::Audience);
}

void MainWindow::followScreens() {
    // Qt still lists a screen that is going while screenRemoved is delivered: look later.
    QTimer::singleShot(0, this, [this] {
        const QList<ScreenInfo> now = currentScreens();
        roles_ = followScreenChange(screens_, roles_, now, storedAudience(), consoleAsked_);
        screens_ = now;
        placePresenter();
        if (roles_.console && !console_ && session_)
            openConsole();
        else if (!roles_.console && console_)
            closeConsole();
        else if (console_)
            placeConsole();
    });
}

QScreen* MainWindow::screenAt(int index) const {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size())
        return QGuiApplication::primaryScreen();
    return screens.at(index);
}

void MainWindow::placePresenter() {
    QScreen* screen = screenAt(roles_.audience);
    if (screen->size() != screenSize_)
        layOutFor(screen->size());
    placeOnScreen(*this, screen, Placement::FullScreen);
}

void MainWindow::openConsole() {
    lottery::DrawMachine& machine = session_->machine();
    console::ConsoleCommands commands;
    commands.press = [this] { press(); };
    commands.absent = [this] { OnAbsent(); };
    commands.choosePrize = [this] { OnChoosePrize(); };
    commands.prizeList = [this] { OnPrizeList(); };
    commands.options = [this] { OnOptions(); };
    commands.results = [this] { OnResults(); };
    commands.about = [this] { OnAbout(); };
    commands.exit = [this] { OnExit(); };
    commands.swapScreens = [this] { OnSwapScreens(); };
    console_ = std::make_unique<console::ConsoleWindow>(data_, machine, std::move(commands),
                                                        [this] { return audienceView(); });
    console_->setWindowTitle(QStringLiteral("抽奖控制台"));
    console_->installEventFilter(this);
    machine.addView(*console_);
    resultsFeed_ = std::make_unique<PictureListener>([this](const lottery::DrawPicture& picture) {
        if (console_ && picture.screen != lottery::DrawPicture::Screen::Rolling)
            console_->refreshResults(session_->machine().results());
    });
    machine.addView(*resultsFeed_);
    drawWindow_->setProblemsShownElsewhere(true);
    placeConsole();
    console_->showPicture(machine.picture());
    resultsFeed_->showPicture(machine.picture());
}

void MainWindow::placeConsole() {
    console_->setSwapAvailable(roles_.consoleMaximized);
    placeOnScreen(*console_, screenAt(roles_.operatorScreen),
                  roles_.consoleMaximized ? Placement::Maximized : Placement::Normal);
}

void MainWindow::closeConsole() {
    lottery::DrawMachine& machine = session_->machine();
    machine.removeView(*console_);
    machine.removeView(*resultsFeed_);
    drawWindow_->setProblemsShownElsewhere(false);
    console_.reset();
    resultsFeed_.reset();
}

void MainWindow::OnSwapScreens() {
    const std::optional<SwappedRoles> swapped = swapScreenRoles(screens_, roles_);
    if (!swapped)
        return;
    roles_ = swapped->roles;
    placePresenter();
    if (console_)
        placeConsole();
    // Kept only once the windows are where the choice says.
    if (screen() != screenAt(roles_.audience) ||
        (console_ && console_->screen() != screenAt(roles_.operatorScreen))) {
        reportProblem(QStringLiteral("交换屏幕未完成：窗口没能移到另一个屏幕上，屏幕选择未保存。"));
        return;
    }
    core::Settings& settings = core_.settings();
    settings.set(core::Setting::Audience, swapped->storedAudience);
    if (!settings.sync())
        reportProblem(
            QStringLiteral("无法把屏幕选择保存到 %1，下次启动时抽奖画面仍在原来的屏幕上。")
                .arg(core::toQString(paths_.settingsFile)));
}

void MainWindow::warn(const std::string& utf8Text) {
    core::CCore::msgboxWarning(dialogOwner(), QString::fromStdString(utf8Text));
}

void MainWindow::reportProblem(const QString& text) {
    if (console_)
        console_->reportProblem(text.toStdString());
    else
        core::CCore::msgboxWarning(dialogOwner(), text);
}

void MainWindow::warnAll(const std::vector<std::string>& warnings) {
    if (!warnings.empty())
        core::CCore::msgboxWarning(dialogOwner(), joinLines(warnings));
}

} // namespace app
