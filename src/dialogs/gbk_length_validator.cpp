#include "dialogs/gbk_length_validator.h"

#include "core/gbk_codec.h"

namespace dialogs {

GbkLengthValidator::GbkLengthValidator(std::size_t maxBytes, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes) {}

QValidator::State GbkLengthValidator::validate(QString& input, int&) const {
    return core::GbkCodec::fromQString(input).size() <= maxBytes_ ? Acceptable : Invalid;
}

} // namespace dialogs
