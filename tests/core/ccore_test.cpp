#include "core/ccore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <set>
#include <utility>

using core::CCore;

class CCoreTest : public QObject {
    Q_OBJECT

private slots:
    void settingsSurviveARestartUnlessTheFlushFails() {
        QTemporaryDir dir;
        {
            CCore first(dir.path());
            first.autoFileConfig();
            QCOMPARE(first.getConfigB("hide"), 0);
            QCOMPARE(first.getConfigInt("hstart"), 0);
            first.saveConfigB("hide", 1);
            first.saveConfigInt("hstart", 3);
            first.saveConfigInt("hend", -12);
            QVERIFY(first.flushConfig());
        }
        CCore second(dir.path());
        second.autoFileConfig();
        QCOMPARE(second.getConfigB("hide"), 1);
        QCOMPARE(second.getConfigInt("hstart"), 3);
        QCOMPARE(second.getConfigInt("hend"), -12);
        QCOMPARE(second.getConfigB("print"), 0);

        // A flush that cannot reach the disk says so. Tests may run as root, so the folder is
        // made impossible: its parent is a file.
        QFile blocker(dir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CCore blocked(dir.filePath("blocker/event"));
        blocked.autoFileConfig();
        blocked.saveConfigInt("hstart", 4);
        QVERIFY(!blocked.flushConfig());
    }

    void handEditedSettingsReadAsSaneNumbers() {
        // The prefix rule is tested with parseLeadingInt; here what QSettings hands it: a
        // quoted comma is text, a bare one a list, and a large number does not wrap around.
        QTemporaryDir dir;
        QFile ini(dir.filePath("prizedraw.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nb=99999999999\nd=\"1,2\"\ne= 7x\nf=3,4\n");
        ini.close();
        CCore core(dir.path());
        core.autoFileConfig();
        const std::pair<const char*, int> expected[] = {
            {"b", INT_MAX}, {"d", 1}, {"e", 7}, {"f", 0}};
        for (const auto& [key, value] : expected)
            QCOMPARE(core.getConfigInt(key), value);
        QCOMPARE(core.getConfigB("e"), 1);
    }

    void randomIntegersStayInRangeAndReachBothEnds() {
        CCore core;
        QCOMPARE(core.getRandInt(0, 0), 0);
        QCOMPARE(core.getRandInt(5, 2), 5); // a caller error, not undefined behaviour
        std::set<int> seen;
        for (int i = 0; i < 2000; ++i)
            seen.insert(core.getRandInt(-2, 3));
        QCOMPARE(seen, (std::set<int>{-2, -1, 0, 1, 2, 3}));
    }
};

QTEST_GUILESS_MAIN(CCoreTest)
#include "ccore_test.moc"
