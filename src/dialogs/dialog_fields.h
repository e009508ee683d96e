#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>

class QLineEdit;
class QWidget;

namespace dialogs {

// Moves the keyboard focus to edit and selects its text, as after a refused entry.
void focusField(QLineEdit* edit);

// The edit's text as GBK of at most maxBytes bytes. Otherwise warns, naming the field,
// moves the focus there and returns nothing.
std::optional<std::string> gbkFieldText(QWidget* owner, QLineEdit* edit, const QString& fieldName,
                                        std::size_t maxBytes);

// atoi's decimal prefix rule on the edit's text.
int fieldNumber(const QLineEdit* edit);

} // namespace dialogs
