#pragma once
#include <optional>
#include <string_view>

#include "core/TextEncoding.h"

// How the tool names a language file's encoding to the user: "UTF-8" or
// "Windows-1252".
const char* EncodingName(TTextEncoding encoding);

// The encoding a user named on the command line: utf-8 or windows-1252, in
// any case; nothing for any other name.
std::optional<TTextEncoding> ParseEncodingName(std::string_view name);
