#pragma once

#include "core/message_box_hook.h"

#include <QString>

class QWidget;

namespace core {

constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// A modal box over owner (may be nullptr). Confirm returns kAnswerYes or kAnswerNo; the
// others return kAnswerYes once dismissed. An installed MessageBoxHook answers instead.
int showMessageBox(MessageKind kind, QWidget* owner, const QString& text);

} // namespace core
