#pragma once

#include <QElapsedTimer>
#include <QFile>

namespace drawscreen {

// Writes the time of every presented rolling frame to the file named by PRIZEDRAW_FRAME_LOG,
// with the time it took to compose and write, both in microseconds, a line each, so the frame
// pacing and its cost can be measured from outside. Does nothing when the variable is not set.
class FrameLog {
public:
    FrameLog();

    // The time from its making to its end counts towards the next frame presented.
    class Work {
    public:
        explicit Work(FrameLog& log);
        ~Work();
        Work(const Work&) = delete;
        Work& operator=(const Work&) = delete;

    private:
        FrameLog& log_;
        qint64 started_;
    };

    void framePresented();

private:
    QFile file_;
    QElapsedTimer clock_;
    qint64 workNs_ = 0;
};

} // namespace drawscreen
