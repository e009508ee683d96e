#include "core/ccore.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using core::CCore;

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void realBoxMapsButtonsToAnswers_data() {
        QTest::addColumn<QString>("button"); // clicked; empty: key goes to the focused button
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("defaultAnswer");
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << QStringLiteral("是") << 0 << 7 << 6;
        QTest::newRow("no") << QStringLiteral("否") << 0 << 7 << 7;
        QTest::newRow("escape") << QString() << int(Qt::Key_Escape) << 7 << 7;
        QTest::newRow("space, yes the default") << QString() << int(Qt::Key_Space) << 6 << 6;
        QTest::newRow("return, yes the default") << QString() << int(Qt::Key_Return) << 6 << 6;
    }

    void realBoxMapsButtonsToAnswers() {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(int, defaultAnswer);
        QFETCH(int, answer);
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
        QCOMPARE(CCore::msgboxConfirm(nullptr, "继续？", defaultAnswer), answer);
        QCOMPARE(shownText, "继续？");
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
