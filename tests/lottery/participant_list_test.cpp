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

TEST(ParticipantList, KeepsTextsWithinTheirLimits) {
    auto list = listOf({"", std::string(128, 'x'), std::string(129, 'y')});
    EXPECT_EQ(list.rawText(0), "");
    EXPECT_EQ(list.rawText(1), std::string(128, 'x'));
    EXPECT_EQ(list.rawText(2), std::string(128, 'y'));
    list.setDisplayText(1, std::string(31, 'd'));
    EXPECT_EQ(list.displayText(1), std::string(30, 'd'));
    EXPECT_EQ(list.displayText(2), "");
}

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

TEST(ParticipantList, FindsTextsAndTheirCopies) {
    auto list = listOf({"a", "b", "a", "a", "b", "c"});
    EXPECT_EQ(list.firstOf("a"), 0);
    EXPECT_EQ(list.firstOf("c"), 5);
    EXPECT_EQ(list.firstOf("d"), -1);
    EXPECT_EQ(list.nextCopy(0), 2);
    EXPECT_EQ(list.nextCopy(3), -1);
    EXPECT_EQ(list.copiesOf("a"), 3);
    EXPECT_EQ(list.copiesOf("b"), 2);
    list.append("c"); // found again after an entry is added
    EXPECT_EQ(list.copiesOf("c"), 2);
    list.clear();
    EXPECT_EQ(list.firstOf("a"), -1);
}
