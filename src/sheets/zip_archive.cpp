#include "sheets/zip_archive.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <limits>

namespace sheets {

namespace {

constexpr int kAnyCase = 2; // minizip's flag for names compared without case

// minizip's file calls, answered by the QIODevice passed as the "file name".
voidpf openDevice(voidpf, const void* device, int) {
    return const_cast<void*>(device);
}

uLong readDevice(voidpf, voidpf stream, void* buffer, uLong size) {
    const qint64 read = static_cast<QIODevice*>(stream)->read(static_cast<char*>(buffer), size);
    return read < 0 ? 0 : static_cast<uLong>(read);
}

uLong writeDevice(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T tellDevice(voidpf, voidpf stream) {
    return static_cast<ZPOS64_T>(static_cast<QIODevice*>(stream)->pos());
}

long seekDevice(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* device = static_cast<QIODevice*>(stream);
    qint64 base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = device->pos();
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = device->size();
    if (offset > static_cast<ZPOS64_T>(std::numeric_limits<qint64>::max() - base))
        return -1;
    return device->seek(base + static_cast<qint64>(offset)) ? 0 : -1;
}

int closeDevice(voidpf, voidpf) {
    return 0;
}

int deviceError(voidpf, voidpf) {
    return 0;
}

} // namespace

ZipMember::ZipMember(void* zip, qint64 size) : zip_(zip), size_(size) {
    QIODevice::open(ReadOnly);
}

ZipMember::~ZipMember() {
    if (!ended_)
        unzCloseCurrentFile(zip_);
}

qint64 ZipMember::readData(char* data, qint64 maxSize) {
    if (failed_)
        return -1;
    if (ended_ || maxSize <= 0)
        return 0;
    const auto chunk =
        static_cast<unsigned>(std::min<qint64>(maxSize, std::numeric_limits<int>::max()));
    const int read = unzReadCurrentFile(zip_, data, chunk);
    if (read == 0) {
        ended_ = true;
        // The checksum is only known at the member's end.
        failed_ = unzCloseCurrentFile(zip_) != UNZ_OK;
    } else if (read < 0) {
        failed_ = true;
    }
    if (failed_)
        return -1;
    consumed_ += read;
    return read;
}

ZipArchive::~ZipArchive() {
    if (handle_)
        unzClose(handle_);
}

bool ZipArchive::open(QIODevice* device) {
    if (handle_)
        unzClose(handle_);
    zlib_filefunc64_def calls{};
    calls.zopen64_file = openDevice;
    calls.zread_file = readDevice;
    calls.zwrite_file = writeDevice;
    calls.ztell64_file = tellDevice;
    calls.zseek64_file = seekDevice;
    calls.zclose_file = closeDevice;
    calls.zerror_file = deviceError;
    handle_ = unzOpen2_64(device, &calls);
    return handle_ != nullptr;
}

bool ZipArchive::contains(const QString& name) const {
    return handle_ && unzLocateFile(handle_, name.toUtf8().constData(), kAnyCase) == UNZ_OK;
}

std::unique_ptr<ZipMember> ZipArchive::openMember(const QString& name) {
    unz_file_info64 info{};
    if (!contains(name) ||
        unzGetCurrentFileInfo64(handle_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(handle_) != UNZ_OK)
        return nullptr;
    const auto size = static_cast<qint64>(
        std::min<ZPOS64_T>(info.uncompressed_size, std::numeric_limits<qint64>::max()));
    return std::make_unique<ZipMember>(handle_, size);
}

} // namespace sheets
