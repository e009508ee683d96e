#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Writes 16-bit PCM mono samples as a RIFF WAVE file; false when it cannot be written.
bool writeWav(const QString& path, const std::vector<std::int16_t>& samples, int sampleRate);
