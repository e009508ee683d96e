#pragma once

#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;

namespace app {

// Opens on the operator's screen when the program has no event to open: a new event under the
// user's documents folder (prizedraw/<name>), a folder chosen on disk, or one of the recent
// events. Accepted with chosenFolder() set; rejected when the operator leaves.
class EventChooser : public QDialog {
    Q_OBJECT

public:
    explicit EventChooser(const QStringList& recent, QWidget* parent = nullptr);

    QString chosenFolder() const { return chosen_; }
    // Where new events go: <Documents>/prizedraw.
    static QString eventsRoot();

private:
    void newEvent();
    void openFolder();
    void openRecent();
    void choose(const QString& folder);

    QListWidget* recentList_;
    QPushButton* openRecentButton_;
    QString chosen_;
};

// The chooser, modal on the operator's screen; the folder chosen, or "" when none was.
QString chooseEvent();

} // namespace app
