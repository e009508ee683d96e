#include "dialogs/options_dialog.h"

#include "core/ccore.h"
#include "dialogs/dialog_fields.h"
#include "dialogs/look_and_sound_page.h"
#include "ui_options_dialog.h"

#include <QRegularExpressionValidator>

#include <algorithm>

namespace dialogs {

OptionsDialog::OptionsDialog(lottery::DrawOptions& options, tickets::TicketSettings& tickets,
                             const QStringList& printers, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::OptionsDialog>()), options_(options),
      tickets_(tickets) {
    ui_->setupUi(this);
    // The first item stands for the system's default printer; its data is the empty name.
    ui_->printerCombo->addItem(QStringLiteral("系统默认打印机"), QString());
    for (const QString& printer : printers)
        ui_->printerCombo->addItem(printer, printer);
    // A printer kept from another machine stays chosen until the operator picks another.
    if (!tickets_.printer.isEmpty() && !printers.contains(tickets_.printer))
        ui_->printerCombo->addItem(tickets_.printer + QStringLiteral("（未找到）"),
                                   tickets_.printer);
    ui_->printerCombo->setEnabled(!printers.isEmpty());
    ui_->noPrinterLabel->setVisible(printers.isEmpty());
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    ui_->hstartEdit->setValidator(digits);
    ui_->hendEdit->setValidator(digits);
    OnInitDialog();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::OnInitDialog() {
    ui_->hideCheck->setChecked(options_.maskEntries != 0);
    ui_->printCheck->setChecked(options_.print != 0);
    ui_->museCheck->setChecked(options_.muteMusic != 0);
    ui_->hstartEdit->setText(QString::number(options_.maskStart));
    ui_->hendEdit->setText(QString::number(options_.maskEnd));
    ui_->fingerprintCheck->setChecked(options_.showFingerprint != 0);
    ui_->printerCombo->setCurrentIndex(std::max(0, ui_->printerCombo->findData(tickets_.printer)));
    ui_->paperCombo->setCurrentIndex(tickets_.paperWidthMm == 80 ? 1 : 0);
    ui_->volumeSlider->setValue(options_.stage.volume);
    ui_->layoutCombo->setCurrentIndex(static_cast<int>(options_.stage.layout));
    ui_->themeCombo->setCurrentIndex(static_cast<int>(options_.stage.theme));
}

void OptionsDialog::addLookAndSoundPage(const lottery::EventPaths& paths,
                                        std::function<void(const QString&)> listen) {
    lookAndSound_ = new LookAndSoundPage(paths, std::move(listen), ui_->pages);
    ui_->pages->addTab(lookAndSound_, QStringLiteral("外观和声音"));
}

void OptionsDialog::accept() {
    if (lookAndSound_ && lookAndSound_->anyChosen()) {
        std::string problem;
        const bool installed = lookAndSound_->apply(&problem);
        mediaChanged_ = true;
        if (!installed) {
            core::CCore::msgboxWarning(this, QStringLiteral("文件没有换成：") +
                                                 QString::fromStdString(problem));
            return;
        }
    }
    const bool hide = ui_->hideCheck->isChecked();
    if (hide) {
        const int start = fieldNumber(ui_->hstartEdit);
        const int end = fieldNumber(ui_->hendEdit);
        if (start < 1) {
            core::CCore::msgboxWarning(this, QStringLiteral("开始位置不能小于1"));
            focusField(ui_->hstartEdit);
            return;
        }
        if (end < start) {
            core::CCore::msgboxWarning(this, QStringLiteral("结束位置不能小于开始位置"));
            focusField(ui_->hendEdit);
            return;
        }
        options_.maskStart = start;
        options_.maskEnd = end;
    }
    options_.maskEntries = hide ? 1 : 0;
    options_.print = ui_->printCheck->isChecked() ? 1 : 0;
    options_.muteMusic = ui_->museCheck->isChecked() ? 1 : 0;
    options_.showFingerprint = ui_->fingerprintCheck->isChecked() ? 1 : 0;
    options_.stage.volume = ui_->volumeSlider->value();
    options_.stage.layout = static_cast<lottery::ScreenLayout>(ui_->layoutCombo->currentIndex());
    options_.stage.theme = static_cast<lottery::StageTheme>(ui_->themeCombo->currentIndex());
    tickets_.printer = ui_->printerCombo->currentData().toString();
    tickets_.paperWidthMm = ui_->paperCombo->currentIndex() == 1 ? 80 : 58;
    QDialog::accept();
}

} // namespace dialogs
