#include "core/gbk_codec.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

Run runProgram(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PRIZEDRAW_EXE), arguments);
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    if (run.lines.last().isEmpty())
        run.lines.removeLast();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void writeGbk(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(*core::GbkCodec::toGbkStrict(text)));
}

// Every file and folder below root with its size and modification time.
QStringList snapshot(const QString& root) {
    QStringList rows;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        rows << QStringLiteral("%1 %2 %3")
                    .arg(QDir(root).relativeFilePath(info.filePath()))
                    .arg(info.size())
                    .arg(info.lastModified().toMSecsSinceEpoch());
    }
    rows.sort();
    return rows;
}

const QString kSurnames = QStringLiteral("王李张刘陈杨黄赵");

// Twelve entries "<surname>小明 1380000000<n>" and two prizes listed out of draw order.
void writeEvent(const QString& folder, const QString& ini) {
    writeGbk(folder + "/data/_prize.txt",
             QStringLiteral("B`二等奖`b.png`2`7`3`A\r\nA`特等奖`a.png`1`1`1`\r\n"));
    QString items;
    for (int i = 0; i < 12; ++i)
        items +=
            kSurnames[i % 8] + QStringLiteral("小明 138000000%1\r\n").arg(i, 2, 10, QChar('0'));
    writeGbk(folder + "/data/_items.txt", items);
    writeGbk(folder + "/prizedraw.ini", ini);
}

QStringList optionLines(int hide, int print, int muse, int hstart, int hend) {
    return {QStringLiteral("option\thide\t%1").arg(hide),
            QStringLiteral("option\tprint\t%1").arg(print),
            QStringLiteral("option\tmuse\t%1").arg(muse),
            QStringLiteral("option\thstart\t%1").arg(hstart),
            QStringLiteral("option\thend\t%1").arg(hend)};
}

} // namespace

class CheckReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readyEventIsReportedInDrawOrderAndMasked();
    void allListsEveryEntry();
    void clearedMaskingStaysInMemory();
    void missingPrizesOrEntriesExitWithOne();
    void badCommandLinesExitWithTwo();
    void helpAndVersion();
};

void CheckReportTest::readyEventIsReportedInDrawOrderAndMasked() {
    QTemporaryDir dir;
    writeEvent(dir.path(), QStringLiteral("[General]\nhide=1\nmuse=1\nhstart=1\nhend=2\n"));
    const QStringList before = snapshot(dir.path());

    const Run run = runProgram({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 0);
    QStringList expected{QStringLiteral("folder\t") + QDir::toNativeSeparators(dir.path()),
                         QStringLiteral("prize\t1\tA\t特等奖\t1\t1\t1\t1\t"),
                         QStringLiteral("prize\t2\tB\t二等奖\t2\t7\t3\t3\tA"),
                         QStringLiteral("participants\t12")};
    for (int i = 0; i < 10; ++i)
        expected
            << QStringLiteral("entry\t%1\t**小明 138000000%2").arg(i + 1).arg(i, 2, 10, QChar('0'));
    expected << optionLines(1, 0, 1, 1, 2);
    QCOMPARE(run.lines, expected);
    QCOMPARE(snapshot(dir.path()), before);
}

void CheckReportTest::allListsEveryEntry() {
    QTemporaryDir dir;
    writeEvent(dir.path(), QString());
    const Run all = runProgram({dir.path(), QStringLiteral("--check"), QStringLiteral("--all")});
    QCOMPARE(all.exitCode, 0);
    QCOMPARE(all.lines.filter(QRegularExpression(QStringLiteral("^entry\t"))).size(), 12);
    QCOMPARE(all.lines[4 + 11], QStringLiteral("entry\t12\t刘小明 13800000011"));
    QCOMPARE(runProgram({QStringLiteral("--check"), dir.path()}).lines,
             all.lines.mid(0, 4 + 10) + all.lines.mid(4 + 12));
}

void CheckReportTest::clearedMaskingStaysInMemory() {
    // A backwards range turns masking off for the run; the stored option stays on.
    QTemporaryDir dir;
    const QString ini = QStringLiteral("[General]\nhide=1\nprint=1\nhstart=5\nhend=3\n");
    writeEvent(dir.path(), ini);
    const QStringList before = snapshot(dir.path());
    const Run run = runProgram({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.lines.contains(QStringLiteral("entry\t1\t王小明 13800000000")));
    QCOMPARE(run.lines.mid(run.lines.size() - 5), optionLines(0, 1, 0, 5, 3));
    QCOMPARE(snapshot(dir.path()), before);
}

void CheckReportTest::missingPrizesOrEntriesExitWithOne() {
    QTemporaryDir dir;
    writeGbk(dir.filePath("data/_items.txt"), QStringLiteral("王小明\r\n"));
    const QStringList before = snapshot(dir.path());
    Run run = runProgram({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 1);
    QStringList expected{QStringLiteral("folder\t") + QDir::toNativeSeparators(dir.path()),
                         QStringLiteral("participants\t0")};
    expected << optionLines(0, 0, 0, 0, 0) << QStringLiteral("warning\t奖项没有设置！");
    QCOMPARE(run.lines, expected);
    QCOMPARE(snapshot(dir.path()), before);

    QFile::remove(dir.filePath("data/_items.txt"));
    writeGbk(dir.filePath("data/_prize.txt"), QStringLiteral("A`特等奖``1`1`1`\r\n"));
    run = runProgram({QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lines.last(), QStringLiteral("warning\t抽奖数据文件不能为空！") +
                                   QDir::toNativeSeparators(dir.filePath("data/_items.txt")));
    QVERIFY(run.lines.contains(QStringLiteral("participants\t0")));
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
        const Run run = runProgram(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.lines.isEmpty(), qPrintable(arguments.join(' ')));
        QVERIFY(!run.errors.isEmpty());
    }
}

void CheckReportTest::helpAndVersion() {
    const Run version = runProgram({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.lines, QStringList{QStringLiteral("prizedraw 0.1.0")});
    const Run help = runProgram({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.lines.join('\n').contains(QStringLiteral("--check")));
}

QTEST_GUILESS_MAIN(CheckReportTest)
#include "check_report_test.moc"
