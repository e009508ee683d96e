#pragma once

#include <string>
#include <string_view>

namespace fuzzchecks {

// The first 9 bytes of input choose hide, hstart and hend, the rest is a participant file:
// read from memory and from a file, then masked; returns the first rule the result broke,
// empty when none.
std::string checkParticipants(std::string_view input);

} // namespace fuzzchecks
