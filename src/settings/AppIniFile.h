#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Version.h"
#include "ExerciseList.h"
#include "Settings.h"
#include "StoredExerciseList.h"
#include "storage/DurableFile.h"

class tIniFileHandler;

// The settings in memory: one instance, owned by the main window and handed
// to every window. Nothing reaches the file before UpdateFile at closing.
// The settings proper are the plain structs it is made of; a window that
// needs only one of them takes that one.
class TAppIniFile : public TLangFileChoice, public TPresentSettings {
 public:
  // appDir: the program directory without trailing separator. owner: the
  // window that owns the missing-file warning (opaque to the core).
  // settingsDir: the folder of the settings file, when not appDir;
  // fileName: its name there (another only for reading a copy).
  TAppIniFile(const std::string& appDir, const void* owner, const std::string& settingsDir = {},
              const std::string& fileName = "Quillmere.Ini");
  ~TAppIniFile();

  TExerciseWords ExerciseWords;
  TExerciseWords DeferredWords;
  // The folder that stored names starting with "\" are relative to.
  std::string AppDir;
  // The folder of the settings file.
  std::string SettingsDir;
  std::string AppTitle = std::string(kProgramName) + " " + kProgramVersion;
  std::string Language = "EN";
  // The settings file existed and could be read at construction.
  bool IniFound = false;
  // Why an existing settings file could not be read (file and reason); empty
  // otherwise. IniFound is then false as for a missing file.
  std::string LoadError;
  std::unique_ptr<tIniFileHandler> IniHandler;
  bool ExerciseLoaded = false;
  // The length of a stored exercise list that ReadExercise refused as longer
  // than any exercise could be; 0 when it was read. The refused list stays
  // in the file until a list of this session replaces it.
  std::size_t StoredWordsRefused = 0;
  // Far beyond an exercise (500 pairs) and the pairs held back from it.
  static constexpr std::size_t kMaxStoredWords = 100000;
  bool PropertyLoaded = false;
  // The exercise lists of the language files that are not the current one.
  TFileLists FileLists;

  bool ReadExercise();
  void ReadProperties();
  void WriteProperties();
  void WriteExercise();
  void WriteLanguage();
  // LangFileName now names another file than fromFile: the lists in memory
  // are kept as fromFile's, and the kept list of the new file (its entries
  // of the chosen lessons) becomes ExerciseWords, with DeferredWords empty,
  // as after a program start. True when that gave a list with entries.
  bool SwitchExerciseList(const std::string& fromFile);
  // Parses one stored list line into ExerciseWords[index]; false for an
  // index outside the list (nothing changed) or a line that does not read.
  bool ParseExerciseWord(const std::string& line, int index);

  // Replaces the settings file atomically with what the Write operations
  // collected. False when the file could not be written (it is then intact
  // and the changes stay pending for another try); true when nothing needed
  // writing, also when there is no settings file.
  // result, when given, gets the reason of a failure.
  bool UpdateFile(TSaveResult* result = nullptr);
  // The full path of the settings file.
  std::string FileName() const;

 private:
  std::string fileName_;
  // How many per-file list sections the file held when read.
  std::size_t fileListSections_ = 0;
};
