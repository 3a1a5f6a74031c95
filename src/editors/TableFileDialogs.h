#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "core/TextEncoding.h"
#include "storage/TableImport.h"

class QWidget;
class TAppLangHandler;
class TLangFHandler;

// What both editors ask of a table: which file, through the file dialog, by
// the rules of quillmere-lang; a table named *.csv is comma-separated, a
// file named *.kvtml a word list of KDE's trainers (KWordQuiz, Parley), any
// other tab-separated, as spreadsheets save them.
struct TTableRequest {
  QWidget* owner = nullptr;
  const TAppLangHandler* texts = nullptr;
  int title = 0;      // the text naming what is done: the dialog's title
  QString directory;  // the folder the dialog starts in
  std::string appDir;  // the folder names starting with "\" are relative to
};

// A request whose dialog starts beside the language file, or in the program's
// LangFiles folder while the file has not been written.
TTableRequest TableRequestFor(QWidget* owner, const TAppLangHandler& texts, int title, const std::string& langFile,
                              const std::string& appDir);

// Asks for a table and reads it. A table that cannot be read, or has wrong
// rows, is explained (every wrong row in a list, by its row number) and
// gives nothing; so does a cancelled dialog. missingLesson as ImportTable
// takes it.
std::optional<TTableImport> ImportTableFile(const TTableRequest& request, TTextEncoding target,
                                            int32_t missingLesson = 0);

// Asks where to write the handler's lessons as a table (fileName proposed)
// and writes it by a durable save, so a failed write leaves an older file
// of that name whole; a failure is explained. False when nothing was written.
bool ExportTableFile(const TTableRequest& request, const QString& fileName, const TLangFHandler& lessons);
