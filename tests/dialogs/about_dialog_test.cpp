#include "dialogs/about_dialog.h"

#include "core/path_conversion.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

template <typename T> T* child(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<T*>(name);
    Q_ASSERT(widget);
    return widget;
}

bool writeBytes(const QString& path, qint64 size) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size;
}

// File column -> "status|size".
QMap<QString, QString> fileRows(QTableWidget* list) {
    QMap<QString, QString> rows;
    for (int row = 0; row < list->rowCount(); ++row)
        rows.insert(list->item(row, 0)->text(),
                    list->item(row, 1)->text() + "|" + list->item(row, 2)->text());
    return rows;
}

QString native(const char* path) {
    return QDir::toNativeSeparators(QString::fromLatin1(path));
}

} // namespace

class AboutDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsNameVersionAndFolder() {
        QTemporaryDir folder;
        const auto paths = lottery::EventPaths::forFolder(core::toFsPath(folder.path()));
        dialogs::AboutDialog dialog(paths, QStringLiteral("1.2.3"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("关于"));
        QVERIFY(child<QLabel>(dialog, "nameLabel")->text().contains(QStringLiteral("抽奖")));
        QCOMPARE(child<QLabel>(dialog, "versionLabel")->text(), QStringLiteral("版本 1.2.3"));
        QCOMPARE(child<QLabel>(dialog, "folderLabel")->text(),
                 QDir::toNativeSeparators(folder.path()));
    }

    void showsPresentAndMissingFiles() {
        QTemporaryDir folder;
        const QDir root(folder.path());
        QVERIFY(writeBytes(root.filePath("data/_prize.txt"), 10));
        QVERIFY(writeBytes(root.filePath("bg.jpg"), 2048));
        QVERIFY(writeBytes(root.filePath("music/ok.wav"), 3 * 1024 * 1024 + 512 * 1024));
        // A folder under a file's name is not the file.
        QVERIFY(root.mkpath("img/smile.png"));
        const auto paths = lottery::EventPaths::forFolder(core::toFsPath(folder.path()));
        dialogs::AboutDialog dialog(paths, QStringLiteral("1.2.3"));

        const QMap<QString, QString> expected = {
            {native("data/_prize.txt"), QStringLiteral("存在|10 字节")},
            {native("data/_items.txt"), QStringLiteral("缺失|")},
            {native("data/_result.txt"), QStringLiteral("缺失|")},
            {native("prizedraw.ini"), QStringLiteral("缺失|")},
            {native("bg.jpg"), QStringLiteral("存在|2.0 KB")},
            {native("img/smile.png"), QStringLiteral("缺失|")},
            {native("music/rolling.wav"), QStringLiteral("缺失|")},
            {native("music/ok.wav"), QStringLiteral("存在|3.5 MB")},
        };
        auto* list = child<QTableWidget>(dialog, "fileList");
        QCOMPARE(fileRows(list), expected);
        QCOMPARE(list->item(0, 0)->text(), native("data/_prize.txt"));
    }
};

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
