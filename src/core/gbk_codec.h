#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The stored texts are GBK bytes; this converts them at the screen and dialog boundary.
class GbkCodec {
public:
    // False when the GBK tables are missing (Qt's Core5Compat, or Windows' code page 936);
    // nothing else here may be called then.
    static bool available();

    // Characters GBK cannot hold become '?', one per character, counted in *unmappable.
    static std::string fromQString(const QString& text, int* unmappable = nullptr);
    // nullopt when any character cannot be held: dialogs refuse such text.
    static std::optional<std::string> toGbkStrict(const QString& text);
    // Byte sequences that are not GBK become U+FFFD.
    static QString fromGbk(std::string_view gbk);

    static std::string fromUtf8(std::string_view utf8, int* unmappable = nullptr);
    static std::string toUtf8(std::string_view gbk);
};

} // namespace core
