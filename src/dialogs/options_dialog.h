#pragma once

#include "lottery/lottery_data.h"
#include "tickets/ticket_settings.h"

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class OptionsDialog;
}

namespace dialogs {

// Sets hide, hstart, hend, print, muse, showFingerprint and the audience screen's volume,
// layout and theme, and the ticket printer and paper
// among printers (the machine's printer names). On 确定 they are written into options and
// tickets and the dialog ends Accepted; saving them is the caller's.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    OptionsDialog(lottery::DrawOptions& options, tickets::TicketSettings& tickets,
                  const QStringList& printers, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // Validates the masking range when it is used; stores nothing unless it passes.
    void accept() override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::OptionsDialog> ui_;
    lottery::DrawOptions& options_;
    tickets::TicketSettings& tickets_;
};

} // namespace dialogs
