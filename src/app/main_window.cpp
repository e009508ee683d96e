#include "app/main_window.h"

#include "app/event_loader.h"
#include "app/resume_offer.h"
#include "app/unsaved_results.h"
#include "core/gbk_codec.h"
#include "core/path_conversion.h"
#include "dialogs/about_dialog.h"
#include "dialogs/absent_dialog.h"
#include "dialogs/choose_prize_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/prize_list_dialog.h"
#include "dialogs/results_dialog.h"
#include "drawscreen/draw_key_filter.h"
#include "drawscreen/draw_window.h"
#include "lottery/backup_name.h"
#include "lottery/draw_machine.h"
#include "lottery/draw_options_store.h"
#include "lottery/file_text.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>

namespace app {

namespace {

constexpr int kStartupDelayMs = 200;
constexpr std::uint32_t kBackgroundFill = 0xFF094A74;

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
      askSavePath_(askSavePathWithDialog) {
    OnInitDialog();
}

MainWindow::~MainWindow() {
    shutdown();
}

float MainWindow::displayScaleFor(int screenWidth) {
    return screenWidth <= 1120 ? 0.8f : 1.0f;
}

void MainWindow::OnInitDialog() {
    setSkinFlags(kClientAreaMode);
    setWindowTitle(QStringLiteral("抽奖"));
    core_.autoFileConfig();
    paths_ = lottery::EventPaths::forFolder(core_.getAppPath());

    setGeometry(0, 0, screenSize_.width(), screenSize_.height());
    initSkin();
    setContentRect(-2, -2, screenSize_.width(), screenSize_.height());

    // The solid fill shows wherever the picture is missing or smaller than the screen.
    paint::PaintElement background(-2, -2, screenSize_.width() + 2, screenSize_.height() + 2);
    background.addColour(kBackgroundFill);
    background.addImage(0, 0, core::toQString(paths_.background), 0);
    backgroundList_.addElement(background);

    lottery::loadDrawOptions(data_.options, core_);

    keyFilter_ = std::make_unique<drawscreen::DrawKeyFilter>(
        [this] {
            if (drawWindow_)
                drawWindow_->advance();
        },
        drawscreen::DrawKeyFilter::SystemKeys::PassOn);
    installEventFilter(keyFilter_.get());

    startupTimer_.setSingleShot(true);
    connect(&startupTimer_, &QTimer::timeout, this, [this] { onStartupTimer(); });
    startupTimer_.start(kStartupDelayMs);

    // A session that ends closes no window: save all the same.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { shutdown(); });
}

void MainWindow::onStartupTimer() {
    std::vector<std::string> warnings;
    lottery::PrizeLoadReport prizeReport;
    const LoadOutcome outcome = loadEventData(paths_, data_, core_, warnings, &prizeReport);
    dataLoaded_ = true;
    if (prizeReport.altered) {
        // Writing the table back would lose what the load could not take: keep the original.
        prizeBackup_ = lottery::freeBackupPath(paths_.prizeFile.parent_path(), "bak_prize",
                                               core_.getTimeNowStr("%Y%m%d%H%M%S"));
        warnings.push_back(
            "奖项文件载入时有内容被改动或舍弃（见上）。原文件会在第一次保存奖项前另存为 " +
            lottery::pathText(prizeBackup_));
    }
    if (outcome != LoadOutcome::Ready)
        warn(loadOutcomeMessage(outcome, paths_, "\n\n"));
    warnAll(warnings);
    if (outcome == LoadOutcome::Ready)
        createDrawWindow();
}

void MainWindow::createDrawWindow() {
    const std::optional<lottery::ResultsLog> resumed = offerResume(this, data_, paths_, core_);
    drawWindow_ = new drawscreen::DrawWindow(data_, paths_, core_, displayScale_, this);
    if (resumed)
        drawWindow_->resumeAt(drawWindowRect_, *resumed);
    else
        drawWindow_->placeWindow(drawWindowRect_);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintFace(painter);
    backgroundList_.paintAll(painter, rect(), event->rect());
}

std::unique_ptr<QMenu> MainWindow::createMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QStringLiteral("奖项..."), this, &MainWindow::OnPrizeList);
    menu->addAction(QStringLiteral("抽奖结果"), this, &MainWindow::OnResults);
    // The live commands show only when the draw allows them.
    if (drawWindow_ && drawWindow_->machine().whyNoAbsentMarks().empty())
        menu->addAction(QStringLiteral("补抽…"), this, &MainWindow::OnAbsent);
    if (drawWindow_ && drawWindow_->machine().whyNoPrizeChoice().empty())
        menu->addAction(QStringLiteral("选择奖项…"), this, &MainWindow::OnChoosePrize);
    menu->addSeparator();
    menu->addAction(QStringLiteral("选项"), this, &MainWindow::OnOptions);
    menu->addAction(QStringLiteral("关于"), this, &MainWindow::OnAbout);
    menu->addSeparator();
    menu->addAction(QStringLiteral("退出"), this, &MainWindow::OnExit);
    return menu;
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu opens a little inside the content's top-left corner.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? mapToGlobal(getContentRect().topLeft()) + QPoint(5, 5)
                          : event->globalPos();
    const std::unique_ptr<QMenu> menu = createMenu();
    menu->exec(at);
}

void MainWindow::OnPrizeList() {
    const auto resetDraw = [this] {
        if (drawWindow_)
            drawWindow_->reset();
        else
            lottery::DrawMachine::resetProgress(data_.options);
    };
    dialogs::DrawGuard guard;
    if (drawWindow_) {
        const lottery::DrawMachine& machine = drawWindow_->machine();
        guard.whyNotDelete = [&machine](int i) { return machine.whyNotDelete(i); };
        guard.whyNotTotal = [&machine](int i, int total) { return machine.whyNotTotal(i, total); };
        guard.whyNotChangeId = [&machine](int i) { return machine.whyNotChangeId(i); };
    }
    dialogs::PrizeListDialog dialog(data_, paths_.participantFile, core_, resetDraw, guard, this);
    dialog.exec();
    if (dialog.participantFileOpened())
        reloadParticipants();
    if (dialog.prizesChanged()) {
        lottery::sortPrizes(data_.prizeTable);
        if (drawWindow_)
            drawWindow_->machine().prizesChanged();
        savePrizes();
    }
}

void MainWindow::OnAbsent() {
    lottery::DrawMachine& machine = drawWindow_->machine();
    std::vector<dialogs::AbsentDialog::Row> rows;
    const std::vector<int>& round = machine.roundOnScreen();
    for (std::size_t i = 0; i < round.size(); ++i) {
        if (round[i] < 0)
            continue;
        const lottery::ParticipantRecord& entry =
            data_.participants.entries[static_cast<std::size_t>(round[i])];
        rows.push_back({static_cast<int>(i) + 1, core::GbkCodec::fromGbk(entry.displayText),
                        core::GbkCodec::fromGbk(entry.rawText)});
    }
    dialogs::AbsentDialog dialog(std::move(rows), this);
    if (dialog.exec() == QDialog::Accepted)
        drawWindow_->markAbsent(dialog.absentPositions());
}

void MainWindow::OnChoosePrize() {
    lottery::DrawMachine& machine = drawWindow_->machine();
    std::vector<dialogs::ChoosePrizeDialog::Row> rows;
    for (int i = 0; i < data_.prizeTable.count(); ++i) {
        const lottery::PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(i)];
        const lottery::PrizeProgress progress = machine.progressOf(i);
        const int rounds = machine.roundsInAll(i);
        rows.push_back({core::GbkCodec::fromGbk(prize.id), core::GbkCodec::fromGbk(prize.title),
                        progress.rounds, rounds, progress.held, prize.total,
                        rounds > progress.rounds});
    }
    dialogs::ChoosePrizeDialog dialog(std::move(rows), this);
    if (dialog.exec() == QDialog::Accepted && dialog.chosenRow() >= 0)
        machine.choosePrize(dialog.chosenRow());
}

void MainWindow::reloadParticipants() {
    std::vector<std::string> warnings;
    lottery::loadParticipantFile(paths_, data_.participants, data_.options, core_, warnings);
    warnAll(warnings);
    if (drawWindow_)
        drawWindow_->participantsReloaded();
}

void MainWindow::OnResults() {
    dialogs::ResultsDialog dialog(paths_, core_, this,
                                  drawWindow_ ? &drawWindow_->machine() : nullptr);
    dialog.exec();
}

void MainWindow::OnOptions() {
    dialogs::OptionsDialog dialog(data_.options, this);
    if (dialog.exec() == QDialog::Accepted && !lottery::saveDrawOptions(data_.options, core_))
        warn("选项保存失败：无法写入 " + lottery::pathText(paths_.settingsFile));
}

void MainWindow::OnAbout() {
    dialogs::AboutDialog dialog(paths_, QStringLiteral(PRIZEDRAW_VERSION), this);
    dialog.exec();
}

void MainWindow::OnExit() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (drawWindow_ && !shutDown_ &&
        !rescueUnsavedResults(this, drawWindow_->machine(), paths_, askSavePath_)) {
        event->ignore();
        return;
    }
    shutdown();
    event->accept();
}

void MainWindow::shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    startupTimer_.stop();
    if (!lottery::saveDrawOptions(data_.options, core_))
        warn("选项保存失败：无法写入 " + lottery::pathText(paths_.settingsFile));
    // Closed before the start-up load: writing the empty table would wipe the prizes.
    if (dataLoaded_)
        savePrizes();
}

void MainWindow::savePrizes() {
    if (!prizeBackup_.empty()) {
        std::error_code error;
        std::filesystem::rename(paths_.prizeFile, prizeBackup_, error);
        if (error && core_.isFileExist(paths_.prizeFile)) {
            warn("无法把原奖项文件另存为 " + lottery::pathText(prizeBackup_) +
                 "，奖项未保存，原文件保持不变");
            return;
        }
        prizeBackup_.clear();
    }
    std::string problem;
    if (!lottery::savePrizeFile(paths_.prizeFile, data_.prizeTable, &problem))
        warn(problem);
}

void MainWindow::warn(const std::string& utf8Text) {
    core::CCore::msgboxWarning(this, QString::fromStdString(utf8Text));
}

void MainWindow::warnAll(const std::vector<std::string>& warnings) {
    if (!warnings.empty())
        core::CCore::msgboxWarning(this, joinLines(warnings));
}

} // namespace app
