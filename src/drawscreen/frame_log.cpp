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

void FrameLog::framePresented() {
    if (!file_.isOpen())
        return;
    file_.write(QByteArray::number(clock_.nsecsElapsed() / 1000) + '\n');
    file_.flush();
}

} // namespace drawscreen
