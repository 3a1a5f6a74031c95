#include <gtest/gtest.h>

#include "session/LocaleGuess.h"

TEST(LocaleGuess, NamesInEnglishNativeAndGerman) {
  const struct {
    const char* name;
    const char* locale;
  } cases[] = {
      {"German", "de"},     {"Deutsch", "de"},    {"deutsch", "de"},   {"English", "en"},  {"Englisch", "en"},
      {"English (UK)", "en"}, {"Français", "fr"}, {"Französisch", "fr"}, {"Русский", "ru"}, {"Russisch", "ru"},
      {"Polski", "pl"},     {"Ελληνικά", "el"},   {"Türkçe", "tr"},    {"中文", "zh"},     {"日本語", "ja"},
      {"한국어", "ko"},       {"العربية", "ar"},    {"עברית", "he"},     {"हिन्दी", "hi"},     {"Čeština", "cs"},
      {" Spanish ", "es"},  {"Klingonisch", ""},  {"", ""},            {"Eng", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GuessLocale(c.name), c.locale);
  }
}
