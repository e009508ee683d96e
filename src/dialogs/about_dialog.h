#pragma once

#include "lottery/lottery_data.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class AboutDialog;
}

namespace dialogs {

// The program's name and version, the program folder in use and which of its data and
// media files are there, with their sizes. Looks at the files once, when created.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(const lottery::EventPaths& paths, const QString& version,
                QWidget* parent = nullptr);
    ~AboutDialog() override;

private:
    void OnInitDialog(const lottery::EventPaths& paths, const QString& version);
    void addFileRow(const QString& folder, const QString& file);

    std::unique_ptr<Ui::AboutDialog> ui_;
};

} // namespace dialogs
