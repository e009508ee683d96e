// Writes a complete demo event into the folder named on the command line: prizes,
// participants, background, picture and both sound cues, all made here, and the options a new
// event starts with.

#include "demo_pictures.h"
#include "demo_sounds.h"
#include "demo_texts.h"
#include "wav_writer.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "lottery/draw_options_store.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

bool writeGbk(const QString& path, const std::string& utf8) {
    const auto gbk = core::GbkCodec::toGbkStrict(QString::fromStdString(utf8));
    if (!gbk)
        return false;
    QFile file(path);
    const auto size = static_cast<qint64>(gbk->size());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(gbk->data(), size) == size && file.flush();
}

std::string entriesFile() {
    std::string text;
    for (const std::string& entry : demoEntries(300))
        text += entry + "\r\n";
    return text;
}

bool writeOptions(const QString& folder) {
    core::CCore core(folder);
    lottery::DrawOptions options;
    lottery::loadDrawOptions(options, core);
    options.stage.layout = lottery::kNewEventLayout;
    return lottery::saveDrawOptions(options, core);
}

} // namespace

int main(int argc, char* argv[]) {
    // Painting needs a Gui application but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: make_demo_event FOLDER\n");
        return 2;
    }
    const QDir folder(arguments[1]);
    constexpr int kSampleRate = 22050;
    const bool ok =
        folder.mkpath("data") && folder.mkpath("img") && folder.mkpath("music") &&
        writeGbk(folder.filePath("data/_prize.txt"), demoPrizeFile()) &&
        writeGbk(folder.filePath("data/_items.txt"), entriesFile()) &&
        paintBackground(QSize(1920, 1080)).save(folder.filePath("bg.jpg"), "JPG", 90) &&
        paintSmile(160).save(folder.filePath("img/smile.png"), "PNG") &&
        writeWav(folder.filePath("music/rolling.wav"), rollingTune(kSampleRate), kSampleRate) &&
        writeWav(folder.filePath("music/ok.wav"), okChime(kSampleRate), kSampleRate) &&
        writeOptions(folder.path());
    if (!ok) {
        std::fprintf(stderr, "make_demo_event: could not write %s\n", qPrintable(arguments[1]));
        return 1;
    }
    return 0;
}
