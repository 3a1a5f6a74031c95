#pragma once
#include <QMainWindow>
#include <QPixmap>
#include <memory>
#include <optional>
#include <string>

#include "settings/AppFolders.h"
#include "session/EditorChange.h"
#include "session/Session.h"
#include "storage/DurableFile.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QToolButton;
class TAppIniFile;
class TAppLangHandler;
class TExerciseComposer;
class TLangFHandler;
class TLangFileBackups;
struct TBackupNotice;

// The main window: a narrow strip that shows the language file and the chosen
// lessons, starts exercises, opens the settings and the editor, switches the
// interface language and writes the settings back when it closes. It owns
// the settings, the interface texts and the language file of the exercises.
class tMainWindow : public QMainWindow, private TSessionReporter {
  Q_OBJECT

 public:
  // appDir: the program directory as a stored path, without trailing
  // separator, holding everything (the program run from its folder).
  explicit tMainWindow(const std::string& appDir);
  // The program's files, the learner's settings and data where folders says.
  explicit tMainWindow(const TAppFolders& folders);
  ~tMainWindow() override;

  // The start ended before the window could be used (no settings file, no
  // text database, the stored language missing): the program ends. Nothing
  // is written to the settings file then.
  bool StartAborted() const { return StartAbortedFlag; }

  TSession& GetSession() { return *Session; }
  bool IsFirstLangChecked() const;

  // A termination signal: open dialogs close, then the window closes as if
  // the learner had closed it, saving everything.
  void CloseOnSignal();

  TAppIniFile& GetIniFile() { return Session->IniFile(); }
  TAppLangHandler& GetLangHandler() { return *LangHandler; }
  bool IsExerciseReady() const { return ExerciseReady; }
  bool IsRecomposed() const { return Recomposed; }
  const std::string& GetAppLanguage() const { return Session->AppLanguage; }

  void ShowExerciseInfo();
  void NameLanguageButtons();
  void UpdateControls();
  // What follows the exercise and lesson-set editor: its modal result
  // (1 OK, 2 Cancel) and its change code (4 to 8).
  void ApplyEditorResult(int modalResult, int changeCode);
  // A second copy of the program asked this one to come to the front.
  void BringToFront();

 public slots:
  void btnExerciseRunClick();
  void btnEditExerciseClick();
  // The statistics of the current language file.
  void mExerciseStatisticsClick();
  void btnGeneralPropertyClick();
  void btnHelpClick();
  void rbtnFirstLangClick();
  void cbNewLoadClick();
  void mAppEnglishClick();
  void mAppGermanClick();
  void mHelpGeneralClick();
  // Opens the folder of the learner's language files in the file manager.
  void mHelpFilesFolderClick();
  void mHelpContentsClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // The exercise window, created at the first start (owner: the application).
  virtual std::unique_ptr<QWidget> CreateExerciseDlg();
  // Runs the exercise and lesson-set editor modally; returns its modal
  // result and sets its change code.
  virtual int RunEditExerciseDlg(int& changeCode);
  // Shows a folder in the desktop's file manager; false when none opened it.
  virtual bool OpenFolder(const QString& path);

 private:
  void CreateControls();
  void CreateMenu();
  void FirstShowing();
  bool ApplyLanguage();
  void SwitchLanguage(const std::string& code);
  void ShowLessonLabel();
  void EndStart();
  void ShowExerciseDlg();
  bool ExerciseDlgVisible() const;
  // Collects the settings into the file's image; false when the file could
  // not be written.
  bool SaveSettings();
  void WriteSettings();
  // Says at start what this session could not save, and why.
  void WarnUnsavable();
  // TSessionReporter
  void ProgressNotKept() override;
  void HistoryNotKept(const std::string& file, const std::string& reason) override;
  void LangFileChangedElsewhere() override;
  // Keeps backups of every language file the program replaces.
  void InstallBackups();
  void ShowBackupNotice(const TBackupNotice& notice);
  const void* MessageOwner() const { return static_cast<const QWidget*>(this); }

  // Owned objects; the exercise window below refers to them and goes first.
  std::unique_ptr<TSession> Session;
  std::unique_ptr<TAppLangHandler> LangHandler;
  // The session's settings, language file and composer.
  TAppIniFile* IniFile = nullptr;
  TLangFHandler* ExerciseLangFile = nullptr;
  TExerciseComposer* Composer = nullptr;
  std::unique_ptr<TLangFileBackups> Backups;
  std::unique_ptr<QWidget> ExerciseDlg;

  // The language file and its lessons are shown (panel and lesson label);
  // a language switch keeps what is shown and only changes its words.
  bool ExerciseInfoShown = false;

  TAppFolders Folders;
  bool ExerciseReady = false;
  bool Recomposed = false;
  bool FirstShow = true;
  bool StartAbortedFlag = false;
  bool Closed = false;
  // The close waits for the exercise window, which waits for its sound.
  bool CloseAfterExercise = false;
  // "Reset priority" was ticked only because "New compose" was.
  bool ResetPrioByNewLoad = false;
  TSaveResult LastSettingsSave;
  QPixmap LangFileBitmap;
  std::optional<QPixmap> DefaultBitmap;

  QToolButton* btnExerciseRun = nullptr;
  QLabel* panelLangFile = nullptr;
  QLabel* imageLangFile = nullptr;
  QFrame* panelUnits = nullptr;
  QLabel* labelSelUnits = nullptr;
  QGroupBox* selectLangBox = nullptr;
  QRadioButton* rbtnFirstLang = nullptr;
  QRadioButton* rbtnSecondLang = nullptr;
  QGroupBox* wordChoosBox = nullptr;
  QCheckBox* cbNewLoad = nullptr;
  QCheckBox* cbResetPrio = nullptr;
  QToolButton* btnGeneralProperty = nullptr;
  QToolButton* btnEditExercise = nullptr;
  QToolButton* btnHelp = nullptr;

  QMenu* mExercise = nullptr;
  QAction* mExerciseRun = nullptr;
  QAction* mExerciseGenSettings = nullptr;
  QAction* mExerciseEditLessons = nullptr;
  QAction* mExerciseStatistics = nullptr;
  QAction* mExerciseExit = nullptr;
  QMenu* mAppLanguage = nullptr;
  QAction* mAppEnglish = nullptr;
  QAction* mAppGerman = nullptr;
  QActionGroup* appLanguageGroup = nullptr;
  QAction* languageChecked = nullptr;
  QMenu* mHelp = nullptr;
  QAction* mHelpGeneral = nullptr;
  QAction* mHelpFilesFolder = nullptr;
  QAction* mHelpContents = nullptr;
};
