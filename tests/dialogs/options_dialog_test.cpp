#include "dialogs/options_dialog.h"

#include "core/message_box_hook.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

lottery::DrawOptions stored() {
    lottery::DrawOptions options;
    options.hide = 0;
    options.print = 1;
    options.muse = 0;
    options.hstart = 4;
    options.hend = 7;
    return options;
}

template <typename T> T* child(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<T*>(name);
    Q_ASSERT(widget);
    return widget;
}

} // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheStoredOptions() {
        lottery::DrawOptions options = stored();
        options.hide = 1;
        dialogs::OptionsDialog dialog(options);
        QVERIFY(child<QCheckBox>(dialog, "hideCheck")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "printCheck")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "museCheck")->isChecked());
        QCOMPARE(child<QLineEdit>(dialog, "hstartEdit")->text(), QStringLiteral("4"));
        QCOMPARE(child<QLineEdit>(dialog, "hendEdit")->text(), QStringLiteral("7"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选项"));
    }

    void confirmStoresWhatPasses_data() {
        QTest::addColumn<bool>("hide");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("hstart");
        QTest::addColumn<int>("hend");
        QTest::newRow("3 to 6") << true << "3"
                                << "6" << 3 << 6;
        QTest::newRow("5 to 5") << true << "5"
                                << "5" << 5 << 5;
        QTest::newRow("no mask, 0 and 0 not read") << false << "0"
                                                   << "0" << 4 << 7;
    }

    void confirmStoresWhatPasses() {
        QFETCH(bool, hide);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, hstart);
        QFETCH(int, hend);
        core::MessageBoxHook hook;
        lottery::DrawOptions options = stored();
        options.hide = 1 - int(hide);
        options.prizeIndex = 2;
        dialogs::OptionsDialog dialog(options);
        child<QCheckBox>(dialog, "hideCheck")->setChecked(hide);
        child<QCheckBox>(dialog, "printCheck")->setChecked(false);
        child<QCheckBox>(dialog, "museCheck")->setChecked(true);
        child<QLineEdit>(dialog, "hstartEdit")->setText(start);
        child<QLineEdit>(dialog, "hendEdit")->setText(end);
        child<QPushButton>(dialog, "okButton")->click();

        QVERIFY(hook.messages().empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(options.hide, int(hide));
        QCOMPARE(options.hstart, hstart);
        QCOMPARE(options.hend, hend);
        QCOMPARE(options.print, 0);
        QCOMPARE(options.muse, 1);
        QCOMPARE(options.prizeIndex, 2);
    }

    void refusedRangeStoresNothing_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString startMessage = QStringLiteral("开始位置不能小于1");
        const QString endMessage = QStringLiteral("结束位置不能小于开始位置");
        QTest::newRow("start 0, end empty") << "0"
                                            << "" << startMessage << "hstartEdit";
        QTest::newRow("start empty") << ""
                                     << "9" << startMessage << "hstartEdit";
        QTest::newRow("6 to 3") << "6"
                                << "3" << endMessage << "hendEdit";
        QTest::newRow("end empty") << "2"
                                   << "" << endMessage << "hendEdit";
    }

    void refusedRangeStoresNothing() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        core::MessageBoxHook hook;
        lottery::DrawOptions options = stored();
        dialogs::OptionsDialog dialog(options);
        dialog.show();
        child<QCheckBox>(dialog, "hideCheck")->setChecked(true);
        child<QCheckBox>(dialog, "museCheck")->setChecked(true);
        child<QCheckBox>(dialog, "printCheck")->setChecked(false);
        child<QLineEdit>(dialog, "hstartEdit")->setText(start);
        child<QLineEdit>(dialog, "hendEdit")->setText(end);
        child<QPushButton>(dialog, "okButton")->click();

        QCOMPARE(hook.texts(), QStringList{message});
        QVERIFY(dialog.isVisible());
        auto* focused = child<QLineEdit>(dialog, focus.toLatin1().constData());
        QCOMPARE(dialog.focusWidget(), focused);
        QCOMPARE(focused->selectedText(), focused->text());
        QCOMPARE(options.hide, 0);
        QCOMPARE(options.muse, 0);
        QCOMPARE(options.print, 1);
        QCOMPARE(options.hstart, 4);
        QCOMPARE(options.hend, 7);
    }

    void cancelKeepsEverything() {
        lottery::DrawOptions options = stored();
        dialogs::OptionsDialog dialog(options);
        child<QCheckBox>(dialog, "hideCheck")->setChecked(true);
        child<QCheckBox>(dialog, "printCheck")->setChecked(false);
        child<QCheckBox>(dialog, "museCheck")->setChecked(true);
        child<QLineEdit>(dialog, "hstartEdit")->setText("1");
        child<QLineEdit>(dialog, "hendEdit")->setText("2");
        child<QPushButton>(dialog, "cancelButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(options.hide, 0);
        QCOMPARE(options.print, 1);
        QCOMPARE(options.muse, 0);
        QCOMPARE(options.hstart, 4);
        QCOMPARE(options.hend, 7);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
