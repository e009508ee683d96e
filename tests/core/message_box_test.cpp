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
        QTest::addColumn<QString>("button"); // empty: Escape
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << QStringLiteral("是") << 6;
        QTest::newRow("no") << QStringLiteral("否") << 7;
        QTest::newRow("escape") << QString() << 7;
    }

    void realBoxMapsButtonsToAnswers() {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QString shownText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownText = box->text();
            if (button.isEmpty())
                QTest::keyClick(box, Qt::Key_Escape);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == button)
                    b->click();
        });
        QCOMPARE(CCore::msgboxConfirm(nullptr, "继续？"), answer);
        QCOMPARE(shownText, "继续？");
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
