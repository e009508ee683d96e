#pragma once

#include "lottery/lottery_data.h"

#include <QDialog>

#include <memory>

namespace Ui {
class OptionsDialog;
}

namespace dialogs {

// Sets hide, hstart, hend, print and muse. On 确定 they are written into options and
// the dialog ends Accepted; saving them is the caller's.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OptionsDialog(lottery::DrawOptions& options, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // Validates the masking range when it is used; stores nothing unless it passes.
    void accept() override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::OptionsDialog> ui_;
    lottery::DrawOptions& options_;
};

} // namespace dialogs
