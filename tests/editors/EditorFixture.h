#pragma once
// What the editor tests share: a program directory of their own with a
// settings file, the interface texts, a fake main window, and hooks that
// answer message boxes and file dialogs and run modal dialogs by script.
#include <QLineEdit>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/BoolVector.h"
#include "widgets/FileChooser.h"
#include "settings/AppIniFile.h"
#include "settings/AppLangHandl.h"
#include "widgets/GeneralUtil.h"
#include "session/Session.h"
#include "storage/LangFHandler.h"

class QDialog;
class QWidget;

// One pair of a test lesson: word1, word2, in use.
struct TTestPair {
  std::string Word1;
  std::string Word2;
  bool InUse = true;
  std::string Wav1 = " ";
  std::string Wav2 = " ";
};

// A lesson with pairs in slots 0, 1, 2, ...
std::shared_ptr<TLesson> MakeLesson(int32_t nbr, const std::vector<TTestPair>& pairs);
// A lesson of n pairs "w<nbr>_<i>" / "v<nbr>_<i>", in use or not.
std::shared_ptr<TLesson> NumberedLesson(int32_t nbr, int n, bool inUse = true);

// The lesson numbers other lessons hold, as the lesson editor is given them.
TBoolVector Used(std::initializer_list<int> numbers);

class TEditorFixture {
 public:
  explicit TEditorFixture(const char* language = "EN");
  ~TEditorFixture();

  QTemporaryDir Dir;
  std::string AppDir;  // stored form of Dir
  // The session the editors work in; IniFile is its settings.
  std::unique_ptr<TSession> Session;
  TAppIniFile* IniFile = nullptr;
  TAppLangHandler Texts;

  // Message boxes shown, and the answers to give (Ok when none is queued).
  std::vector<TMessageRequest> Messages;
  std::deque<int> Answers;
  // File dialogs run, and the files to choose (empty = cancel).
  std::vector<TFileRequest> FileRequests;
  std::deque<QString> Files;

  QString Text(int n) const;
  // A stored path below the program directory ("/LangFiles/x.lang").
  std::string Path(const std::string& below) const;
  QString NativePath(const std::string& below) const;
  // Writes a language file with the lessons; returns its stored path.
  std::string WriteLangFile(const std::string& below, const std::string& lang1, const std::string& lang2,
                            const std::vector<std::shared_ptr<TLesson>>& lessons) const;
  // Writes a plain file (bytes as given).
  void WriteRaw(const std::string& below, const std::string& bytes) const;

  TMessageBoxHook PreviousMessageHook;
  TFileChooserHook PreviousFileHook;
};

// Shows the dialog and makes it the active window, so focus moves for real.
void ShowActive(QWidget& dialog);
// Gives the field the focus and takes it away again, as tabbing out does.
void Leave(QLineEdit* field);
// Types the text into the field (replacing what it held) and leaves it.
void TypeAndLeave(QLineEdit* field, const QString& text);
// Lets queued calls (focus put back into a field) run.
void Settle();
// Test data of a close with unsaved changes: columns "how" (0 Escape, 1 the
// window's close button, 2 Close) and "answer" (Yes, No, Cancel), every pair.
void AddCloseWaysAndAnswers();

// Runs the next modal dialogs by these scripts, in order; each returns the
// dialog's result. Installed for the fixture's lifetime by ModalScripts.
class TModalScripts {
 public:
  TModalScripts();
  ~TModalScripts();
  std::deque<std::function<int(QDialog&)>> Scripts;
  int Runs = 0;
};
