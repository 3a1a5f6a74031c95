#include "TextDbSource.h"

#include <cstdio>
#include <map>
#include <set>

#include "AppLangHandl.h"
#include "core/Convert.h"
#include "core/StrVector.h"
#include "storage/CodeDecode.h"
#include "core/CodePage.h"

namespace {
std::string Place(const std::string& fileName, int lineNbr) { return fileName + ":" + std::to_string(lineNbr) + ": "; }

std::string CharName(char32_t ch) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(ch));
  return hex;
}

bool IsBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }
}  // namespace

std::string LanguageCodeOf(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("/\\");
  std::string name = fileName.substr(slash == std::string::npos ? 0 : slash + 1);
  name = name.substr(0, name.find('.'));
  if (name.size() != 2) return {};
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return {};
  }
  return name;
}

bool ParseTextSource(const std::string& fileName, const std::string& code, const std::string& utf8, TTextSource& out,
                     std::string& error) {
  out = TTextSource{code, fileName, {}};
  std::map<int32_t, int> seen;
  std::string_view rest(utf8);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  for (int lineNbr = 1; !rest.empty(); ++lineNbr) {
    const std::size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (IsBlankLine(line) || line.front() == '#') continue;

    const std::size_t eq = line.find('=');
    int32_t nbr = 0;
    if (eq == std::string_view::npos || !TryStrToInt(line.substr(0, eq), nbr)) {
      error = Place(fileName, lineNbr) + "expected number=text";
      return false;
    }
    if (nbr < 0 || nbr > TAppLangHandler::kMaxTextNbr) {
      error = Place(fileName, lineNbr) + "text number " + std::to_string(nbr) + " is outside 0.." +
              std::to_string(TAppLangHandler::kMaxTextNbr);
      return false;
    }
    if (const auto before = seen.find(nbr); before != seen.end()) {
      error = Place(fileName, lineNbr) + "text number " + std::to_string(nbr) + " is already given in line " +
              std::to_string(before->second);
      return false;
    }
    seen.emplace(nbr, lineNbr);

    const std::string_view utf8Text = line.substr(eq + 1);
    for (const char c : utf8Text) {
      if (static_cast<unsigned char>(c) < 0x20) {
        error = Place(fileName, lineNbr) + "the text holds a control character";
        return false;
      }
    }
    std::string text;
    char32_t bad = 0;
    if (!Utf8ToCp1252(utf8Text, text, &bad)) {
      error = Place(fileName, lineNbr) + "the character " + CharName(bad) + " has no place in Windows-1252";
      return false;
    }
    out.Texts.push_back(TSourceText{nbr, text, lineNbr});
  }
  return true;
}

bool CheckTextSources(const std::vector<TTextSource>& sources, std::string& error) {
  std::set<std::string> headers{"[##]"};
  for (const TTextSource& source : sources) {
    if (!headers.insert("[" + source.Code + "]").second) {
      error = source.FileName + ": language " + source.Code + " is given twice";
      return false;
    }
  }
  for (const TTextSource& source : sources) {
    for (const TSourceText& text : source.Texts) {
      for (const std::string& header : headers) {
        if (text.Text.find(header) != std::string::npos) {
          error = Place(source.FileName, text.LineNbr) + "a text must not hold " + header;
          return false;
        }
      }
    }
  }
  // Every number in every language, so no window shows "????" in one of them.
  for (const TTextSource& source : sources) {
    for (const TTextSource& other : sources) {
      std::set<int32_t> numbers;
      for (const TSourceText& text : other.Texts) numbers.insert(text.Nbr);
      for (const TSourceText& text : source.Texts) {
        if (!numbers.count(text.Nbr)) {
          error = Place(source.FileName, text.LineNbr) + "text number " + std::to_string(text.Nbr) +
                  " is missing in " + other.FileName;
          return false;
        }
      }
    }
  }
  return true;
}

TBytes PackTextDb(const std::vector<TTextSource>& sources) {
  TStrVector lines;
  for (const TTextSource& source : sources) {
    lines.Add("[" + source.Code + "]");
    for (const TSourceText& text : source.Texts) lines.Add(std::to_string(text.Nbr) + "=" + text.Text);
    lines.Add("[##]");
  }
  // The trailer 0 is scrambled with the key of its position, like the image.
  TBytes bytes = ScrambleBytes(StringsToContainer(lines));
  bytes.push_back(0);
  ScrambleInPlace(bytes);
  return bytes;
}
