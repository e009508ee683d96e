#include "support/draw_bench.h"
#include "tickets/ticket_printer.h"
#include "tickets/ticket_spooler.h"
#include "tickets/ticket_view.h"

#include <QProcess>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>

#include <mutex>

namespace {

// What a command prints, or nothing when it fails.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The QR codes zbarimg finds in an image, one per line.
QString scanned(const QString& image) {
    return run(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), image});
}

// Holds each batch until released, as a slow printer does; or, out of paper, fails it.
class TestPrinter : public tickets::TicketPrinter {
public:
    explicit TestPrinter(bool outOfPaper) : outOfPaper(outOfPaper) {}
    bool print(const std::vector<tickets::Ticket>& tickets, QString* problem) override {
        printed += static_cast<int>(tickets.size());
        if (outOfPaper)
            return *problem = QStringLiteral("缺纸"), false;
        release.acquire();
        const std::lock_guard<std::mutex> lock(mutex);
        for (const tickets::Ticket& ticket : tickets)
            codes << ticket.code;
        return true;
    }
    const bool outOfPaper;
    std::atomic<int> printed{0};
    QSemaphore release;
    std::mutex mutex;
    QStringList codes;
};

// Ten entries and one prize of two rounds of two, tickets on.
struct Event : DrawBench {
    Event() : DrawBench(numbered(10)) {
        addPrize("A", 4, 2);
        data.options.print = 1;
    }
};

} // namespace

class TicketsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pdfTicketReadsAndScans_data() {
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("replacement");
        QTest::newRow("58 mm") << 58 << false;
        QTest::newRow("80 mm, replacement") << 80 << true;
    }

    void pdfTicketReadsAndScans() {
        QFETCH(int, paper);
        QFETCH(bool, replacement);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("ticket.pdf"));
        const tickets::Ticket ticket{QStringLiteral("一等奖"),
                                     QStringLiteral("张三 13800138000"),
                                     2,
                                     7,
                                     replacement,
                                     QStringLiteral("2026-12-07 20:15:03"),
                                     QStringLiteral("0f3a9c2e7b1d4a56")};
        tickets::QtTicketPrinter printer({}, paper, pdf);
        QString problem;
        QVERIFY2(printer.print({ticket}, &problem), qPrintable(problem));

        // pdftotext drops some blanks between characters of different scripts.
        const QString text =
            run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).remove(QLatin1Char(' '));
        for (const QString& expected : {ticket.prizeTitle, ticket.entry, ticket.time, ticket.code,
                                        QStringLiteral("第 2 轮 第 7 位")})
            QVERIFY2(text.contains(QString(expected).remove(QLatin1Char(' '))),
                     qPrintable(expected + " not in " + text));
        QCOMPARE(text.contains(QStringLiteral("补抽")), replacement);
        const QString png = dir.filePath(QStringLiteral("page"));
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, png});
        QCOMPARE(scanned(png + QStringLiteral(".png")), ticket.code);
    }

    // The draw goes on while the printer holds the first round's tickets; they all come out,
    // in the order of the results file.
    void slowPrinterHoldsNothingUp() {
        Event event;
        tickets::TicketSpooler spooler;
        auto printer = std::make_shared<TestPrinter>(false);
        spooler.setPrinter(printer);
        tickets::TicketView view(event.data.options, spooler, [](const QString&) {});
        event.machine.addView(view);
        event.press(4);
        QCOMPARE(event.data.options.roundIndex, 1); // the second round is on screen
        printer->release.release(2);
        QSignalSpy idle(&spooler, &tickets::TicketSpooler::idle);
        QVERIFY(idle.wait());
        QStringList onDisk;
        for (const auto& winner : event.log().winners)
            onDisk << QString::fromStdString(winner.code);
        const std::lock_guard<std::mutex> lock(printer->mutex);
        QCOMPARE(printer->codes, onDisk);
        event.machine.removeView(view);
    }

    // Paper runs out at the first round: the draw goes on, the operator hears of it once, and
    // again in the next draw.
    void failingPrinterIsToldOncePerDraw() {
        Event event;
        tickets::TicketSpooler spooler;
        auto printer = std::make_shared<TestPrinter>(true);
        spooler.setPrinter(printer);
        QStringList reports;
        tickets::TicketView view(event.data.options, spooler,
                                 [&reports](const QString& text) { reports << text; });
        event.machine.addView(view);
        for (int draw = 1; draw <= 2; ++draw) {
            event.press(4);
            QCOMPARE(event.data.options.state(), lottery::DrawState::ShowingResult);
            QTRY_COMPARE(printer->printed.load(), 4 * draw);
            QCoreApplication::processEvents();
            QCOMPARE(reports.size(), draw);
            QCOMPARE(event.log().winners.size(), 4u);
            event.machine.reset();
            event.machine.present();
        }
        QVERIFY(reports.first().contains(QStringLiteral("缺纸")));
        event.machine.removeView(view);
    }
};

QTEST_MAIN(TicketsTest)
#include "tickets_test.moc"
