#pragma once
#include <QWidget>
#include <functional>
#include <memory>

#include "session/ExerciseRun.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class QToolButton;
class QTreeWidget;
class TAppIniFile;
class TExerciseSession;
class TAppLangHandler;
class TLangFHandler;
class TCardGraphics;
class TCardCanvas;
class TMediaManager;
class TTypedAnswerRow;

// The exercise window: the card area, the run state, START/STOP/WEITER and
// the ten priority buttons. Modeless; created once, every showing starts a
// fresh pass, closing only hides it. The run cycle itself is TExerciseRun.
class TExerciseDlg : public QWidget, private TExerciseRunView {
  Q_OBJECT

 public:
  // session: what the run reports to (the list split, progress kept, the
  // language file saved) and where the question language comes from.
  TExerciseDlg(QWidget* owner, TAppLangHandler& LangHandler, TLangFHandler& ExerciseLangFile, TAppIniFile& IniFile,
               TExerciseSession& session);
  ~TExerciseDlg() override;

  // All texts of the window in the current interface language.
  void ApplyTexts();

  // Tests: how the media manager of a showing is made.
  using TMediaFactory = std::function<std::unique_ptr<TMediaManager>(QWidget* owner)>;
  static void SetMediaFactory(TMediaFactory factory);

  TExerciseRun& Run() { return *run_; }
  TTypedAnswerRow& TypedRow() { return *typedRow; }
  TCardGraphics& Graphics() { return *graphics_; }

  void FormShow();
  void FormActivate();
  void btnRunClick() { run_->btnRunClick(); }
  void btnStopClick();
  void btnNextClick() { run_->btnNextClick(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // TExerciseRunView
  void ShowRunState(int stateText, int current, int count) override;
  void ShowButtons(bool run, bool stop, bool next) override;
  void ClearTable() override;
  void AddTableRow(std::string_view question, std::string_view answer, int priority) override;
  void ShowRowPriority(int row, int priority) override;
  void ShowExerciseTable() override;
  bool TableVisible() const override;
  void FocusTable() override;
  bool CheckPriority(int priority) override;
  void FocusPriority(int priority) override;
  bool AskRepeat() override;
  void CloseWindow() override;
  void LetMessagesRun() override;
  void PlaybackEnded() override;
  void ReportSaveFailure(const std::string& fileName) override;
  void AskTypedAnswer() override;
  std::string TypedAnswer() const override;
  void ShowTypedResult(const TAnswerCheck& check, int suggested) override;
  void EndTypedAnswer() override;

  void BuildControls();
  // What acts while a sound plays: STOP (button or Space) and Exit.
  bool InputDuringPlayback(QObject* target, QEvent* event) const;
  // Space and Enter steer the run; Space that stops cuts the sound too.
  void RunKey(int key);
  // The keys of the drill: Space and Enter (when steersRun), the digits as
  // priorities, Escape to close. True when the key was one of them.
  bool DrillKey(int key, bool steersRun);
  void SyncCardImage();
  // The fixed size follows the texts and the typed row.
  void FitToContent();

  TAppLangHandler& LangHandler;
  TLangFHandler& ExerciseLangFile;
  TAppIniFile& IniFile;
  TExerciseSession& Session;
  std::unique_ptr<TCardGraphics> graphics_;
  std::unique_ptr<TExerciseRun> run_;
  std::unique_ptr<TMediaManager> mediaManager;
  bool closePending_ = false;
  // The window is not resizable (it fitted the screen without scrolling).
  bool sizeFixed_ = false;

  QGroupBox* stateBox = nullptr;
  QLabel *labelMode = nullptr, *modeValue = nullptr;
  QLabel *labelState = nullptr, *stateValue = nullptr;
  QLabel *labelWNbr = nullptr, *wNbrValue = nullptr;
  TCardCanvas* groundImage = nullptr;
  QWidget* cardImage = nullptr;
  QTreeWidget* exerciseList = nullptr;
  QGroupBox* btnBox = nullptr;
  QToolButton *btnRun = nullptr, *btnStop = nullptr, *btnNext = nullptr;
  QGroupBox* prioBox = nullptr;
  QRadioButton* rbPrio[10] = {};
  TTypedAnswerRow* typedRow = nullptr;
};
