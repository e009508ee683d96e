#include "event_files.h"
#include "program_run.h"
#include "support/recording_view.h"

#include "app/event_loader.h"
#include "core/ccore.h"
#include "lottery/draw_machine.h"
#include "lottery/results_chain.h"
#include "lottery/results_log.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

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
    RecordingView silent;
    lottery::DrawMachine machine(*data, paths, services, silent);
    for (int i = 0; i < 4; ++i)
        machine.advance();
}

QByteArray gbk(const char* utf8) {
    return QByteArray::fromStdString(*core::GbkCodec::toGbkStrict(QString::fromUtf8(utf8)));
}

// The chain codes worked out again after lines were changed, as anyone holding the file can.
QByteArray rechained(const QByteArray& bytes, bool chain = true) {
    QList<QByteArray> lines = bytes.split('\n');
    std::string previous;
    for (QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        line.chop(1); // CR
        if (line.startsWith('#'))
            line = line.mid(18);
        if (previous.empty() || line.startsWith(gbk("抽奖开始日期"))) {
            previous = lottery::ownCode(line.toStdString());
        } else if (chain) {
            previous = lottery::chainCode(previous, line.toStdString());
            line = "#" + QByteArray::fromStdString(previous) + "\t" + line;
        }
        line += '\r';
    }
    return lines.join('\n');
}

QByteArray withoutLines(const QByteArray& bytes, const QByteArray& containing) {
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeIf([&](const QByteArray& line) { return line.contains(containing); });
    return lines.join('\n');
}

} // namespace

class VerifyReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsWhatWasChanged_data();
    void findsWhatWasChanged();
};

enum class Forgery {
    None,
    Stripped,       // every chain code taken out
    NoFingerprints, // both fingerprint lines taken out, the chain worked out again
    NewList,        // another list, its fingerprint and the chain worked out again
    SecondStart,    // the draw's lines after an earlier draw's
    Torn,           // a last line without its end
    Short,          // the last prize's round and the end line taken out
};
Q_DECLARE_METATYPE(Forgery)

void VerifyReportTest::findsWhatWasChanged_data() {
    QTest::addColumn<Forgery>("forgery");
    QTest::addColumn<QString>("found"); // a line the report must hold
    QTest::newRow("clean draw") << Forgery::None << "ok";
    QTest::newRow("chain codes stripped") << Forgery::Stripped << "chain\tunchained";
    QTest::newRow("fingerprints removed")
        << Forgery::NoFingerprints << "fingerprint\tparticipants\tnone";
    QTest::newRow("list replaced, chain recomputed") << Forgery::NewList << "chain\tok";
    QTest::newRow("second start line") << Forgery::SecondStart << "chain\tok";
    QTest::newRow("torn line") << Forgery::Torn << "torn\t8";
    QTest::newRow("short prize") << Forgery::Short << "short\tB\t二等奖\t0\t1\t抽奖尚未结束";
}

// Lines of the results file: start, two fingerprints, the winners of A, B's, the end. No
// forgery passes; the clean draw does, with the code to compare with a photograph. A byte
// changed in a line is the live draw's last step.
void VerifyReportTest::findsWhatWasChanged() {
    QFETCH(Forgery, forgery);
    QFETCH(QString, found);
    QTemporaryDir dir;
    drawIn(dir.path());
    QFile file(dir.filePath("data/_result.txt"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    switch (forgery) {
    case Forgery::None:
        break;
    case Forgery::Stripped:
        bytes = rechained(bytes, false);
        break;
    case Forgery::NoFingerprints:
        bytes = rechained(withoutLines(withoutLines(bytes, gbk("名单指纹")), gbk("奖项指纹")));
        break;
    case Forgery::NewList: {
        const QString items = dir.filePath("data/_items.txt");
        const auto digest = [&items] {
            return QCryptographicHash::hash(filesBelow(QFileInfo(items).path())[items],
                                            QCryptographicHash::Sha256)
                .toHex();
        };
        const QByteArray drawn = digest();
        writeGbk(items, QStringLiteral("亲友 1\r\n亲友 2\r\n亲友 3\r\n"));
        bytes = rechained(bytes.replace(drawn, digest()));
        break;
    }
    case Forgery::SecondStart:
        bytes = rechained(bytes + bytes);
        break;
    case Forgery::Torn:
        bytes += "#0123456789abcdef\t2026";
        break;
    case Forgery::Short:
        bytes = bytes.left(bytes.indexOf("\tB\t"));
        bytes = bytes.left(bytes.lastIndexOf('\n') + 1);
        break;
    }
    file.resize(0);
    file.write(bytes);
    file.close();
    const auto before = filesBelow(dir.path());
    const ProgramRun run({QStringLiteral("--verify"), dir.path()});
    QCOMPARE(filesBelow(dir.path()), before);
    QVERIFY2(run.lines.contains(found), qPrintable(run.lines.join('\n')));
    QCOMPARE(run.exitCode, forgery == Forgery::None ? 0 : 1);
    QCOMPARE(run.lines.last() == "ok", forgery == Forgery::None);
    if (forgery == Forgery::None) {
        QVERIFY(run.lines.contains("winners\tA\t一等奖\t2\t2"));
        QVERIFY(run.lines.filter(QRegularExpression("^final\t[0-9a-f]{16}$")).size() == 1);
    }
}

QTEST_GUILESS_MAIN(VerifyReportTest)
#include "verify_report_test.moc"
