#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "core/Bytes.h"
#include "LangSaveGuard.h"

// What the learner is told about backups.
struct TBackupNotice {
  enum class TKind {
    LossBackupKept,     // the file lost parts when read; its old bytes are in BackupPath
    LossBackupFailed,   // that backup could not be written: the file was not saved
    DailyBackupFailed,  // the day's backup could not be written; the save went on
  };
  TKind Kind = TKind::LossBackupKept;
  std::string FileName;    // the language file, full path
  std::string BackupPath;  // full path of the backup (or of the one that failed)
  TLoadLosses Losses;      // for LossBackup*: what the load dropped
};

// Keeps backups of the language files the program replaces:
// - before the first save of a file whose load dropped parts, its previous
//   bytes beside it as NAME.bak (NAME.2.bak, ... when that is taken); a save
//   whose backup cannot be written is refused, so nothing is lost;
// - before the first save of a day, the previous version as
//   ROOT/BASE-XXXXXXXX/BASE-YYYY-MM-DD.lang (XXXXXXXX tells apart files of
//   the same name in different folders), the newest kDailyKept per file.
// The day comes from the clock function handed in; nothing here reads a clock.
class TLangFileBackups : public TLangSaveGuard {
 public:
  using TToday = std::function<std::chrono::year_month_day()>;
  using TNotify = std::function<void(const TBackupNotice&)>;
  static constexpr int kDailyKept = 7;
  static constexpr int kMaxLossBackups = 99;

  // backupRoot: the folder for the daily backups (stored path, created when needed).
  TLangFileBackups(std::string backupRoot, TToday today, TNotify notify);

  bool BeforeLangSave(const std::string& fileName, const TLoadLosses& losses) override;
  void AfterLangSave(const std::string& fileName, bool written) override;

  // The n-th name tried for a loss backup (1: NAME.bak, n: NAME.n.bak).
  static std::string LossBackupName(const std::string& fileName, int n);
  // The folder of a file's daily backups and the name of one day's backup.
  std::string DailyFolder(const std::string& fileName) const;
  static std::string DailyName(const std::string& fileName, std::chrono::year_month_day day);

 private:
  // The file as it is now; false when it cannot be read (then nothing is kept).
  bool ReadOld(const std::string& fileName, TBytes& old, bool& read);
  // Writes a loss backup at the first free name; false when none could be written.
  bool KeepLossBackup(const std::string& fileName, const TBytes& old, std::string& path);
  bool KeepDailyBackup(const TBytes& old, const std::string& folder, const std::string& path);
  // Removes all but the newest kDailyKept daily backups of the file.
  void PruneDaily(const std::string& fileName, const std::string& folder);

  std::string root_;
  TToday today_;
  TNotify notify_;
  // Files whose loss backup is written but whose save has not yet succeeded:
  // a retry keeps no second copy of the same bytes.
  std::map<std::string, std::string> lossKept_;
  // (file, day) whose failed daily backup the learner was told about.
  std::set<std::pair<std::string, int64_t>> dailyFailTold_;
};
