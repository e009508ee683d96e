#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lottery {

constexpr int kParticipantCapacity = 1000000;
constexpr std::size_t kRawTextBytes = 128;
constexpr std::size_t kDisplayTextBytes = 30;

// The entries of a draw in one compact store: a million entries cost their text bytes and a
// few bytes each, never a heap string or a vector per entry. Raw texts are the lines as read
// (at most kRawTextBytes), display texts the raw texts after masking (at most
// kDisplayTextBytes). Marks say what an entry won or whether it is absent in this draw.
class ParticipantList {
public:
    int count() const { return static_cast<int>(rawEnd_.size()); }
    bool empty() const { return rawEnd_.empty(); }

    std::string_view rawText(int i) const;
    std::string_view displayText(int i) const;
    bool won(int i) const { return (flags_[index(i)] & kWon) != 0; }
    bool absent(int i) const { return (flags_[index(i)] & kAbsent) != 0; }
    // The ids of the prizes entry i won in this draw, in the order won.
    const std::vector<std::string>& wonPrizeIds(int i) const;
    // Changes whenever an entry is added or a mark changes: what was worked out from the marks
    // is stale once it differs.
    std::uint64_t generation() const { return generation_; }

    void clear();
    void reserve(std::size_t entries, std::size_t rawBytes);
    // A new entry, unmarked, its display text empty until masked; cut to kRawTextBytes.
    void append(std::string_view rawText);
    // Cut to kDisplayTextBytes.
    void setDisplayText(int i, std::string_view displayText);

    // The first entry holding text and the next entry holding the same text as entry i; -1
    // when there is none. The first lookup after an entry was added indexes the texts, so
    // threads that share a list look up only after one lookup on its own thread.
    int firstOf(std::string_view text) const;
    int nextCopy(int i) const;
    // The entries holding text.
    int copiesOf(std::string_view text) const;

    // Entry i and every entry of the same text won prizeId.
    void markWinner(int i, const std::string& prizeId);
    // Entry i and its copies are out of the draw and no longer hold prizeId.
    void markEntryAbsent(int i, const std::string& prizeId);
    // Entry i alone: for a test or a check that needs a mark without its copies.
    void markOne(int i, const std::string& prizeId);
    void clearMarks();

private:
    static constexpr std::uint8_t kWon = 1;
    static constexpr std::uint8_t kAbsent = 2;
    static constexpr std::size_t kDisplaySlot = kDisplayTextBytes + 1; // length, then bytes

    std::size_t index(int i) const { return static_cast<std::size_t>(i); }
    void indexTexts() const;
    void markOneAbsent(int i, const std::string& prizeId);

    std::string rawBytes_;
    std::vector<std::uint32_t> rawEnd_; // entry i's raw text ends here; starts at i-1's end
    std::vector<char> display_;         // kDisplaySlot bytes per entry
    std::vector<std::uint8_t> flags_;
    std::unordered_map<int, std::vector<std::string>> wonPrizes_; // only entries that won
    std::uint64_t generation_ = 0;

    // Entries by text: an open-addressed table of first entries, and a chain of copies.
    // Built on the first lookup after an entry was added.
    mutable std::vector<std::int32_t> buckets_;
    mutable std::vector<std::int32_t> nextCopy_;
    mutable bool indexed_ = false;
};

} // namespace lottery
