// The longest the user-interface thread stays busy at one go, once an event of 10000, 100000
// or 1,000,000 entries (about 10000 of them winners already) is loaded: opening the prize list and
// the results, the import preview of a workbook of as many rows, and a stop with its record.
// Target: 100 ms. The time reported is that longest stretch.
#include "app/draw_session.h"
#include "app/main_window.h"
#include "core/gbk_codec.h"
#include "core/message_box_hook.h"
#include "dialogs/import_list_dialog.h"
#include "dialogs/prize_list_dialog.h"
#include "dialogs/results_dialog.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr int kEarlierWinners = 10020; // 334 whole rounds of 30

std::string gbk(const char* utf8) {
    return core::GbkCodec::fromUtf8(utf8);
}

// The longest stretch between the event loop's waits, from reset() on.
class BusyMeter {
public:
    BusyMeter() {
        auto* dispatcher = QAbstractEventDispatcher::instance();
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [this] { start(); });
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] { stop(); });
        clock_.start();
    }
    void reset() {
        longest_ = 0;
        start();
    }
    double longestSeconds() {
        stop();
        return static_cast<double>(longest_) / 1e9;
    }

private:
    void start() {
        since_ = clock_.nsecsElapsed();
        busy_ = true;
    }
    void stop() {
        if (busy_)
            longest_ = std::max(longest_, clock_.nsecsElapsed() - since_);
        busy_ = false;
    }

    QElapsedTimer clock_;
    qint64 since_ = 0;
    qint64 longest_ = 0;
    bool busy_ = false;
};

// A loaded event in the middle of its draw: one prize of 30 a round, entries entries and
// kEarlierWinners winners recorded, the program resuming it.
class LoadedEvent {
public:
    explicit LoadedEvent(int entries) : entries_(entries) {
        const std::string folder = dir_.path().toStdString();
        QDir().mkpath(dir_.path() + "/data");
        std::ofstream(folder + "/data/_prize.txt", std::ios::binary)
            << "A`" << gbk("一等奖") << "`a.png`1`40000`30`\r\n";
        std::ofstream(folder + "/prizedraw.ini") << "[General]\nhide=0\nprint=0\nmuse=1\n";
        std::ofstream items(folder + "/data/_items.txt", std::ios::binary);
        for (int i = 0; i < entries; ++i)
            items << entryText(i) << "\r\n";
        std::ofstream results(folder + "/data/_result.txt", std::ios::binary);
        results << gbk("抽奖开始日期：") << "2026-01-01 10:00:00\r\n";
        for (int w = 0; w < kEarlierWinners; ++w)
            results << "2026-01-01 10:00:01\tA\t" << gbk("一等奖") << '\t' << w / 30 + 1 << '\t'
                    << w % 30 + 1 << '\t' << entryText(w * (entries / kEarlierWinners)) << "\r\n";
        results.close();
        items.close();
        core::MessageBoxHook resume; // answers yes: the draw goes on
        window_ = std::make_unique<app::MainWindow>(dir_.path(), QSize(1920, 1080));
        window_->show();
        QTest::qWait(500);
    }

    app::MainWindow& window() { return *window_; }
    int entries() const { return entries_; }
    QString folder() const { return dir_.path(); }

private:
    static std::string entryText(int i) {
        return gbk("张三") + std::to_string(i % 1000) + ' ' + gbk("销售部") + ' ' +
               std::to_string(13800000000LL + i);
    }

    int entries_;
    QTemporaryDir dir_;
    std::unique_ptr<app::MainWindow> window_;
};

LoadedEvent& eventOf(int entries) {
    static std::unique_ptr<LoadedEvent> event;
    if (!event || event->entries() != entries) {
        event.reset();
        event = std::make_unique<LoadedEvent>(entries);
    }
    return *event;
}

BusyMeter& meter() {
    static BusyMeter busy;
    return busy;
}

// Opens the modal T with open, lets it paint, then closes it.
template <typename T> double longestWhileOpen(const std::function<void()>& open) {
    QTimer::singleShot(300, [] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()))
            modal->reject();
    });
    meter().reset();
    open();
    return meter().longestSeconds();
}

void prizeList(benchmark::State& state) {
    LoadedEvent& event = eventOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        state.SetIterationTime(
            longestWhileOpen<dialogs::PrizeListDialog>([&] { event.window().OnPrizeList(); }));
}

void results(benchmark::State& state) {
    LoadedEvent& event = eventOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        state.SetIterationTime(
            longestWhileOpen<dialogs::ResultsDialog>([&] { event.window().OnResults(); }));
}

// A roll of half a second, then the stop that records the round and shows it.
void stopWithRecord(benchmark::State& state) {
    LoadedEvent& event = eventOf(static_cast<int>(state.range(0)));
    app::DrawSession* draw = event.window().session();
    for (auto _ : state) {
        draw->advance();
        QTest::qWait(500);
        meter().reset();
        draw->advance();
        QTest::qWait(200);
        state.SetIterationTime(meter().longestSeconds());
        draw->advance(); // on to the next round
    }
}

// The preview of a workbook of as many rows as entries, read and shown; then cancelled.
void importPreview(benchmark::State& state) {
    LoadedEvent& event = eventOf(static_cast<int>(state.range(0)));
    const QString workbook = event.folder() + "/list.xlsx";
    if (QProcess::execute(MAKE_WORKBOOK_EXE, {workbook, QString::number(event.entries())}) != 0) {
        state.SkipWithError("make_workbook failed");
        return;
    }
    for (auto _ : state) {
        meter().reset();
        dialogs::ImportListDialog dialog(workbook, event.window().paths().participantFile,
                                         event.window().core(), &event.window());
        dialog.show();
        QTest::qWait(50);
        while (dialog.reading())
            QTest::qWait(20);
        QTest::qWait(200);
        state.SetIterationTime(meter().longestSeconds());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // By size, so each event loads once.
    for (const int entries : {10000, 100000, 1000000}) {
        for (const auto& [name, run] :
             {std::pair{"prizeList", &prizeList}, std::pair{"results", &results},
              std::pair{"stopWithRecord", &stopWithRecord},
              std::pair{"importPreview", &importPreview}})
            benchmark::RegisterBenchmark(
                (std::string(name) + "/" + std::to_string(entries)).c_str(), run)
                ->Arg(entries)
                ->Iterations(3)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
