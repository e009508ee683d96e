#include "lottery/participant_file.h"

#include "lottery/file_text.h"
#include "lottery/gbk_line_reader.h"
#include "lottery/gbk_text.h"
#include "lottery/safe_file.h"

#include <algorithm>
#include <cstdint>

namespace lottery {

namespace {

constexpr int kInserted = -1; // a marker or an asterisk, not a byte of the entry

struct MaskByte {
    char byte;
    int origin; // position in the raw text, or kInserted
};

enum class ByteRole : unsigned char { Single, Lead, Trail };

// Scratch buffers reused for every entry of one masking pass.
class Masker {
public:
    Masker(bool hide, std::int64_t start, std::int64_t length, std::size_t starCount)
        : hide_(hide), start_(start), length_(length), starCount_(starCount) {}

    // Returns false when the display text had to be cut.
    bool mask(std::string_view raw, std::string& display) {
        markRoles(raw);
        if (hide_) {
            replaceSubstring(raw);
            replaceMarkers();
        } else {
            masked_.clear();
            for (std::size_t i = 0; i < raw.size(); ++i)
                masked_.push_back({raw[i], static_cast<int>(i)});
        }
        return emit(display);
    }

private:
    void markRoles(std::string_view raw) {
        roles_.assign(raw.size(), ByteRole::Single);
        for (std::size_t i = 0; i < raw.size();) {
            const std::size_t length = gbkCharLength(raw, i);
            if (length == 2) {
                roles_[i] = ByteRole::Lead;
                roles_[i + 1] = ByteRole::Trail;
            }
            i += length;
        }
    }

    // Every occurrence of the chosen byte range, searched from the left without overlap,
    // becomes the two-backtick marker.
    void replaceSubstring(std::string_view raw) {
        marked_.clear();
        std::string_view sub;
        if (start_ < static_cast<std::int64_t>(raw.size())) {
            const auto from = static_cast<std::size_t>(start_);
            sub = raw.substr(from, static_cast<std::size_t>(std::min<std::int64_t>(
                                       length_, static_cast<std::int64_t>(raw.size() - from))));
        }
        std::size_t pos = 0;
        while (pos < raw.size()) {
            const std::size_t hit = sub.empty() ? std::string_view::npos : raw.find(sub, pos);
            const std::size_t end = hit == std::string_view::npos ? raw.size() : hit;
            for (; pos < end; ++pos)
                marked_.push_back({raw[pos], static_cast<int>(pos)});
            if (hit == std::string_view::npos)
                break;
            marked_.push_back({'`', kInserted});
            marked_.push_back({'`', kInserted});
            pos = hit + sub.size();
        }
    }

    // Every two-backtick pair, the entry's own included, becomes the star string.
    void replaceMarkers() {
        masked_.clear();
        for (std::size_t i = 0; i < marked_.size();) {
            if (marked_[i].byte == '`' && i + 1 < marked_.size() && marked_[i + 1].byte == '`') {
                masked_.insert(masked_.end(), starCount_, MaskByte{'*', kInserted});
                i += 2;
            } else {
                masked_.push_back(marked_[i++]);
            }
        }
    }

    // Whole characters only: a half whose partner was masked away shows as an asterisk, and a
    // lead byte of the file that starts no character as '?', so no text ends in half a
    // character.
    static char shown(const MaskByte& b, ByteRole role) {
        if (role != ByteRole::Single)
            return '*';
        return b.origin != kInserted && isGbkLeadByte(static_cast<unsigned char>(b.byte)) ? '?'
                                                                                          : b.byte;
    }

    bool emit(std::string& display) const {
        display.clear();
        for (std::size_t i = 0; i < masked_.size();) {
            const MaskByte& b = masked_[i];
            const ByteRole role = b.origin == kInserted ? ByteRole::Single : roles_[b.origin];
            const bool pair = role == ByteRole::Lead && i + 1 < masked_.size() &&
                              masked_[i + 1].origin == b.origin + 1;
            const std::size_t length = pair ? 2 : 1;
            if (display.size() + length > kDisplayTextBytes)
                return false;
            if (pair)
                display.append({b.byte, masked_[i + 1].byte});
            else
                display.push_back(shown(b, role));
            i += length;
        }
        return true;
    }

    bool hide_;
    std::int64_t start_;
    std::int64_t length_;
    std::size_t starCount_;
    std::vector<ByteRole> roles_;
    std::vector<MaskByte> marked_;
    std::vector<MaskByte> masked_;
};

// Enough bytes of a line for kRawTextBytes + 1 GBK bytes even from 4-byte UTF-8 characters,
// so the cut sees the byte after the limit.
constexpr std::size_t kKeptLineBytes = 4 * (kRawTextBytes + 2);

// Spaces, tabs, NULs and the fullwidth space: a line that shows as nothing.
bool isBlank(std::string_view gbk) {
    for (std::size_t pos = 0; pos < gbk.size(); ++pos) {
        if (gbk.compare(pos, 2, "\xA1\xA1") == 0)
            ++pos;
        else if (gbk[pos] != ' ' && gbk[pos] != '\t' && gbk[pos] != '\0')
            return false;
    }
    return true;
}

// Both kinds still load as entries; the operator learns of them before the draw.
void addOddityWarnings(const ParticipantList& list, int blank, int firstBlank,
                       const std::string& label, core::CoreServices& services,
                       std::vector<std::string>& warnings) {
    if (blank > 0)
        warnings.push_back(label + "有 " + std::to_string(blank) + " 个条目只有空白字符（如第 " +
                           std::to_string(firstBlank) + " 行），仍作为抽奖条目");
    const auto duplicates = duplicateTexts(list);
    if (!duplicates.empty())
        warnings.push_back(label + "有 " + std::to_string(duplicates.size()) +
                           " 个条目文本重复出现（如“" + services.utf8FromGbk(duplicates[0].first) +
                           "”共 " + std::to_string(duplicates[0].second) +
                           " 次）；同一文本的条目中奖后，其余副本不再参加抽取");
}

void fillEntries(GbkLineReader& reader, const std::string& label, ParticipantList& list,
                 core::CoreServices& services, std::vector<std::string>& warnings) {
    reader.finish(services);
    addConversionWarning(reader, label, warnings);
    int cut = 0;
    int blank = 0;
    int firstBlank = 0;
    std::size_t bytes = 0;
    for (const GbkLineReader::Line& line : reader.lines())
        bytes += std::min(line.gbk.size(), kRawTextBytes);
    list.reserve(reader.lines().size(), bytes);
    for (GbkLineReader::Line& line : reader.lines()) {
        if (isBlank(line.gbk) && blank++ == 0)
            firstBlank = line.number;
        if (line.cut || line.gbk.size() > kRawTextBytes) {
            ++cut;
            list.append(cutToBytes(line.gbk, kRawTextBytes));
        } else {
            list.append(line.gbk);
        }
        std::string().swap(line.gbk); // the store holds it now
    }
    if (reader.ignoredLines() > 0)
        warnings.push_back(label + "有 " + std::to_string(reader.ignoredLines()) + " 行超过 " +
                           std::to_string(kParticipantCapacity) + " 个条目的上限，已忽略");
    if (cut > 0)
        warnings.push_back(label + "有 " + std::to_string(cut) + " 个抽奖条目超过 " +
                           std::to_string(kRawTextBytes) + " 字节，已截断");
    addOddityWarnings(list, blank, firstBlank, label, services, warnings);
}

} // namespace

void loadParticipantFile(const EventPaths& paths, ParticipantList& list, DrawOptions& options,
                         core::CoreServices& services, std::vector<std::string>& warnings) {
    list.clear();
    if (!services.fileExists(paths.participantFile))
        return;
    const std::string label = "抽奖数据文件 " + pathText(paths.participantFile.filename()) + "：";
    GbkLineReader reader(kKeptLineBytes, kParticipantCapacity);
    if (!readFileInPieces(paths.participantFile,
                          [&reader](std::string_view piece) { reader.feed(piece); })) {
        warnings.push_back(label + "无法读取，抽奖条目为空");
        return;
    }
    fillEntries(reader, label, list, services, warnings);

    const int displayCut = maskParticipants(list, options);
    if (displayCut > 0)
        warnings.push_back(label + "有 " + std::to_string(displayCut) +
                           " 个抽奖条目的显示文本超过 " + std::to_string(kDisplayTextBytes) +
                           " 字节，已截断");
}

void readParticipantText(std::string_view bytes, const std::string& fileLabel,
                         ParticipantList& list, core::CoreServices& services,
                         std::vector<std::string>& warnings) {
    list.clear();
    GbkLineReader reader(kKeptLineBytes, kParticipantCapacity);
    reader.feed(bytes);
    fillEntries(reader, fileLabel, list, services, warnings);
}

std::vector<std::pair<std::string, int>> duplicateTexts(const ParticipantList& list) {
    std::vector<std::pair<std::string, int>> duplicates;
    for (int i = 0; i < list.count(); ++i) {
        const std::string_view text = list.rawText(i);
        if (list.nextCopy(i) < 0 || list.firstOf(text) != i)
            continue;
        duplicates.emplace_back(text, list.copiesOf(text));
    }
    return duplicates;
}

namespace {

// The masker of the options; clears maskEntries when its range is reversed.
Masker maskerFor(DrawOptions& options) {
    if (static_cast<std::int64_t>(options.maskEnd) - options.maskStart + 1 < 0)
        options.maskEntries = 0;
    // Bytes are counted from 1: a start before that hides from the first byte, no more.
    const std::int64_t first = std::max<std::int64_t>(options.maskStart, 1);
    const std::int64_t length = std::max<std::int64_t>(options.maskEnd - first + 1, 0);
    const bool hide = options.maskEntries != 0;
    // Anything past the display limit is cut anyway; one more star still shows that a cut happened.
    const std::size_t starCount =
        hide && length > 0 ? static_cast<std::size_t>(std::min<std::int64_t>(
                                 length, static_cast<std::int64_t>(kDisplayTextBytes) + 1))
                           : 0;
    return Masker(hide, first - 1, length, starCount);
}

} // namespace

int maskParticipants(ParticipantList& list, DrawOptions& options) {
    if (list.empty())
        return 0;
    Masker masker = maskerFor(options);
    int cut = 0;
    std::string display;
    for (int i = 0; i < list.count(); ++i) {
        if (!masker.mask(list.rawText(i), display))
            ++cut;
        list.setDisplayText(i, display);
    }
    return cut;
}

std::string maskedText(std::string_view rawText, DrawOptions options) {
    std::string display;
    maskerFor(options).mask(rawText, display);
    return display;
}

} // namespace lottery
