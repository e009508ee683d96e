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
        QCOMPARE(int(CCore::msgboxConfirm(nullptr, "继续？",
                                          QMessageBox::StandardButton(defaultAnswer))),
                 answer);
        QCOMPARE(shownText, "继续？");
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
