#include "ProgramDir.h"

#include <QCoreApplication>

#include "core/CodePage.h"

bool ProgramDir(std::string& dir) {
  QString path = QCoreApplication::applicationDirPath();
  while (path.size() > 1 && path.endsWith('/')) path.chop(1);
  return QStringToCp1252(path, dir);
}
