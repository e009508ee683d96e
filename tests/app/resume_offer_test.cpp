#include "app/event_loader.h"
#include "app/resume_offer.h"
#include "core/message_box_hook.h"
#include "core/path_conversion.h"
#include "event_files.h"

#include <QTemporaryDir>

class ResumeOfferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unreadableResultsFileIsToldByName() {
        QTemporaryDir dir;
        writeGbk(dir.path() + "/data/_prize.txt", QStringLiteral("A`一等奖`a.png`1`2`1`\r\n"));
        writeGbk(dir.path() + "/data/_items.txt", QStringLiteral("张三\r\n李四\r\n"));
        writeGbk(dir.path() + "/data/_result.txt",
                 QStringLiteral("抽奖开始日期：2026-01-01 10:00:00\r\n"
                                "2026-01-01 10:00:01\tA\tT\t1\t1\t李四\r\n"));
        core::CCore core(dir.path());
        const auto paths = lottery::EventPaths::forFolder(core.getAppPath());
        lottery::LotteryData data;
        std::vector<std::string> warnings;
        QCOMPARE(app::loadEventData(paths, data, core, warnings), app::LoadOutcome::Ready);

        // Loaded with a draw to resume, then the file turns unreadable: told by name.
        core::MessageBoxHook hook;
        const QString results = core::toQString(paths.resultFile);
        QVERIFY(QFile::remove(results) && QDir().mkpath(results));
        QVERIFY(!app::offerResume(nullptr, data, paths, core));
        QCOMPARE(hook.messages().size(), std::size_t(1));
        QCOMPARE(hook.messages()[0].kind, core::MessageKind::Warning);
        QVERIFY(hook.texts()[0].contains(QDir::toNativeSeparators(results)));
    }
};

QTEST_MAIN(ResumeOfferTest)
#include "resume_offer_test.moc"
