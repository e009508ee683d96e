#include "app/default_media.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace app {

namespace {

constexpr int kSampleRate = 22050;
constexpr double kPi = 3.14159265358979323846;

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// A note with a quick attack and an exponential fade, so that notes in a row do not click.
void addNote(std::vector<double>& samples, double startSeconds, double seconds, double hertz,
             double loudness) {
    const auto first = static_cast<std::size_t>(startSeconds * kSampleRate);
    const auto count = static_cast<std::size_t>(seconds * kSampleRate);
    if (samples.size() < first + count)
        samples.resize(first + count, 0.0);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope = std::min(1.0, t * 200.0) * std::exp(-3.0 * t / seconds);
        const double tone = std::sin(2 * kPi * hertz * t) + 0.3 * std::sin(4 * kPi * hertz * t);
        samples[first + i] += loudness * envelope * tone;
    }
}

QByteArray wavOf(const std::vector<double>& samples) {
    QByteArray pcm;
    pcm.reserve(static_cast<int>(samples.size() * 2));
    for (const double sample : samples) {
        const auto value = static_cast<qint16>(std::clamp(sample, -1.0, 1.0) * 30000);
        char bytes[2];
        qToLittleEndian(value, bytes);
        pcm.append(bytes, 2);
    }
    const auto le32 = [](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        return QByteArray(b, 4);
    };
    const auto le16 = [](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        return QByteArray(b, 2);
    };
    QByteArray wav = "RIFF" + le32(static_cast<quint32>(36 + pcm.size())) + "WAVEfmt " + le32(16) +
                     le16(1) + le16(1) + le32(kSampleRate) + le32(kSampleRate * 2) + le16(2) +
                     le16(16) + "data" + le32(static_cast<quint32>(pcm.size()));
    return wav + pcm;
}

} // namespace

QByteArray defaultBackgroundJpeg(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(size.width() / 2.0, size.height() * 0.4, size.width() * 0.7);
    glow.setColorAt(0, QColor(0xC8, 0x1E, 0x1E));
    glow.setColorAt(1, QColor(0x5A, 0x05, 0x0A));
    painter.fillRect(image.rect(), glow);
    // Gold confetti, the same on every machine.
    quint32 seed = 20260101;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int i = 0; i < 160; ++i) {
        const double x = next() % static_cast<quint32>(size.width());
        const double y = next() % static_cast<quint32>(size.height());
        const double r = 2 + next() % 6;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xF5, 0xC8, 0x4B, 60 + static_cast<int>(next() % 140)));
        painter.drawEllipse(QPointF(x, y), r, r);
    }
    QLinearGradient band(0, 0, 0, size.height());
    band.setColorAt(0, QColor(0xF5, 0xC8, 0x4B, 90));
    band.setColorAt(0.08, QColor(0xF5, 0xC8, 0x4B, 0));
    band.setColorAt(0.92, QColor(0xF5, 0xC8, 0x4B, 0));
    band.setColorAt(1, QColor(0xF5, 0xC8, 0x4B, 90));
    painter.fillRect(image.rect(), band);
    painter.end();
    return encoded(image, "JPG", 85);
}

QByteArray defaultPicturePng() {
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor red(0xD7, 0x26, 0x26);
    const QColor gold(0xF5, 0xC8, 0x4B);
    painter.setPen(QPen(QColor(0x7A, 0x10, 0x10), 4));
    painter.setBrush(red);
    painter.drawRoundedRect(QRectF(40, 110, 176, 120), 10, 10); // the box
    painter.drawRoundedRect(QRectF(28, 80, 200, 40), 8, 8);     // the lid
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawRect(QRectF(114, 80, 28, 150)); // the ribbon
    QPainterPath bow;
    bow.moveTo(128, 80);
    bow.cubicTo(70, 20, 50, 90, 128, 80);
    bow.moveTo(128, 80);
    bow.cubicTo(186, 20, 206, 90, 128, 80);
    painter.setPen(QPen(gold.darker(130), 3));
    painter.drawPath(bow);
    painter.end();
    return encoded(image, "PNG");
}

QByteArray defaultTuneWav(DefaultTune tune) {
    std::vector<double> samples;
    if (tune == DefaultTune::Rolling) {
        // A running arpeggio that loops without a seam: two seconds of eighth notes.
        const double notes[] = {523.25, 659.25, 783.99, 1046.5, 783.99, 659.25, 587.33, 698.46,
                                880.0,  1174.7, 880.0,  698.46, 523.25, 659.25, 783.99, 659.25};
        for (int i = 0; i < 16; ++i)
            addNote(samples, i * 0.125, 0.125, notes[i], 0.35);
        samples.resize(static_cast<std::size_t>(2.0 * kSampleRate));
    } else {
        // A short fanfare ending on a held chord.
        addNote(samples, 0.0, 0.15, 523.25, 0.4);
        addNote(samples, 0.15, 0.15, 659.25, 0.4);
        addNote(samples, 0.3, 0.15, 783.99, 0.4);
        for (const double hertz : {523.25, 659.25, 783.99, 1046.5})
            addNote(samples, 0.45, 1.2, hertz, 0.2);
    }
    return wavOf(samples);
}

} // namespace app
