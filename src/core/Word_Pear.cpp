#include "Word_Pear.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Convert.h"
#include "Errors.h"

namespace {
constexpr std::size_t kNone = std::string_view::npos;

// Where the separators of a pair line stand, found in one pass.
struct TLineParts {
  std::size_t eq = kNone;    // first "="
  std::size_t hash = kNone;  // first "#"
  std::size_t wordAt = kNone;   // first "@" between them
  std::size_t soundAt = kNone;  // first "@" after the "#"
  bool starBefore = false;   // a "*" before the last character
  bool drawnBefore = false;  // a drawn marker before the last character
};

// One bit per byte of a 64-byte window for each separator and marker.
struct TMasks {
  uint64_t eq = 0, hash = 0, at = 0, star = 0, drawn = 0;
};

constexpr std::size_t kWindow = 64;

// The masks of the window at base of a line of n bytes. Only the line's own
// bytes are read: the last piece of a window is read as the line's last
// sixteen bytes, with those already counted shifted out.
TMasks MasksOf(const uint8_t* line, std::size_t n, std::size_t base) {
  const std::size_t count = std::min(kWindow, n - base);
  const uint8_t* p = line + base;
  TMasks m;
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i eq = _mm_set1_epi8('=');
  const __m128i hash = _mm_set1_epi8('#');
  const __m128i at = _mm_set1_epi8('@');
  const __m128i star = _mm_set1_epi8('*');
  const __m128i drawn = _mm_set1_epi8(kDrawnMarker);
  auto add = [&](const uint8_t* from, unsigned dropped, std::size_t to) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    auto bits = [&](__m128i c) {
      return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, c))) >> dropped) << to;
    };
    m.eq |= bits(eq);
    m.hash |= bits(hash);
    m.at |= bits(at);
    m.star |= bits(star);
    m.drawn |= bits(drawn);
  };
  for (; i + 16 <= count; i += 16) add(p + i, 0, i);
  if (i < count && n >= 16) {
    add(line + n - 16, static_cast<unsigned>(16 - (count - i)), i);
    i = count;
  }
#endif
  for (; i < count; ++i) {
    const uint64_t bit = uint64_t{1} << i;
    if (p[i] == '=') m.eq |= bit;
    if (p[i] == '#') m.hash |= bit;
    if (p[i] == '@') m.at |= bit;
    if (p[i] == '*') m.star |= bit;
    if (p[i] == static_cast<uint8_t>(kDrawnMarker)) m.drawn |= bit;
  }
  return m;
}

unsigned Lowest(uint64_t mask) { return static_cast<unsigned>(__builtin_ctzll(mask)); }
// The bits of the window at base for positions after pos / before pos.
uint64_t After(std::size_t pos, std::size_t base) {
  if (pos < base) return ~uint64_t{0};
  if (pos - base >= kWindow - 1) return 0;
  return ~uint64_t{0} << (pos - base + 1);
}
uint64_t Before(std::size_t pos, std::size_t base) {
  if (pos <= base) return 0;
  if (pos - base >= kWindow) return ~uint64_t{0};
  return (uint64_t{1} << (pos - base)) - 1;
}

// Reads the line a window of 64 bytes at a time.
TLineParts FindParts(std::string_view line) {
  TLineParts parts;
  const auto* d = reinterpret_cast<const uint8_t*>(line.data());
  const std::size_t n = line.size();
  const std::size_t last = n - 1;
  for (std::size_t base = 0; base < n; base += kWindow) {
    const TMasks m = MasksOf(d, n, base);
    if (parts.eq == kNone && m.eq) parts.eq = base + Lowest(m.eq);
    if (parts.hash == kNone && m.hash) parts.hash = base + Lowest(m.hash);
    if (parts.wordAt == kNone && parts.eq != kNone && (parts.hash == kNone || parts.hash > parts.eq)) {
      uint64_t between = m.at & After(parts.eq, base);
      if (parts.hash != kNone) between &= Before(parts.hash, base);
      if (between) parts.wordAt = base + Lowest(between);
    }
    if (parts.soundAt == kNone && parts.hash != kNone) {
      const uint64_t after = m.at & After(parts.hash, base);
      if (after) parts.soundAt = base + Lowest(after);
    }
    if (m.star & Before(last, base)) parts.starBefore = true;
    if (m.drawn & Before(last, base)) parts.drawnBefore = true;
  }
  return parts;
}

std::string_view Span(std::string_view line, std::size_t from, std::size_t to) { return line.substr(from, to - from); }
}  // namespace

struct TWordPear::TLineViews {
  std::string_view word1, word2, wavFile1, wavFile2;
  int32_t pearNbr = 0;
  bool inUse = false;
  bool drawn = false;
};

// Views into the line keep reading free of temporary strings. A marker
// counts when its first occurrence is the last character; the sound files
// depend on it. Without an "@" the first part of a piece is empty and the
// second the whole piece.
TWordPear::TLineViews TWordPear::ReadPairLine(std::string_view line) {
  TLineViews views;
  if (line.empty()) return views;
  const TLineParts parts = FindParts(line);
  if (parts.eq == kNone) throw TConversionError(std::string(line));
  views.pearNbr = StrToInt(line.substr(0, parts.eq));

  if (line.back() == '*' && !parts.starBefore) {
    views.inUse = true;
  } else if (line.back() == kDrawnMarker && !parts.drawnBefore) {
    views.inUse = true;
    views.drawn = true;
  }
  if (parts.hash == kNone) return views;

  if (parts.hash > parts.eq) {
    const std::size_t from = parts.eq + 1;
    if (parts.wordAt == kNone) {
      views.word2 = Span(line, from, parts.hash);
    } else {
      views.word1 = Span(line, from, parts.wordAt);
      views.word2 = Span(line, parts.wordAt + 1, parts.hash);
    }
  }
  const std::size_t from = parts.hash + 1;
  const std::size_t to = views.inUse ? line.size() - 1 : line.size();
  if (parts.soundAt == kNone || parts.soundAt >= to) {
    views.wavFile2 = Span(line, from, std::max(from, to));
  } else {
    views.wavFile1 = Span(line, from, parts.soundAt);
    views.wavFile2 = Span(line, parts.soundAt + 1, to);
  }
  return views;
}

TWordPear::TWordPear(std::string_view line) : TWordPear(ReadPairLine(line)) {}

TWordPear::TWordPear(const TLineViews& views)
    : Word1(views.word1),
      Word2(views.word2),
      WavFile1(views.wavFile1),
      WavFile2(views.wavFile2),
      PearNbr(views.pearNbr),
      InUse(views.inUse),
      Drawn(views.drawn) {}

std::string TWordPear::GetFileLine() const {
  std::string line;
  line.reserve(16 + Word1.size() + Word2.size() + WavFile1.size() + WavFile2.size());
  AppendFileLine(line);
  return line;
}

void TWordPear::AppendFileLine(std::string& out) const {
  char digits[16];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, PearNbr);
  out.append(digits, end);
  out += '=';
  out += Word1;
  out += '@';
  out += Word2;
  out += '#';
  out += WavFile1;
  out += '@';
  out += WavFile2;
  if (InUse) out += Drawn ? kDrawnMarker : '*';
}
