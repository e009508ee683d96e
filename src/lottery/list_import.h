#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"
#include "lottery/sheet_rows.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lottery {

struct ImportOptions {
    bool headerRow = false;
    std::vector<int> columns{1}; // from 1, in the order their texts join into an entry
};

// Bytes of a cell worth holding: enough for kRawTextBytes + 1 GBK bytes even from 4-byte
// UTF-8 characters, so a cut is still seen, and enough for a readable preview.
constexpr std::size_t kImportCellBytes = std::max<std::size_t>(1024, 4 * (kRawTextBytes + 2));

// Turns spreadsheet rows into the participant list's entries. The chosen columns' cells,
// blanks trimmed and empty ones left out, join with one blank; a line break inside a cell
// becomes a blank. UTF-8 cells convert to GBK as a UTF-8 participant file does (characters
// GBK cannot hold become '?'). Only the entries' bytes are held, not the rows.
class ListImport {
public:
    static constexpr std::size_t kPreviewRows = 20;

    ListImport(ImportOptions options, CellEncoding encoding, core::CoreServices& services);

    // Takes the next row of the sheet.
    void addRow(const std::vector<std::string>& cells);

    int entries() const { return entries_; }
    int emptyRows() const { return emptyRows_; } // rows that made no entry, header not counted
    int cut() const { return cut_; }             // entries cut to kRawTextBytes
    int unmappable() const { return unmappable_; }
    // Entries the program leaves unread past kParticipantCapacity.
    int overCapacity() const { return std::max(0, entries_ - kParticipantCapacity); }
    // The GBK texts more than one entry holds, each with its number of entries, in the order
    // of their first entries.
    std::vector<std::pair<std::string, int>> duplicates() const;
    // The first kPreviewRows rows as read, header included.
    const std::vector<std::vector<std::string>>& preview() const { return preview_; }
    // The participant file: GBK, one entry a line, CR LF; every entry read.
    const std::string& fileBytes() const { return bytes_; }
    // The same cut after the kParticipantCapacity entries the program reads.
    std::string_view bytesWithinCapacity() const {
        return std::string_view(bytes_).substr(0,
                                               overCapacity() > 0 ? capacityEnd_ : bytes_.size());
    }

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    std::string joinedText(const std::vector<std::string>& cells) const;
    void addEntry(std::string_view gbk);
    void growSlots();

    ImportOptions options_;
    CellEncoding encoding_;
    core::CoreServices& services_;
    int rows_ = 0;
    int entries_ = 0;
    int emptyRows_ = 0;
    int cut_ = 0;
    int unmappable_ = 0;
    std::size_t capacityEnd_ = 0; // where the entry past the capacity starts
    std::vector<std::vector<std::string>> preview_;
    std::string bytes_;
    // Each distinct text with its count, in the order of first entries; found through an
    // open-addressed table of their indices, a million texts without a node each.
    std::vector<std::pair<Span, int>> counts_;
    std::vector<std::int32_t> slots_;
};

// Makes the imported list the participant file: the file there is first copied to
// bak_items<stamp>.txt beside it (nothing is written when that fails), then bytes replace it
// safely. *backup is the copy's path, empty when there was no file; *problem (UTF-8) says
// what failed.
bool writeImportedList(const std::filesystem::path& participantFile, std::string_view bytes,
                       core::CoreServices& services, std::filesystem::path* backup,
                       std::string* problem);

} // namespace lottery
