#pragma once

#include <QValidator>

#include <cstddef>

namespace dialogs {

// Refuses an edit that would make the text longer than maxBytes in GBK, so typing stops at
// a record field's width. A character GBK cannot hold counts as one byte here; the dialog
// refuses such text when it is confirmed.
class GbkLengthValidator : public QValidator {
    Q_OBJECT

public:
    GbkLengthValidator(std::size_t maxBytes, QObject* parent);

    State validate(QString& input, int& pos) const override;

private:
    std::size_t maxBytes_;
};

} // namespace dialogs
