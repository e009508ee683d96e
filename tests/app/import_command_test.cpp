#include "app/event_lock.h"
#include "event_files.h"
#include "program_run.h"
#include "support/file_bytes.h"

#include <QTemporaryDir>

#include <optional>

namespace {

QStringList backups(const QTemporaryDir& dir) {
    return QDir(dir.filePath("data")).entryList({"bak_items*.txt"}, QDir::Files);
}

const QByteArray kOldList = "old\r\n";

QByteArray workbookBytes(const char* name) {
    return fileBytes(QStringLiteral(PRIZEDRAW_WORKBOOKS_DIR "/") + name);
}

// One more row than the list takes.
QByteArray overCapacityCsv(QByteArray* firstMillion = nullptr) {
    QByteArray csv;
    for (int i = 1; i <= 1000001; ++i)
        csv += QByteArray::number(i) + "\r\n";
    if (firstMillion)
        *firstMillion = csv.left(csv.size() - 9);
    return csv;
}

} // namespace

class ImportCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void writesTheListAndKeepsTheOld_data() {
        QTest::addColumn<QByteArray>("csv"); // or workbook
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QStringList>("summary");

        // A UTF-8 sheet with a header, the phone first, an empty row and a duplicate.
        QTest::newRow("utf8 header columns")
            << QByteArray("\xEF\xBB\xBF姓名,电话\r\n张三,13800138000\r\n,\r\n张三,13800138000\r\n")
            << QStringList{"--header", "--columns", "2,1"}
            << QByteArray("13800138000 \xD5\xC5\xC8\xFD\r\n13800138000 \xD5\xC5\xC8\xFD\r\n")
            << QStringList{"entries\t2", "duplicates\t1", "duplicate\t13800138000 张三\t2",
                           "skipped\t1", "cut\t0"};
        // GBK with semicolons; the default takes column 1 and no header.
        QTest::newRow("gbk semicolons")
            << QByteArray("\xC0\xEE\xCB\xC4;1\r\n\"a;b\";2\r\n") << QStringList{}
            << QByteArray("\xC0\xEE\xCB\xC4\r\na;b\r\n")
            << QStringList{"entries\t2", "duplicates\t0", "skipped\t0", "cut\t0"};
        // Date cells as the sheet shows them, whatever their format; a plain number stays one.
        QTest::newRow("dates") << workbookBytes("dates.xlsx") << QStringList{"--columns", "1,2,3"}
                               << QByteArray("\xD5\xC5\xC8\xFD 2023-12-31\r\n\xC0\xEE\xCB\xC4 "
                                             "2025-01-01\r\n2023-12-31 12:00:00 18:00:00 45291\r\n")
                               << QStringList{"entries\t3"};
        QByteArray firstMillion;
        const QByteArray tooMany = overCapacityCsv(&firstMillion);
        QTest::newRow("over capacity, cut allowed")
            << tooMany << QStringList{"--allow-cut"} << firstMillion
            << QStringList{"entries\t1000001", "duplicates\t0", "skipped\t0", "cut\t0",
                           "over_capacity\t1"};
    }

    void writesTheListAndKeepsTheOld() {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, written);
        QFETCH(QStringList, summary);
        QTemporaryDir dir;
        writeBytes(dir.filePath("data/_items.txt"), kOldList);
        writeBytes(dir.filePath("list.csv"), csv);

        const ProgramRun run(QStringList{"--import", dir.filePath("list.csv")} + options +
                             QStringList{dir.path()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.lines.mid(0, summary.size()), summary);
        QCOMPARE(fileBytes(dir.filePath("data/_items.txt")), written);
        const QStringList made = backups(dir);
        QCOMPARE(made.size(), 1);
        QCOMPARE(fileBytes(dir.filePath("data/" + made.first())), kOldList);
    }

    void refusesAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("locked"); // a running copy holds the folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("reason"); // part of the message

        const QByteArray workbook = workbookBytes("openpyxl.xlsx");
        // clang-format off
    QTest::newRow("no entries") << QByteArray(",\r\n , \r\n") << QStringList{} << false << 1 << "没有任何条目";
    QTest::newRow("not a workbook") << QByteArray("PK\x03\x04 broken") << QStringList{} << false << 1 << "已损坏";
    QTest::newRow("missing file") << QByteArray() << QStringList{} << false << 1 << "list.csv";
    QTest::newRow("no such sheet") << workbook << QStringList{"--sheet", "3"} << false << 1 << "没有第 3 个";
    QTest::newRow("folder held") << workbook << QStringList{} << true << 1 << "已在另一个";
    QTest::newRow("bad columns") << workbook << QStringList{"--columns", "1,x"} << false << 2 << "--columns";
    QTest::newRow("header without import") << workbook << QStringList{"--header"} << false << 2 << "go with --import";
    // 300 million characters in one cell, from a file of 300 kB.
    QTest::newRow("shared strings bomb") << workbookBytes("bomb_one_string.xlsx") << QStringList{} << false << 1 << "256 MB";
    QTest::newRow("over capacity") << overCapacityCsv() << QStringList{} << false << 1 << "--allow-cut";
        // clang-format on
    }

    void refusesAndChangesNothing() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, options);
        QFETCH(bool, locked);
        QFETCH(int, exitCode);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        writeBytes(dir.filePath("data/_items.txt"), kOldList);
        // A workbook is told by its first bytes, a CSV file by its name.
        const QString source = dir.filePath(file.startsWith("PK") ? "list.xlsx" : "list.csv");
        if (!file.isEmpty())
            writeBytes(source, file);
        std::optional<app::EventLock> lock;
        if (locked)
            QCOMPARE(lock.emplace(dir.path()).state(), app::EventLock::State::Held);
        const auto before = filesBelow(dir.path());

        QStringList arguments = options;
        if (!options.contains("--header"))
            arguments << "--import" << source;
        const ProgramRun run(arguments << dir.path());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.errors.contains(reason), qPrintable(run.errors));
        QCOMPARE(filesBelow(dir.path()), before);
    }
};

QTEST_GUILESS_MAIN(ImportCommandTest)
#include "import_command_test.moc"
