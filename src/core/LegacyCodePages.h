#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The 8-bit Windows code pages older language files may be written in: a
// Polish system wrote 1250, a Russian one 1251, and so on.
enum class TLegacyCodePage { Windows1250, Windows1251, Windows1252, Windows1253, Windows1254, Windows1257 };

// "windows-1250", "cp1250" or "1250", in any case; nothing for another name.
std::optional<TLegacyCodePage> ParseLegacyCodePage(std::string_view name);
// The code page's name as "windows-1250".
std::string_view LegacyCodePageName(TLegacyCodePage codePage);
// The names ParseLegacyCodePage takes, for a message: "windows-1250, ...".
std::string LegacyCodePageNames();

// Whether the system can decode the code page (its iconv converter loads).
// Windows-1252 always can.
bool LegacyCodePageAvailable(TLegacyCodePage codePage);

// Decodes bytes of the code page into UTF-8, or returns false, with out
// unchanged and badPos at the first byte the code page leaves undefined (or
// at the first non-ASCII byte when the code page is not available). In
// Windows-1252 every byte has a character: the five it leaves undefined
// become the control characters of the same number, as the program reads them.
bool LegacyToUtf8(std::string_view bytes, TLegacyCodePage codePage, std::string& out, std::size_t* badPos = nullptr);
