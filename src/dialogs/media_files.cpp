#include "dialogs/media_files.h"

#include "core/path_conversion.h"
#include "lottery/backup_name.h"
#include "lottery/file_text.h"
#include "lottery/safe_file.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <system_error>
#include <vector>

namespace dialogs {

namespace {

std::string backupStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")).toStdString();
}

bool readSource(const QString& source, QByteArray& bytes, std::string* problem) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        lottery::storeProblem(problem, "无法读取 " + source.toStdString());
        return false;
    }
    bytes = file.readAll();
    return true;
}

// The old file is copied to its backup before the new bytes replace it.
bool replaceKeepingBackup(const std::filesystem::path& target, const QByteArray& bytes,
                          std::string* problem) {
    std::error_code error;
    if (std::filesystem::exists(target, error) &&
        !lottery::backUpFile(target, "bak_" + target.stem().string(), backupStamp(), nullptr,
                             problem, target.extension().string()))
        return false;
    std::filesystem::create_directories(target.parent_path(), error);
    return lottery::writeFileSafely(target, std::string_view(bytes.constData(), bytes.size()),
                                    problem);
}

bool sameSuffix(const QString& path, const std::filesystem::path& target) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QString wanted = core::toQString(target.extension()).mid(1).toLower();
    return suffix == wanted ||
           (wanted == QStringLiteral("jpg") && suffix == QStringLiteral("jpeg"));
}

} // namespace

QString imageFileFilter() {
    QString patterns = QStringLiteral("*.jpg *.jpeg *.png *.bmp");
    if (QImageReader::supportedImageFormats().contains("webp"))
        patterns += QStringLiteral(" *.webp");
    return QStringLiteral("图片 (%1)").arg(patterns);
}

QString tuneFileFilter() {
#ifdef Q_OS_WIN
    return QStringLiteral("声音 (*.wav *.mp3)");
#else
    return QStringLiteral("声音 (*.wav *.mp3 *.ogg)");
#endif
}

std::optional<QString> copyIntoFolder(const QString& source, const std::filesystem::path& folder,
                                      std::string* problem) {
    QByteArray bytes;
    if (!readSource(source, bytes, problem))
        return std::nullopt;
    const QFileInfo info(source);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    QString name = info.fileName();
    for (int n = 2;; ++n) {
        const std::filesystem::path target = folder / core::toFsPath(name);
        QFile existing(core::toQString(target));
        if (!existing.exists())
            break;
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
            return name;
        name = QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(n).arg(info.suffix());
    }
    if (!lottery::writeFileSafely(folder / core::toFsPath(name),
                                  std::string_view(bytes.constData(), bytes.size()), problem))
        return std::nullopt;
    return name;
}

bool installPicture(const QString& source, const std::filesystem::path& target,
                    std::string* problem) {
    QByteArray bytes;
    if (!readSource(source, bytes, problem))
        return false;
    QImage image;
    if (!image.loadFromData(bytes)) {
        lottery::storeProblem(problem, source.toStdString() + " 不是可以读取的图片。");
        return false;
    }
    // Converted only when needed, so that a JPEG is not compressed a second time.
    if (!sameSuffix(source, target)) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const QByteArray format = core::toQString(target.extension()).mid(1).toUpper().toLatin1();
        if (!image.save(&buffer, format.constData(), 90)) {
            lottery::storeProblem(problem, "无法转换图片 " + source.toStdString());
            return false;
        }
    }
    return replaceKeepingBackup(target, bytes, problem);
}

bool installTune(const QString& source, const std::filesystem::path& targetWav,
                 std::string* problem) {
    QByteArray bytes;
    if (!readSource(source, bytes, problem))
        return false;
    const std::string suffix = "." + QFileInfo(source).suffix().toLower().toStdString();
    if (suffix != ".wav" && suffix != ".mp3" && suffix != ".ogg") {
        lottery::storeProblem(problem, source.toStdString() + " 不是 wav、mp3 或 ogg 文件。");
        return false;
    }
    const std::filesystem::path target = std::filesystem::path(targetWav).replace_extension(suffix);
    if (!replaceKeepingBackup(target, bytes, problem))
        return false;
    if (suffix == ".wav")
        return true;
    // The WAV name plays first: kept as a backup, then out of the way of the new tune.
    std::error_code error;
    if (std::filesystem::exists(targetWav, error)) {
        if (!lottery::backUpFile(targetWav, "bak_" + targetWav.stem().string(), backupStamp(),
                                 nullptr, problem, ".wav"))
            return false;
        if (!std::filesystem::remove(targetWav, error)) {
            lottery::storeProblem(problem, "无法移走 " + lottery::pathText(targetWav) +
                                               "，新选的乐曲不会播放。");
            return false;
        }
    }
    // Likewise an mp3 before an ogg.
    const std::filesystem::path mp3 = std::filesystem::path(targetWav).replace_extension(".mp3");
    if (suffix == ".ogg" && std::filesystem::exists(mp3, error)) {
        if (!lottery::backUpFile(mp3, "bak_" + mp3.stem().string(), backupStamp(), nullptr, problem,
                                 ".mp3"))
            return false;
        std::filesystem::remove(mp3, error);
    }
    return true;
}

} // namespace dialogs
