#include "lottery/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct CsvCase {
    const char* name;
    char separator;
    lottery::CellEncoding encoding;
    std::string bytes;
    Rows rows;
};

const lottery::CellEncoding kGbk = lottery::CellEncoding::Gbk;
const lottery::CellEncoding kUtf8 = lottery::CellEncoding::Utf8;
using namespace std::string_literals;

const CsvCase kCases[] = {
    {"QuotedComma", ',', kGbk, "name,\"Zhang, San\"\r\n", {{"name", "Zhang, San"}}},
    {"QuotesDoubledLineBroken", ',', kGbk, "\"a \"\"b\"\"\",\"x\r\ny\"\n", {{"a \"b\"", "x\r\ny"}}},
    {"Semicolon", ';', kGbk, "a;b,c;d\n1;2;3", {{"a", "b,c", "d"}, {"1", "2", "3"}}},
    {"Tab", '\t', kGbk, "a\tb,c\td\n", {{"a", "b,c", "d"}}},
    {"QuotedSeparatorsDoNotCount", ';', kGbk, "\"a,b,c\";d\n", {{"a,b,c", "d"}}},
    {"BlankLineIsEmptyRow", ',', kGbk, "a\n\nb\n", {{"a"}, {}, {"b"}}},
    {"EmptyFields", ',', kGbk, ",a,\n", {{"", "a", ""}}},
    {"CrLineEnds", ',', kGbk, "a\rb\r", {{"a"}, {"b"}}},
    {"Utf8WithMark", ',', kUtf8, "\xEF\xBB\xBF张三,1\n", {{"张三", "1"}}},
    {"Utf8WithoutMark", ',', kUtf8, "张三,李四\n", {{"张三", "李四"}}},
    {"Gbk", ',', kGbk, "\xD5\xC5\xC8\xFD,1\r\n", {{"\xD5\xC5\xC8\xFD", "1"}}},
    {"Utf16LittleEndian", ';', kUtf8, "\xFF\xFE\x61\0;\0\x20\x5F\n\0"s, {{"a", "张"}}},
    {"Utf16BigEndian", '\t', kUtf8, "\xFE\xFF\0a\0\t\0b"s, {{"a", "b"}}},
    {"UnclosedQuote", ',', kGbk, "a,\"b\nc", {{"a", "b\nc"}}},
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
