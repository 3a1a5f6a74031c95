#include "StatsCommand.h"

#include <ctime>
#include <filesystem>
#include <iomanip>

#include "CommandSupport.h"
#include "LangHelp.h"
#include "ToolFailure.h"
#include "session/PractiseStats.h"
#include "settings/AppFolders.h"
#include "settings/AppIniFile.h"

namespace {
// The learner's folders, found as the program finds them from beside this tool.
TAppFolders LearnerFolders() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return FindAppFolders(ec ? std::string(".") : exe.parent_path().native());
}

// The exercise list the settings keep for the file (its priorities); empty
// when there is none. A settings file named on the command line must be
// readable; the learner's own may be missing.
TExerciseWords KeptList(const TToolArgs& args, const TAppFolders& folders, const std::string& key) {
  const auto given = args.Values.find("--settings");
  const std::string settingsFile =
      given != args.Values.end() ? StoredArg(given->second) : folders.Settings + "/Quillmere.Ini";
  if (!FileExistsWarn(settingsFile)) {
    if (given != args.Values.end()) Fail(kExitFileError, given->second + ": no such file");
    return {};
  }
  const std::filesystem::path path = NativePath(settingsFile);
  // Names in the settings are relative to the learner's data folder when
  // these are the learner's settings, else to the settings' own folder
  // (a copied folder holds both).
  const std::string folder = path.parent_path().native();
  TAppIniFile ini(folder == folders.Settings ? folders.Data : folder, nullptr, folder, path.filename().native());
  if (!ini.IniFound) {
    if (given != args.Values.end()) Fail(kExitFileError, given->second + ": " + ini.LoadError);
    return {};
  }
  ini.ReadExercise();
  return KeptExerciseList(ini, key);
}

void WriteLessonRow(const TLessonFigures& f, std::ostream& out) {
  if (f.Lesson < 0)
    out << std::setw(6) << "Total";
  else
    out << std::setw(6) << f.Lesson;
  out << std::setw(7) << f.Pairs << std::setw(8) << f.InUse << std::setw(11) << f.HeldBackTotal();
  for (std::size_t p = 1; p <= 8; ++p) out << std::setw(4) << f.HeldBack[p];
  out << std::setw(9) << f.Retired << "\n";
}
}  // namespace

void WriteStatsTables(const TPractiseStats& stats, std::ostream& out) {
  out << "Lesson  Pairs  In use  Held back   1   2   3   4   5   6   7   8  Retired\n";
  for (const TLessonFigures& f : stats.Lessons) WriteLessonRow(f, out);
  WriteLessonRow(stats.Total, out);
  out << "(Held back: pairs in use that wait for 1 to 8 more exercises; retired: pairs not in use.)\n";

  out << "\nPairs practised per day, last " << stats.LastDays.size() << " days:\n";
  long sum = 0;
  for (const auto& [date, pairs] : stats.LastDays) {
    out << date << std::setw(7) << pairs << "\n";
    sum += pairs;
  }
  out << "Together   " << std::setw(7) << sum << "\n";

  out << "\nTyped answers: ";
  const int percent = stats.SuccessPercent();
  if (percent < 0)
    out << "none.\n";
  else
    out << stats.Right << " right, " << stats.Wrong << " wrong (" << percent << "% right).\n";
  if (stats.SkippedLines > 0)
    out << "History: " << stats.SkippedLines << (stats.SkippedLines == 1 ? " line" : " lines")
        << " could not be read and " << (stats.SkippedLines == 1 ? "was" : "were") << " skipped.\n";
}

int StatsCommand(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 1, kStatsHelp);
  const std::string& fileArg = args.Files[0];
  TLangFHandler handler;
  LoadLang(fileArg, handler);
  const std::string key = HistoryFileKey(StoredArg(fileArg));
  const TAppFolders folders = LearnerFolders();

  const auto history = args.Values.find("--history");
  const std::string historyFile =
      history != args.Values.end() ? StoredArg(history->second) : folders.Data + "/" + kHistoryFileName;
  const THistorySummary summary = ReadHistory(NativePath(historyFile), key);
  if (!summary.Error.empty()) Fail(kExitFileError, summary.Error);

  // The priorities live in the exercise list the settings keep for the file.
  const TExerciseWords list = KeptList(args, folders, key);
  WriteStatsTables(CollectPractiseStats(handler, list, summary, std::time(nullptr)), out);
  if (list.empty()) out << "The settings keep no exercise list for this file: nothing is held back.\n";
  return kExitOk;
}
