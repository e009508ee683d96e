#pragma once

#include "app/main_window.h"
#include "core/gbk_codec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTest>

#include <memory>

// Writes text to path in GBK, making the folders it needs.
inline void writeGbk(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(*core::GbkCodec::toGbkStrict(text)));
}

inline QString readGbk(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? core::GbkCodec::fromGbk(file.readAll().toStdString())
                                          : QString();
}

// Every file and folder below root with its bytes.
inline QMap<QString, QByteArray> filesBelow(const QString& root) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    }
    return files;
}

// A main window on a 1920 x 1080 screen, past its start-up load.
inline std::unique_ptr<app::MainWindow> startedWindow(const QString& folder) {
    auto window = std::make_unique<app::MainWindow>(folder, QSize(1920, 1080));
    window->show();
    QTest::qWait(300);
    return window;
}
