#include "dialogs/about_dialog.h"

#include "core/path_conversion.h"
#include "dialog_driver.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QTableWidget>
#include <QTemporaryDir>

class AboutDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsPresentAndMissingFiles() {
        QTemporaryDir folder;
        const QDir root(folder.path());
        for (const auto& [name, size] : {std::pair("data/_prize.txt", 10),
                                         {"bg.jpg", 2048},
                                         {"music/ok.wav", 3 * 1024 * 1024 + 512 * 1024}}) {
            writeBytes(root.filePath(name), QByteArray(size, 'x'));
        }
        QVERIFY(root.mkpath("img/smile.png")); // a folder under a file's name is not the file
        dialogs::AboutDialog dialog(lottery::EventPaths::forFolder(core::toFsPath(root.path())),
                                    "1.0");

        QCOMPARE(QDir::fromNativeSeparators(
                     rowsOf(*child<QTableWidget>(dialog, "fileList"), " ").join('|')),
                 QStringLiteral("data/_prize.txt 存在 10 字节|data/_items.txt 缺失 |"
                                "data/_result.txt 缺失 |prizedraw.ini 缺失 |"
                                "bg.jpg 存在 2.0 KB|img/smile.png 缺失 |"
                                "music/rolling.wav 缺失 |music/ok.wav 存在 3.5 MB"));
    }
};

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
