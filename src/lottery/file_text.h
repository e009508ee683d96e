#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lottery {

// Adds the warning for characters lost in the conversion, naming the file; nothing when none.
void addEncodingWarning(int unmappable, const std::string& fileLabel,
                        std::vector<std::string>& warnings);

// The path as UTF-8, for texts shown to the operator.
std::string pathText(const std::filesystem::path& path);

// *problem = text, for callers that may pass no place for the problem.
void storeProblem(std::string* problem, const std::string& text);

} // namespace lottery
