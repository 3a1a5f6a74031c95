#include "Errors.h"

namespace {
std::string Quoted(const std::string& text) {
  // Keep messages short even for a hostile line of megabytes.
  constexpr std::size_t kShown = 80;
  if (text.size() <= kShown) return text;
  // Never half a UTF-8 character: back up over its continuation bytes.
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}
}  // namespace

TConversionError::TConversionError(const std::string& text)
    : std::runtime_error("'" + Quoted(text) + "' is not a valid integer value"), text_(text) {}

TConversionError::TConversionError(const std::string& text, const std::string& reason)
    : std::runtime_error(reason), text_(text) {}

void TConversionError::SetPlace(const std::string& file, int lineNbr, const std::string& line) {
  file_ = file;
  lineNbr_ = lineNbr;
  line_ = line;
}

std::string TConversionError::Describe() const {
  std::string reason = what();
  if (file_.empty()) return reason;
  std::string place = file_;
  if (lineNbr_ > 0) place += ", line " + std::to_string(lineNbr_);
  return place + ": " + reason + (line_.empty() ? std::string() : " in \"" + Quoted(line_) + "\"");
}

TFileIoError::TFileIoError(const std::string& file, const std::string& reason)
    : std::runtime_error(file + ": " + reason), file_(file), reason_(reason) {}
