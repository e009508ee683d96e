#include "event_files.h"

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

// The option lines for the values of hide, print, muse, hstart and hend.
QStringList optionLines(const QString& values) {
    const QStringList names{"hide", "print", "muse", "hstart", "hend"};
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << "option\t" + names[i] + '\t' + values.section(' ', i, i);
    return lines;
}

QStringList folderLine(const QTemporaryDir& dir) {
    return {"folder\t" + QDir::toNativeSeparators(dir.path())};
}

const QString kPrizeA = QStringLiteral("prize\t1\tA\t特等奖\t1\t1\t1\t1\t");

} // namespace

class CheckReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsTheEventAndChangesNothing();
    void missingPrizesOrEntriesExitWithOne();
    void badCommandLinesExitWithTwo();
};

void CheckReportTest::reportsTheEventAndChangesNothing() {
    // Twelve entries "王小明 138000000<nn>", two prizes out of draw order, masking on.
    QTemporaryDir dir;
    writeGbk(dir.filePath("data/_prize.txt"),
             QStringLiteral("B`二等奖`b.png`2`7`3`A\r\nA`特等奖`a.png`1`1`1`\r\n"));
    QString items;
    for (int i = 0; i < 12; ++i)
        items += QStringLiteral("王小明 138000000%1\r\n").arg(i, 2, 10, QChar('0'));
    writeGbk(dir.filePath("data/_items.txt"), items);
    writeGbk(dir.filePath("prizedraw.ini"), "[General]\nhide=1\nmuse=1\nhstart=1\nhend=2\n");
    const auto before = filesBelow(dir.path());

    // The first ten entries, or with --all every one.
    for (const int entries : {10, 12}) {
        QStringList arguments{dir.path(), QStringLiteral("--check")};
        if (entries == 12)
            arguments << QStringLiteral("--all");
        const Run run(arguments);
        QCOMPARE(run.exitCode, 0);
        QStringList expected = folderLine(dir)
                               << kPrizeA << QStringLiteral("prize\t2\tB\t二等奖\t2\t7\t3\t3\tA")
                               << QStringLiteral("participants\t12");
        for (int i = 0; i < entries; ++i)
            expected << QStringLiteral("entry\t%1\t**小明 138000000%2")
                            .arg(i + 1)
                            .arg(i, 2, 10, QChar('0'));
        QCOMPARE(run.lines, expected + optionLines("1 0 1 1 2"));
        QCOMPARE(filesBelow(dir.path()), before);
    }
}

// The participant file is not read while there is no prize.
void CheckReportTest::missingPrizesOrEntriesExitWithOne() {
    QTemporaryDir dir;
    const QString items = dir.filePath("data/_items.txt");
    writeGbk(items, QStringLiteral("王小明\r\n"));
    const auto before = filesBelow(dir.path());
    const QStringList tail = QStringList{"participants\t0"} + optionLines("0 0 0 0 0");
    Run run({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lines, folderLine(dir) + tail + QStringList{"warning\t奖项没有设置！"});
    QCOMPARE(filesBelow(dir.path()), before);

    QFile::remove(items);
    writeGbk(dir.filePath("data/_prize.txt"), QStringLiteral("A`特等奖``1`1`1`\r\n"));
    run = Run({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 1);
    const QString noEntries = "warning\t抽奖数据文件不能为空！" + QDir::toNativeSeparators(items);
    QCOMPARE(run.lines, (folderLine(dir) << kPrizeA) + tail << noEntries);
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
}

QTEST_GUILESS_MAIN(CheckReportTest)
#include "check_report_test.moc"
