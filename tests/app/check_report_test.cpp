#include "event_files.h"
#include "program_run.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The option lines for the values of hide, print, muse, hstart and hend.
QStringList optionLines(const QString& values) {
    const QStringList names{"hide", "print", "muse", "hstart", "hend"};
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << "option\t" + names[i] + '\t' + values.section(' ', i, i);
    return lines;
}

// The line that names the participant file's SHA-256, what the operator publishes.
QString fingerprintLine(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? "fingerprint\tparticipants\t" +
                     QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
               : QString();
}

const QString kPrizeA = QStringLiteral("prize\t1\tA\t特等奖\t1\t1\t1\t1\t");

} // namespace

class CheckReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsTheEventAndChangesNothing_data();
    void reportsTheEventAndChangesNothing();
    void badCommandLinesExitWithTwo();
};

void CheckReportTest::reportsTheEventAndChangesNothing_data() {
    QTest::addColumn<QString>("prizes"); // no file when empty
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("exitCode");
    // Without the folder, fingerprint and option lines; %1 stands for the participant file.
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("options");

    // Twelve entries "王小明 138000000<nn>", two prizes out of draw order, masking on.
    QByteArray twelve;
    QStringList shown{kPrizeA, QStringLiteral("prize\t2\tB\t二等奖\t2\t7\t3\t3\tA"),
                      QStringLiteral("participants\t12")};
    for (int i = 0; i < 12; ++i) {
        twelve += QStringLiteral("王小明 138000000%1\r\n").arg(i, 2, 10, QChar('0')).toUtf8();
        shown
            << QStringLiteral("entry\t%1\t**小明 138000000%2").arg(i + 1).arg(i, 2, 10, QChar('0'));
    }
    const QString twoPrizes = QStringLiteral("B`二等奖`b.png`2`7`3`A\r\nA`特等奖`a.png`1`1`1`\r\n");
    const QString masked = QStringLiteral("[General]\nhide=1\nmuse=1\nhstart=1\nhend=2\n");
    const QString prizeA = QStringLiteral("A`特等奖``1`1`1`\r\n");
    const QString items = QStringLiteral("warning\t抽奖数据文件 _items.txt：");
    const QString prizes = QStringLiteral("warning\t奖项文件 _prize.txt：");
    const QString none = QStringLiteral("0 0 0 0 0");

    QTest::newRow("the first ten entries")
        << twoPrizes << twelve << masked << false << 0 << shown.mid(0, 13) << "1 0 1 1 2";
    QTest::newRow("every entry") << twoPrizes << twelve << masked << true << 0 << shown
                                 << "1 0 1 1 2";
    // The participant file is not read while there is no prize.
    QTest::newRow("no prizes") << QString() << QByteArray("王小明\r\n") << QString() << false << 1
                               << QStringList{"participants\t0", "warning\t奖项没有设置！"} << none;
    QTest::newRow("no entries") << prizeA << QByteArray() << QString() << false << 1
                                << QStringList{kPrizeA, "participants\t0",
                                               "warning\t抽奖数据文件不能为空！%1"}
                                << none;
    // A tab inside an entry is shown escaped.
    QTest::newRow("copies and a blank entry")
        << prizeA << QByteArray("张三\r\n张三\r\n\t\r\n") << QString() << true << 0
        << QStringList{kPrizeA,
                       "participants\t3",
                       "entry\t1\t张三",
                       "entry\t2\t张三",
                       "entry\t3\t\\t",
                       "duplicate\t张三\t2",
                       items + "有 1 个条目只有空白字符（如第 3 行），仍作为抽奖条目",
                       items + "有 1 个条目文本重复出现（如“张三”共 2 次）；同一文本的条目中奖后，"
                               "其余副本不再参加抽取"}
        << none;
    QTest::newRow("unknown and shared prize ids")
        << QStringLiteral("A`特等奖``1`1`1`Z\r\nA`一等奖``2`1`1`\r\n") << QByteArray("a")
        << QString() << true << 0
        << QStringList{kPrizeA + "Z",
                       "prize\t2\tA\t一等奖\t2\t1\t1\t1\t",
                       "participants\t1",
                       "entry\t1\ta",
                       prizes + "有 1 个允许重复奖项的编号没有对应的奖项（如“特等奖”（编号 "
                                "A）列出的“Z”），这些编号不起作用",
                       prizes + "有 1 个编号被多个奖项使用（如编号 A 共 2 个奖项），仍全部载入"}
        << none;
}

void CheckReportTest::reportsTheEventAndChangesNothing() {
    QFETCH(QString, prizes);
    QFETCH(QByteArray, items);
    QFETCH(QString, ini);
    QFETCH(bool, all);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expected);
    QFETCH(QString, options);
    QTemporaryDir dir;
    const QString itemsFile = dir.filePath("data/_items.txt");
    if (!prizes.isEmpty())
        writeGbk(dir.filePath("data/_prize.txt"), prizes);
    if (!items.isEmpty())
        writeGbk(itemsFile, QString::fromUtf8(items));
    if (!ini.isEmpty())
        writeGbk(dir.filePath("prizedraw.ini"), ini);
    const auto before = filesBelow(dir.path());

    QStringList arguments{dir.path(), QStringLiteral("--check")};
    if (all)
        arguments << QStringLiteral("--all");
    const ProgramRun run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QStringList found;
    QStringList optionsFound;
    for (const QString& line : run.lines)
        (line.startsWith("option\t") ? optionsFound : found) << line;
    QCOMPARE(found.value(0), "folder\t" + QDir::toNativeSeparators(dir.path()));
    const qsizetype fingerprint = found.indexOf(QRegularExpression("fingerprint\t.*"));
    QCOMPARE(found.value(fingerprint), items.isEmpty() ? QString() : fingerprintLine(itemsFile));
    if (fingerprint > 0)
        found.removeAt(fingerprint);
    found.removeFirst();
    expected.replaceInStrings("%1", QDir::toNativeSeparators(itemsFile));
    QCOMPARE(found, expected);
    QCOMPARE(optionsFound, optionLines(options));
    QCOMPARE(filesBelow(dir.path()), before);
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
        const ProgramRun run(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.lines.isEmpty() && !run.errors.isEmpty(), qPrintable(arguments.join(' ')));
    }
    QCOMPARE(ProgramRun({QStringLiteral("--version")}).exitCode, 0);
}

QTEST_GUILESS_MAIN(CheckReportTest)
#include "check_report_test.moc"
