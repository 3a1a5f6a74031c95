#include "AppFolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/CodePage.h"

namespace {
constexpr const char* kSubFolder = "/quillmere";

QString Native(const std::string& stored) { return QFile::decodeName(stored.c_str()); }

std::string Store(const QString& path) {
  QString clean = QDir::cleanPath(path);
  while (clean.size() > 1 && clean.endsWith('/')) clean.chop(1);
  return QFile::encodeName(clean).toStdString();
}

// Copies every file below from that to does not have yet, keeping the subfolders.
void CopyMissing(const QString& from, const QString& to) {
  QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = to + source.mid(from.size());
    if (QFileInfo::exists(target)) continue;
    QDir().mkpath(QFileInfo(target).path());
    // Copies keep the source's read-only mode; the learner's copy is theirs to change.
    if (QFile::copy(source, target))
      QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
  }
}
}  // namespace

TAppFolders PortableFolders(const std::string& programDir) {
  return TAppFolders{programDir, programDir, programDir, false};
}

TAppFolders FindAppFolders(const std::string& exeDir) {
  const QString exe = Native(exeDir);
  if (QFileInfo::exists(exe + "/Text.Db")) return PortableFolders(exeDir);
  return TAppFolders{Store(exe + "/../share" + kSubFolder),
                     Store(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + kSubFolder),
                     Store(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + kSubFolder), true};
}

bool PrepareLearnerFolders(const TAppFolders& folders, QString& why) {
  if (!folders.Installed) return true;
  const QString settings = Native(folders.Settings);
  const QString data = Native(folders.Data);
  const QString program = Native(folders.Program);
  const QString iniFile = settings + "/Quillmere.Ini";
  if (!QFileInfo::exists(iniFile)) {
    // The demo lessons first: the first settings file names them.
    CopyMissing(program + "/LangFiles", data + "/LangFiles");
    if (!QDir().mkpath(settings)) {
      why = settings;
      return false;
    }
    if (!QFile::copy(program + "/Quillmere.Ini", iniFile)) {
      // Without the first settings the program still starts, on no file.
      QFile empty(iniFile);
      if (!empty.open(QIODevice::WriteOnly)) {
        why = iniFile;
        return false;
      }
    }
    QFile::setPermissions(iniFile, QFile::permissions(iniFile) | QFile::WriteOwner | QFile::ReadOwner);
  }
  QDir().mkpath(data + "/LangFiles");
  return true;
}
