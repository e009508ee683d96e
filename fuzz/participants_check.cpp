#include "participants_check.h"

#include "check_services.h"
#include "lottery/gbk_text.h"
#include "lottery/participant_file.h"
#include "scratch_folder.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace fuzzchecks {

namespace {

constexpr std::size_t kOptionBytes = 9;

std::int32_t int32At(std::string_view bytes, std::size_t pos) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + pos, sizeof value);
    return static_cast<std::int32_t>(value);
}

// Byte 0: bit 0 hide, bit 1 small positions (bytes 1 and 2 as signed bytes) rather than any
// 32-bit values (bytes 1-4 and 5-8).
lottery::DrawOptions optionsFrom(std::string_view head) {
    lottery::DrawOptions options;
    const auto flags = static_cast<unsigned char>(head[0]);
    options.maskEntries = flags & 1;
    if (flags & 2) {
        options.maskStart = static_cast<signed char>(head[1]);
        options.maskEnd = static_cast<signed char>(head[2]);
    } else {
        options.maskStart = int32At(head, 1);
        options.maskEnd = int32At(head, 5);
    }
    return options;
}

bool endsInHalfCharacter(const std::string& gbk) {
    std::size_t last = gbk.size();
    for (std::size_t pos = 0; pos < gbk.size(); pos += lottery::gbkCharLength(gbk, pos))
        last = pos;
    return last + 1 == gbk.size() && lottery::isGbkLeadByte(static_cast<unsigned char>(gbk[last]));
}

std::string checkEntries(const lottery::ParticipantList& list) {
    if (list.count() > lottery::kParticipantCapacity)
        return "more entries than the capacity";
    for (int i = 0; i < list.count(); ++i) {
        if (list.rawText(i).empty() || list.rawText(i).size() > lottery::kRawTextBytes)
            return "a raw text empty or longer than the limit";
        if (list.won(i) || list.absent(i) || !list.wonPrizeIds(i).empty())
            return "a fresh entry carries a winner mark";
    }
    return {};
}

// Masking off shows the raw text cut to the display limit, lone lead bytes as '?'.
bool showsRawText(std::string_view raw, std::string_view shown) {
    if (shown.size() > raw.size())
        return false;
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i] != raw[i] &&
            !(shown[i] == '?' && lottery::isGbkLeadByte(static_cast<unsigned char>(raw[i]))))
            return false;
    return true;
}

std::string checkMasking(lottery::ParticipantList& list, const lottery::DrawOptions& chosen) {
    lottery::DrawOptions options = chosen;
    lottery::maskParticipants(list, options);
    const std::int64_t length =
        static_cast<std::int64_t>(chosen.maskEnd) - static_cast<std::int64_t>(chosen.maskStart) + 1;
    if (!list.empty() && length < 0 && options.maskEntries != 0)
        return "a reversed range left masking on";
    std::vector<std::string> first;
    for (int i = 0; i < list.count(); ++i) {
        const std::string shown(list.displayText(i));
        if (shown.size() > lottery::kDisplayTextBytes)
            return "a display text longer than 30 bytes";
        if (endsInHalfCharacter(shown))
            return "a display text ends in half a character";
        if (options.maskEntries == 0 && !showsRawText(list.rawText(i), shown))
            return "masking off changed the text";
        first.push_back(shown);
    }
    lottery::maskParticipants(list, options);
    for (int i = 0; i < list.count(); ++i)
        if (list.displayText(i) != first[static_cast<std::size_t>(i)])
            return "masking again gave another text";
    return {};
}

} // namespace

std::string checkParticipants(std::string_view input) {
    if (input.size() < kOptionBytes)
        return {};
    const lottery::DrawOptions chosen = optionsFrom(input.substr(0, kOptionBytes));
    const std::string_view file = input.substr(kOptionBytes);

    CheckServices services;
    std::vector<std::string> warnings;
    lottery::ParticipantList list;
    lottery::readParticipantText(file, "items: ", list, services, warnings);
    if (std::string problem = checkEntries(list); !problem.empty())
        return problem;

    // The loader reads the file in pieces; it must find the same entries.
    const auto paths = lottery::EventPaths::forFolder(scratchFolder());
    {
        std::ofstream out(paths.participantFile, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    lottery::ParticipantList loaded;
    lottery::DrawOptions loadOptions = chosen;
    std::vector<std::string> loadWarnings;
    lottery::loadParticipantFile(paths, loaded, loadOptions, services, loadWarnings);
    if (loaded.count() != list.count())
        return "reading the file found another number of entries";
    for (int i = 0; i < list.count(); ++i)
        if (loaded.rawText(i) != list.rawText(i))
            return "reading the file found another entry";
    return checkMasking(list, chosen);
}

} // namespace fuzzchecks
