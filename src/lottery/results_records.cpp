#include "lottery/results_records.h"

#include "lottery/results_lines.h"
#include "lottery/sha256.h"

namespace lottery {

namespace {
constexpr const char* kStampFormat = "%Y%m%d%H%M%S";
} // namespace

ResultsRecord startRecord(core::CoreServices& services) {
    // One clock reading names the backup and dates the start line alike.
    const std::string now = services.getTimeNowStr(std::string(kStampFormat) + '\t' + kTimeFormat);
    const std::size_t tab = now.find('\t');
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Start;
    record.stamp = now.substr(0, tab);
    record.time = tab == std::string::npos ? now : now.substr(tab + 1);
    record.bytes = linePrefix(LineKind::Start, services) + record.time + "\r\n";
    return record;
}

ResultsRecord fingerprintRecord(const std::string& participantsHex, int participants,
                                const std::filesystem::path& prizeFile,
                                core::CoreServices& services) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Fingerprint;
    record.bytes = listRecord(participantsHex, participants, services).bytes;
    const std::string prizesHex = sha256OfFile(prizeFile);
    if (!prizesHex.empty())
        record.bytes += linePrefix(LineKind::Prizes, services) + prizesHex + "\r\n";
    return record;
}

namespace {

std::string lineHead(const std::string& time, const PrizeRecord& prize, int round) {
    return time + '\t' + fieldText(prize.id) + '\t' + fieldText(prize.title) + '\t' +
           std::to_string(round) + '\t';
}

} // namespace

ResultsRecord positionsRecord(const PrizeRecord& prize, int round, const std::vector<Seat>& seats,
                              WinnerStatus status, core::CoreServices& services) {
    ResultsRecord record;
    record.time = services.getTimeNowStr(kTimeFormat);
    const std::string head = lineHead(record.time, prize, round);
    const char* kind = status == WinnerStatus::Absent        ? "A"
                       : status == WinnerStatus::Replacement ? "R"
                                                             : "";
    for (const Seat& seat : seats) {
        if (seat.rawText.empty())
            continue;
        record.bytes += head + std::to_string(seat.position) + kind + '\t' + seat.rawText + "\r\n";
        record.winners.push_back({record.time, prize.id, prize.title, round, seat.position,
                                  seat.rawText, false, status});
    }
    return record;
}

ResultsRecord endRecord(core::CoreServices& services, bool reset) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::End;
    record.time = services.getTimeNowStr(kTimeFormat);
    if (reset)
        record.bytes = linePrefix(LineKind::Reset, services) + record.time + "\r\n";
    record.bytes += linePrefix(LineKind::End, services) + record.time + "\r\n";
    return record;
}

ResultsRecord choiceRecord(const PrizeRecord& prize, core::CoreServices& services) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Choice;
    record.time = services.getTimeNowStr(kTimeFormat);
    record.bytes = linePrefix(LineKind::Choice, services) + fieldText(prize.id) + '\t' +
                   fieldText(prize.title) + "\r\n";
    return record;
}

ResultsRecord shortRecord(const PrizeRecord& prize, int round, const std::vector<int>& positions,
                          const std::string& reason, core::CoreServices& services) {
    ResultsRecord record;
    record.time = services.getTimeNowStr(kTimeFormat);
    const std::string head =
        linePrefix(LineKind::Short, services) + lineHead(record.time, prize, round);
    const std::string why = fieldText(services.gbkFromUtf8(reason));
    for (const int position : positions)
        record.bytes += head + std::to_string(position) + '\t' + why + "\r\n";
    return record;
}

ResultsRecord listRecord(const std::string& participantsHex, int participants,
                         core::CoreServices& services) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Fingerprint;
    if (!participantsHex.empty())
        record.bytes = linePrefix(LineKind::Participants, services) + participantsHex + '\t' +
                       std::to_string(participants) + "\r\n";
    return record;
}

} // namespace lottery
