#include "dialogs/options_dialog.h"

#include "core/message_box_hook.h"
#include "dialog_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

class OptionsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void confirm_data() {
        QTest::addColumn<bool>("hide");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QList<int>>("stored"); // hide print muse hstart hend
        QTest::addColumn<QString>("message");   // empty: accepted
        QTest::addColumn<QString>("focus");
        auto row = [](const char* name, bool hide, const char* start, const char* end,
                      const QList<int>& stored, const QString& message = {},
                      const char* focus = "") {
            QTest::newRow(name) << hide << QString(start) << QString(end) << stored << message
                                << QString(focus);
        };
        const QString belowOne = QStringLiteral("开始位置不能小于1");
        const QString beforeStart = QStringLiteral("结束位置不能小于开始位置");
        // Every row flips print and music; a refusal keeps all of 0 1 0 4 7.
        row("3 to 6", true, "3", "6", {1, 0, 1, 3, 6});
        row("5 to 5", true, "5", "5", {1, 0, 1, 5, 5});
        row("no mask, edits not read", false, "0", "0", {0, 0, 1, 4, 7});
        row("start 0 before end empty", true, "0", "", {0, 1, 0, 4, 7}, belowOne, "hstartEdit");
        row("6 to 3", true, "6", "3", {0, 1, 0, 4, 7}, beforeStart, "hendEdit");
    }

    void confirm() {
        QFETCH(bool, hide);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        core::MessageBoxHook hook;
        lottery::DrawOptions options;
        options.maskEntries = hide ? 0 : 1;
        options.print = 1;
        options.maskStart = 4;
        options.maskEnd = 7;
        tickets::TicketSettings tickets;
        dialogs::OptionsDialog dialog(options, tickets, {});
        dialog.show();
        child<QCheckBox>(dialog, "hideCheck")->setChecked(hide);
        child<QCheckBox>(dialog, "printCheck")->setChecked(false);
        child<QCheckBox>(dialog, "museCheck")->setChecked(true);
        setEdits(dialog, {"hstartEdit=" + start, "hendEdit=" + end});
        press(dialog, "okButton");

        const lottery::DrawOptions& o = options;
        QTEST((QList<int>{o.maskEntries, o.print, o.muteMusic, o.maskStart, o.maskEnd}), "stored");
        QCOMPARE(hook.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        QVERIFY(focus.isEmpty() || focusedAndSelected(dialog, focus));
    }

    // The kept printer is chosen again; one from another machine stays until changed.
    void printer_data() {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("pick"); // -1: leave the combo alone
        QTest::addColumn<QString>("stored");
        QTest::newRow("kept printer") << QStringList{"A", "B"} << "B" << -1 << "B";
        QTest::newRow("default picked") << QStringList{"A", "B"} << "B" << 0 << "";
        QTest::newRow("printer gone") << QStringList{"A"} << "Z" << -1 << "Z";
        QTest::newRow("no printers") << QStringList{} << "" << -1 << "";
    }

    void printer() {
        QFETCH(QStringList, printers);
        QFETCH(QString, kept);
        QFETCH(int, pick);
        lottery::DrawOptions options;
        tickets::TicketSettings tickets{kept, 80};
        dialogs::OptionsDialog dialog(options, tickets, printers);
        dialog.show();
        auto* combo = child<QComboBox>(dialog, "printerCombo");
        QCOMPARE(combo->isEnabled(), !printers.isEmpty());
        QCOMPARE(child<QLabel>(dialog, "noPrinterLabel")->isVisible(), printers.isEmpty());
        if (pick >= 0)
            combo->setCurrentIndex(pick);
        child<QComboBox>(dialog, "paperCombo")->setCurrentIndex(0);
        child<QCheckBox>(dialog, "fingerprintCheck")->setChecked(true);
        press(dialog, "okButton");
        QTEST(tickets.printer, "stored");
        QCOMPARE(tickets.paperWidthMm, 58);
        QCOMPARE(options.showFingerprint, 1);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
