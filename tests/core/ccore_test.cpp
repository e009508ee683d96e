#include "core/ccore.h"
#include "core/local_time.h"
#include "core/path_conversion.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <set>

using core::CCore;

class CCoreTest : public QObject {
    Q_OBJECT

private slots:
    void appPathIsTheGivenFolderOrTheExecutables();
    void settingsSurviveARestart();
    void readingSettingsWritesNothing();
    void handEditedSettingsReadAsSaneNumbers();
    void flushFailsWhenTheFolderCannotExist();
    void flushReportsOnlyWhatReachedTheDisk();
    void randomIntegersStayInRangeAndReachBothEnds();
    void timeIsLocalAndFormatted();
    void filesAreAppendedAndFound();
};

void CCoreTest::appPathIsTheGivenFolderOrTheExecutables() {
    QTemporaryDir dir;
    QCOMPARE(CCore(dir.path()).getAppPath(), core::toFsPath(dir.path()));
    QCOMPARE(CCore().getAppPath(), core::toFsPath(QCoreApplication::applicationDirPath()));
}

void CCoreTest::settingsSurviveARestart() {
    QTemporaryDir dir;
    {
        CCore first(dir.path());
        first.autoFileConfig();
        QCOMPARE(first.getConfigB("hide"), 0);
        QCOMPARE(first.getConfigInt("hstart"), 0);
        first.saveConfigB("hide", 1);
        first.saveConfigB("muse", 0);
        first.saveConfigInt("hstart", 3);
        first.saveConfigInt("hend", -12);
        QVERIFY(first.flushConfig());
    }
    QVERIFY(QFile::exists(dir.filePath("prizedraw.ini")));
    CCore second(dir.path());
    second.autoFileConfig();
    QCOMPARE(second.getConfigB("hide"), 1);
    QCOMPARE(second.getConfigB("muse"), 0);
    QCOMPARE(second.getConfigInt("hstart"), 3);
    QCOMPARE(second.getConfigInt("hend"), -12);
    QCOMPARE(second.getConfigB("print"), 0);
}

void CCoreTest::readingSettingsWritesNothing() {
    QTemporaryDir dir;
    {
        CCore core(dir.path());
        core.autoFileConfig();
        QCOMPARE(core.getConfigInt("hend"), 0);
        QVERIFY(core.flushConfig());
    }
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void CCoreTest::handEditedSettingsReadAsSaneNumbers() {
    QTemporaryDir dir;
    QFile ini(dir.filePath("prizedraw.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[General]\nhstart=-99999999999\nhend=99999999999\nhide=abc\nprint=\"1,2\"\n"
              "muse= 7x\ne=3,4\na=4294967297\nb=2147483647\nc=-2147483648\nd=\n");
    ini.close();
    CCore core(dir.path());
    core.autoFileConfig();
    QCOMPARE(core.getConfigInt("hstart"), INT_MIN);
    QCOMPARE(core.getConfigInt("hend"), INT_MAX);
    QCOMPARE(core.getConfigB("hide"), 0);
    QCOMPARE(core.getConfigInt("print"), 1); // the digits before the comma
    QCOMPARE(core.getConfigInt("e"), 0);     // a list, not a number
    QCOMPARE(core.getConfigB("muse"), 1);
    QCOMPARE(core.getConfigInt("muse"), 7);
    QCOMPARE(core.getConfigInt("a"), INT_MAX);
    QCOMPARE(core.getConfigInt("b"), INT_MAX);
    QCOMPARE(core.getConfigInt("c"), INT_MIN);
    QCOMPARE(core.getConfigInt("d"), 0);
}

void CCoreTest::flushFailsWhenTheFolderCannotExist() {
    // Tests may run as root, so an unwritable folder is made impossible instead:
    // its parent is a regular file.
    QTemporaryDir dir;
    QFile blocker(dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CCore core(dir.filePath("blocker/event"));
    core.autoFileConfig();
    core.saveConfigInt("hstart", 4);
    QVERIFY(!core.flushConfig());
}

void CCoreTest::flushReportsOnlyWhatReachedTheDisk() {
    // A folder that went missing is created again; success must mean a real file.
    QTemporaryDir dir;
    const QString folder = dir.filePath("gone/event");
    CCore core(folder);
    core.autoFileConfig();
    core.saveConfigInt("hend", 9);
    const bool flushed = core.flushConfig();
    QCOMPARE(flushed, QFile::exists(folder + "/prizedraw.ini"));
}

void CCoreTest::randomIntegersStayInRangeAndReachBothEnds() {
    CCore core;
    QCOMPARE(core.getRandInt(0, 0), 0);
    QCOMPARE(core.getRandInt(5, 2), 5);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int value = core.getRandInt(-2, 3);
        QVERIFY(value >= -2 && value <= 3);
        seen.insert(value);
    }
    QCOMPARE(seen.size(), std::size_t{6});
}

void CCoreTest::timeIsLocalAndFormatted() {
    const std::time_t moment = 1767268800; // a fixed instant; its local form depends on the zone
    const QString expected =
        QDateTime::fromSecsSinceEpoch(moment).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QCOMPARE(QString::fromStdString(core::formatLocalTime(moment, "%Y-%m-%d %H:%M:%S")), expected);

    CCore core;
    const QString stamp = QString::fromStdString(core.getTimeNowStr("%Y%m%d%H%M%S"));
    QVERIFY2(QRegularExpression(QStringLiteral("^20\\d{12}$")).match(stamp).hasMatch(),
             qPrintable(stamp));
}

void CCoreTest::filesAreAppendedAndFound() {
    QTemporaryDir dir;
    const auto path = core::toFsPath(dir.filePath("out.txt"));
    CCore core(dir.path());
    QVERIFY(!core.isFileExist(path));
    QVERIFY(core.outTxtFile("one\r\n", path));
    QVERIFY(core.outTxtFile("two\r\n", path));
    QVERIFY(core.isFileExist(path));
    QVERIFY(!core.isFileExist(core::toFsPath(dir.path())));
    QFile file(dir.filePath("out.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("one\r\ntwo\r\n"));
    QVERIFY(!core.outTxtFile("x", core::toFsPath(dir.filePath("missing/out.txt"))));
}

QTEST_GUILESS_MAIN(CCoreTest)
#include "ccore_test.moc"
