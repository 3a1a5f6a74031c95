#include "TableFileDialogs.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QFileInfo>
#include <QStringList>
#include <QWidget>

#include "TableErrorList.h"
#include "TableErrorText.h"
#include "core/CodePage.h"
#include "core/Errors.h"
#include "settings/TextNumbers.h"
#include "storage/DurableFile.h"
#include "storage/FileUtil.h"
#include "storage/ImportedSound.h"
#include "storage/KvtmlExport.h"
#include "storage/KvtmlImport.h"
#include "storage/TableExport.h"
#include "widgets/FieldCheck.h"
#include "widgets/FileChooser.h"
#include "widgets/GeneralUtil.h"
#include "widgets/ModalRunner.h"
#include "widgets/SaveFailureText.h"
#include "widgets/UiText.h"

namespace {

TTableFormat FormatOf(const QString& path) {
  return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? TTableFormat::Csv : TTableFormat::Tsv;
}

bool IsKvtml(const QString& path) { return path.endsWith(QStringLiteral(".kvtml"), Qt::CaseInsensitive); }

// A KDE word list read into lessons; its reasons stay the reader's own.
TTableImport ReadKvtml(const std::string& path, const TTableRequest& request, TTextEncoding target,
                       QStringList& errors) {
  TKvtmlOptions options;
  options.Target = target;
  // A sound the list names is kept when it exists, named as the program
  // names sounds (below its folder relative to it).
  options.KeepSound = [&path, &request](const std::string& reference) {
    const std::string found = FindReferencedSound(reference, path);
    return found.empty() ? found : AppRelativeName(request.appDir, found);
  };
  const TImportedLessons lessons = ImportKvtmlFile(path, options);
  TTableImport table;
  for (const std::string& error : lessons.Errors) errors << Utf8ToQString(error);
  if (!lessons.Ok()) return table;
  table.Lessons = lessons.Lessons;
  table.PairCount = lessons.PairCount;
  table.NotKept = lessons.NotKept.Summary();
  return table;
}

TFileRequest FileRequest(const TTableRequest& request) {
  TFileRequest file;
  file.owner = request.owner;
  file.title = UiText(*request.texts, request.title);
  file.filter = UiText(*request.texts, txTableFilter);
  file.directory = request.directory;
  return file;
}

void Warn(const TTableRequest& request, const QString& text) {
  ShowMessageBox(request.owner, request.owner->windowTitle(), text, QMessageBox::Warning, QMessageBox::Ok, true);
}

}  // namespace

TTableRequest TableRequestFor(QWidget* owner, const TAppLangHandler& texts, int title, const std::string& langFile,
                              const std::string& appDir) {
  TTableRequest request;
  request.owner = owner;
  request.texts = &texts;
  request.title = title;
  request.appDir = appDir;
  request.directory =
      DisplayPath(langFile.empty() ? appDir + "/LangFiles" : QFileInfo(Utf8ToQString(langFile)).path().toStdString());
  return request;
}

std::optional<TTableImport> ImportTableFile(const TTableRequest& request, TTextEncoding target,
                                            int32_t missingLesson) {
  const TAppLangHandler& texts = *request.texts;
  const QString chosen = ChooseFile(FileRequest(request));
  if (chosen.isEmpty()) return std::nullopt;
  const std::string path = StoredFileName(QDir::fromNativeSeparators(chosen));
  TTableImport table;
  QStringList errors;
  try {
    if (IsKvtml(chosen)) {
      table = ReadKvtml(path, request, target, errors);
    } else {
      const TBytes bytes = ReadFileBytes(path);
      const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      table = ImportTable(text, FormatOf(chosen), target, missingLesson);
      for (const TTableError& error : table.Errors) errors << TableErrorText(texts, error);
    }
  } catch (const TFileIoError& e) {
    Warn(request, UiText(texts, txTableUnreadable) + '\n' + DisplayPath(path) + '\n' + Utf8ToQString(e.what()));
    return std::nullopt;
  }
  if (!errors.isEmpty()) {
    // Nothing is taken: every wrong row is listed, as the tool lists them.
    TTableErrorList list(request.owner, UiText(texts, request.title),
                         UiText(texts, txTableNotImported) + '\n' + DisplayPath(path), UiText(texts, txTableErrors),
                         errors);
    RunModal(list);
    return std::nullopt;
  }
  return table;
}

bool ExportTableFile(const TTableRequest& request, const QString& fileName, const TLangFHandler& lessons) {
  const TAppLangHandler& texts = *request.texts;
  TFileRequest file = FileRequest(request);
  file.defaultSuffix = QStringLiteral("csv");
  file.fileName = fileName;
  file.save = true;
  const QString chosen = ChooseFile(file);
  if (chosen.isEmpty()) return false;
  const std::string path = StoredFileName(QDir::fromNativeSeparators(chosen));
  std::string table;
  TTableProblem problem;
  QString reason;
  bool made = true;
  if (IsKvtml(chosen)) {
    // The other trainers resolve a relative sound against their own file,
    // which may lie anywhere: sounds go out as absolute file URLs.
    const auto soundReference = [&request](const std::string& name) {
      const QString sound = QFileInfo(QFile::decodeName(AppDirFileName(request.appDir, name).c_str())).absoluteFilePath();
      return QUrl::fromLocalFile(sound).toString(QUrl::FullyEncoded).toStdString();
    };
    table = ExportKvtml(lessons, QFileInfo(chosen).completeBaseName().toStdString(), soundReference);
  } else {
    made = ExportTable(lessons, FormatOf(chosen), table, problem);
  }
  if (!made) {
    reason = UiText(texts, txReason) + ' ' + TableProblemText(texts, problem);
  } else {
    const TSaveResult result =
        SaveFileDurably(NativePath(path), reinterpret_cast<const uint8_t*>(table.data()), table.size(), true);
    if (result.Ok()) return true;
    reason = SaveFailureReason(texts, result);
  }
  Warn(request, UiText(texts, txTableNotWritten) + '\n' + DisplayPath(path) + '\n' + reason);
  return false;
}
