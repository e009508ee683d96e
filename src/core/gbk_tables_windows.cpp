#include "core/gbk_tables.h"

#include "core/gbk_bytes.h"

#include <string>

#include <windows.h>

namespace core::gbk {

namespace {

constexpr UINT kGbk = 936;

// Whole bytes in one call; false when some sequence is not GBK.
bool decodeStrict(const char* bytes, int length, QString& out) {
    if (length == 0)
        return true;
    const int size = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
    if (size <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, length, wide.data(), size);
    out.append(QString::fromWCharArray(wide.data(), size));
    return true;
}

} // namespace

bool tablesAvailable() {
    return IsValidCodePage(kGbk) != 0;
}

QByteArray encode(const QChar* chars, int length, int* invalid) {
    *invalid = 0;
    if (length == 0)
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(chars);
    const char fallback = '?';
    BOOL lost = FALSE;
    const int size =
        WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, &fallback, &lost);
    QByteArray bytes(size, '\0');
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, &fallback,
                        &lost);
    *invalid = lost || size <= 0 ? 1 : 0;
    return bytes;
}

QString decode(const char* bytes, int length) {
    QString text;
    if (decodeStrict(bytes, length, text))
        return text;
    // One character at a time, so that only what is broken becomes U+FFFD.
    for (int i = 0; i < length;) {
        const int width = isGbkLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + width > length || !decodeStrict(bytes + i, width, text))
            text.append(QChar::ReplacementCharacter);
        i += width;
    }
    return text;
}

} // namespace core::gbk
