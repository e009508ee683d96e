#pragma once

#include "lottery/lottery_data.h"
#include "tickets/ticket_settings.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

namespace Ui {
class OptionsDialog;
}

namespace dialogs {

class LookAndSoundPage;

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

    // The page for the background, picture and tunes of the event at paths; listen plays a
    // tune for 试听.
    void addLookAndSoundPage(const lottery::EventPaths& paths,
                             std::function<void(const QString&)> listen);
    // Whether 确定 put a new background, picture or tune into the event folder.
    bool mediaChanged() const { return mediaChanged_; }

    // Validates the masking range when it is used; stores nothing unless it passes. The
    // files chosen on the look and sound page are put in place first; a failure keeps the
    // dialog open.
    void accept() override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::OptionsDialog> ui_;
    lottery::DrawOptions& options_;
    tickets::TicketSettings& tickets_;
    LookAndSoundPage* lookAndSound_ = nullptr;
    bool mediaChanged_ = false;
};

} // namespace dialogs
