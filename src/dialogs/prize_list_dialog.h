#pragma once

#include "dialogs/draw_guard.h"
#include "lottery/lottery_data.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>

namespace Ui {
class PrizeListDialog;
}

namespace core {
class CCore;
}

namespace dialogs {

// Lists the prize table and edits it in place; writes no prize file. It opens the
// participant file for editing or imports a spreadsheet over it. After it closes, however
// it closed, the caller re-reads the participants if participantFileOpened() (opened or
// imported) and sorts the table if prizesChanged().
class PrizeListDialog : public QDialog {
    Q_OBJECT

public:
    // resetDraw is called after a confirmed reset has set the draw back to its start in
    // data.options; it stops a roll and shows the ready screen when a draw window exists.
    // guard refuses the deletions and edits the running draw cannot follow.
    PrizeListDialog(lottery::LotteryData& data, std::filesystem::path participantFile,
                    core::CCore& core, std::function<void()> resetDraw, DrawGuard guard = {},
                    QWidget* parent = nullptr);
    ~PrizeListDialog() override;

    bool participantFileOpened() const { return participantFileOpened_; }
    bool prizesChanged() const { return prizesChanged_; }

protected:
    // The spreadsheet to import, or empty when the operator cancels; tests answer in its place.
    virtual QString askImportPath();

private Q_SLOTS:
    void OnAddPrize();
    void OnModifyPrize();
    void OnListDoubleClick(int row);
    void OnDeletePrize();
    void OnResetDraw();
    void OnOpenParticipantFile();
    void OnImportParticipants();

private:
    void OnInitDialog();
    void fillRow(int row);
    int selectedRow() const;

    std::unique_ptr<Ui::PrizeListDialog> ui_;
    lottery::LotteryData& data_;
    std::filesystem::path participantFile_;
    core::CCore& core_;
    std::function<void()> resetDraw_;
    DrawGuard guard_;
    bool participantFileOpened_ = false;
    bool prizesChanged_ = false;
};

} // namespace dialogs
