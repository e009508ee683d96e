#include "prize_file_check.h"

#include "check_services.h"
#include "lottery/gbk_text.h"
#include "lottery/prize_file.h"
#include "lottery/safe_file.h"
#include "lottery/utf8_check.h"
#include "scratch_folder.h"

#include <tuple>
#include <vector>

namespace fuzzchecks {

namespace {

bool endsInHalfCharacter(const std::string& gbk) {
    std::size_t last = gbk.size();
    for (std::size_t pos = 0; pos < gbk.size(); pos += lottery::gbkCharLength(gbk, pos))
        last = pos;
    return last + 1 == gbk.size() && lottery::isGbkLeadByte(static_cast<unsigned char>(gbk[last]));
}

auto fields(const lottery::PrizeRecord& p) {
    return std::tie(p.id, p.title, p.image, p.total, p.perRound, p.order, p.repeatList, p.rounds);
}

bool sameTable(const lottery::PrizeTable& a, const lottery::PrizeTable& b) {
    if (a.count() != b.count())
        return false;
    for (std::size_t i = 0; i < a.prizes.size(); ++i)
        if (fields(a.prizes[i]) != fields(b.prizes[i]))
            return false;
    return true;
}

std::string checkRecords(const lottery::PrizeTable& table) {
    if (table.count() > lottery::kPrizeCapacity)
        return "more than 100 prizes";
    for (std::size_t i = 0; i < table.prizes.size(); ++i) {
        const lottery::PrizeRecord& p = table.prizes[i];
        if (p.id.size() > lottery::kPrizeIdBytes || p.title.size() > lottery::kPrizeTitleBytes ||
            p.image.size() > lottery::kPrizeImageBytes ||
            p.repeatList.size() > lottery::kRepeatListBytes)
            return "a text longer than its field";
        if (endsInHalfCharacter(p.id) || endsInHalfCharacter(p.title) ||
            endsInHalfCharacter(p.image))
            return "a text field ends in half a character";
        if (p.rounds != lottery::roundsFor(p.total, p.perRound) || p.rounds < 0)
            return "rounds do not follow total and per round";
        if (i > 0 && table.prizes[i - 1].order > p.order)
            return "not sorted by draw order";
    }
    return {};
}

// GBK bytes that start with the UTF-8 byte-order mark or also form UTF-8 with non-ASCII text
// are read back as UTF-8: the reader cannot tell them apart.
bool readsAsUtf8(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return true;
    lottery::Utf8Check check;
    check.feed(bytes);
    return check.sawNonAscii() && check.valid();
}

} // namespace

std::string checkPrizeFile(std::string_view input) {
    CheckServices services;
    std::vector<std::string> warnings;
    lottery::PrizeTable table;
    lottery::readPrizeText(input, "prizes: ", table, services, warnings);
    if (std::string problem = checkRecords(table); !problem.empty())
        return problem;

    lottery::PrizeTable sorted = table;
    lottery::sortPrizes(sorted);
    if (!sameTable(sorted, table))
        return "sorting a sorted table changed it";

    const auto path = scratchFolder() / "data" / "_prize.txt";
    if (!lottery::savePrizeFile(path, table, nullptr))
        return "the table could not be saved";
    std::string saved;
    if (!lottery::readWholeFile(path, saved))
        return "the saved file could not be read";
    std::string expected;
    for (const lottery::PrizeRecord& p : table.prizes)
        expected += lottery::formatPrizeLine(p);
    if (saved != expected)
        return "the saved file is not the table's lines";

    lottery::PrizeTable reread;
    warnings.clear();
    lottery::loadPrizeFile(path, reread, services, warnings);
    if (!readsAsUtf8(saved) && !sameTable(reread, table))
        return "the saved table reads back differently";
    return {};
}

} // namespace fuzzchecks
