#include "TableFileDialogs.h"

#include <QDir>
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
  TBytes bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const TFileIoError& e) {
    Warn(request, UiText(texts, txTableUnreadable) + '\n' + DisplayPath(path) + '\n' + Utf8ToQString(e.what()));
    return std::nullopt;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  TTableImport table = ImportTable(text, FormatOf(chosen), target, missingLesson);
  if (!table.Ok()) {
    // Nothing is taken: every wrong row is listed, as the tool lists them.
    QStringList errors;
    for (const TTableError& error : table.Errors) errors << TableErrorText(texts, error);
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
  if (!ExportTable(lessons, FormatOf(chosen), table, problem)) {
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
