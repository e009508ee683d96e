#include "lottery/participant_list.h"

#include <algorithm>
#include <functional>

namespace lottery {

namespace {

const std::vector<std::string>& noPrizes() {
    static const std::vector<std::string> none;
    return none;
}

} // namespace

std::string_view ParticipantList::rawText(int i) const {
    const std::size_t end = rawEnd_[index(i)];
    const std::size_t begin = i == 0 ? 0 : rawEnd_[index(i) - 1];
    return std::string_view(rawBytes_).substr(begin, end - begin);
}

std::string_view ParticipantList::displayText(int i) const {
    const char* slot = display_.data() + index(i) * kDisplaySlot;
    return {slot + 1, static_cast<unsigned char>(slot[0])};
}

const std::vector<std::string>& ParticipantList::wonPrizeIds(int i) const {
    const auto it = wonPrizes_.find(i);
    return it == wonPrizes_.end() ? noPrizes() : it->second;
}

void ParticipantList::clear() {
    rawBytes_.clear();
    rawEnd_.clear();
    display_.clear();
    flags_.clear();
    wonPrizes_.clear();
    indexed_ = false;
    ++generation_;
}

void ParticipantList::reserve(std::size_t entries, std::size_t rawBytes) {
    rawBytes_.reserve(rawBytes);
    rawEnd_.reserve(entries);
    display_.reserve(entries * kDisplaySlot);
    flags_.reserve(entries);
}

void ParticipantList::append(std::string_view rawText) {
    rawBytes_.append(rawText.substr(0, kRawTextBytes));
    rawEnd_.push_back(static_cast<std::uint32_t>(rawBytes_.size()));
    display_.resize(display_.size() + kDisplaySlot, '\0');
    flags_.push_back(0);
    indexed_ = false;
    ++generation_;
}

void ParticipantList::setDisplayText(int i, std::string_view displayText) {
    const std::size_t length = std::min(displayText.size(), kDisplayTextBytes);
    char* slot = display_.data() + index(i) * kDisplaySlot;
    slot[0] = static_cast<char>(length);
    std::copy_n(displayText.data(), length, slot + 1);
}

void ParticipantList::indexTexts() const {
    std::size_t size = 16;
    while (size < rawEnd_.size() * 2)
        size *= 2;
    buckets_.assign(size, -1);
    nextCopy_.assign(rawEnd_.size(), -1);
    std::vector<std::int32_t> lastOf(size, -1);
    for (int i = 0; i < count(); ++i) {
        const std::string_view text = rawText(i);
        std::size_t slot = std::hash<std::string_view>{}(text) & (size - 1);
        while (buckets_[slot] >= 0 && rawText(buckets_[slot]) != text)
            slot = (slot + 1) & (size - 1);
        if (buckets_[slot] < 0)
            buckets_[slot] = i;
        else
            nextCopy_[static_cast<std::size_t>(lastOf[slot])] = i;
        lastOf[slot] = i;
    }
    indexed_ = true;
}

int ParticipantList::firstOf(std::string_view text) const {
    if (!indexed_)
        indexTexts();
    const std::size_t mask = buckets_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>{}(text)&mask; buckets_[slot] >= 0;
         slot = (slot + 1) & mask) {
        if (rawText(buckets_[slot]) == text)
            return buckets_[slot];
    }
    return -1;
}

int ParticipantList::nextCopy(int i) const {
    if (!indexed_)
        indexTexts();
    return nextCopy_[index(i)];
}

int ParticipantList::copiesOf(std::string_view text) const {
    int copies = 0;
    for (int j = firstOf(text); j >= 0; j = nextCopy(j))
        ++copies;
    return copies;
}

void ParticipantList::markOne(int i, const std::string& prizeId) {
    flags_[index(i)] |= kWon;
    auto& ids = wonPrizes_[i];
    if (std::find(ids.begin(), ids.end(), prizeId) == ids.end())
        ids.push_back(prizeId);
    ++generation_;
}

void ParticipantList::markOneAbsent(int i, const std::string& prizeId) {
    flags_[index(i)] |= kAbsent;
    const auto it = wonPrizes_.find(i);
    if (it != wonPrizes_.end()) {
        auto& ids = it->second;
        ids.erase(std::remove(ids.begin(), ids.end(), prizeId), ids.end());
        if (ids.empty())
            wonPrizes_.erase(it);
    }
    if (wonPrizes_.count(i) == 0)
        flags_[index(i)] &= static_cast<std::uint8_t>(~kWon);
    ++generation_;
}

void ParticipantList::markWinner(int i, const std::string& prizeId) {
    for (int j = firstOf(rawText(i)); j >= 0; j = nextCopy(j))
        markOne(j, prizeId);
}

void ParticipantList::markEntryAbsent(int i, const std::string& prizeId) {
    for (int j = firstOf(rawText(i)); j >= 0; j = nextCopy(j))
        markOneAbsent(j, prizeId);
}

void ParticipantList::clearMarks() {
    std::fill(flags_.begin(), flags_.end(), std::uint8_t{0});
    wonPrizes_.clear();
    ++generation_;
}

} // namespace lottery
