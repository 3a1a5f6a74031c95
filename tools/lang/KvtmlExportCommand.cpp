#include "KvtmlExportCommand.h"

#include <QString>
#include <QUrl>
#include <filesystem>

#include "CheckCommand.h"
#include "CommandSupport.h"
#include "storage/KvtmlExport.h"

int ExportKvtmlCommand(const TToolArgs& args, std::ostream& out) {
  const std::string& arg = args.Files[0];
  TLangFHandler handler;
  LoadLang(arg, handler);
  const std::string stored = std::filesystem::absolute(NativePath(StoredArg(arg))).native();
  // The other trainers resolve a relative sound against their own file,
  // which may lie anywhere: sounds go out as absolute file URLs.
  const auto soundReference = [&stored](const std::string& name) {
    const QString path = QString::fromStdString(ResolveSoundPath(name, stored));
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toStdString();
  };
  const std::string title = std::filesystem::path(NativePath(stored)).stem().string();
  out << ExportKvtml(handler, title, soundReference);
  return kExitOk;
}
