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

// Whether the edit's text is free of the prize file's separators: the backtick between
// fields and the line ends between records. Otherwise warns, naming the field, and moves
// the focus there.
bool separatorFree(QWidget* owner, QLineEdit* edit, const QString& fieldName);

// atoi's decimal prefix rule on the edit's text.
int fieldNumber(const QLineEdit* edit);

} // namespace dialogs
