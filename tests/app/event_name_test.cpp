#include "app/event_name.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class EventNameTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void names_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("chinese") << QStringLiteral("2026 年会") << true;
        QTest::newRow("inner dot") << QStringLiteral("v1.2") << true;
        QTest::newRow("console-like") << QStringLiteral("CONSOLE") << true;
        QTest::newRow("longest") << QString(app::kMaxEventNameLength, QChar(0x4F1A)) << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("spaces") << QStringLiteral("   ") << false;
        QTest::newRow("slash") << QStringLiteral("a/b") << false;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
        QTest::newRow("colon") << QStringLiteral("C:") << false;
        QTest::newRow("newline") << QStringLiteral("a\nb") << false;
        QTest::newRow("parent") << QStringLiteral("..") << false;
        QTest::newRow("leading space") << QStringLiteral(" a") << false;
        QTest::newRow("final dot") << QStringLiteral("年会.") << false;
        QTest::newRow("device") << QStringLiteral("nul") << false;
        QTest::newRow("device with extension") << QStringLiteral("COM1.txt") << false;
        QTest::newRow("too long") << QString(app::kMaxEventNameLength + 1, QChar(0x4F1A)) << false;
        QTest::newRow("taken") << QStringLiteral("已有") << false;
    }

    void names() {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QTemporaryDir parent;
        QVERIFY(QDir(parent.path()).mkdir(QStringLiteral("已有")));
        QCOMPARE(app::eventNameProblem(name, parent.path()).isEmpty(), accepted);
    }
};

QTEST_GUILESS_MAIN(EventNameTest)
#include "event_name_test.moc"
