#include "Word_Pear.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "Convert.h"
#include "Errors.h"

namespace {
constexpr std::size_t kNone = std::string_view::npos;

// Where the separators of a pair line stand.
struct TLineParts {
  std::size_t eq = kNone;       // first "="
  std::size_t hash = kNone;     // first "#"
  std::size_t wordAt = kNone;   // first "@" between them
  std::size_t soundAt = kNone;  // first "@" after the "#"
};

// The first c in line[from, to), by the C library's vectorised search.
std::size_t Find(std::string_view line, std::size_t from, std::size_t to, char c) {
  if (from >= to) return kNone;
  const void* at = std::memchr(line.data() + from, c, to - from);
  return at ? static_cast<std::size_t>(static_cast<const char*>(at) - line.data()) : kNone;
}

TLineParts FindParts(std::string_view line) {
  TLineParts parts;
  const std::size_t n = line.size();
  parts.eq = Find(line, 0, n, '=');
  parts.hash = Find(line, 0, n, '#');
  if (parts.eq != kNone && parts.hash != kNone && parts.hash > parts.eq) parts.wordAt = Find(line, parts.eq + 1, parts.hash, '@');
  if (parts.hash != kNone) parts.soundAt = Find(line, parts.hash + 1, n, '@');
  return parts;
}

// A marker counts when its first occurrence is the last character.
bool EndsWithOnly(std::string_view line, char marker) {
  return line.back() == marker && Find(line, 0, line.size() - 1, marker) == kNone;
}

bool EndsWithOnly(std::string_view line, std::string_view marker) {
  if (line.size() < marker.size() || line.substr(line.size() - marker.size()) != marker) return false;
  return line.find(marker) == line.size() - marker.size();
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

  if (EndsWithOnly(line, '*')) {
    views.inUse = true;
  } else if (EndsWithOnly(line, kDrawnMarker)) {
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
  const std::size_t markerSize = views.drawn ? kDrawnMarker.size() : 1;
  const std::size_t to = views.inUse ? line.size() - markerSize : line.size();
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
  if (InUse) {
    if (Drawn)
      out += kDrawnMarker;
    else
      out += '*';
  }
}
