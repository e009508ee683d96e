#include "console/console_window.h"

#include "console/console_key_filter.h"
#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "dialogs/results_sheet.h"
#include "lottery/sha256.h"
#include "paint/qr_code.h"
#include "ui_console_window.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTime>

#include <array>
#include <optional>
#include <utility>

namespace console {

namespace {

using Screen = lottery::DrawPicture::Screen;

QString stateText(Screen screen) {
    switch (screen) {
    case Screen::Ready:
        return QStringLiteral("准备");
    case Screen::Rolling:
        return QStringLiteral("抽取中");
    case Screen::Result:
        return QStringLiteral("显示结果");
    case Screen::Finished:
        break;
    }
    return QStringLiteral("已结束");
}

// Labels are set at every frame of a roll: only a change costs a layout.
void setText(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

void setLines(QListWidget* list, const QStringList& lines) {
    QStringList now;
    for (int row = 0; row < list->count(); ++row)
        now << list->item(row)->text();
    if (now == lines)
        return;
    list->clear();
    list->addItems(lines);
}

} // namespace

ConsoleWindow::ConsoleWindow(const lottery::LotteryData& data, const lottery::DrawMachine& machine,
                             ConsoleCommands commands, std::function<QImage()> audienceCanvas,
                             QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ConsoleWindow>()), data_(data), machine_(machine),
      commands_(std::move(commands)), audienceCanvas_(std::move(audienceCanvas)),
      previewTimer_(this) {
    ui_->setupUi(this);
    ui_->prizeTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const std::array<std::pair<QPushButton*, std::function<void()>*>, 9> buttons = {{
        {ui_->pressButton, &commands_.press},
        {ui_->absentButton, &commands_.absent},
        {ui_->choosePrizeButton, &commands_.choosePrize},
        {ui_->prizeListButton, &commands_.prizeList},
        {ui_->optionsButton, &commands_.options},
        {ui_->resultsButton, &commands_.results},
        {ui_->aboutButton, &commands_.about},
        {ui_->exitButton, &commands_.exit},
        {ui_->swapButton, &commands_.swapScreens},
    }};
    for (const auto& [button, command] : buttons)
        connect(button, &QPushButton::clicked, this, [command = command] {
            if (*command)
                (*command)();
        });
    setSwapAvailable(false);

    previewTimer_.setObjectName(QStringLiteral("previewTimer"));
    previewTimer_.setInterval(kPreviewPeriodMs);
    connect(&previewTimer_, &QTimer::timeout, this, [this] { refreshPreview(); });

    // On the application, so that the keys of every child, present and future, pass it.
    keys_ = new ConsoleKeyFilter(this, [this] {
        if (commands_.press)
            commands_.press();
    });
    qApp->installEventFilter(keys_);

    showPicture(machine_.picture());
}

ConsoleWindow::~ConsoleWindow() = default;

void ConsoleWindow::showPicture(const lottery::DrawPicture& picture) {
    // Within a roll only the names change, and the preview's timer copies those.
    const bool stillRolling = picture.screen == Screen::Rolling && previewTimer_.isActive();
    if (stillRolling)
        return;
    refreshPrizeTable(picture);
    setText(ui_->stateLabel, QStringLiteral("状态：") + stateText(picture.screen));
    setText(ui_->currentStepLabel, QString::fromStdString(picture.status.current));
    setText(ui_->nextStepLabel, QString::fromStdString(picture.status.next));
    setText(
        ui_->commitmentLabel,
        picture.participantsFingerprint.empty()
            ? QStringLiteral("名单 %1 条，名单文件无法读取，没有指纹").arg(picture.participantCount)
            : QStringLiteral("名单 %1 条　指纹 %2")
                  .arg(picture.participantCount)
                  .arg(QString::fromStdString(
                      lottery::shortFingerprint(picture.participantsFingerprint))));
    ui_->commitmentLabel->setToolTip(QString::fromStdString(picture.participantsFingerprint));
    showChainCode(picture.chainCode);
    refreshRound(picture);
    ui_->pressButton->setText(QString::fromStdString(machine_.nextPressLabel()));
    ui_->absentButton->setEnabled(machine_.whyNoAbsentMarks().empty());
    ui_->choosePrizeButton->setEnabled(machine_.whyNoPrizeChoice().empty());
    // A roll changes the audience screen every 40 ms; a few copies a second are enough here.
    if (picture.screen == Screen::Rolling) {
        if (!previewTimer_.isActive()) {
            refreshPreview();
            previewTimer_.start();
        }
    } else {
        previewTimer_.stop();
        refreshPreview();
    }
}

void ConsoleWindow::refreshPrizeTable(const lottery::DrawPicture& picture) {
    QTableWidget* table = ui_->prizeTable;
    const int count = data_.prizeTable.count();
    if (table->rowCount() != count)
        table->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const lottery::PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(row)];
        const lottery::PrizeProgress progress = machine_.progressOf(row);
        const std::array<QString, 3> cells = {
            core::GbkCodec::fromGbk(prize.title),
            QStringLiteral("%1/%2").arg(progress.rounds).arg(machine_.roundsInAll(row)),
            QStringLiteral("%1/%2").arg(progress.held).arg(prize.total) +
                (progress.closed > 0
                     ? QStringLiteral("（空缺 %1：候选人不足）").arg(progress.closed)
                     : QString()),
        };
        QFont font = table->font();
        font.setBold(row == picture.prizeIndex && picture.screen != Screen::Ready);
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            QTableWidgetItem* item = table->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                table->setItem(row, column, item);
            }
            // Unchanged data costs nothing: the item compares it first.
            item->setText(cells[static_cast<std::size_t>(column)]);
            item->setFont(font);
        }
    }
}

void ConsoleWindow::refreshRound(const lottery::DrawPicture& picture) {
    QStringList lines;
    const bool shown = picture.screen == Screen::Rolling || picture.screen == Screen::Result;
    const bool known = picture.prizeIndex >= 0 && picture.prizeIndex < data_.prizeTable.count();
    if (shown && known) {
        const lottery::PrizeRecord& prize =
            data_.prizeTable.prizes[static_cast<std::size_t>(picture.prizeIndex)];
        ui_->roundBox->setTitle(QStringLiteral("本轮中奖者：") +
                                core::GbkCodec::fromGbk(prize.title) +
                                QStringLiteral(" 第%1轮").arg(picture.roundIndex + 1));
        // What the results say of each position of this round.
        const lottery::PrizeLedger* recorded = ledger_.find(
            lottery::keyOfLine({{}, prize.id, prize.title, 0, 0, {}}, data_.prizeTable));
        const auto round = static_cast<std::size_t>(picture.roundIndex);
        const std::vector<std::string>& holders = machine_.roundOnScreen();
        for (std::size_t i = 0; i < holders.size(); ++i) {
            const lottery::SeatState* seat =
                recorded && round < recorded->rounds.size() && i < recorded->rounds[round].size()
                    ? &recorded->rounds[round][i]
                    : nullptr;
            QString line = QStringLiteral("%1. ").arg(i + 1);
            line += holders[i].empty() ? QStringLiteral("（空缺，待补抽）")
                                       : core::GbkCodec::fromGbk(holders[i]);
            // Only when the results agree with the screen: they may be older.
            if (seat && seat->holder >= 0 &&
                log_.winners[static_cast<std::size_t>(seat->holder)].rawText == holders[i] &&
                log_.winners[static_cast<std::size_t>(seat->holder)].status ==
                    lottery::WinnerStatus::Replacement)
                line += QStringLiteral("（补抽）");
            if (seat && !seat->absent.empty())
                line += QStringLiteral("　缺席：") +
                        core::GbkCodec::fromGbk(
                            log_.winners[static_cast<std::size_t>(seat->absent.back())].rawText);
            lines << line;
        }
    } else {
        ui_->roundBox->setTitle(QStringLiteral("本轮中奖者"));
    }
    setLines(ui_->roundList, lines);
}

// The code of the last line written, to photograph and compare with --verify's "final".
void ConsoleWindow::showChainCode(const std::string& code) {
    if (shownChainCode_ && *shownChainCode_ == code)
        return;
    shownChainCode_ = code;
    ui_->chainLabel->setToolTip(QString::fromStdString(code));
    ui_->chainLabel->setText(code.empty()
                                 ? QStringLiteral("链码：尚未开始")
                                 : QStringLiteral("链码 ") +
                                       QString::fromStdString(lottery::shortFingerprint(code)));
    ui_->chainQrLabel->setVisible(!code.empty());
    if (code.empty())
        return;
    QImage qr(160, 160, QImage::Format_RGB32);
    qr.fill(Qt::white);
    QPainter painter(&qr);
    paint::drawQrCode(painter, paint::qrCodeImage(QByteArray::fromStdString(code)), qr.rect());
    painter.end();
    ui_->chainQrLabel->setPixmap(QPixmap::fromImage(qr));
}

void ConsoleWindow::refreshPreview() {
    const QImage canvas = audienceCanvas_ ? audienceCanvas_() : QImage();
    QLabel* label = ui_->previewLabel;
    if (canvas.isNull()) {
        label->setPixmap({});
        return;
    }
    label->setPixmap(QPixmap::fromImage(
        canvas.scaled(label->size(), Qt::KeepAspectRatio, Qt::FastTransformation)));
}

void ConsoleWindow::reportProblem(const std::string& utf8Message) {
    ui_->problemList->insertItem(0, QTime::currentTime().toString(QStringLiteral("HH:mm:ss  ")) +
                                        QString::fromStdString(utf8Message));
}

void ConsoleWindow::reportNotice(const std::string& utf8Message) {
    reportProblem(utf8Message);
    core::CCore::msgboxWarning(this, QString::fromStdString(utf8Message));
}

void ConsoleWindow::setSwapAvailable(bool available) {
    ui_->swapButton->setEnabled(available);
}

void ConsoleWindow::refreshResults(const lottery::ResultsLog& log) {
    log_ = log;
    ledger_ = lottery::readLedger(log_, data_.prizeTable);
    QStringList lines;
    for (auto drawn = ledger_.drawn.rbegin(); drawn != ledger_.drawn.rend(); ++drawn) {
        const lottery::WinnerRecord* it = &log_.winners[static_cast<std::size_t>(drawn->line)];
        const std::string_view status = dialogs::statusText(drawn->status);
        // Joined, not substituted: a title or entry may hold "%1" itself.
        QString line = QString::fromStdString(it->time) + QStringLiteral("  ") +
                       core::GbkCodec::fromGbk(it->prizeTitle) +
                       QStringLiteral(" 第%1轮第%2位  ").arg(it->round).arg(it->position) +
                       core::GbkCodec::fromGbk(it->rawText) + QStringLiteral("  ") +
                       QString::fromUtf8(status.data(), static_cast<qsizetype>(status.size()));
        if (!it->saved)
            line += QStringLiteral("（未保存）");
        lines << line;
    }
    setLines(ui_->resultsList, lines);
    refreshRound(machine_.picture());
}

} // namespace console
