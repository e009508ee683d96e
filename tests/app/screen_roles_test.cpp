#include "app/screen_roles.h"

#include <QTest>

namespace {

// "eDP* HDMI": side by side, * the primary; the widths put the projector at the 0.8 limit.
QList<app::ScreenInfo> screens(const QString& text) {
    const QMap<QString, int> widths{{"eDP", 1920}, {"HDMI", 1120}, {"DP", 1280}};
    QList<app::ScreenInfo> list;
    int x = 0;
    for (QString name : text.split(' ', Qt::SkipEmptyParts)) {
        const bool primary = name.endsWith('*');
        name.remove('*');
        list.append({name, QRect(x, 0, widths.value(name), 768), primary});
        x += widths.value(name);
    }
    return list;
}

} // namespace

class ScreenRolesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roles_data() {
        for (const char* column : {"start", "stored", "swapStores", "after", "audience", "console"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<bool>("consoleAsked");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<float>("scale");
        // console: the operator's screen, empty without a console.
        auto row = [](const char* name, QString start, QString stored, bool asked, bool swap,
                      QString swapStores, QString after, QString audience, QString console,
                      bool maximized, float scale) {
            QTest::newRow(name) << start << stored << swapStores << after << audience << console
                                << asked << swap << maximized << scale;
        };
        row("two, primary first", "eDP* HDMI", "", false, false, "", "", "HDMI", "eDP", true, .8f);
        row("two, primary second", "HDMI eDP*", "", false, false, "", "", "HDMI", "eDP", true, .8f);
        row("one", "eDP*", "", false, false, "", "", "eDP", "", false, 1);
        row("one, --console", "eDP*", "", true, false, "", "", "eDP", "eDP", false, 1);
        row("stored present", "eDP* HDMI", "eDP", false, false, "", "", "eDP", "HDMI", true, 1);
        row("stored absent", "eDP* HDMI", "DP", false, false, "", "", "HDMI", "eDP", true, .8f);
        row("swap", "eDP* HDMI", "", false, true, "eDP", "", "eDP", "HDMI", true, 1);
        row("swap back", "eDP* HDMI", "eDP", false, true, "HDMI", "", "HDMI", "eDP", true, .8f);
        row("swap, one screen", "eDP*", "", false, true, "", "", "eDP", "", false, 1);
        row("audience removed", "eDP* HDMI", "", false, false, "", "eDP*", "eDP", "", false, 1);
        row("audience removed, --console", "eDP* HDMI", "", true, false, "", "eDP*", "eDP", "eDP",
            false, 1);
        row("screen added", "eDP*", "", false, false, "", "eDP* HDMI", "HDMI", "eDP", true, .8f);
        row("screen added, swap stored", "eDP*", "eDP", false, false, "", "eDP* HDMI", "eDP",
            "HDMI", true, 1);
        row("three", "HDMI eDP* DP", "", false, false, "", "", "HDMI", "eDP", true, .8f);
        row("three, audience removed", "HDMI eDP* DP", "", false, false, "", "eDP* DP", "DP", "eDP",
            true, 1);
        row("three, operator's removed", "eDP* HDMI DP", "", false, true, "eDP", "eDP* DP", "eDP",
            "DP", true, 1);
        row("third added in front", "eDP* HDMI", "", false, false, "", "DP eDP* HDMI", "HDMI",
            "eDP", true, .8f);
    }

    void roles() {
        QFETCH(QString, start);
        QFETCH(QString, stored);
        QFETCH(bool, consoleAsked);
        QFETCH(bool, swap);
        QFETCH(QString, swapStores);
        QFETCH(QString, after);
        QList<app::ScreenInfo> list = screens(start);
        app::ScreenRoles roles = app::assignScreenRoles(list, stored, consoleAsked);
        if (swap) {
            const auto swapped = app::swapScreenRoles(list, roles);
            QCOMPARE(swapped.has_value(), !swapStores.isEmpty());
            if (swapped) {
                QCOMPARE(swapped->storedAudience, swapStores);
                roles = swapped->roles;
                stored = swapStores;
            }
        }
        if (!after.isEmpty()) {
            roles = app::followScreenChange(list, roles, screens(after), stored, consoleAsked);
            list = screens(after);
        }
        QTEST(list.value(roles.audience).name, "audience");
        QTEST(list.value(roles.operatorScreen).name, "console");
        QCOMPARE(roles.console, roles.operatorScreen >= 0);
        QTEST(roles.consoleMaximized, "maximized");
        QTEST(roles.displayScale, "scale");
    }
};

QTEST_MAIN(ScreenRolesTest)
#include "screen_roles_test.moc"
