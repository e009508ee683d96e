#include "dialogs/options_dialog.h"

#include "core/ccore.h"
#include "dialogs/dialog_fields.h"
#include "ui_options_dialog.h"

#include <QRegularExpressionValidator>

namespace dialogs {

OptionsDialog::OptionsDialog(lottery::DrawOptions& options, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::OptionsDialog>()), options_(options) {
    ui_->setupUi(this);
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    ui_->hstartEdit->setValidator(digits);
    ui_->hendEdit->setValidator(digits);
    OnInitDialog();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::OnInitDialog() {
    ui_->hideCheck->setChecked(options_.hide != 0);
    ui_->printCheck->setChecked(options_.print != 0);
    ui_->museCheck->setChecked(options_.muse != 0);
    ui_->hstartEdit->setText(QString::number(options_.hstart));
    ui_->hendEdit->setText(QString::number(options_.hend));
}

void OptionsDialog::accept() {
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
        options_.hstart = start;
        options_.hend = end;
    }
    options_.hide = hide ? 1 : 0;
    options_.print = ui_->printCheck->isChecked() ? 1 : 0;
    options_.muse = ui_->museCheck->isChecked() ? 1 : 0;
    QDialog::accept();
}

} // namespace dialogs
