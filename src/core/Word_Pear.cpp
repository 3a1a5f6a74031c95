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
// Where the separators of a pair line stand, found in one pass.
struct TLineParts {
  std::size_t eq = std::string_view::npos;    // first "="
  std::size_t hash = std::string_view::npos;  // first "#"
  std::size_t wordAt = std::string_view::npos;   // first "@" between them
  std::size_t soundAt = std::string_view::npos;  // first "@" after the "#"
  bool starBefore = false;   // a "*" before the last character
  bool drawnBefore = false;  // a drawn marker before the last character
};

constexpr uint8_t kEq = 1, kHash = 2, kAt = 4, kStar = 8, kDrawn = 16;
constexpr std::array<uint8_t, 256> MakeClasses() {
  std::array<uint8_t, 256> classes{};
  classes['='] = kEq;
  classes['#'] = kHash;
  classes['@'] = kAt;
  classes['*'] = kStar;
  classes[static_cast<uint8_t>(kDrawnMarker)] = kDrawn;
  return classes;
}
constexpr std::array<uint8_t, 256> kClasses = MakeClasses();

void Note(TLineParts& parts, std::size_t at, uint8_t cls, std::size_t last) {
  switch (cls) {
    case kEq:
      if (parts.eq == std::string_view::npos) parts.eq = at;
      break;
    case kHash:
      if (parts.hash == std::string_view::npos) parts.hash = at;
      break;
    case kAt:
      if (parts.hash != std::string_view::npos) {
        if (parts.soundAt == std::string_view::npos) parts.soundAt = at;
      } else if (parts.eq != std::string_view::npos && parts.wordAt == std::string_view::npos) {
        parts.wordAt = at;
      }
      break;
    case kStar:
      if (at < last) parts.starBefore = true;
      break;
    case kDrawn:
      if (at < last) parts.drawnBefore = true;
      break;
    default:
      break;
  }
}

// Most bytes are letters: sixteen at a time are skipped where SSE2 is there.
TLineParts FindParts(std::string_view line) {
  TLineParts parts;
  const auto* d = reinterpret_cast<const uint8_t*>(line.data());
  const std::size_t n = line.size();
  const std::size_t last = n - 1;
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i eq = _mm_set1_epi8('=');
  const __m128i hash = _mm_set1_epi8('#');
  const __m128i at = _mm_set1_epi8('@');
  const __m128i star = _mm_set1_epi8('*');
  const __m128i drawn = _mm_set1_epi8(kDrawnMarker);
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i hit = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, eq), _mm_cmpeq_epi8(v, hash)), _mm_cmpeq_epi8(v, at)),
        _mm_or_si128(_mm_cmpeq_epi8(v, star), _mm_cmpeq_epi8(v, drawn)));
    for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit)); mask != 0; mask &= mask - 1) {
      const std::size_t p = i + static_cast<std::size_t>(__builtin_ctz(mask));
      Note(parts, p, kClasses[d[p]], last);
    }
  }
#endif
  for (; i < n; ++i)
    if (const uint8_t cls = kClasses[d[i]]) Note(parts, i, cls, last);
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
  if (parts.eq == std::string_view::npos) throw TConversionError(std::string(line));
  views.pearNbr = StrToInt(line.substr(0, parts.eq));

  if (line.back() == '*' && !parts.starBefore) {
    views.inUse = true;
  } else if (line.back() == kDrawnMarker && !parts.drawnBefore) {
    views.inUse = true;
    views.drawn = true;
  }
  if (parts.hash == std::string_view::npos) return views;

  if (parts.hash > parts.eq) {
    const std::size_t from = parts.eq + 1;
    if (parts.wordAt == std::string_view::npos) {
      views.word2 = Span(line, from, parts.hash);
    } else {
      views.word1 = Span(line, from, parts.wordAt);
      views.word2 = Span(line, parts.wordAt + 1, parts.hash);
    }
  }
  const std::size_t from = parts.hash + 1;
  const std::size_t to = views.inUse ? line.size() - 1 : line.size();
  if (parts.soundAt == std::string_view::npos || parts.soundAt >= to) {
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
