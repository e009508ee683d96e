#pragma once

#include <QIODevice>

#include <memory>

namespace sheets {

// One member of a package as a sequential device. A read fails when the inflated data is
// broken, or at the end when its checksum does not match.
class ZipMember : public QIODevice {
public:
    ZipMember(void* zip, qint64 size);
    ~ZipMember() override;

    bool isSequential() const override { return true; }
    // The member's inflated size as its header gives it, and the bytes read so far.
    qint64 inflatedSize() const { return size_; }
    qint64 consumed() const { return consumed_; }
    bool failed() const { return failed_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void* zip_;
    qint64 size_;
    qint64 consumed_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

// The members of a zip package read through minizip, with the package in a QIODevice that
// stays open while the archive is in use.
class ZipArchive {
public:
    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool open(QIODevice* device);
    bool isOpen() const { return handle_ != nullptr; }

    bool contains(const QString& name) const;
    // The member named name (any case), opened for sequential reading, or null when missing
    // or unreadable. Only one member is open at a time: opening another ends this one.
    std::unique_ptr<ZipMember> openMember(const QString& name);

private:
    void* handle_ = nullptr; // minizip's unzFile
};

} // namespace sheets
