#include "app/draw_session.h"

namespace app {

DrawSession::DrawSession(lottery::LotteryData& data, const lottery::EventPaths& paths,
                         core::CoreServices& services)
    : machine_(data, paths, services, *this) {
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setInterval(kFramePeriodMs);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { machine_.tick(); });
    unsavedTimer_.setInterval(kUnsavedRetryMs);
    connect(&unsavedTimer_, &QTimer::timeout, this, [this] {
        if (machine_.retryUnsaved())
            unsavedTimer_.stop();
    });
}

void DrawSession::advance() {
    machine_.advance();
    watchUnsaved();
}

void DrawSession::declareAbsent(const std::vector<int>& positions) {
    machine_.declareAbsent(positions);
    watchUnsaved();
}

void DrawSession::choosePrize(int prizeIndex) {
    machine_.choosePrize(prizeIndex);
    watchUnsaved();
}

void DrawSession::reset() {
    machine_.reset();
    watchUnsaved();
}

void DrawSession::resume(const lottery::ResultsLog& log) {
    machine_.resume(log);
    watchUnsaved();
}

void DrawSession::setTicking(bool ticking) {
    if (ticking)
        frameTimer_.start();
    else
        frameTimer_.stop();
}

void DrawSession::watchUnsaved() {
    if (machine_.hasUnsaved() && !unsavedTimer_.isActive())
        unsavedTimer_.start();
}

} // namespace app
