#include "demo_texts.h"

#include <cstdint>
#include <set>

namespace {

// Own generator: the standard distributions differ between libraries.
class Sequence {
public:
    std::uint32_t below(std::uint32_t n) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ % n);
    }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                 "徐", "孙", "马", "朱", "胡", "郭", "何", "高", "林", "罗",
                                 "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹",
                                 "彭", "曾", "肖", "田", "董", "袁", "潘", "蒋", "蔡", "余"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋",
                              "勇", "艳", "杰", "娟", "涛", "明", "超", "秀", "霞", "平",
                              "刚", "桂", "英", "华", "玉", "兰", "飞", "鹏", "辉", "婷",
                              "宇", "浩", "欣", "怡", "晨", "佳", "子", "文", "博", "雪",
                              "梅", "琳", "凯", "瑞", "嘉", "思", "雨", "航", "晓", "春"};
const char kSecondDigits[] = {'3', '5', '7', '8', '9'};

template <typename T, std::size_t N> constexpr std::uint32_t sizeOf(const T (&)[N]) {
    return static_cast<std::uint32_t>(N);
}

} // namespace

std::string demoPrizeFile() {
    // id`title`image`order`total`perRound`repeatList
    return "3`二等奖`prize3.png`3`10`5`\r\n"
           "1`特等奖`prize1.png`5`1`1`5\r\n"
           "5`幸运奖`prize5.png`1`30`15`\r\n"
           "2`一等奖`prize2.png`4`3`1`5\r\n"
           "4`三等奖`prize4.png`2`20`10`\r\n";
}

std::vector<std::string> demoEntries(int count) {
    Sequence dice;
    std::set<std::string> used;
    std::vector<std::string> entries;
    while (static_cast<int>(entries.size()) < count) {
        std::string entry = kSurnames[dice.below(sizeOf(kSurnames))];
        const int givenCount = dice.below(3) == 0 ? 1 : 2;
        for (int i = 0; i < givenCount; ++i)
            entry += kGiven[dice.below(sizeOf(kGiven))];
        entry += " 1";
        entry += kSecondDigits[dice.below(sizeOf(kSecondDigits))];
        for (int i = 0; i < 9; ++i)
            entry += static_cast<char>('0' + dice.below(10));
        if (used.insert(entry).second)
            entries.push_back(entry);
    }
    return entries;
}
