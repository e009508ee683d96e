#include "lottery/list_import.h"

#include "lottery/backup_name.h"
#include "lottery/file_text.h"
#include "lottery/gbk_text.h"
#include "lottery/safe_file.h"

#include <algorithm>
#include <system_error>

namespace lottery {

namespace {

// Without spaces, tabs and fullwidth spaces at either end.
std::string_view trimGbkBlanks(std::string_view gbk) {
    std::size_t first = std::string_view::npos;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < gbk.size();) {
        const std::size_t length = gbkCharLength(gbk, pos);
        const bool blank = length == 2 ? gbk.compare(pos, 2, "\xA1\xA1") == 0
                                       : gbk[pos] == ' ' || gbk[pos] == '\t';
        if (!blank) {
            first = std::min(first, pos);
            end = pos + length;
        }
        pos += length;
    }
    return first == std::string_view::npos ? std::string_view() : gbk.substr(first, end - first);
}

} // namespace

ListImport::ListImport(ImportOptions options, CellEncoding encoding, core::CoreServices& services)
    : options_(std::move(options)), encoding_(encoding), services_(services), slots_(1024, -1) {}

std::string ListImport::joinedText(const std::vector<std::string>& cells) const {
    std::string joined;
    for (const int column : options_.columns) {
        if (column < 1 || static_cast<std::size_t>(column) > cells.size())
            continue;
        const std::string_view cell = trimBlanks(cells[static_cast<std::size_t>(column) - 1]);
        if (cell.empty())
            continue;
        if (!joined.empty())
            joined.push_back(' ');
        joined.append(cell);
    }
    // The file holds one entry a line.
    for (char& c : joined)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return joined;
}

void ListImport::addRow(const std::vector<std::string>& cells) {
    if (preview_.size() < kPreviewRows)
        preview_.push_back(cells);
    if (rows_++ == 0 && options_.headerRow)
        return;
    std::string text = joinedText(cells);
    if (encoding_ == CellEncoding::Utf8) {
        int lost = 0;
        text = services_.gbkFromUtf8(text, &lost);
        unmappable_ += lost;
    }
    const std::string_view trimmed = trimGbkBlanks(text);
    if (trimmed.empty()) {
        ++emptyRows_;
        return;
    }
    if (trimmed.size() > kRawTextBytes) {
        ++cut_;
        addEntry(cutToBytes(trimmed, kRawTextBytes));
    } else {
        addEntry(trimmed);
    }
}

void ListImport::addEntry(std::string_view gbk) {
    if (++entries_ == kParticipantCapacity + 1)
        capacityEnd_ = bytes_.size();
    const Span span{bytes_.size(), gbk.size()};
    bytes_.append(gbk).append("\r\n");
    const std::string_view text(bytes_.data() + span.offset, span.length);
    if (counts_.size() * 2 >= slots_.size())
        growSlots();
    std::size_t slot = std::hash<std::string_view>{}(text) & (slots_.size() - 1);
    for (; slots_[slot] >= 0; slot = (slot + 1) & (slots_.size() - 1)) {
        const Span& held = counts_[static_cast<std::size_t>(slots_[slot])].first;
        if (std::string_view(bytes_.data() + held.offset, held.length) == text) {
            ++counts_[static_cast<std::size_t>(slots_[slot])].second;
            return;
        }
    }
    slots_[slot] = static_cast<std::int32_t>(counts_.size());
    counts_.emplace_back(span, 1);
}

void ListImport::growSlots() {
    std::vector<std::int32_t> slots(slots_.size() * 2, -1);
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        const Span& span = counts_[i].first;
        std::size_t slot = std::hash<std::string_view>{}(
                               std::string_view(bytes_.data() + span.offset, span.length)) &
                           (slots.size() - 1);
        while (slots[slot] >= 0)
            slot = (slot + 1) & (slots.size() - 1);
        slots[slot] = static_cast<std::int32_t>(i);
    }
    slots_ = std::move(slots);
}

std::vector<std::pair<std::string, int>> ListImport::duplicates() const {
    std::vector<std::pair<std::string, int>> found;
    for (const auto& [span, count] : counts_)
        if (count > 1)
            found.emplace_back(bytes_.substr(span.offset, span.length), count);
    return found;
}

bool writeImportedList(const std::filesystem::path& participantFile, std::string_view bytes,
                       core::CoreServices& services, std::filesystem::path* backup,
                       std::string* problem) {
    std::filesystem::path copy;
    std::error_code error;
    if (std::filesystem::exists(participantFile, error)) {
        std::string failure;
        if (!backUpFile(participantFile, "bak_items", services.getTimeNowStr("%Y%m%d%H%M%S"), &copy,
                        &failure)) {
            storeProblem(problem, failure + "，名单未改动");
            return false;
        }
    }
    if (backup)
        *backup = copy;
    return writeFileSafely(participantFile, bytes, problem);
}

} // namespace lottery
