#pragma once
#include <memory>
#include <string>

class QLockFile;

// A lock named after a file, kept in the user's runtime folder (never beside
// the file: the program folder may be read-only). The system tells a lock of
// a process that has ended, so a crash does not leave it stuck.
class TPathLock {
 public:
  // kind: one word that tells what the lock guards ("instance", "langfile").
  // path: a stored path; the lock is named after its canonical form, so two
  // spellings of one file meet at one lock.
  TPathLock(const std::string& kind, const std::string& path);
  ~TPathLock();
  TPathLock(const TPathLock&) = delete;
  TPathLock& operator=(const TPathLock&) = delete;

  // Takes the lock; false when a running process holds it, or the runtime
  // folder cannot hold it.
  bool TryLock();
  void Unlock();
  bool IsLocked() const;
  // The full name of the lock file.
  const std::string& LockFileName() const { return lockName_; }

  // "quillmere-" + kind + "-" + a hash of the canonical path: the name of the
  // lock and of anything else that belongs to it (a request file).
  static std::string KeyFor(const std::string& kind, const std::string& path);
  // The user's runtime folder (XDG_RUNTIME_DIR), or a private folder in the
  // temporary folder where there is none.
  static std::string RuntimeFolder();

 private:
  std::string lockName_;
  std::unique_ptr<QLockFile> lock_;
};

// Whether a running process (this one included) holds that lock.
bool IsPathLocked(const std::string& kind, const std::string& path);
