#include "core/ccore.h"
#include "core/message_box_hook.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using core::CCore;
using core::MessageBoxHook;
using core::MessageKind;

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void hookAnswersAndRecords();
    void innerHookGivesWayToOuter();
    void realBoxMapsButtonsToAnswers_data();
    void realBoxMapsButtonsToAnswers();
};

void MessageBoxTest::hookAnswersAndRecords() {
    MessageBoxHook hook([](MessageKind kind, const QString& text) {
        return kind == MessageKind::Confirm && text == QStringLiteral("删除？") ? 6 : 7;
    });
    QCOMPARE(CCore::msgboxConfirm(nullptr, QStringLiteral("删除？")), 6);
    QCOMPARE(CCore::msgboxConfirm(nullptr, QStringLiteral("重置？")), 7);
    CCore::msgboxWarning(nullptr, QStringLiteral("奖项没有设置！"));
    CCore::msgboxInfo(nullptr, QStringLiteral("完成"));
    QCOMPARE(hook.texts(), QStringList({QStringLiteral("删除？"), QStringLiteral("重置？"),
                                        QStringLiteral("奖项没有设置！"), QStringLiteral("完成")}));
    QCOMPARE(hook.messages()[2].kind, MessageKind::Warning);
    QCOMPARE(hook.messages()[3].kind, MessageKind::Info);
}

void MessageBoxTest::innerHookGivesWayToOuter() {
    MessageBoxHook outer([](MessageKind, const QString&) { return 7; });
    {
        MessageBoxHook inner;
        QCOMPARE(CCore::msgboxConfirm(nullptr, QStringLiteral("a")), 6);
        QCOMPARE(inner.texts(), QStringList{QStringLiteral("a")});
    }
    QCOMPARE(MessageBoxHook::current(), &outer);
    QCOMPARE(CCore::msgboxConfirm(nullptr, QStringLiteral("b")), 7);
    QCOMPARE(outer.texts(), QStringList{QStringLiteral("b")});
}

void MessageBoxTest::realBoxMapsButtonsToAnswers_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << QStringLiteral("是") << 6;
    QTest::newRow("no") << QStringLiteral("否") << 7;
    QTest::newRow("escape") << QString() << 7;
}

void MessageBoxTest::realBoxMapsButtonsToAnswers() {
    QFETCH(QString, button);
    QFETCH(int, answer);
    QString shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        shownText = box->text();
        if (button.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button)
                b->click();
    });
    QCOMPARE(CCore::msgboxConfirm(nullptr, QStringLiteral("继续？")), answer);
    QCOMPARE(shownText, QStringLiteral("继续？"));
}

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
