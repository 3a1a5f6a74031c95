#include "CodePage.h"

#include <array>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// 0x80..0x9F; the undefined bytes keep their own number.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::array<unsigned char, 256> BuildUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) {
    table[b] = static_cast<unsigned char>(b);
    const QChar upper = QChar(Cp1252ToUnicode(static_cast<unsigned char>(b))).toUpper();
    const int mapped = UnicodeToCp1252(upper.unicode());
    if (mapped >= 0) table[b] = static_cast<unsigned char>(mapped);
  }
  return table;
}
}  // namespace

char16_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

int UnicodeToCp1252(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<int>(ch);
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == ch) return static_cast<int>(0x80 + i);
  return -1;
}

QString Cp1252ToQString(std::string_view text) {
  QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* out = result.data();
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = QChar(Cp1252ToUnicode(static_cast<unsigned char>(text[i])));
  return result;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    const char32_t ch = Cp1252ToUnicode(static_cast<unsigned char>(c));
    if (ch < 0x80) {
      out += static_cast<char>(ch);
    } else if (ch < 0x800) {
      out += static_cast<char>(0xC0 | (ch >> 6));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (ch >> 12));
      out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    }
  }
  return out;
}

bool QStringToCp1252(const QString& text, std::string& out, QChar* badChar, int* badPos) {
  std::string result;
  result.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int byte = UnicodeToCp1252(text[i].unicode());
    if (byte < 0) {
      if (badChar) *badChar = text[i];
      if (badPos) *badPos = static_cast<int>(i);
      return false;
    }
    result += static_cast<char>(byte);
  }
  out = std::move(result);
  return true;
}

bool Utf8ToCp1252(std::string_view utf8, std::string& out, char32_t* badChar, std::size_t* badPos) {
  // Into out's own buffer, which a writer keeps from line to line; on
  // failure out holds a part of the text.
  std::string& result = out;
  result.clear();
  result.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    // Runs of ASCII are copied as they are.
    const std::size_t run = i;
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
    result.append(utf8.data() + run, i - run);
    if (i == utf8.size()) break;
    const std::size_t at = i;
    const auto lead = static_cast<unsigned char>(utf8[i]);
    char32_t ch = 0;
    int extra = 0;
    if (lead < 0x80) {
      ch = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      ch = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      ch = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      ch = lead & 0x07;
      extra = 3;
    } else {
      ch = 0xFFFD;  // not UTF-8: refused below
    }
    ++i;
    for (int k = 0; k < extra; ++k, ++i) {
      if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
        ch = 0xFFFD;
        break;
      }
      ch = (ch << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    // An overlong form would smuggle in a character (C0 80 is NUL) that the
    // plain form makes visible; refuse it like any other invalid UTF-8.
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (ch != 0xFFFD && ch < kLeast[extra]) ch = 0xFFFD;
    const int byte = ch == 0xFFFD ? -1 : UnicodeToCp1252(ch);
    if (byte < 0) {
      if (badChar) *badChar = ch;
      if (badPos) *badPos = at;
      return false;
    }
    result += static_cast<char>(byte);
  }
  return true;
}

unsigned char UpperCase1252(unsigned char byte) {
  static const std::array<unsigned char, 256> table = BuildUpperTable();
  return table[byte];
}

QString Utf8ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string QStringToUtf8(const QString& text) { return text.toStdString(); }

bool IsAscii(std::string_view text) {
  // Eight bytes at a time: a language file is mostly ASCII, and its load
  // checks every line.
  const char* p = text.data();
  std::size_t n = text.size();
  uint64_t high = 0;
  for (; n >= 8; n -= 8, p += 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    high |= word;
  }
  for (; n > 0; --n, ++p) high |= static_cast<unsigned char>(*p);
  return (high & 0x8080808080808080ULL) == 0;
}

bool IsValidUtf8(std::string_view text) {
  if (IsAscii(text)) return true;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t ch = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      ch = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      ch = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      ch = lead & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((b & 0xC0) != 0x80) return false;
      ch = (ch << 6) | (b & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (ch < kLeast[extra] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

std::string Utf8Left(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t seen = 0; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;
    if (seen++ == count) break;
  }
  return std::string(text.substr(0, at));
}

namespace {
// The UTF-8 form of every byte from 0x80: its length and up to three bytes.
struct TUtf8Of {
  unsigned char size;
  char bytes[3];
};

constexpr std::array<TUtf8Of, 128> BuildUtf8Table() {
  std::array<TUtf8Of, 128> table{};
  for (int b = 0x80; b < 0x100; ++b) {
    const char32_t ch = b < 0xA0 ? kHigh[static_cast<std::size_t>(b - 0x80)] : static_cast<char32_t>(b);
    TUtf8Of& entry = table[static_cast<std::size_t>(b - 0x80)];
    if (ch < 0x800) {
      entry = {2, {static_cast<char>(0xC0 | (ch >> 6)), static_cast<char>(0x80 | (ch & 0x3F)), 0}};
    } else {
      entry = {3, {static_cast<char>(0xE0 | (ch >> 12)), static_cast<char>(0x80 | ((ch >> 6) & 0x3F)),
                   static_cast<char>(0x80 | (ch & 0x3F))}};
    }
  }
  return table;
}

constexpr std::array<TUtf8Of, 128> kUtf8Of = BuildUtf8Table();

}  // namespace

char* Cp1252ToUtf8Into(std::string_view text, char* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
#if defined(__SSE2__)
  // Sixteen bytes at a time: stored as they are (out has room for three
  // bytes an input byte), then kept up to the first one that is not ASCII.
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
    if (high == 0) {
      p += 16;
      out += 16;
      continue;
    }
    const auto ascii = static_cast<unsigned>(__builtin_ctz(high));
    p += ascii;
    out += ascii;
    const TUtf8Of& entry = kUtf8Of[*p++ - 0x80];
    out[0] = entry.bytes[0];
    out[1] = entry.bytes[1];
    out[2] = entry.bytes[2];
    out += entry.size;
  }
#endif
  for (; p < end; ++p) {
    if (*p < 0x80) {
      *out++ = static_cast<char>(*p);
    } else {
      const TUtf8Of& entry = kUtf8Of[*p - 0x80];
      out[0] = entry.bytes[0];
      out[1] = entry.bytes[1];
      out[2] = entry.bytes[2];
      out += entry.size;
    }
  }
  return out;
}

char* Utf8ToCp1252Into(std::string_view utf8, char* w, bool& encodable) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  encodable = true;
  while (p < end) {
#if defined(__SSE2__)
    if (end - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(w), v);
      const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
      const unsigned ascii = high == 0 ? 16u : static_cast<unsigned>(__builtin_ctz(high));
      p += ascii;
      w += ascii;
      if (high == 0) continue;
    }
#endif
    if (*p < 0x80) {
      *w++ = static_cast<char>(*p++);
      continue;
    }
    // Latin-1 letters (C2/C3 and one continuation byte) are most of them.
    if ((*p == 0xC2 || *p == 0xC3) && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
      const char32_t ch = ((*p & 0x1Fu) << 6) | (p[1] & 0x3Fu);
      const int byte = UnicodeToCp1252(ch);
      if (byte < 0) {
        encodable = false;
        break;
      }
      *w++ = static_cast<char>(byte);
      p += 2;
      continue;
    }
    // Anything else: one character the slow way.
    const auto* next = p + 1;
    while (next < end && (*next & 0xC0) == 0x80) ++next;
    std::string one;
    if (!Utf8ToCp1252(std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(next - p)), one)) {
      encodable = false;
      break;
    }
    std::memcpy(w, one.data(), one.size());
    w += one.size();
    p = next;
  }
  return w;
}
