#pragma once
#include <string>
#include <string_view>

// The locale ("de", "ru", "zh") a language name most likely means: its
// English, native or German name ("German", "Deutsch", "Russisch",
// "Русский"), letter case aside, also as the first word of a longer name
// ("English (UK)"). Empty when the name is no language known.
std::string GuessLocale(std::string_view languageName);
