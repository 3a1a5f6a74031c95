#include "Word_Pear.h"

#include "Convert.h"
#include "Errors.h"

namespace {
// Splits at the first "@": before it, and everything after it. Without an
// "@" the first part is empty and the second the whole piece.
void SplitAt(const std::string& piece, std::string& first, std::string& second) {
  const std::size_t at = piece.find('@');
  if (at == std::string::npos) {
    first.clear();
    second = piece;
  } else {
    first = piece.substr(0, at);
    second = piece.substr(at + 1);
  }
}
}  // namespace

// The steps run in this order because the sound files depend on the marker.
TWordPear::TWordPear(const std::string& line) {
  if (line.empty()) return;
  const std::size_t eq = line.find('=');
  if (eq == std::string::npos) throw TConversionError(line);
  PearNbr = StrToInt(std::string_view(line).substr(0, eq));

  const std::size_t star = line.find('*');
  if (star != std::string::npos && star == line.size() - 1) {
    InUse = true;
  } else {
    const std::size_t drawn = line.find(kDrawnMarker);
    if (drawn != std::string::npos && drawn == line.size() - 1) {
      InUse = true;
      Drawn = true;
    }
  }

  const std::size_t hash = line.find('#');
  if (hash != std::string::npos && hash > eq) SplitAt(line.substr(eq + 1, hash - eq - 1), Word1, Word2);

  if (hash != std::string::npos) {
    std::string sounds = line.substr(hash + 1);
    if (InUse && !sounds.empty()) sounds.pop_back();
    SplitAt(sounds, WavFile1, WavFile2);
  }
}

std::string TWordPear::GetFileLine() const {
  std::string line = std::to_string(PearNbr);
  line.reserve(line.size() + Word1.size() + Word2.size() + WavFile1.size() + WavFile2.size() + 5);
  line += '=';
  line += Word1;
  line += '@';
  line += Word2;
  line += '#';
  line += WavFile1;
  line += '@';
  line += WavFile2;
  if (InUse) line += Drawn ? kDrawnMarker : '*';
  return line;
}
