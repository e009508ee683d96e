#include "event_files.h"
#include "program_run.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

using Run = ProgramRun;

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

// The line that names the participant file's SHA-256, what the operator publishes.
QString fingerprintLine(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? "fingerprint\tparticipants\t" +
                     QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
               : QString();
}

} // namespace

class CheckReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsTheEventAndChangesNothing();
    void missingPrizesOrEntriesExitWithOne();
    void badCommandLinesExitWithTwo();
    void oddFilesAreReadAndWarned_data();
    void oddFilesAreReadAndWarned();
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
                               << QStringLiteral("participants\t12")
                               << fingerprintLine(dir.filePath("data/_items.txt"));
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
    QStringList withFingerprint = tail;
    withFingerprint.insert(1, fingerprintLine(items));
    QCOMPARE(run.lines, folderLine(dir) + withFingerprint + QStringList{"warning\t奖项没有设置！"});
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

void CheckReportTest::oddFilesAreReadAndWarned_data() {
    QTest::addColumn<QString>("prizes");
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<QStringList>("expected"); // the prize, entry, duplicate and warning lines
    const QString prizeA = QStringLiteral("A`特等奖``1`1`1`\r\n");
    const QString items = QStringLiteral("warning\t抽奖数据文件 _items.txt：");
    const QString prizes = QStringLiteral("warning\t奖项文件 _prize.txt：");
    QTest::newRow("GBK that is also UTF-8")
        << prizeA << QByteArray("\xD0\xA4\xC3\xB7\xD3\xA2\r\n\xD0\xBB\xC7\xBF\r\n")
        << QStringList{kPrizeA, "entry\t1\t肖梅英", "entry\t2\t谢强"};
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QTest::newRow("UTF-16LE") << prizeA << QByteArray(utf16.encode(QStringLiteral("张三\r\n李四")))
                              << QStringList{kPrizeA, "entry\t1\t张三", "entry\t2\t李四"};
    QTest::newRow("duplicates")
        << prizeA << QByteArray("\xD5\xC5\xC8\xFD\r\n\xD5\xC5\xC8\xFD")
        << QStringList{kPrizeA, "entry\t1\t张三", "entry\t2\t张三", "duplicate\t张三\t2",
                       items + "有 1 个条目文本重复出现（如“张三”共 2 次）；同一文本的条目中奖后，"
                               "其余副本不再参加抽取"};
    QTest::newRow("blank lines")
        << prizeA << QByteArray("a\r\n\t\r\n")
        << QStringList{kPrizeA, "entry\t1\ta", "entry\t2\t\\t",
                       items + "有 1 个条目只有空白字符（如第 2 行），仍作为抽奖条目"};
    QTest::newRow("unknown and shared prize ids")
        << QStringLiteral("A`特等奖``1`1`1`Z\r\nA`一等奖``2`1`1`\r\n") << QByteArray("a")
        << QStringList{kPrizeA + "Z", "prize\t2\tA\t一等奖\t2\t1\t1\t1\t", "entry\t1\ta",
                       prizes + "有 1 个允许重复奖项的编号没有对应的奖项（如“特等奖”（编号 "
                                "A）列出的“Z”），这些编号不起作用",
                       prizes + "有 1 个编号被多个奖项使用（如编号 A 共 2 个奖项），仍全部载入"};
    QTest::newRow("backtick in a title")
        << prizeA + "P1`Mac`Pro`img`1`7`7`\r\n"
        << QByteArray("a")
        << QStringList{kPrizeA, "entry\t1\ta",
                       prizes + "有 1 行多于七个字段（第 2 行），无法确定各字段，未载入"};
}

// Every entry and the duplicated texts are listed (--all).
void CheckReportTest::oddFilesAreReadAndWarned() {
    QFETCH(QString, prizes);
    QFETCH(QByteArray, items);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    writeGbk(dir.filePath("data/_prize.txt"), prizes);
    QFile file(dir.filePath("data/_items.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(items) == items.size());
    file.close();
    const Run run({QStringLiteral("--check"), dir.path(), QStringLiteral("--all")});
    QCOMPARE(run.exitCode, 0);
    QStringList found;
    for (const QString& line : run.lines)
        if (!line.startsWith("folder\t") && !line.startsWith("participants\t") &&
            !line.startsWith("option\t") && !line.startsWith("fingerprint\t"))
            found << line;
    QCOMPARE(found, expected);
}

QTEST_GUILESS_MAIN(CheckReportTest)
#include "check_report_test.moc"
