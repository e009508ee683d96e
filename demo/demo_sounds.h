#pragma once

#include <cstdint>
#include <vector>

// The demo's two cues, synthesized: 16-bit mono samples at sampleRate.
// A festive pentatonic loop of exactly four seconds that joins without a click.
std::vector<std::int16_t> rollingTune(int sampleRate);
// A rising four-note bell chime of one and a half seconds.
std::vector<std::int16_t> okChime(int sampleRate);
