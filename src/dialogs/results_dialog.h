#pragma once

#include "lottery/draw_machine.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ResultsDialog;
}

namespace core {
class CCore;
}

namespace dialogs {

// Lists the winners the results file records for the current draw (after its last start
// line), with those the draw could not write yet marked as not saved; opens the file and
// exports the list as CSV. Reads the file once, when created.
class ResultsDialog : public QDialog {
    Q_OBJECT

public:
    ResultsDialog(const lottery::EventPaths& paths, core::CCore& core, QWidget* parent = nullptr,
                  const lottery::DrawMachine* draw = nullptr);
    ~ResultsDialog() override;

protected:
    // The file to export to, or empty when the operator cancels; tests answer in its place.
    virtual QString askExportPath(const QString& suggestedPath);

private Q_SLOTS:
    void OnOpenResultFile();
    void OnExportCsv();

private:
    void OnInitDialog();
    QString summaryText() const;

    std::unique_ptr<Ui::ResultsDialog> ui_;
    std::filesystem::path resultFile_;
    core::CCore& core_;
    lottery::ResultsLog log_;
};

} // namespace dialogs
