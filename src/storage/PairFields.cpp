#include "PairFields.h"

#include <cstdio>
#include <vector>

#include "core/Word_Pear.h"
#include "core/CodePage.h"

namespace {

// The separators that would break the line the field is written into.
std::vector<std::string_view> ForbiddenSeparators(TPairField field) {
  constexpr std::string_view kAt = "@", kHash = "#", kStar = "*", kDrawn = kDrawnMarker;
  switch (field) {
    case TPairField::Word1: return {kAt, kHash, kStar, kDrawn};
    case TPairField::Word2: return {kHash, kStar, kDrawn};
    case TPairField::WavFile1: return {kAt, kStar, kDrawn};
    case TPairField::WavFile2: return {kStar, kDrawn};
    case TPairField::Lang1Name: return {kAt};
    case TPairField::Lang2Name: return {};
  }
  return {};
}

bool MustHaveText(TPairField field) { return field != TPairField::WavFile1 && field != TPairField::WavFile2; }

std::string CodePoint(char32_t ch) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(ch));
  return buffer;
}

TTableProblem ControlProblem(const std::string& name, unsigned char byte) {
  if (byte == '\r' || byte == '\n') return {TTableReason::LineBreak, {name, CodePoint(byte)}};
  if (byte == '\t') return {TTableReason::Tab, {name, CodePoint(byte)}};
  return {TTableReason::ControlChar, {name, CodePoint(byte)}};
}

// Whether the text can be stored in the target encoding; the problem names
// no field.
TTableProblem ConversionProblem(std::string_view utf8, std::string& out, TTextEncoding target) {
  if (target == TTextEncoding::Utf8) {
    if (!IsValidUtf8(utf8)) return {TTableReason::NotUtf8, {}};
    out = std::string(utf8);
    return {};
  }
  char32_t badChar = 0;
  std::size_t badPos = 0;
  std::string cp1252;
  if (Utf8ToCp1252(utf8, cp1252, &badChar, &badPos)) {
    out = std::string(utf8);
    return {};
  }
  const bool replacementChar = utf8.substr(badPos, 3) == "\xEF\xBF\xBD";
  if (badChar == 0xFFFD && !replacementChar) return {TTableReason::NotUtf8, {}};
  std::string shown;
  AppendUtf8(shown, badChar);
  return {TTableReason::NotInCp1252, {shown, CodePoint(badChar)}};
}

}  // namespace

std::string ConvertUtf8(std::string_view utf8, std::string& out, TTextEncoding target) {
  const TTableProblem problem = ConversionProblem(utf8, out, target);
  return problem.Ok() ? std::string() : EnglishFieldTail(problem.Code, problem.Values);
}

const char* PairFieldName(TPairField field) {
  switch (field) {
    case TPairField::Word1: return "word1";
    case TPairField::Word2: return "word2";
    case TPairField::WavFile1: return "wav1";
    case TPairField::WavFile2: return "wav2";
    case TPairField::Lang1Name: return "--lang1";
    case TPairField::Lang2Name: return "--lang2";
  }
  return "";
}

TTableProblem PairFieldProblem(TPairField field, std::string_view utf8, std::string& text, TTextEncoding target) {
  const std::string name = PairFieldName(field);
  TTableProblem conversion = ConversionProblem(utf8, text, target);
  if (!conversion.Ok()) {
    conversion.Values.insert(conversion.Values.begin(), name);
    return conversion;
  }
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    // A NUL would cut the line short when read; line breaks split it.
    if (byte < 0x20 || byte == 0x7F) return ControlProblem(name, byte);
  }
  std::size_t first = std::string::npos;
  std::string_view shown;
  for (std::string_view sep : ForbiddenSeparators(field)) {
    const std::size_t at = text.find(sep);
    if (at < first) {
      first = at;
      shown = sep;
    }
  }
  const bool phrase = field == TPairField::Word1 || field == TPairField::Word2;
  if (first != std::string::npos) return {TTableReason::Separator, {name, std::string(shown)}};
  if (MustHaveText(field) && text.find_first_not_of(' ') == std::string::npos)
    return {phrase ? TTableReason::EmptyPhrase : TTableReason::EmptyField, {name}};
  const std::size_t length = Utf8Length(text);
  if (phrase && length > static_cast<std::size_t>(kMaxPhraseLength))
    return {TTableReason::PhraseTooLong, {name, std::to_string(length), std::to_string(kMaxPhraseLength)}};
  // A names line beginning with "[" would be read as a lesson header.
  if (field == TPairField::Lang1Name && text.front() == '[') return {TTableReason::StartsHeader, {name}};
  return {};
}

std::string CheckPairField(TPairField field, std::string_view utf8, std::string& text, TTextEncoding target) {
  return EnglishReason(PairFieldProblem(field, utf8, text, target));
}
