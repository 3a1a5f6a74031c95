#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <variant>

#include "IniFileHandler.h"
#include "Settings.h"

// The scalar keys of the settings file, each tied to the member of a
// settings struct that holds it: reading and writing walk the same table.
// Section and key names are read without letter case and written as spelt
// here; a key missing from the file is written at the end of its section, in
// table order.
template <class S>
struct TSettingKey {
  const char* Section;
  const char* Key;
  std::variant<bool S::*, int32_t S::*, std::string S::*> Member;
};

inline constexpr const char* kExerciseSection = "Exercise";
inline constexpr const char* kGeneralPropertySection = "GeneralProperty";

inline constexpr std::array<TSettingKey<TLangFileChoice>, 5> kLangFileChoiceKeys{{
    {kExerciseSection, "LangFileName", &TLangFileChoice::LangFileName},
    {kExerciseSection, "Lang1", &TLangFileChoice::Lang1},
    {kExerciseSection, "Lang2", &TLangFileChoice::Lang2},
    {kExerciseSection, "FirstLang", &TLangFileChoice::FirstLang},
    {kExerciseSection, "MaxWords", &TLangFileChoice::MaxWords},
}};

inline constexpr std::array<TSettingKey<TPresentSettings>, 7> kPresentSettingKeys{{
    {kGeneralPropertySection, "AutoPresent", &TPresentSettings::AutoPresent},
    {kGeneralPropertySection, "VoiceAnswer", &TPresentSettings::VoiceAnswer},
    {kGeneralPropertySection, "LetterAnswer", &TPresentSettings::LetterAnswer},
    {kGeneralPropertySection, "DelayPresent", &TPresentSettings::DelayPresent},
    {kGeneralPropertySection, "DelayAnswer", &TPresentSettings::DelayAnswer},
    {kGeneralPropertySection, "VoicePresent", &TPresentSettings::VoicePresent},
    {kGeneralPropertySection, "ShowTable", &TPresentSettings::ShowTable},
}};

// Keys no older settings file has: written only when they differ from the
// default or the file holds them already, so a file of a learner who never
// chose them stays as it was to the byte.
inline constexpr std::array<TSettingKey<TPresentSettings>, 7> kDrillSettingKeys{{
    {kGeneralPropertySection, "TypedAnswer", &TPresentSettings::TypedAnswer},
    {kGeneralPropertySection, "IgnoreCase", &TPresentSettings::IgnoreCase},
    {kGeneralPropertySection, "IgnoreAccents", &TPresentSettings::IgnoreAccents},
    {kGeneralPropertySection, "IgnorePunctuation", &TPresentSettings::IgnorePunctuation},
    {kGeneralPropertySection, "SpeakMissing", &TPresentSettings::SpeakMissing},
    {kGeneralPropertySection, "CardPace", &TPresentSettings::CardPace},
    {kGeneralPropertySection, "LetterPace", &TPresentSettings::LetterPace},
}};

namespace setting_keys_detail {
inline void ReadValue(const tIniFileHandler& ini, const char* section, const char* key, bool& value) {
  value = ini.ReadBoolStr(section, key, value);
}
inline void ReadValue(const tIniFileHandler& ini, const char* section, const char* key, int32_t& value) {
  value = ini.ReadInteger(section, key, value);
}
inline void ReadValue(const tIniFileHandler& ini, const char* section, const char* key, std::string& value) {
  value = ini.ReadString(section, key, value);
}
inline void WriteValue(tIniFileHandler& ini, const char* section, const char* key, bool value) {
  ini.WriteBoolStr(section, key, value);
}
inline void WriteValue(tIniFileHandler& ini, const char* section, const char* key, int32_t value) {
  ini.WriteInteger(section, key, value);
}
inline void WriteValue(tIniFileHandler& ini, const char* section, const char* key, const std::string& value) {
  ini.WriteString(section, key, value);
}
}  // namespace setting_keys_detail

// Each key of the table into its member; a member whose key is missing or
// does not read keeps its value, so a default-built struct gets the defaults.
template <class S, std::size_t N>
void ReadKeys(const tIniFileHandler& ini, const std::array<TSettingKey<S>, N>& keys, S& settings) {
  for (const TSettingKey<S>& key : keys)
    std::visit([&](auto member) { setting_keys_detail::ReadValue(ini, key.Section, key.Key, settings.*member); },
               key.Member);
}

// Each member of the table into its key, in table order.
template <class S, std::size_t N>
void WriteKeys(tIniFileHandler& ini, const std::array<TSettingKey<S>, N>& keys, const S& settings) {
  for (const TSettingKey<S>& key : keys)
    std::visit([&](auto member) { setting_keys_detail::WriteValue(ini, key.Section, key.Key, settings.*member); },
               key.Member);
}

// As WriteKeys, but a key is written only when its value differs from the
// default-built struct's or the file holds it already.
template <class S, std::size_t N>
void WriteKeysWhereNeeded(tIniFileHandler& ini, const std::array<TSettingKey<S>, N>& keys, const S& settings) {
  const S defaults{};
  for (const TSettingKey<S>& key : keys)
    std::visit(
        [&](auto member) {
          if (settings.*member == defaults.*member && !ini.ValueExists(key.Section, key.Key)) return;
          setting_keys_detail::WriteValue(ini, key.Section, key.Key, settings.*member);
        },
        key.Member);
}
