#pragma once
#include <string_view>

#include "core/TextEncoding.h"

// The first line of a UTF-8 language file, before "[General]". Readers that
// do not know it skip it with every other line before "[General]"; a file
// without it is Windows-1252.
constexpr std::string_view kUtf8EncodingLine = "Encoding=UTF-8";
