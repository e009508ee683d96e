#pragma once

#include "lottery/draw_machine.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

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

    using Reprint = std::function<void(const std::vector<lottery::WinnerRecord>&)>;
    // 重印奖券 hands the selected winners and replacements here; hidden until set.
    void setReprint(Reprint reprint);

protected:
    // The file to export to, or empty when the operator cancels; tests answer in its place.
    // The suggested name's suffix (.csv or .xlsx) tells the kind.
    virtual QString askExportPath(const QString& suggestedPath);
    QString exportSuggestion(const QString& fileName) const;

private Q_SLOTS:
    void OnOpenResultFile();
    void OnExportCsv();
    void OnReprint();
    void OnExportXlsx();

private:
    void OnInitDialog();
    QString summaryText() const;
    // The line of the person drawn at this row of the table.
    const lottery::WinnerRecord& winnerAt(int row) const;
    void reportExport(const QString& path);

    std::unique_ptr<Ui::ResultsDialog> ui_;
    std::filesystem::path resultFile_;
    core::CCore& core_;
    lottery::ResultsLog log_;
    lottery::DrawLedger ledger_; // of log_
    Reprint reprint_;
};

} // namespace dialogs
