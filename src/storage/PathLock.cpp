#include "PathLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "FileUtil.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {
std::string CanonicalPath(const std::string& path) {
  const std::filesystem::path native = NativePath(path);
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(native, error), error);
  if (error) canonical = std::filesystem::absolute(native, error).lexically_normal();
  return canonical.string();
}
}  // namespace

std::string TPathLock::KeyFor(const std::string& kind, const std::string& path) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(CanonicalPath(path)), QCryptographicHash::Sha1).toHex();
  return "quillmere-" + kind + "-" + hash.left(24).toStdString();
}

std::string TPathLock::RuntimeFolder() {
  // Qt finds (and checks) XDG_RUNTIME_DIR; without it Qt would make a folder
  // of its own with a warning on every program run. A private folder in the
  // temporary folder does the same quietly.
  if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty()) return QDir(folder).absolutePath().toStdString();
  }
#ifndef _WIN32
  const QString folder = QDir::tempPath() + QStringLiteral("/quillmere-runtime-") + QString::number(getuid());
  QDir().mkdir(folder);
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  // The temporary folder is shared: a folder of that name that someone else
  // made (or a link) is not ours to trust.
  const QFileInfo info(folder);
  if (info.isDir() && !info.isSymLink() && info.ownerId() == getuid()) return folder.toStdString();
#endif
  return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).absolutePath().toStdString();
}

TPathLock::TPathLock(const std::string& kind, const std::string& path)
    : lockName_(RuntimeFolder() + "/" + KeyFor(kind, path) + ".lock"),
      lock_(std::make_unique<QLockFile>(QString::fromStdString(lockName_))) {
  // Stale only when its process has ended, never by age: a learner may keep
  // the program open for days.
  lock_->setStaleLockTime(0);
}

TPathLock::~TPathLock() = default;

bool TPathLock::TryLock() { return lock_->isLocked() || lock_->tryLock(0); }

void TPathLock::Unlock() { lock_->unlock(); }

bool TPathLock::IsLocked() const { return lock_->isLocked(); }

bool IsPathLocked(const std::string& kind, const std::string& path) {
  TPathLock probe(kind, path);
  if (!probe.TryLock()) return QFileInfo::exists(QString::fromStdString(probe.LockFileName()));
  probe.Unlock();
  return false;
}
