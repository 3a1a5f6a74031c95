#include "HtmlText.h"

#include <array>
#include <cstdint>

#include "core/CodePage.h"

namespace {

// The named references of HTML 4 for U+00A0 to U+00FF, in order.
constexpr std::array<const char*, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct TNamed {
  const char* Name;
  char32_t Code;
};
constexpr TNamed kOtherNames[] = {
    {"amp", U'&'},        {"lt", U'<'},         {"gt", U'>'},         {"quot", U'"'},       {"apos", U'\''},
    {"ndash", U'\u2013'}, {"mdash", U'\u2014'}, {"lsquo", U'\u2018'}, {"rsquo", U'\u2019'}, {"sbquo", U'\u201A'},
    {"ldquo", U'\u201C'}, {"rdquo", U'\u201D'}, {"bdquo", U'\u201E'}, {"hellip", U'\u2026'}, {"euro", U'\u20AC'},
    {"bull", U'\u2022'},  {"trade", U'\u2122'}, {"OElig", U'\u0152'}, {"oelig", U'\u0153'}, {"Scaron", U'\u0160'},
    {"scaron", U'\u0161'}, {"Yuml", U'\u0178'}, {"thinsp", U'\u2009'}, {"ensp", U'\u2002'}, {"emsp", U'\u2003'},
    {"zwnj", U'\u200C'},  {"zwj", U'\u200D'},   {"larr", U'\u2190'},  {"rarr", U'\u2192'},
};

// Tags that end a line or a block: the words on either side stay apart.
constexpr const char* kBreakingTags[] = {"br", "div", "p", "li", "ul", "ol", "tr", "td", "th", "table",
                                         "h1", "h2", "h3", "h4", "h5", "h6", "hr", "blockquote", "dt", "dd"};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The character a reference at text[0] == '&' stands for, and its length;
// 0 when it is none.
std::size_t ReadReference(std::string_view text, char32_t& code) {
  const std::size_t end = text.find(';');
  if (end == std::string_view::npos || end < 2 || end > 40) return 0;
  const std::string_view body = text.substr(1, end - 1);
  if (body[0] == '#') {
    const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return 0;
    uint32_t value = 0;
    for (const char c : digits) {
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return 0;
      value = value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
    }
    // What no text may hold becomes the replacement character.
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) value = 0xFFFD;
    code = value;
    return end + 1;
  }
  for (std::size_t i = 0; i < kLatin1Names.size(); ++i)
    if (body == kLatin1Names[i]) {
      code = static_cast<char32_t>(0xA0 + i);
      return end + 1;
    }
  for (const TNamed& named : kOtherNames)
    if (body == named.Name) {
      code = named.Code;
      return end + 1;
    }
  return 0;
}

// Joins runs of white space into one blank and trims the ends.
std::string Collapse(std::string_view text) {
  std::string out;
  bool blank = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool nbsp = c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0';
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || nbsp) {
      blank = true;
      if (nbsp) ++i;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    // Other control characters cannot stand in a phrase.
    out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  }
  return out;
}

}  // namespace

THtmlText HtmlToPlainText(std::string_view html) {
  THtmlText result;
  std::string text;
  std::size_t i = 0;
  while (i < html.size()) {
    const char c = html[i];
    if (c == '&') {
      char32_t code = 0;
      if (const std::size_t length = ReadReference(html.substr(i), code); length > 0) {
        AppendUtf8(text, code < 0x20 ? U' ' : code);
        i += length;
        continue;
      }
    } else if (c == '<' && html.substr(i, 4) == "<!--") {
      const std::size_t end = html.find("-->", i + 4);
      i = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    } else if (c == '<' && i + 1 < html.size() && (IsAsciiLetter(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!')) {
      const std::size_t end = html.find('>', i);
      if (end != std::string_view::npos) {
        std::size_t nameStart = i + 1 + (html[i + 1] == '/' ? 1 : 0);
        std::size_t nameEnd = nameStart;
        while (nameEnd < end && (IsAsciiLetter(html[nameEnd]) || (html[nameEnd] >= '0' && html[nameEnd] <= '9'))) ++nameEnd;
        const std::string name = Lower(html.substr(nameStart, nameEnd - nameStart));
        const bool closing = html[i + 1] == '/';
        i = end + 1;
        if (!closing && (name == "script" || name == "style")) {
          const std::size_t close = Lower(html.substr(i)).find("</" + name);
          i = close == std::string::npos ? html.size() : i + close;
          continue;
        }
        if (!closing && name == "img") ++result.Images;
        for (const char* breaking : kBreakingTags)
          if (name == breaking) text += ' ';
        continue;
      }
    }
    text += c;
    ++i;
  }
  result.Text = Collapse(text);
  return result;
}

std::string PlainFieldText(std::string_view text) { return Collapse(text); }
