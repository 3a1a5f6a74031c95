#include "Word_Pear.h"

#include <charconv>

#include "Convert.h"
#include "Errors.h"

namespace {
// Splits at the first "@": before it, and everything after it. Without an
// "@" the first part is empty and the second the whole piece.
void SplitAt(std::string_view piece, std::string& first, std::string& second) {
  const std::size_t at = piece.find('@');
  if (at == std::string_view::npos) {
    first.clear();
    second.assign(piece);
  } else {
    first.assign(piece.substr(0, at));
    second.assign(piece.substr(at + 1));
  }
}
}  // namespace

// The steps run in this order because the sound files depend on the marker.
// Views into the line keep reading free of temporary strings.
TWordPear::TWordPear(std::string_view line) {
  if (line.empty()) return;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) throw TConversionError(std::string(line));
  PearNbr = StrToInt(line.substr(0, eq));

  // A marker counts when its first occurrence is the last character; only a
  // line ending in one needs the search.
  const std::string_view head = line.substr(0, line.size() - 1);
  if (line.back() == '*' && head.find('*') == std::string_view::npos) {
    InUse = true;
  } else if (line.back() == kDrawnMarker && head.find(kDrawnMarker) == std::string_view::npos) {
    InUse = true;
    Drawn = true;
  }

  const std::size_t hash = line.find('#');
  if (hash != std::string_view::npos && hash > eq) SplitAt(line.substr(eq + 1, hash - eq - 1), Word1, Word2);

  if (hash != std::string_view::npos) {
    std::string_view sounds = line.substr(hash + 1);
    if (InUse && !sounds.empty()) sounds.remove_suffix(1);
    SplitAt(sounds, WavFile1, WavFile2);
  }
}

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
