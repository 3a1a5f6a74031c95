#include "ShotFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool CopyTree(const QString& from, const QString& to) {
  QDir source(from);
  QDir().mkpath(to);
  for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QString target = to + '/' + entry.fileName();
    if (entry.isDir()) {
      if (!CopyTree(entry.filePath(), target)) return false;
    } else if (!entry.isExecutable() && !QFile::copy(entry.filePath(), target)) {
      return false;
    }
  }
  return true;
}
