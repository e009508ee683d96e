#pragma once

#include "core/settings_file.h"
#include "lottery/participant_list.h"
#include "lottery/stage_options.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lottery {

constexpr int kPrizeCapacity = 100;
constexpr int kMaxWinnersPerRound = 30;

// Byte limits of the stored GBK texts, terminator not counted.
constexpr std::size_t kPrizeIdBytes = 20;
constexpr std::size_t kPrizeTitleBytes = 20;
constexpr std::size_t kPrizeImageBytes = 21;
constexpr std::size_t kRepeatListBytes = 103;

struct PrizeRecord {
    std::string id;
    std::string title;
    std::string image;
    int total = 0;
    int perRound = 0;
    int order = 0;
    std::string repeatList;
    int rounds = 0; // derived from total and perRound, never stored
};

// Kept in ascending draw order; at most kPrizeCapacity records.
struct PrizeTable {
    std::vector<PrizeRecord> prizes;

    int count() const { return static_cast<int>(prizes.size()); }
    bool isFull() const { return count() >= kPrizeCapacity; }
};

enum class DrawState : int { Ready = 0, Rolling = 1, ShowingResult = 2 };

struct DrawOptions {
    // Persisted in the settings store.
    int maskEntries = 0; // asterisks over bytes maskStart..maskEnd of every entry
    int print = 0;
    int muteMusic = 0;
    int maskStart = 0;
    int maskEnd = 0;
    int showFingerprint = 0; // the list's fingerprint (ready) or last chain code (finished), with QR
    StageOptions stage;
    // Draw progress, never stored.
    int prizeIndex = 0;
    int roundIndex = 0;
    int drawState = 0; // a DrawState

    DrawState state() const { return static_cast<DrawState>(drawState); }
    void setState(DrawState s) { drawState = static_cast<int>(s); }
};

// The candidates of one prize as of one state of the marks, kept from frame to frame, and the
// latest selection.
struct CandidatePool {
    std::vector<int> candidates;
    int prizeIndex = -1;
    std::string repeatList;
    std::uint64_t generation = 0;

    std::array<int, kMaxWinnersPerRound> winners{};
    int winnerCount = 0; // winners of the latest selection

    int winnerAt(int i) const { return winners[static_cast<std::size_t>(i)]; }
};

// Every file of an event folder, named here only.
struct EventPaths {
    std::filesystem::path appFolder;
    std::filesystem::path prizeFile;
    std::filesystem::path participantFile;
    std::filesystem::path resultFile;
    std::filesystem::path settingsFile;
    std::filesystem::path background; // under the whole screen
    std::filesystem::path picture;    // on the ready and finished screens
    std::filesystem::path rollingCue; // while the names roll
    std::filesystem::path resultCue;  // when the winners are shown

    static EventPaths forFolder(const std::filesystem::path& folder) {
        const auto data = folder / "data";
        const auto music = folder / "music";
        return {folder,
                data / "_prize.txt",
                data / "_items.txt",
                data / "_result.txt",
                folder / core::kSettingsFileName,
                folder / "bg.jpg",
                folder / "img" / "smile.png",
                music / "rolling.wav",
                music / "ok.wav"};
    }
};

// Everything one event holds in memory; owned by the main window, passed by reference.
struct LotteryData {
    PrizeTable prizeTable;
    ParticipantList participants;
    DrawOptions options;
    CandidatePool pool;
};

} // namespace lottery
