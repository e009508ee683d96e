#include "lottery/participant_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

namespace {

lottery::ParticipantList listOf(const Texts& raws) {
    lottery::ParticipantList list;
    for (const std::string& raw : raws)
        list.append(raw);
    return list;
}

} // namespace

// Copies of one text are one participant: marks reach them all and nothing else.
TEST(ParticipantList, MarksReachEveryCopyOfAText) {
    const struct Case {
        const char* what;
        void (*act)(lottery::ParticipantList&);
        const char* marks; // each entry's prizes won after a '!' when absent, then a '|'
    } cases[] = {
        {"winner", [](auto& l) { l.markWinner(3, "P"); }, "P||P|P|||"},
        {"two prizes, one absent",
         [](auto& l) { l.markWinner(1, "P"), l.markWinner(4, "Q"), l.markEntryAbsent(1, "P"); },
         "|!Q|||!Q||"},
        {"one entry alone", [](auto& l) { l.markOne(2, "P"); }, "||P||||"},
        {"cleared", [](auto& l) { l.markWinner(0, "P"), l.clearMarks(); }, "||||||"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto list = listOf({"a", "b", "a", "a", "b", "c"}); // "b" at 1 and 4
        const auto before = list.generation();
        c.act(list);
        EXPECT_NE(list.generation(), before);
        std::string marks;
        for (int i = 0; i < list.count(); ++i) {
            EXPECT_EQ(list.won(i), !list.wonPrizeIds(i).empty()) << i;
            marks += list.absent(i) ? "!" : "";
            for (const std::string& id : list.wonPrizeIds(i))
                marks += id;
            marks += '|';
        }
        EXPECT_EQ(marks, c.marks);
    }
}
