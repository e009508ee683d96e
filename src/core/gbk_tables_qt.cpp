#include "core/gbk_tables.h"

#include <QTextCodec>

namespace core::gbk {

namespace {

QTextCodec* findGbk() {
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    return codec;
}

// main refuses to start without the codec (GbkCodec::available), so this is never null.
QTextCodec& gbkCodec() {
    Q_ASSERT(findGbk());
    return *findGbk();
}

} // namespace

bool tablesAvailable() {
    return findGbk() != nullptr;
}

QByteArray encode(const QChar* chars, int length, int* invalid) {
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    QByteArray bytes = gbkCodec().fromUnicode(chars, length, &state);
    *invalid = state.invalidChars + state.remainingChars;
    return bytes;
}

QString decode(const char* bytes, int length) {
    return gbkCodec().toUnicode(bytes, length);
}

} // namespace core::gbk
