#include "LegacyCodePages.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cerrno>

#include "CodePage.h"

namespace {

struct TCodePageName {
  TLegacyCodePage CodePage;
  std::string_view Name;
  const char* IconvName;
};

constexpr std::array<TCodePageName, 6> kNames = {{
    {TLegacyCodePage::Windows1250, "windows-1250", "CP1250"},
    {TLegacyCodePage::Windows1251, "windows-1251", "CP1251"},
    {TLegacyCodePage::Windows1252, "windows-1252", "CP1252"},
    {TLegacyCodePage::Windows1253, "windows-1253", "CP1253"},
    {TLegacyCodePage::Windows1254, "windows-1254", "CP1254"},
    {TLegacyCodePage::Windows1257, "windows-1257", "CP1257"},
}};

const TCodePageName& Entry(TLegacyCodePage codePage) {
  for (const TCodePageName& entry : kNames)
    if (entry.CodePage == codePage) return entry;
  return kNames[2];
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (x != b[i]) return false;
  }
  return true;
}

// The UTF-8 form of each byte 0x80..0xFF; Length 0 where the code page has
// no character.
struct TByteChar {
  std::array<char, 4> Utf8{};
  uint8_t Length = 0;
};
struct TDecodeTable {
  bool Available = false;
  std::array<TByteChar, 128> High{};
};

void PutUtf8(char32_t ch, TByteChar& out) {
  if (ch < 0x800) {
    out.Utf8 = {static_cast<char>(0xC0 | (ch >> 6)), static_cast<char>(0x80 | (ch & 0x3F))};
    out.Length = 2;
  } else {
    out.Utf8 = {static_cast<char>(0xE0 | (ch >> 12)), static_cast<char>(0x80 | ((ch >> 6) & 0x3F)),
                static_cast<char>(0x80 | (ch & 0x3F))};
    out.Length = 3;
  }
}

// These code pages give each byte one character on its own, so the system's
// converter is asked once per byte and the answers kept: decoding is then a
// table look-up, and the mapping is still the system's (glibc's, which
// follows Microsoft's tables and refuses the bytes they leave undefined).
TDecodeTable BuildTable(TLegacyCodePage codePage) {
  TDecodeTable table;
  if (codePage == TLegacyCodePage::Windows1252) {
    // The program's own mapping: it also gives the undefined bytes a character.
    for (int b = 0x80; b < 0x100; ++b) PutUtf8(Cp1252ToUnicode(static_cast<unsigned char>(b)), table.High[b - 0x80]);
    table.Available = true;
    return table;
  }
  iconv_t converter = iconv_open("UTF-8", Entry(codePage).IconvName);
  if (converter == reinterpret_cast<iconv_t>(-1)) return table;
  for (int b = 0x80; b < 0x100; ++b) {
    char in = static_cast<char>(b);
    char* inPtr = &in;
    std::size_t inLeft = 1;
    std::array<char, 8> utf8{};
    char* outPtr = utf8.data();
    std::size_t outLeft = utf8.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // a fresh state for each byte
    const std::size_t done = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    const std::size_t length = utf8.size() - outLeft;
    if (done == static_cast<std::size_t>(-1) || inLeft != 0 || length < 2 || length > 3) continue;
    TByteChar& entry = table.High[b - 0x80];
    for (std::size_t i = 0; i < length; ++i) entry.Utf8[i] = utf8[i];
    entry.Length = static_cast<uint8_t>(length);
  }
  iconv_close(converter);
  table.Available = true;
  return table;
}

const TDecodeTable& Table(TLegacyCodePage codePage) {
  // Built on first use; static initialisation is thread-safe.
  static const std::array<TDecodeTable, 6> tables = [] {
    std::array<TDecodeTable, 6> built;
    for (std::size_t i = 0; i < kNames.size(); ++i) built[i] = BuildTable(kNames[i].CodePage);
    return built;
  }();
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (kNames[i].CodePage == codePage) return tables[i];
  return tables[2];
}

}  // namespace

std::optional<TLegacyCodePage> ParseLegacyCodePage(std::string_view name) {
  for (const TCodePageName& entry : kNames) {
    const std::string_view number = entry.Name.substr(entry.Name.size() - 4);
    if (EqualNoCase(name, entry.Name) || name == number ||
        (name.size() == 6 && EqualNoCase(name.substr(0, 2), "cp") && name.substr(2) == number))
      return entry.CodePage;
  }
  return std::nullopt;
}

std::string_view LegacyCodePageName(TLegacyCodePage codePage) { return Entry(codePage).Name; }

std::string LegacyCodePageNames() {
  std::string names;
  for (const TCodePageName& entry : kNames) names += (names.empty() ? "" : ", ") + std::string(entry.Name);
  return names;
}

bool LegacyCodePageAvailable(TLegacyCodePage codePage) { return Table(codePage).Available; }

bool LegacyToUtf8(std::string_view bytes, TLegacyCodePage codePage, std::string& out, std::size_t* badPos) {
  std::size_t ascii = 0;
  while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
  if (ascii == bytes.size()) {
    out.assign(bytes);
    return true;
  }
  const TDecodeTable& table = Table(codePage);
  std::string result;
  result.reserve(bytes.size() + (bytes.size() - ascii) * 2);
  result.append(bytes.substr(0, ascii));
  for (std::size_t i = ascii; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      result += static_cast<char>(byte);
      continue;
    }
    const TByteChar& ch = table.High[byte - 0x80];
    if (ch.Length == 0) {
      if (badPos) *badPos = i;
      return false;
    }
    result.append(ch.Utf8.data(), ch.Length);
  }
  out = std::move(result);
  return true;
}
