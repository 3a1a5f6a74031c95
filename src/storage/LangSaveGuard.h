#pragma once
#include <string>

#include "LoadLosses.h"

// Watches every language file save of the program: the window layer installs
// one that keeps backups of the files it replaces. Without one (the command
// line tools, most tests) saves go ahead as they are.
class TLangSaveGuard {
 public:
  virtual ~TLangSaveGuard() = default;
  // Called once the new content is ready, before the file is replaced.
  // losses: what the saving handler's last load of this same file dropped
  // (empty for another file). False refuses the save; the file stays as it is.
  virtual bool BeforeLangSave(const std::string& fileName, const TLoadLosses& losses) = 0;
  // Whether the file was replaced.
  virtual void AfterLangSave(const std::string& fileName, bool written) = 0;
};

// Installs the guard (not owned; nullptr for none); returns the previous one.
TLangSaveGuard* SetLangSaveGuard(TLangSaveGuard* guard);
TLangSaveGuard* LangSaveGuard();
