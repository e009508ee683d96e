#pragma once

#include "core/gbk_codec.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <string>
#include <vector>

namespace drawfixture {

inline lottery::PrizeRecord prize(const char* title, int total, int perRound) {
    lottery::PrizeRecord p;
    p.title = core::GbkCodec::fromUtf8(title);
    p.total = total;
    p.perRound = perRound;
    p.rounds = perRound > 0 ? (total + perRound - 1) / perRound : 0;
    return p;
}

inline void addEntries(lottery::LotteryData& data, const std::vector<std::string>& utf8Names) {
    for (const std::string& name : utf8Names) {
        const std::string gbk = core::GbkCodec::fromUtf8(name);
        data.participants.append(gbk);
        data.participants.setDisplayText(data.participants.count() - 1, gbk);
    }
}

// Puts the given entries on top of the pool as the latest selection, first drawn first.
inline void select(lottery::LotteryData& data, const std::vector<int>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        data.pool.winners[i] = entries[i];
    data.pool.winnerCount = static_cast<int>(entries.size());
}

// What the draw machine hands its views for data: the pool's selection and status lines of
// the usual length (before the first press only the next step).
inline lottery::DrawPicture pictureOf(const lottery::LotteryData& data) {
    lottery::DrawPicture picture;
    for (int i = 0; i < data.pool.winnerCount; ++i) {
        const int j = data.pool.winnerAt(i); // outside the list: a position shown empty
        picture.selection.push_back(
            j < 0 || j >= data.participants.count()
                ? lottery::ShownEntry{}
                : lottery::ShownEntry{std::string(data.participants.rawText(j)),
                                      std::string(data.participants.displayText(j))});
    }
    const bool ready = data.options.state() == lottery::DrawState::Ready;
    picture.status = {ready ? "" : "当前：一等奖，第1轮/共2轮", "下一步：一等奖，第2轮/共2轮"};
    return picture;
}

// Counts pixels, given unpremultiplied, for which test holds.
inline int countPixels(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            n += test(qUnpremultiply(image.pixel(x, y))) ? 1 : 0;
    }
    return n;
}

// True when every pixel that differs between the two lies within the region named changed.
inline bool changedOnlyWithin(const QImage& before, const QImage& after, const QRegion& changed) {
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y) && !changed.contains(QPoint(x, y))) {
                qWarning("change at %d,%d outside", x, y);
                return false;
            }
    return true;
}

inline bool isYellow(QRgb p) {
    return p == 0xFFFFFF00;
}
inline bool isTouched(QRgb p) {
    return qAlpha(p) != 0;
}

} // namespace drawfixture
