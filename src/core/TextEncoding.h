#pragma once

// How a language file stores its texts. In memory every text is UTF-8; a
// Windows-1252 file is converted when read and written back in its own bytes.
enum class TTextEncoding { Cp1252, Utf8 };
