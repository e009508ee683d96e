#include "event_files.h"

#include <QDateTime>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The program run to its end: exit code, output lines and error text.
struct Run {
    explicit Run(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(PRIZEDRAW_EXE), arguments);
        if (!process.waitForFinished(30000))
            return;
        exitCode = process.exitCode();
        lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        errors = QString::fromUtf8(process.readAllStandardError());
    }
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

// Every file and folder below root with its size and modification time.
QStringList snapshot(const QString& root) {
    QStringList rows;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        rows << info.filePath() + ' ' + QString::number(info.size()) + ' ' +
                    QString::number(info.lastModified().toMSecsSinceEpoch());
    }
    rows.sort();
    return rows;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The option lines for the values of hide, print, muse, hstart and hend.
QStringList optionLines(const QString& values) {
    const QStringList names{"hide", "print", "muse", "hstart", "hend"};
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << "option\t" + names[i] + '\t' + values.section(' ', i, i);
    return lines;
}

const QString kPrizeA = QStringLiteral("prize\t1\tA\t特等奖\t1\t1\t1\t1\t");

} // namespace

class CheckReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsTheEventAndChangesNothing_data();
    void reportsTheEventAndChangesNothing();
    void missingPrizesOrEntriesExitWithOne();
    void badCommandLinesExitWithTwo();
};

void CheckReportTest::reportsTheEventAndChangesNothing_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QString>("options");
    QTest::newRow("first ten, masked") << "[General]\nhide=1\nmuse=1\nhstart=1\nhend=2\n"
                                       << false << 10 << true << "1 0 1 1 2";
    QTest::newRow("--all") << QString() << true << 12 << false << "0 0 0 0 0";
    // A backwards range turns masking off for the run; the stored option stays on.
    QTest::newRow("backwards range") << "[General]\nhide=1\nprint=1\nhstart=5\nhend=3\n"
                                     << false << 10 << false << "0 1 0 5 3";
}

void CheckReportTest::reportsTheEventAndChangesNothing() {
    QFETCH(QString, ini);
    QFETCH(bool, all);
    QFETCH(int, entries);
    QFETCH(bool, masked);
    QFETCH(QString, options);
    // Twelve entries "王小明 138000000<nn>" and two prizes out of draw order.
    QTemporaryDir dir;
    writeGbk(dir.filePath("data/_prize.txt"),
             QStringLiteral("B`二等奖`b.png`2`7`3`A\r\nA`特等奖`a.png`1`1`1`\r\n"));
    QString items;
    for (int i = 0; i < 12; ++i)
        items += QStringLiteral("王小明 138000000%1\r\n").arg(i, 2, 10, QChar('0'));
    writeGbk(dir.filePath("data/_items.txt"), items);
    writeGbk(dir.filePath("prizedraw.ini"), ini);
    const QStringList before = snapshot(dir.path());

    QStringList arguments{dir.path(), QStringLiteral("--check")};
    if (all)
        arguments << QStringLiteral("--all");
    const Run run(arguments);
    QCOMPARE(run.exitCode, 0);
    QStringList expected{"folder\t" + native(dir.path()), kPrizeA,
                         QStringLiteral("prize\t2\tB\t二等奖\t2\t7\t3\t3\tA"),
                         QStringLiteral("participants\t12")};
    for (int i = 0; i < entries; ++i)
        expected << QStringLiteral("entry\t%1\t%2小明 138000000%3")
                        .arg(i + 1)
                        .arg(masked ? QStringLiteral("**") : QStringLiteral("王"))
                        .arg(i, 2, 10, QChar('0'));
    QCOMPARE(run.lines, expected + optionLines(options));
    QCOMPARE(snapshot(dir.path()), before);
}

// The participant file is not read while there is no prize.
void CheckReportTest::missingPrizesOrEntriesExitWithOne() {
    QTemporaryDir dir;
    const QString items = dir.filePath("data/_items.txt");
    writeGbk(items, QStringLiteral("王小明\r\n"));
    const QStringList before = snapshot(dir.path());
    QStringList head{"folder\t" + native(dir.path())};
    const QStringList tail = QStringList{"participants\t0"} + optionLines("0 0 0 0 0");
    Run run({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lines, head + tail + QStringList{"warning\t奖项没有设置！"});
    QCOMPARE(snapshot(dir.path()), before);

    QFile::remove(items);
    writeGbk(dir.filePath("data/_prize.txt"), QStringLiteral("A`特等奖``1`1`1`\r\n"));
    run = Run({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lines,
             (head << kPrizeA) + tail << "warning\t抽奖数据文件不能为空！" + native(items));
}

void CheckReportTest::badCommandLinesExitWithTwo() {
    QTemporaryDir dir;
    QTemporaryDir other;
    const QList<QStringList> commands{
        {QStringLiteral("--check"), QStringLiteral("--bogus"), dir.path()},
        {QStringLiteral("--check"), dir.path(), other.path()},
        {QStringLiteral("--check"), dir.filePath("missing")},
        {QStringLiteral("--all"), dir.path()},
    };
    for (const QStringList& arguments : commands) {
        const Run run(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.lines.isEmpty() && !run.errors.isEmpty(), qPrintable(arguments.join(' ')));
    }
    QCOMPARE(Run({QStringLiteral("--version")}).exitCode, 0);
    QVERIFY(Run({QStringLiteral("--help")}).lines.join('\n').contains("--check"));
}

QTEST_GUILESS_MAIN(CheckReportTest)
#include "check_report_test.moc"
