#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lottery {

// Whether writing the table back would lose something of the file it came from.
struct PrizeLoadReport {
    // A line or field dropped or cut, a line refused, a number that does not read back as
    // written, or a file converted from UTF-8 or UTF-16. Not: order, line ends, empty lines.
    bool altered = false;
};

// Reads the backtick-separated prize file (GBK, or UTF-8 or UTF-16 converted to GBK) into
// table, then sorts it. Empty lines are no records; missing fields read as empty or 0; of a
// line only the first 4096 bytes are read; a line with more than seven fields is no record
// unless the extra fields are all empty. Whatever is cut, ignored, invalid or odd is
// described in warnings (UTF-8), one line per kind of problem.
void loadPrizeFile(const std::filesystem::path& path, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings,
                   PrizeLoadReport* report = nullptr);

// The same from the file's bytes; fileLabel starts every warning.
void readPrizeText(std::string_view bytes, const std::string& fileLabel, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings,
                   PrizeLoadReport* report = nullptr);

// Stable sort by draw order, then every record's round count.
void sortPrizes(PrizeTable& table);

// Winners drawn in one round: perRound, at most kMaxWinnersPerRound (a hand-edited file may
// ask for more than the screen lists).
int winnersPerRound(int perRound);

// ceil(total / winnersPerRound(perRound)); 0 when either is below 1.
int roundsFor(int total, int perRound);

// Winners the prize draws in its round roundIndex (from 0) when there are candidates enough:
// winnersPerRound in every round but the last, which draws the rest of total; 0 outside
// prize.rounds.
int winnersInRound(const PrizeRecord& prize, int roundIndex);

// Splits a line at the backticks that separate fields (never at the second byte of a
// double-byte character); fields past the seventh are dropped. Returns the field count
// found, which may be above 7.
int splitPrizeFields(std::string_view line, std::string_view (&fields)[7]);

// One line of the file, CR LF included.
std::string formatPrizeLine(const PrizeRecord& prize);

// The file's bytes for the table, as savePrizeFile writes them.
std::string prizeFileBytes(const PrizeTable& table);

// Writes the table safely; on failure the old file stays and *problem (UTF-8) says why.
bool savePrizeFile(const std::filesystem::path& path, const PrizeTable& table,
                   std::string* problem);

} // namespace lottery
