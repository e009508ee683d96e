#pragma once

#include "core/message_box_hook.h"

#include <QString>

class QWidget;

namespace core {

constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// A modal box over owner (may be nullptr). Confirm returns kAnswerYes or kAnswerNo; the
// others return kAnswerYes once dismissed. An installed MessageBoxHook answers instead.
// defaultAnswer, for Confirm only, is the button that has the focus, so Space and Return
// choose it; Escape always answers No.
int showMessageBox(MessageKind kind, QWidget* owner, const QString& text,
                   int defaultAnswer = kAnswerNo);

} // namespace core
