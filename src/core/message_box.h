#pragma once

#include "core/message_box_hook.h"

#include <QMessageBox>
#include <QString>

class QWidget;

namespace core {

// A modal box over owner (may be nullptr). Confirm returns QMessageBox::Yes or No; the
// others return Yes once dismissed. An installed MessageBoxHook answers instead.
// defaultAnswer, for Confirm only, is the button that has the focus, so Space and Return
// choose it; Escape always answers No.
QMessageBox::StandardButton
showMessageBox(MessageKind kind, QWidget* owner, const QString& text,
               QMessageBox::StandardButton defaultAnswer = QMessageBox::No);

} // namespace core
