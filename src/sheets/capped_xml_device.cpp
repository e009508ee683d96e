#include "sheets/capped_xml_device.h"

#include <QByteArray>

namespace sheets {

CappedXmlDevice::CappedXmlDevice(QIODevice& source, qint64 runBytes)
    : source_(source), runBytes_(runBytes) {
    open(QIODevice::ReadOnly);
}

qint64 CappedXmlDevice::readData(char* data, qint64 maxSize) {
    QByteArray chunk;
    qint64 out = 0;
    // A chunk may be dropped whole: read on until something passes or the source ends.
    while (out == 0) {
        chunk = source_.read(maxSize);
        if (chunk.isEmpty())
            return source_.atEnd() ? -1 : 0;
        seen_ += chunk.size();
        for (const char c : chunk) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '<') {
                run_ = 0;
                dropping_ = inEntity_ = false;
            } else if (dropping_) {
                continue;
            } else if (run_ >= runBytes_ && !inEntity_ && (byte & 0xC0) != 0x80) {
                dropping_ = true;
                continue;
            } else {
                ++run_;
                inEntity_ = c == '&' || (inEntity_ && c != ';');
            }
            data[out++] = c;
        }
    }
    return out;
}

} // namespace sheets
