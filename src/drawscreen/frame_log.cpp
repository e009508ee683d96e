#include "drawscreen/frame_log.h"

namespace drawscreen {

FrameLog::FrameLog() {
    const QString path = qEnvironmentVariable("PRIZEDRAW_FRAME_LOG");
    if (path.isEmpty())
        return;
    file_.setFileName(path);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        clock_.start();
}

FrameLog::Work::Work(FrameLog& log)
    : log_(log), started_(log.clock_.isValid() ? log.clock_.nsecsElapsed() : 0) {}

FrameLog::Work::~Work() {
    if (log_.clock_.isValid())
        log_.workNs_ += log_.clock_.nsecsElapsed() - started_;
}

void FrameLog::framePresented() {
    if (!file_.isOpen())
        return;
    file_.write(QByteArray::number(clock_.nsecsElapsed() / 1000) + ' ' +
                QByteArray::number(workNs_ / 1000) + '\n');
    file_.flush();
    workNs_ = 0;
}

} // namespace drawscreen
