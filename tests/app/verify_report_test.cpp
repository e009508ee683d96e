#include "event_files.h"
#include "program_run.h"

#include "app/event_loader.h"
#include "core/ccore.h"
#include "lottery/draw_machine.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using Run = ProgramRun;

class Silent : public lottery::DrawView, public lottery::DrawClock {
public:
    void computeNameFont() override {}
    void showPicture(const lottery::DrawPicture&) override {}
    void playCue(lottery::SoundCue) override {}
    void reportProblem(const std::string&) override {}
    void setTicking(bool) override {}
};

// A whole draw by the real machine: A (2 of 2), B (1 of 1), entries "员工 1" .. "员工 6".
void drawIn(const QString& folder) {
    writeGbk(folder + "/data/_prize.txt",
             QStringLiteral("A`一等奖``1`2`2`\r\nB`二等奖``2`1`1`\r\n"));
    QString items;
    for (int i = 1; i <= 6; ++i)
        items += QStringLiteral("员工 %1\r\n").arg(i);
    writeGbk(folder + "/data/_items.txt", items);
    core::CCore services(folder);
    const auto paths = lottery::EventPaths::forFolder(services.getAppPath());
    auto data = std::make_unique<lottery::LotteryData>();
    std::vector<std::string> warnings;
    QCOMPARE(app::loadEventData(paths, *data, services, warnings), app::LoadOutcome::Ready);
    Silent silent;
    lottery::DrawMachine machine(*data, paths, services, silent);
    for (int i = 0; i < 4; ++i)
        machine.advance();
}

} // namespace

class VerifyReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsWhatWasChanged_data();
    void findsWhatWasChanged();
};

void VerifyReportTest::findsWhatWasChanged_data() {
    QTest::addColumn<int>("line"); // the results line whose last byte changes; 0 for none
    QTest::addColumn<int>("exitCode");
    QTest::newRow("clean draw") << 0 << 0;
    QTest::newRow("one byte of a winner changed") << 5 << 1;
}

// Lines of the results file: start, two fingerprints, the winners of A, B's, the end.
void VerifyReportTest::findsWhatWasChanged() {
    QFETCH(int, line);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    drawIn(dir.path());
    const QString results = dir.filePath("data/_result.txt");
    if (line > 0) {
        QFile file(results);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QList<QByteArray> lines = file.readAll().split('\n');
        lines[line - 1][lines[line - 1].size() - 2] = '7';
        file.resize(0);
        file.write(lines.join('\n'));
    }
    const auto before = filesBelow(dir.path());
    const Run run({QStringLiteral("--verify"), dir.path()});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(filesBelow(dir.path()), before);
    QVERIFY(run.lines.contains("fingerprint\tparticipants\t" +
                               QCryptographicHash::hash(before[dir.filePath("data/_items.txt")],
                                                        QCryptographicHash::Sha256)
                                   .toHex() +
                               "\tmatch"));
    QCOMPARE(run.lines.filter(QRegularExpression("^winners\t")),
             (QStringList{"winners\tA\t一等奖\t2", "winners\tB\t二等奖\t1"}));
    if (line == 0) {
        QVERIFY(run.lines.contains("chain\tok"));
        QCOMPARE(run.lines.last(), QStringLiteral("ok"));
    } else {
        QVERIFY2(run.lines.contains(QStringLiteral("chain\tbroken\t%1").arg(line)),
                 qPrintable(run.lines.join('\n')));
        QVERIFY(run.lines.last().startsWith("problem\t"));
        QVERIFY(!run.lines.contains("ok"));
    }
}

QTEST_GUILESS_MAIN(VerifyReportTest)
#include "verify_report_test.moc"
