// The program run from the command line: --check, --verify and --import.
#include "app/event_loader.h"
#include "app/event_lock.h"
#include "core/ccore.h"
#include "event_files.h"
#include "lottery/draw_machine.h"
#include "lottery/results_chain.h"
#include "lottery/results_log.h"
#include "program_run.h"
#include "support/file_bytes.h"
#include "support/recording_view.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace {

// The option lines for the values of hide, print, muse, hstart and hend.
QStringList optionLines(const QString& values) {
    const QStringList names{"hide", "print", "muse", "hstart", "hend"};
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << "option\t" + names[i] + '\t' + values.section(' ', i, i);
    return lines;
}

QByteArray sha256Of(const QString& path) {
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256).toHex();
}

const QString kPrizeA = QStringLiteral("prize\t1\tA\t特等奖\t1\t1\t1\t1\t");

// A whole draw by the real machine: A (2 of 2), B (1 of 1), entries "员工 1" .. "员工 6".
void drawIn(const QString& folder) {
    writeGbk(folder + "/data/_prize.txt",
             QStringLiteral("A`一等奖``1`2`2`\r\nB`二等奖``2`1`1`\r\n"));
    QString items;
    for (int i = 1; i <= 6; ++i)
        items += QStringLiteral("员工 %1\r\n").arg(i);
    writeGbk(folder + "/data/_items.txt", items);
    core::CCore services(folder);
    const auto paths = lottery::EventPaths::forFolder(services.getAppPath());
    auto data = std::make_unique<lottery::LotteryData>();
    std::vector<std::string> warnings;
    QCOMPARE(app::loadEventData(paths, *data, services, warnings), app::LoadOutcome::Ready);
    RecordingView silent;
    lottery::DrawMachine machine(*data, paths, services, silent);
    for (int i = 0; i < 4; ++i)
        machine.advance();
}

QByteArray gbk(const char* utf8) {
    return QByteArray::fromStdString(*core::GbkCodec::toGbkStrict(QString::fromUtf8(utf8)));
}

// The chain codes worked out again after lines were changed, as anyone holding the file can.
QByteArray rechained(const QByteArray& bytes, bool chain = true) {
    QList<QByteArray> lines = bytes.split('\n');
    std::string previous;
    for (QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        line.chop(1); // CR
        if (line.startsWith('#'))
            line = line.mid(18);
        if (previous.empty() || line.startsWith(gbk("抽奖开始日期"))) {
            previous = lottery::ownCode(line.toStdString());
        } else if (chain) {
            previous = lottery::chainCode(previous, line.toStdString());
            line = "#" + QByteArray::fromStdString(previous) + "\t" + line;
        }
        line += '\r';
    }
    return lines.join('\n');
}

QByteArray withoutLines(const QByteArray& bytes, const QByteArray& containing) {
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeIf([&](const QByteArray& line) { return line.contains(containing); });
    return lines.join('\n');
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

// Changes the results file of the draw in the folder, as someone hiding a change would.
using Forgery = std::function<QByteArray(QByteArray bytes, const QString& folder)>;
Q_DECLARE_METATYPE(Forgery)

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsTheEventAndChangesNothing_data() {
        QTest::addColumn<QString>("prizes"); // no file when empty
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("all");
        QTest::addColumn<int>("exitCode");
        // Without the folder, fingerprint and option lines; %1 stands for the participant file.
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("options");

        // Twelve entries "王小明 138000000<nn>", two prizes out of draw order, masking on.
        QByteArray twelve;
        QStringList shown{kPrizeA, QStringLiteral("prize\t2\tB\t二等奖\t2\t7\t3\t3\tA"),
                          QStringLiteral("participants\t12")};
        for (int i = 0; i < 12; ++i) {
            twelve += QStringLiteral("王小明 138000000%1\r\n").arg(i, 2, 10, QChar('0')).toUtf8();
            shown << QStringLiteral("entry\t%1\t**小明 138000000%2")
                         .arg(i + 1)
                         .arg(i, 2, 10, QChar('0'));
        }
        const QString twoPrizes =
            QStringLiteral("B`二等奖`b.png`2`7`3`A\r\nA`特等奖`a.png`1`1`1`\r\n");
        const QString masked = QStringLiteral("[General]\nhide=1\nmuse=1\nhstart=1\nhend=2\n");
        const QString prizeA = QStringLiteral("A`特等奖``1`1`1`\r\n");
        const QString items = QStringLiteral("warning\t抽奖数据文件 _items.txt：");
        const QString none = QStringLiteral("0 0 0 0 0");

        QTest::newRow("the first ten entries")
            << twoPrizes << twelve << masked << false << 0 << shown.mid(0, 13) << "1 0 1 1 2";
        QTest::newRow("every entry")
            << twoPrizes << twelve << masked << true << 0 << shown << "1 0 1 1 2";
        // The participant file is not read while there is no prize.
        QTest::newRow("no prizes")
            << QString() << QByteArray("王小明\r\n") << QString() << false << 1
            << QStringList{"participants\t0", "warning\t奖项没有设置！"} << none;
        QTest::newRow("no entries")
            << prizeA << QByteArray() << QString() << false << 1
            << QStringList{kPrizeA, "participants\t0", "warning\t抽奖数据文件不能为空！%1"} << none;
        // A tab inside an entry is shown escaped.
        QTest::newRow("copies and a blank entry")
            << prizeA << QByteArray("张三\r\n张三\r\n\t\r\n") << QString() << true << 0
            << QStringList{kPrizeA,
                           "participants\t3",
                           "entry\t1\t张三",
                           "entry\t2\t张三",
                           "entry\t3\t\\t",
                           "duplicate\t张三\t2",
                           items + "有 1 个条目只有空白字符（如第 3 行），仍作为抽奖条目",
                           items +
                               "有 1 个条目文本重复出现（如“张三”共 2 次）；同一文本的条目中奖后，"
                               "其余副本不再参加抽取"}
            << none;
    }

    void reportsTheEventAndChangesNothing() {
        QFETCH(QString, prizes);
        QFETCH(QByteArray, items);
        QFETCH(QString, ini);
        QFETCH(bool, all);
        QFETCH(QStringList, expected);
        QFETCH(QString, options);
        QTemporaryDir dir;
        const QString itemsFile = dir.filePath("data/_items.txt");
        if (!prizes.isEmpty())
            writeGbk(dir.filePath("data/_prize.txt"), prizes);
        if (!items.isEmpty())
            writeGbk(itemsFile, QString::fromUtf8(items));
        if (!ini.isEmpty())
            writeGbk(dir.filePath("prizedraw.ini"), ini);
        const auto before = filesBelow(dir.path());

        QStringList arguments{dir.path(), QStringLiteral("--check")};
        if (all)
            arguments << QStringLiteral("--all");
        const ProgramRun run(arguments);
        QTEST(run.exitCode, "exitCode");
        QStringList found;
        QStringList optionsFound;
        for (const QString& line : run.lines)
            (line.startsWith("option\t") ? optionsFound : found) << line;
        QCOMPARE(found.value(0), "folder\t" + QDir::toNativeSeparators(dir.path()));
        const qsizetype fingerprint = found.indexOf(QRegularExpression("fingerprint\t.*"));
        QCOMPARE(found.value(fingerprint),
                 items.isEmpty() ? QString() : "fingerprint\tparticipants\t" + sha256Of(itemsFile));
        if (fingerprint > 0)
            found.removeAt(fingerprint);
        found.removeFirst();
        expected.replaceInStrings("%1", QDir::toNativeSeparators(itemsFile));
        QCOMPARE(found, expected);
        QCOMPARE(optionsFound, optionLines(options));
        QCOMPARE(filesBelow(dir.path()), before);
    }

    void findsWhatWasChanged_data() {
        QTest::addColumn<Forgery>("forgery");
        QTest::addColumn<QString>("found"); // a line the report must hold
        QTest::newRow("clean draw")
            << Forgery([](QByteArray bytes, auto) { return bytes; }) << "ok";
        QTest::newRow("chain codes stripped")
            << Forgery([](QByteArray bytes, auto) { return rechained(bytes, false); })
            << "chain\tunchained";
        QTest::newRow("fingerprints removed") << Forgery([](QByteArray bytes, auto) {
            return rechained(withoutLines(withoutLines(bytes, gbk("名单指纹")), gbk("奖项指纹")));
        }) << "fingerprint\tparticipants\tnone";
        QTest::newRow("list replaced, chain recomputed")
            << Forgery([](QByteArray bytes, const QString& folder) {
                   const QString items = folder + "/data/_items.txt";
                   const QByteArray drawn = sha256Of(items);
                   writeGbk(items, QStringLiteral("亲友 1\r\n亲友 2\r\n亲友 3\r\n"));
                   return rechained(bytes.replace(drawn, sha256Of(items)));
               })
            << "chain\tok";
        QTest::newRow("second start line")
            << Forgery([](QByteArray bytes, auto) { return rechained(bytes + bytes); })
            << "chain\tok";
        QTest::newRow("torn line")
            << Forgery([](QByteArray bytes, auto) { return bytes + "#0123456789abcdef\t2026"; })
            << "torn\t8";
        // The last prize's round and the end line taken out.
        QTest::newRow("short prize") << Forgery([](QByteArray bytes, auto) {
            bytes = bytes.left(bytes.indexOf("\tB\t"));
            return bytes.left(bytes.lastIndexOf('\n') + 1);
        }) << "short\tB\t二等奖\t0\t1\t抽奖尚未结束";
    }

    // No forgery passes; a byte changed in a line is the live draw's last step.
    void findsWhatWasChanged() {
        QFETCH(Forgery, forgery);
        QFETCH(QString, found);
        QTemporaryDir dir;
        drawIn(dir.path());
        const QString results = dir.filePath("data/_result.txt");
        writeBytes(results, forgery(fileBytes(results), dir.path()));
        const bool clean = found == "ok";
        const auto before = filesBelow(dir.path());
        const ProgramRun run({QStringLiteral("--verify"), dir.path()});
        QCOMPARE(filesBelow(dir.path()), before);
        QVERIFY2(run.lines.contains(found), qPrintable(run.lines.join('\n')));
        QCOMPARE(run.exitCode, clean ? 0 : 1);
        QCOMPARE(run.lines.last() == "ok", clean);
        // The final chain code is the live draw's, against its finished screen.
        QVERIFY(!clean || run.lines.contains("winners\tA\t一等奖\t2\t2"));
    }

    // A list written with the old one kept, or a refusal with its reason and nothing in the
    // folder changed; %list stands for the list file, %dir for the event folder.
    void writesTheListOrRefuses_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("locked"); // a running copy holds the folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("told");   // the report's first lines, or a part of the error
        QTest::addColumn<QByteArray>("written"); // empty: nothing changes

        const QByteArray workbook = workbookBytes("openpyxl.xlsx");
        const QStringList import{"--import", "%list", "%dir"};
        const QByteArray none;
        // A UTF-8 sheet with a header and chosen columns is the big list's end-to-end run.
        // GBK with semicolons; the default takes column 1 and no header.
        QTest::newRow("gbk semicolons")
            << QByteArray("\xC0\xEE\xCB\xC4;1\r\n\"a;b\";2\r\n") << import << false << 0
            << QStringList{"entries\t2", "duplicates\t0", "skipped\t0", "cut\t0"}
            << QByteArray("\xC0\xEE\xCB\xC4\r\na;b\r\n");
        // Date cells as the sheet shows them, whatever their format; a plain number stays one.
        QTest::newRow("dates") << workbookBytes("dates.xlsx")
                               << import + QStringList{"--columns", "1,2,3"} << false << 0
                               << QStringList{"entries\t3"}
                               << QByteArray(
                                      "\xD5\xC5\xC8\xFD 2023-12-31\r\n\xC0\xEE\xCB\xC4 "
                                      "2025-01-01\r\n2023-12-31 12:00:00 18:00:00 45291\r\n");
        QByteArray firstMillion;
        const QByteArray tooMany = overCapacityCsv(&firstMillion);
        QTest::newRow("over capacity, cut allowed")
            << tooMany << import + QStringList{"--allow-cut"} << false << 0
            << QStringList{"entries\t1000001", "duplicates\t0", "skipped\t0", "cut\t0",
                           "over_capacity\t1"}
            << firstMillion;
        // clang-format off
    QTest::newRow("over capacity") << tooMany << import << false << 1 << QStringList{"--allow-cut"} << none;
    QTest::newRow("no entries") << QByteArray(",\r\n , \r\n") << import << false << 1 << QStringList{"没有任何条目"} << none;
    QTest::newRow("missing file") << none << import << false << 1 << QStringList{"list.csv"} << none;
    QTest::newRow("no such sheet") << workbook << import + QStringList{"--sheet", "3"} << false << 1 << QStringList{"没有第 3 个"} << none;
    QTest::newRow("folder held") << workbook << import << true << 1 << QStringList{"已在另一个"} << none;
    QTest::newRow("shared strings bomb") << workbookBytes("bomb_one_string.xlsx") << import << false << 1 << QStringList{"256 MB"} << none;
    QTest::newRow("bad columns") << workbook << import + QStringList{"--columns", "1,x"} << false << 2 << QStringList{"--columns"} << none;
    QTest::newRow("header without import") << none << QStringList{"--header", "%dir"} << false << 2 << QStringList{"go with --import"} << none;
    QTest::newRow("unknown option") << none << QStringList{"--check", "--bogus", "%dir"} << false << 2 << QStringList{"bogus"} << none;
    QTest::newRow("two folders") << none << QStringList{"--check", "%dir", "%dir"} << false << 2 << QStringList{"one folder"} << none;
    QTest::newRow("missing folder") << none << QStringList{"--check", "%dir/missing"} << false << 2 << QStringList{"No such folder"} << none;
    QTest::newRow("all without check") << none << QStringList{"--all", "%dir"} << false << 2 << QStringList{"--all goes with --check"} << none;
    QTest::newRow("version, no refusal") << none << QStringList{"--version"} << false << 0 << QStringList{""} << none;
        // clang-format on
    }

    void writesTheListOrRefuses() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, arguments);
        QFETCH(bool, locked);
        QFETCH(QStringList, told);
        QFETCH(QByteArray, written);
        QTemporaryDir dir;
        const QString items = dir.filePath("data/_items.txt");
        writeBytes(items, kOldList);
        // A workbook is told by its first bytes, a CSV file by its name.
        const QString source = dir.filePath(file.startsWith("PK") ? "list.xlsx" : "list.csv");
        if (!file.isEmpty())
            writeBytes(source, file);
        std::optional<app::EventLock> lock;
        if (locked)
            QCOMPARE(lock.emplace(dir.path()).state(), app::EventLock::State::Held);
        const auto before = filesBelow(dir.path());

        arguments.replaceInStrings("%list", source).replaceInStrings("%dir", dir.path());
        const ProgramRun run(arguments);
        QTEST(run.exitCode, "exitCode");
        if (written.isEmpty()) {
            QVERIFY2(run.errors.contains(told.first()), qPrintable(run.errors));
            QVERIFY(run.exitCode != 2 || run.lines.isEmpty()); // a usage error prints no report
            QCOMPARE(filesBelow(dir.path()), before);
            return;
        }
        QCOMPARE(run.lines.mid(0, told.size()), told);
        QCOMPARE(fileBytes(items), written);
        const QStringList made = QDir(dir.filePath("data")).entryList({"bak_items*"});
        QCOMPARE(made.size(), 1);
        QCOMPARE(fileBytes(dir.filePath("data/" + made.first())), kOldList);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
