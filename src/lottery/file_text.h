#pragma once

#include "core/core_services.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lottery {

// A text file's bytes in the stored encoding.
struct GbkFileText {
    std::string gbk;
    bool fromUtf8 = false; // the file had a UTF-8 byte-order mark or was UTF-8 with non-ASCII text
    int unmappable = 0;    // characters GBK cannot hold, now '?'
};

// GBK files pass unchanged; UTF-8 files (see GbkFileText::fromUtf8) are converted.
GbkFileText toGbkFileText(std::string bytes, core::CoreServices& services);

// Adds the warning for characters lost in the conversion, naming the file; nothing when none.
void addEncodingWarning(const GbkFileText& text, const std::string& fileLabel,
                        std::vector<std::string>& warnings);

// Takes the next line from rest: LF ends a line and one CR before it is dropped, so a file
// ending with a line end yields no extra line. False when rest is exhausted.
bool takeLine(std::string_view& rest, std::string_view& line);

// The path as UTF-8, for texts shown to the operator.
std::string pathText(const std::filesystem::path& path);

} // namespace lottery
