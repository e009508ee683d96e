#include "drawscreen/cue_player.h"
#include "drawscreen/qt_sound_output.h"
#include "drawscreen/sound_output.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingOutput : public drawscreen::SoundOutput {
public:
    void stopAll() override { steps << QStringLiteral("stop"); }
    void load(const QString& path) override { steps << QStringLiteral("load ") + path; }
    void playOnce() override { steps << QStringLiteral("play"); }

    QStringList steps;
};

} // namespace

class CuePlayerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cuesStopLoadAndPlayTheirFile() {
        lottery::DrawOptions options;
        RecordingOutput output;
        drawscreen::CuePlayer player(options, QStringLiteral("/event"), output);

        player.playCue(lottery::SoundCue::Rolling);
        player.playCue(lottery::SoundCue::Result);
        const QString music = QDir(QStringLiteral("/event")).filePath(QStringLiteral("music"));
        QCOMPARE(output.steps,
                 (QStringList{QStringLiteral("stop"),
                              QStringLiteral("load ") + music + QStringLiteral("/rolling.wav"),
                              QStringLiteral("play"), QStringLiteral("stop"),
                              QStringLiteral("load ") + music + QStringLiteral("/ok.wav"),
                              QStringLiteral("play")}));
    }

    void musicOffSendsNothing() {
        lottery::DrawOptions options;
        options.muse = 1;
        RecordingOutput output;
        drawscreen::CuePlayer player(options, QStringLiteral("/event"), output);
        player.playCue(lottery::SoundCue::Rolling);
        player.playCue(lottery::SoundCue::Result);
        QVERIFY(output.steps.isEmpty());

        options.muse = 0; // the option is read at every cue
        player.playCue(lottery::SoundCue::Result);
        QCOMPARE(output.steps.size(), 3);
    }

    void qtOutputSurvivesMissingAndBrokenFiles() {
        QTemporaryDir dir;
        QFile broken(dir.filePath(QStringLiteral("broken.wav")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a wave file");
        broken.close();

        drawscreen::QtSoundOutput output;
        for (const QString& path :
             {dir.filePath(QStringLiteral("missing.wav")), broken.fileName()}) {
            output.stopAll();
            output.load(path);
            output.playOnce();
        }
        output.stopAll();
        QTest::qWait(50); // let any asynchronous decoding fail
    }
};

QTEST_MAIN(CuePlayerTest)
#include "cue_player_test.moc"
