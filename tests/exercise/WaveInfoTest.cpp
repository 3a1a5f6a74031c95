#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "storage/WaveInfo.h"

namespace {

TBytes Header(uint32_t byteRate, uint32_t dataSize, bool withFmt = true) {
  TBytes b;
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(t[i]));
  };
  auto le32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  tag("RIFF");
  le32(36 + dataSize);
  tag("WAVE");
  if (withFmt) {
    tag("fmt ");
    le32(16);
    le32(0x00010001);  // PCM, one channel
    le32(byteRate / 2);
    le32(byteRate);
    le32(0x00100002);
  }
  tag("data");
  le32(dataSize);
  return b;
}

TEST(WaveInfo, DurationFromHeader) {
  const struct {
    const char* name;
    TBytes head;
    int64_t fileSize;
    int64_t want;
  } cases[] = {
      {"one second", Header(44100, 44100), 44 + 44100, 1000},
      {"open data size: bounded by the file", Header(44100, 0), 44 + 22050, 500},
      {"data size beyond the file end", Header(44100, 0x7fffffff), 44 + 4410, 100},
      {"no fmt chunk", Header(44100, 100, false), 200, -1},
      {"zero byte rate", Header(0, 100), 200, -1},
      {"not RIFF", TBytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 'W', 'A', 'V', 'E'}, 12, -1},
      {"too short", TBytes{'R', 'I', 'F'}, 3, -1},
      {"empty", TBytes{}, 0, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(WaveDurationMs(c.head, c.fileSize), c.want) << c.name;
}

TEST(WaveInfo, SpokenFixtureLastsAboutASecond) {
  std::ifstream f(QM_FIXTURE_DIR "/good_morning.wav", std::ios::binary);
  const TBytes bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  const int64_t ms = WaveDurationMs(bytes, static_cast<int64_t>(bytes.size()));
  EXPECT_GT(ms, 800);
  EXPECT_LT(ms, 1200);
}

}  // namespace
