#pragma once

#include <cstddef>
#include <iterator>

namespace core {

// Every setting the program keeps. The names are the keys in the files, which events and
// users already have: they never change.
enum class Setting {
    // The draw's options, in the event's settings.
    MaskEntries,
    Print,
    MuteMusic,
    MaskStart,
    MaskEnd,
    Fingerprint,
    // The audience screen's look.
    Layout,
    Theme,
    Volume,
    KeyPrizes,
    // Tickets.
    Printer,
    PaperWidth,
    // The screen the audience sees, as its name.
    Audience,
    // In the user's own settings: the events opened, newest first.
    RecentEvents,
};

// A flag reads and is stored as 0 or 1; a number reads 0 when absent or unreadable.
enum class SettingKind { Flag, Number, Text, List };

struct SettingEntry {
    Setting setting;
    const char* name;
    SettingKind kind;
};

inline constexpr SettingEntry kSettingEntrys[] = {
    {Setting::MaskEntries, "hide", SettingKind::Flag},
    {Setting::Print, "print", SettingKind::Flag},
    {Setting::MuteMusic, "muse", SettingKind::Flag},
    {Setting::MaskStart, "hstart", SettingKind::Number},
    {Setting::MaskEnd, "hend", SettingKind::Number},
    {Setting::Fingerprint, "fingerprint", SettingKind::Flag},
    {Setting::Layout, "layout", SettingKind::Number},
    {Setting::Theme, "theme", SettingKind::Number},
    {Setting::Volume, "volume", SettingKind::Number},
    {Setting::KeyPrizes, "keyprizes", SettingKind::Text},
    {Setting::Printer, "printer", SettingKind::Text},
    {Setting::PaperWidth, "paper", SettingKind::Number},
    {Setting::Audience, "audience", SettingKind::Text},
    {Setting::RecentEvents, "recentEvents", SettingKind::List},
};

constexpr const SettingEntry& entryOf(Setting setting) {
    return kSettingEntrys[static_cast<std::size_t>(setting)];
}

// The table is in the enum's order.
constexpr bool settingTableInOrder() {
    for (std::size_t i = 0; i < std::size(kSettingEntrys); ++i)
        if (static_cast<std::size_t>(kSettingEntrys[i].setting) != i)
            return false;
    return true;
}
static_assert(settingTableInOrder(), "kSettingEntrys must follow the order of Setting");

} // namespace core
