#include "core/gbk_codec.h"

#include "core/gbk_bytes.h"
#include "core/gbk_tables.h"

#include <algorithm>

namespace core {

namespace {

// Codecs differ in how they count a surrogate pair; where something is invalid, convert one
// character at a time so that every backend yields one '?' per character.
void appendEncoded(QByteArray& out, const QChar* chars, qsizetype length, int& lost) {
    int invalid = 0;
    const QByteArray whole = gbk::encode(chars, static_cast<int>(length), &invalid);
    if (invalid == 0) {
        out.append(whole);
        return;
    }
    for (qsizetype i = 0; i < length;) {
        const int width =
            chars[i].isHighSurrogate() && i + 1 < length && chars[i + 1].isLowSurrogate() ? 2 : 1;
        int bad = 0;
        const QByteArray one = gbk::encode(chars + i, width, &bad);
        if (bad > 0 || one.isEmpty()) {
            out.append('?');
            ++lost;
        } else {
            out.append(one);
        }
        i += width;
    }
}

} // namespace

bool GbkCodec::available() {
    return gbk::tablesAvailable();
}

std::string GbkCodec::fromQString(const QString& text, int* unmappable) {
    // Converting in chunks keeps the per-character path to the few chunks that need it.
    constexpr qsizetype kChunk = 256;
    QByteArray bytes;
    int lost = 0;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = std::min(text.size(), start + kChunk);
        if (end < text.size() && text[end - 1].isHighSurrogate())
            ++end;
        appendEncoded(bytes, text.constData() + start, end - start, lost);
        start = end;
    }
    if (unmappable)
        *unmappable = lost;
    return bytes.toStdString();
}

std::optional<std::string> GbkCodec::toGbkStrict(const QString& text) {
    int lost = 0;
    std::string bytes = fromQString(text, &lost);
    if (lost > 0)
        return std::nullopt;
    return bytes;
}

QString GbkCodec::fromGbk(std::string_view gbk) {
    // A lead byte with nothing after it would vanish silently in some codecs.
    std::size_t whole = 0;
    while (whole < gbk.size()) {
        const auto c = static_cast<unsigned char>(gbk[whole]);
        const std::size_t width = isGbkLeadByte(c) ? 2 : 1;
        if (whole + width > gbk.size())
            break;
        whole += width;
    }
    QString text = gbk::decode(gbk.data(), static_cast<int>(whole));
    if (whole < gbk.size())
        text.append(QChar::ReplacementCharacter);
    return text;
}

std::string GbkCodec::fromUtf8(std::string_view utf8, int* unmappable) {
    return fromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                       unmappable);
}

std::string GbkCodec::toUtf8(std::string_view gbk) {
    return fromGbk(gbk).toStdString();
}

} // namespace core
