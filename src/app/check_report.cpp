#include "app/check_report.h"

#include "app/event_loader.h"
#include "core/ccore.h"
#include "lottery/draw_options_store.h"
#include "lottery/file_text.h"
#include "lottery/participant_file.h"
#include "lottery/sha256.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace app {

namespace {

constexpr int kEntriesShown = 10;

// Keeps one item on one line even when a text holds a tab or a line break.
std::string field(const std::string& utf8) {
    std::string out;
    for (const char c : utf8) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

class Lines {
public:
    explicit Lines(std::ostream& out) : out_(out) {}

    template <typename... Fields> void put(const char* kind, const Fields&... fields) {
        out_ << kind;
        ((out_ << '\t' << fields), ...);
        out_ << '\n';
    }

private:
    std::ostream& out_;
};

} // namespace

int runCheckReport(const QString& folder, bool allEntries, std::ostream& out) {
    core::CCore services(folder);
    const auto paths = lottery::EventPaths::forFolder(services.getAppPath());
    auto data = std::make_unique<lottery::LotteryData>();
    lottery::loadDrawOptions(data->options, services);
    std::vector<std::string> warnings;
    const LoadOutcome outcome = loadEventData(paths, *data, services, warnings);
    if (outcome != LoadOutcome::Ready)
        warnings.push_back(loadOutcomeMessage(outcome, paths, ""));

    const auto text = [&services](const std::string& gbk) {
        return field(services.utf8FromGbk(gbk));
    };
    Lines lines(out);
    lines.put("folder", field(lottery::pathText(paths.appFolder)));
    const auto& prizes = data->prizeTable.prizes;
    for (std::size_t i = 0; i < prizes.size(); ++i) {
        const lottery::PrizeRecord& p = prizes[i];
        lines.put("prize", i + 1, text(p.id), text(p.title), p.order, p.total, p.perRound, p.rounds,
                  text(p.repeatList));
    }
    const lottery::ParticipantList& entries = data->participants;
    lines.put("participants", entries.count());
    // What the operator publishes before the event; the results file records it at the start.
    const std::string fingerprint = lottery::sha256OfFile(paths.participantFile);
    if (!fingerprint.empty())
        lines.put("fingerprint", "participants", fingerprint);
    const int shown = allEntries ? entries.count() : std::min(entries.count(), kEntriesShown);
    for (int i = 0; i < shown; ++i)
        lines.put("entry", i + 1, text(std::string(entries.displayText(i))));
    // The raw texts, which is what the operator has to find in the file.
    if (allEntries)
        for (const auto& [raw, count] : lottery::duplicateTexts(data->participants))
            lines.put("duplicate", text(raw), count);
    const lottery::DrawOptions& o = data->options;
    lines.put("option", "hide", o.maskEntries);
    lines.put("option", "print", o.print);
    lines.put("option", "muse", o.muteMusic);
    lines.put("option", "hstart", o.maskStart);
    lines.put("option", "hend", o.maskEnd);
    for (const std::string& warning : warnings)
        lines.put("warning", field(warning));
    out.flush();
    return outcome == LoadOutcome::Ready ? 0 : 1;
}

} // namespace app
