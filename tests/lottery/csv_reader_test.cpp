#include "lottery/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct CsvCase {
    const char* name;
    std::string bytes;
    Rows rows;
    lottery::CellEncoding encoding;
    char separator;
};

const lottery::CellEncoding kGbk = lottery::CellEncoding::Gbk;
const lottery::CellEncoding kUtf8 = lottery::CellEncoding::Utf8;

const CsvCase kCases[] = {
    {"QuotedComma",
     "name,phone\r\n\"Zhang, San\",138\r\n",
     {{"name", "phone"}, {"Zhang, San", "138"}},
     kGbk,
     ','},
    {"DoubledQuotesAndLineBreak",
     "\"a \"\"b\"\"\",\"x\r\ny\"\n",
     {{"a \"b\"", "x\r\ny"}},
     kGbk,
     ','},
    {"Semicolon", "a;b,c;d\n1;2;3", {{"a", "b,c", "d"}, {"1", "2", "3"}}, kGbk, ';'},
    {"Tab", "a\tb,c\td\n", {{"a", "b,c", "d"}}, kGbk, '\t'},
    {"QuotedSeparatorsDoNotCount", "\"a,b,c\";d\n", {{"a,b,c", "d"}}, kGbk, ';'},
    {"BlankLineIsEmptyRow", "a\n\nb\n", {{"a"}, {}, {"b"}}, kGbk, ','},
    {"EmptyFields", ",a,\n", {{"", "a", ""}}, kGbk, ','},
    {"CrLineEnds", "a\rb\r", {{"a"}, {"b"}}, kGbk, ','},
    {"Utf8WithMark", "\xEF\xBB\xBF张三,1\n", {{"张三", "1"}}, kUtf8, ','},
    {"Utf8WithoutMark", "张三,李四\n", {{"张三", "李四"}}, kUtf8, ','},
    {"Gbk", "\xD5\xC5\xC8\xFD,1\r\n", {{"\xD5\xC5\xC8\xFD", "1"}}, kGbk, ','},
    {"Utf16LittleEndian",
     std::string("\xFF\xFE"
                 "a\0;\0\x20\x5F\n\0",
                 10),
     {{"a", "张"}},
     kUtf8,
     ';'},
    {"Utf16BigEndian", std::string("\xFE\xFF\0a\0\t\0b", 8), {{"a", "b"}}, kUtf8, '\t'},
    {"UnclosedQuote", "a,\"b\nc", {{"a", "b\nc"}}, kGbk, ','},
};

class CsvReaderTest : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvReaderTest, ReadsRows) {
    const CsvCase& c = GetParam();
    Rows rows;
    const lottery::TextSource source = lottery::textSourceOf(c.bytes);
    const char separator = lottery::readCsvText(c.bytes, source, 64, [&rows](const auto& cells) {
        rows.push_back(cells);
        return true;
    });
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(lottery::cellEncodingOf(source), c.encoding);
    EXPECT_EQ(separator, c.separator);
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvReaderTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvReader, KeepsTheFirstBytesOfACellAndStopsWhenAsked) {
    Rows rows;
    lottery::readCsvText("abcdef,g\nh\ni\n", lottery::TextSource::Gbk, 3,
                         [&rows](const auto& cells) {
                             rows.push_back(cells);
                             return rows.size() < 2;
                         });
    EXPECT_EQ(rows, (Rows{{"abc", "g"}, {"h"}}));
}

} // namespace
