#pragma once
#include <QDialog>
#include <QMessageBox>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/BoolVector.h"
#include "core/Lesson.h"
#include "session/LessonList.h"
#include "session/EditorChange.h"
#include "storage/LangFHandler.h"
#include "storage/LangFileBaseline.h"
#include "EncodingOffer.h"
#include "TableFileDialogs.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TAppIniFile;
class TSession;
class TAppLangHandler;
class TUpDown;

// The modal dialog in which the user chooses the lessons and the size of an
// exercise and maintains language files. It works on a copy of the language
// file of its own; on OK (result 1) it writes the choices into the settings,
// on Close (result 2) nothing. GetChangeCode tells the main window what to
// recompose, top up or reload.
class TEditExerciseDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int mrOk = 1;
  static constexpr int mrCancel = 2;

  // Reads the settings' language file; a malformed line in it raises
  // TConversionError and the dialog is not made.
  TEditExerciseDlg(QWidget* owner, TAppLangHandler& LangHandler, TSession& session);
  ~TEditExerciseDlg() override;

  int GetChangeCode() const { return ChangeCode; }
  int GetEditState() const { return EditState; }
  bool GetIsNewFile() const { return IsNewFile; }
  const std::string& GetFilePath() const { return FilePath; }

  // The lesson of the entry at a position from the top (none outside).
  std::shared_ptr<TLesson> LessonAt(int position) const;
  int SelectedLessonIndex() const;

  // Event handlers, named after their control and event.
  void btnCloseClick();
  void btnSaveClick();
  void btnOpenLangFileClick();
  void btnNewLangFileClick();
  void btnSaveLangFileClick();
  void btnSaveLangfileAsClick();
  void btnEditLessonClick();
  void btnNewLessonClick();
  void btnDeleteLessonClick();
  // A CSV or TSV table into the lessons, by the rules of quillmere-lang import.
  void btnImportTableClick();
  // The lessons as they stand in the editor into a CSV or TSV table.
  void btnExportTableClick();
  void btnHelpClick();
  void lessonListClick();
  void lessonListDblClick();
  void editLang1Exit();
  void editLang2Exit();
  void editMaxWordsExit();

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FormShow();
  void ApplyTexts();
  void UpdateButtons();
  void ShowFileName(bool showHint, const std::string& path);
  void ComposeFileName();
  // A table's file dialog starts beside the language file.
  TTableRequest TableRequest(int title);
  // Reads FilePath and lists its lessons, marked as the settings choose them;
  // false when the file cannot be read (missing, or not a language file).
  bool FillLessonList();
  // Puts the lessons of LangFile into the list.
  void ListLessons(bool marksFromSettings);
  // Back to no file, as when the settings name none.
  void ForgetFile();
  // Text txLangFileUnreadable with the file's name: missing, or not a language file.
  void ReportUnreadable(const std::string& path);
  // Lists a lesson made here, in its place.
  void AddLesson(const std::shared_ptr<TLesson>& lesson);
  void SortList();
  // Makes the tree show the lesson list: captions, ticks and selection.
  void ShowList();
  // What the learner did in the tree, into the lesson list.
  void TakeTick(QTreeWidgetItem* item);
  void TakeSelection();
  void ClearList();
  void SelectTop();
  void ShowLessonCounts(const TLesson* lesson);
  void RunLessonEditor(bool newLesson);
  bool SaveToFile();
  void StampFilePath();
  // False when the file changed elsewhere since it was read here and the
  // learner chose to keep it.
  bool MayReplaceFile();
  bool SaveFile();
  bool SaveFileAs();
  bool NamesStorable(std::string& lang1, std::string& lang2);
  void LangExit(QLineEdit* field, QLineEdit* other, bool first);
  // The locales of the file's languages into their fields: as the file
  // names them, else guessed from the languages' names.
  void ShowLocales();
  void ClearLocales();
  // A guess for a language named here, unless the learner chose a locale.
  void GuessLocaleFor(QLineEdit* field, std::string& guessed, const QLineEdit* name);
  // The locales in the fields, or a message naming the one that cannot be stored.
  bool LocalesStorable(std::string& locale1, std::string& locale2);
  // Whether the language file was changed here and not saved.
  bool FileChanged();
  QMessageBox::StandardButton AskSaveChanges();
  // Whether OK would change anything: the file, the choices or MaxWords.
  bool HasUnkeptChanges();
  // What OK does; saveFileUnasked saves a changed file without asking.
  void KeepChoices(bool saveFileUnasked);
  std::vector<int32_t> SortedChoice() const;
  std::vector<int32_t> ChosenLessons() const;
  // The text of a field as stored (its characters were checked when it was left).
  std::string TextOf(const QLineEdit* field) const;

  // The learner's session; its settings are what the editor changes.
  TSession& Session;
  TAppIniFile& IniFile;
  // The working list; the tree shows it.
  TLessonList Lessons;
  // A file made here is UTF-8; an opened one keeps its encoding.
  TLangFHandler LangFile = NewLangFile();
  std::string FilePath;
  // The file as it was read here, so a save does not silently overwrite what
  // another program wrote into it meanwhile.
  TFileStamp ReadStamp;
  std::string StampedPath;
  int EditState = 0;
  bool IsNewFile = false;
  // The file was deleted here (its last lesson removed and saved): the
  // settings then name no file any more.
  bool FileDeleted = false;
  TAppLangHandler& LangHandler;
  // A Windows-1252 file asked to hold a character it cannot.
  TEncodingOffer Offer{LangFile, FilePath, LangHandler};
  int ChangeCode = ccNothing;
  TBoolVector ChangedLessons;
  std::vector<int32_t> OldChosen;
  // The file and the ticked lessons as the dialog opened, to tell what Close
  // would throw away.
  std::string ShownFilePath;
  std::vector<int32_t> ShownChoice;
  bool inClick_ = false;
  // The locales as shown for the file, to tell a change; and the last guess
  // from a language name, which a new guess may replace.
  std::string ShownLocale1, ShownLocale2;
  std::string GuessedLocale1, GuessedLocale2;

  QToolButton* btnClose;
  QToolButton* btnSave;
  QToolButton* btnOpenLangFile;
  QToolButton* btnNewLangFile;
  QToolButton* btnSaveLangFile;
  QToolButton* btnSaveLangfileAs;
  QToolButton* btnEditLesson;
  QToolButton* btnNewLesson;
  QToolButton* btnDeleteLesson;
  QToolButton* btnImportTable = nullptr;
  QToolButton* btnExportTable = nullptr;
  QToolButton* btnHelp;
  QGroupBox* exerciseBox;
  QGroupBox* availableLessonBox;
  QGroupBox* fileNameBox;
  QGroupBox* wordBox;
  QGroupBox* lessonBox;
  QTreeWidget* lessonList;
  QLabel* labelFile;
  QLabel* labelLang1;
  QLabel* labelLang2;
  QLineEdit* editFileName;
  QLineEdit* editLang1;
  QLineEdit* editLang2;
  QLabel* labelLocale1;
  QLabel* labelLocale2;
  QLineEdit* editLocale1;
  QLineEdit* editLocale2;
  QLabel* labelMaxWords;
  QLineEdit* editMaxWords;
  TUpDown* upDownMaxWords;
  QLabel* labelTotalWords;
  QLabel* labelValueTotalWords;
  QLabel* labelNbrWords;
  QLabel* labelValueNbrWords;
  QLabel* labelUsedWords;
  QLabel* labelValueUsedWords;
};
