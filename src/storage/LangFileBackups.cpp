#include "LangFileBackups.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/Errors.h"
#include "FileUtil.h"

namespace fs = std::filesystem;

namespace {
// The full path of a stored name, as a stored name; the name itself when it
// cannot be formed.
std::string FullPath(const std::string& path) {
  std::error_code error;
  const fs::path full = fs::absolute(NativePath(path), error);
  std::string stored;
  if (error || !StoredPath(full.lexically_normal(), stored)) return path;
  return stored;
}

// FNV-1a: a short, stable tag of the file's full path.
std::string PathTag(const std::string& fullPath) {
  uint32_t hash = 2166136261u;
  for (const char c : fullPath) {
    hash ^= static_cast<uint8_t>(c);
    hash *= 16777619u;
  }
  char text[9];
  std::snprintf(text, sizeof text, "%08x", hash);
  return text;
}

std::string DayText(std::chrono::year_month_day day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()), static_cast<unsigned>(day.month()),
                static_cast<unsigned>(day.day()));
  return text;
}

int64_t DaySerial(std::chrono::year_month_day day) {
  return std::chrono::sys_days(day).time_since_epoch().count();
}

// Whether name is BASE-YYYY-MM-DD.lang for this base.
bool IsDailyName(const std::string& name, const std::string& base) {
  static constexpr std::string_view kPattern = "-0000-00-00.lang";
  if (name.size() != base.size() + kPattern.size() || name.compare(0, base.size(), base) != 0) return false;
  for (std::size_t i = 0; i < kPattern.size(); ++i) {
    const char c = name[base.size() + i];
    if (kPattern[i] == '0' ? (c < '0' || c > '9') : c != kPattern[i]) return false;
  }
  return true;
}
}  // namespace

TLangFileBackups::TLangFileBackups(std::string backupRoot, TToday today, TNotify notify)
    : root_(std::move(backupRoot)), today_(std::move(today)), notify_(std::move(notify)) {}

std::string TLangFileBackups::LossBackupName(const std::string& fileName, int n) {
  return n <= 1 ? fileName + ".bak" : fileName + "." + std::to_string(n) + ".bak";
}

std::string TLangFileBackups::DailyFolder(const std::string& fileName) const {
  return root_ + "/" + GetBasePart(fileName) + "-" + PathTag(FullPath(fileName));
}

std::string TLangFileBackups::DailyName(const std::string& fileName, std::chrono::year_month_day day) {
  return GetBasePart(fileName) + "-" + DayText(day) + ".lang";
}

bool TLangFileBackups::ReadOld(const std::string& fileName, TBytes& old, bool& read) {
  if (read) return true;
  try {
    old = ReadFileBytes(fileName);
  } catch (const TFileIoError&) {
    return false;
  }
  read = true;
  return true;
}

bool TLangFileBackups::BeforeLangSave(const std::string& fileName, const TLoadLosses& losses) {
  TBytes old;
  bool read = false;

  // The day's backup first: it never stops the save.
  const std::chrono::year_month_day day = today_();
  const std::string folder = DailyFolder(fileName);
  const std::string dailyPath = folder + "/" + DailyName(fileName, day);
  if (!FileExistsWarn(dailyPath) && FileExistsWarn(fileName)) {
    const bool kept = ReadOld(fileName, old, read) && KeepDailyBackup(old, folder, dailyPath);
    if (kept) {
      PruneDaily(fileName, folder);
    } else if (dailyFailTold_.insert({fileName, DaySerial(day)}).second && notify_) {
      notify_({TBackupNotice::TKind::DailyBackupFailed, FullPath(fileName), FullPath(dailyPath), {}});
    }
  }

  if (!losses.Any() || lossKept_.count(fileName) != 0) return true;
  if (!ReadOld(fileName, old, read)) {
    if (notify_) notify_({TBackupNotice::TKind::LossBackupFailed, FullPath(fileName), FullPath(LossBackupName(fileName, 1)), losses});
    return false;
  }
  if (old.empty()) return true;  // the file is gone: nothing of it to keep
  std::string path;
  if (!KeepLossBackup(fileName, old, path)) {
    if (notify_) notify_({TBackupNotice::TKind::LossBackupFailed, FullPath(fileName), FullPath(path), losses});
    return false;
  }
  lossKept_[fileName] = path;
  if (notify_) notify_({TBackupNotice::TKind::LossBackupKept, FullPath(fileName), FullPath(path), losses});
  return true;
}

void TLangFileBackups::AfterLangSave(const std::string& fileName, bool written) {
  if (written) lossKept_.erase(fileName);
}

bool TLangFileBackups::KeepLossBackup(const std::string& fileName, const TBytes& old, std::string& path) {
  // An older backup is never replaced: the next free name is taken.
  for (int n = 1; n <= kMaxLossBackups; ++n) {
    path = LossBackupName(fileName, n);
    if (FileExistsWarn(path)) continue;
    if (WriteFileBytes(path, old, false)) return true;
    if (!FileExistsWarn(path)) return false;  // a failed write, not a name taken meanwhile
  }
  path = LossBackupName(fileName, 1);
  return false;
}

bool TLangFileBackups::KeepDailyBackup(const TBytes& old, const std::string& folder, const std::string& path) {
  if (old.empty()) return true;  // nothing to keep
  std::error_code error;
  fs::create_directories(NativePath(folder), error);
  if (error) return false;
  return WriteFileBytes(path, old, false) || FileExistsWarn(path);
}

void TLangFileBackups::PruneDaily(const std::string& fileName, const std::string& folder) {
  const std::string base = GetBasePart(fileName);
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(NativePath(folder), error), end; !error && it != end; it.increment(error)) {
    std::string name;
    if (StoredPath(it->path().filename(), name) && IsDailyName(name, base)) names.push_back(name);
  }
  if (static_cast<int>(names.size()) <= kDailyKept) return;
  // The date in the name sorts them: oldest first.
  std::sort(names.begin(), names.end());
  for (std::size_t i = 0; i + kDailyKept < names.size(); ++i) DeleteFileAt(folder + "/" + names[i]);
}
