#pragma once

#include <QElapsedTimer>
#include <QFile>

namespace drawscreen {

// Writes the time of every presented rolling frame, one line of microseconds each, to the
// file named by PRIZEDRAW_FRAME_LOG, so the frame pacing can be measured from outside.
// Does nothing when the variable is not set.
class FrameLog {
public:
    FrameLog();

    void framePresented();

private:
    QFile file_;
    QElapsedTimer clock_;
};

} // namespace drawscreen
