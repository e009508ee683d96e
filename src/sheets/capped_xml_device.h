#pragma once

#include <QIODevice>

namespace sheets {

// Passes an XML stream on with every run of bytes between two marks of markup ('<') cut to
// runBytes, at a character's end and never inside an entity: an XML reader holds a whole
// text at once, and a workbook may hold a text of gigabytes. Counts every byte of the source.
class CappedXmlDevice : public QIODevice {
public:
    CappedXmlDevice(QIODevice& source, qint64 runBytes);

    bool isSequential() const override { return true; }
    // The source's bytes passed on or dropped so far.
    qint64 bytesSeen() const { return seen_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& source_;
    qint64 runBytes_;
    qint64 seen_ = 0;
    qint64 run_ = 0;
    bool dropping_ = false;
    bool inEntity_ = false;
};

} // namespace sheets
