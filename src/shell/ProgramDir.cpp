#include "ProgramDir.h"

#include <QCoreApplication>
#include <QFile>


std::string ProgramDir() {
  QString path = QCoreApplication::applicationDirPath();
  while (path.size() > 1 && path.endsWith('/')) path.chop(1);
  // The bytes the file system knows it by, whatever characters they hold.
  return QFile::encodeName(path).toStdString();
}
