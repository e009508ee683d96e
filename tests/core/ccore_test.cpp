#include "core/ccore.h"
#include "support/file_bytes.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <set>

using core::CCore;

class CCoreTest : public QObject {
    Q_OBJECT

private slots:
    // What QSettings hands the number rule: a quoted comma is text, a bare one a list, and a
    // large number does not wrap around. A flag reads 1 for any number but 0.
    void settingsReadBackAfterARestart_data() {
        QTest::addColumn<QByteArray>("ini");   // as written by hand
        QTest::addColumn<QList<int>>("saved"); // hide, hstart and hend, saved and flushed
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("saved") << QByteArray() << QList<int>{7, 3, -12}
                               << QStringList{"hide", "hstart", "hend", "print"}
                               << QList<int>{1, 3, -12, 0};
        QTest::newRow("hand edited")
            << QByteArray("[General]\nhstart=99999999999\nhend=\"1,2\"\nvolume= 7x\ntheme=3,4\n"
                          "hide=5\n")
            << QList<int>{} << QStringList{"hstart", "hend", "volume", "theme", "hide"}
            << QList<int>{INT_MAX, 1, 7, 0, 1};
    }

    void settingsReadBackAfterARestart() {
        QFETCH(QByteArray, ini);
        QFETCH(QList<int>, saved);
        QFETCH(QStringList, keys);
        QFETCH(QList<int>, values);
        QTemporaryDir dir;
        writeBytes(dir.filePath("prizedraw.ini"), ini);
        if (!saved.isEmpty()) {
            CCore first(dir.path());
            first.setSetting(core::Setting::MaskEntries, saved[0]);
            first.setSetting(core::Setting::MaskStart, saved[1]);
            first.setSetting(core::Setting::MaskEnd, saved[2]);
            QVERIFY(first.flushSettings());
        }
        CCore core(dir.path());
        for (int i = 0; i < keys.size(); ++i) {
            const auto entry = std::find_if(
                std::begin(core::kSettingEntrys), std::end(core::kSettingEntrys),
                [&](const core::SettingEntry& s) { return keys[i] == QLatin1String(s.name); });
            QVERIFY(entry != std::end(core::kSettingEntrys));
            QCOMPARE(core.settingNumber(entry->setting), values[i]);
        }
    }

    // Tests may run as root, so the folder is made impossible: its parent is a file.
    void aFlushThatCannotReachTheDiskSaysSo() {
        QTemporaryDir dir;
        writeBytes(dir.filePath("blocker"), {});
        CCore blocked(dir.filePath("blocker/event"));
        blocked.setSetting(core::Setting::MaskStart, 4);
        QVERIFY(!blocked.flushSettings());
    }

    void realBoxMapsButtonsToAnswers_data() {
        QTest::addColumn<QString>("button"); // clicked; empty: key goes to the focused button
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("defaultAnswer");
        QTest::addColumn<int>("answer");
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        QTest::newRow("yes") << QStringLiteral("是") << 0 << no << yes;
        QTest::newRow("no") << QStringLiteral("否") << 0 << no << no;
        QTest::newRow("escape") << QString() << int(Qt::Key_Escape) << no << no;
        QTest::newRow("space, yes the default") << QString() << int(Qt::Key_Space) << yes << yes;
        QTest::newRow("return, yes the default") << QString() << int(Qt::Key_Return) << yes << yes;
    }

    void realBoxMapsButtonsToAnswers() {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(int, defaultAnswer);
        QString shownText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownText = box->text();
            if (button.isEmpty())
                QTest::keyClick(box->focusWidget(), Qt::Key(key));
            for (QAbstractButton* b : box->buttons())
                if (b->text() == button)
                    b->click();
        });
        QTEST(int(CCore::msgboxConfirm(nullptr, "继续？",
                                       QMessageBox::StandardButton(defaultAnswer))),
              "answer");
        QCOMPARE(shownText, "继续？");
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

QTEST_MAIN(CCoreTest)
#include "ccore_test.moc"
