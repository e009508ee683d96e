// The start-up question about an unfinished draw, as the operator's keys would answer it.
#include "app/event_loader.h"
#include "app/resume_offer.h"
#include "core/message_box_hook.h"
#include "core/path_conversion.h"
#include "event_files.h"

#include <QTemporaryDir>

class ResumeOfferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void spaceOrReturnContinuesTheDraw() {
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

        core::MessageBoxHook hook;
        QVERIFY(app::offerResume(nullptr, data, paths, core));
        QCOMPARE(hook.texts(), QStringList{QStringLiteral("上次抽奖尚未结束，是否继续？")});
        QCOMPARE(hook.messages()[0].kind, core::MessageKind::Confirm);
        QCOMPARE(hook.messages()[0].defaultAnswer, QMessageBox::Yes);

        // A results file that cannot be read is told by name, and nothing is resumed.
        const QString results = core::toQString(paths.resultFile);
        QVERIFY(QFile::remove(results) && QDir().mkpath(results));
        QVERIFY(!app::offerResume(nullptr, data, paths, core));
        QCOMPARE(hook.messages().size(), std::size_t(2));
        QCOMPARE(hook.messages()[1].kind, core::MessageKind::Warning);
        QVERIFY(hook.texts()[1].contains(QDir::toNativeSeparators(results)));
    }
};

QTEST_MAIN(ResumeOfferTest)
#include "resume_offer_test.moc"
