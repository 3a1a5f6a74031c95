#pragma once
// WAV files made in a test: a sine tone at a given level, as PCM or float.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/Bytes.h"

// A 440 Hz sine whose peak is peakDb dBFS; above 0 dB it is cut at full scale.
inline std::vector<double> ToneSamples(double seconds, double peakDb, int rate = 16000) {
  const double amplitude = std::pow(10.0, peakDb / 20);
  std::vector<double> samples(static_cast<std::size_t>(seconds * rate));
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = std::clamp(amplitude * std::sin(2 * M_PI * 440 * static_cast<double>(i) / rate), -1.0, 1.0);
  return samples;
}

// samples are frames of channels interleaved; bits 8, 16, 24 or 32 (float when isFloat).
inline TBytes WaveBytes(const std::vector<double>& samples, int rate = 16000, int bits = 16, int channels = 1,
                        bool isFloat = false) {
  TBytes out;
  const auto put = [&out](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  const auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  const uint32_t dataSize = static_cast<uint32_t>(samples.size()) * static_cast<uint32_t>(bits / 8);
  tag("RIFF");
  put(36 + dataSize, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(isFloat ? 3 : 1, 2);
  put(static_cast<uint32_t>(channels), 2);
  put(static_cast<uint32_t>(rate), 4);
  put(static_cast<uint32_t>(rate * channels * bits / 8), 4);
  put(static_cast<uint32_t>(channels * bits / 8), 2);
  put(static_cast<uint32_t>(bits), 2);
  tag("data");
  put(dataSize, 4);
  for (const double x : samples) {
    if (isFloat) {
      const float f = static_cast<float>(x);
      uint32_t raw;
      std::memcpy(&raw, &f, 4);
      put(raw, 4);
      continue;
    }
    const double top = std::ldexp(1.0, bits - 1);
    auto v = static_cast<int64_t>(std::lround(x * top));
    v = std::clamp<int64_t>(v, static_cast<int64_t>(-top), static_cast<int64_t>(top) - 1);
    if (bits == 8) v += 128;
    put(static_cast<uint32_t>(v), bits / 8);
  }
  return out;
}
