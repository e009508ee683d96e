#pragma once

namespace core {

// The settings file in the event folder; lottery::EventPaths names it from here too.
inline constexpr const char* kSettingsFileName = "prizedraw.ini";

} // namespace core
