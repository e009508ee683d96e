#include "demo_sounds.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

double midiFrequency(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// Adds a note that starts and ends inside [start, start + length) seconds, with a
// short attack and a release ramp so it never clicks.
void addNote(std::vector<double>& mix, int rate, double start, double length, double frequency,
             double gain, double decay, const double (&partials)[3]) {
    const auto first = static_cast<std::size_t>(start * rate);
    const auto count = static_cast<std::size_t>(length * rate);
    const double attack = 0.004;
    const double release = 0.012;
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double envelope = std::exp(-t / decay);
        envelope *= std::min(1.0, t / attack);
        envelope *= std::min(1.0, (length - t) / release);
        double wave = 0;
        for (int h = 0; h < 3; ++h)
            wave += partials[h] * std::sin(kTwoPi * frequency * (h + 1) * t);
        mix[first + i] += gain * envelope * wave;
    }
}

std::vector<std::int16_t> toPcm(const std::vector<double>& mix) {
    double peak = 1e-9;
    for (const double v : mix)
        peak = std::max(peak, std::abs(v));
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::lround(mix[i] / peak * 0.8 * 32767));
    return out;
}

} // namespace

std::vector<std::int16_t> rollingTune(int sampleRate) {
    // Forty sixteenth notes at 150 beats a minute; -1 is a rest.
    static const int melody[40] = {72, 76, 79, 84, 81, 79, 76, 79, 74, 76, 79, 81, 79, 76,
                                   74, 76, 72, 76, 79, 84, 86, 84, 81, 79, 81, 79, 76, 74,
                                   76, 79, 72, -1, 76, 79, 81, 84, 81, 79, 76, 74};
    static const int bass[10] = {48, 48, 43, 43, 45, 45, 41, 43, 48, 43};
    const double step = 0.1;
    std::vector<double> mix(static_cast<std::size_t>(4.0 * sampleRate), 0.0);

    const double bright[3] = {1.0, 0.3, 0.15};
    const double round[3] = {1.0, 0.25, 0.0};
    for (int i = 0; i < 40; ++i)
        if (melody[i] > 0)
            addNote(mix, sampleRate, i * step, step, midiFrequency(melody[i]), 0.5, 0.07, bright);
    for (int i = 0; i < 10; ++i)
        addNote(mix, sampleRate, i * 4 * step, 4 * step, midiFrequency(bass[i]), 0.6, 0.25, round);

    // A soft noise tick on every step keeps the roll moving.
    std::uint32_t noise = 12345;
    const auto tickLength = static_cast<std::size_t>(0.006 * sampleRate);
    for (int i = 0; i < 40; ++i) {
        const auto first = static_cast<std::size_t>(i * step * sampleRate);
        for (std::size_t k = 0; k < tickLength; ++k) {
            noise = noise * 1664525u + 1013904223u;
            const double white = (noise >> 8) / 8388608.0 - 1.0;
            mix[first + k] += 0.15 * white * (1.0 - static_cast<double>(k) / tickLength);
        }
    }
    return toPcm(mix);
}

std::vector<std::int16_t> okChime(int sampleRate) {
    const double length = 1.5;
    std::vector<double> mix(static_cast<std::size_t>(length * sampleRate), 0.0);
    static const int notes[4] = {84, 88, 91, 96};
    // Bell-like: the upper partials fall away fast.
    const double bell[3] = {1.0, 0.35, 0.12};
    for (int i = 0; i < 4; ++i) {
        const double start = i * 0.08;
        addNote(mix, sampleRate, start, length - start, midiFrequency(notes[i]), 0.5, 0.45, bell);
    }
    return toPcm(mix);
}
