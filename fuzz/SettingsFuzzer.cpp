// The settings file on arbitrary bytes: the INI layer, then reading and
// writing back the exercise and the general settings.
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "settings/AppIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  const std::string appDir = dir.path().toStdString();
  {
    std::ofstream out(appDir + "/Quillmere.Ini", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TAppIniFile ini(appDir, nullptr);
  if (!ini.IniFound) return 0;
  ini.ReadExercise();
  ini.ReadProperties();
  for (int32_t lesson : ini.AvailableUnits) (void)ini.IsAvailableUnit(lesson);
  ini.WriteProperties();
  ini.WriteExercise();
  ini.WriteLanguage();
  return 0;
}
