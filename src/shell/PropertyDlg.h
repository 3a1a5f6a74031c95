#pragma once
#include <QDialog>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSlider;
class QToolButton;
class TAppLangHandler;
struct TPresentSettings;

// "word : n s", the label under a delay track bar.
QString DelayLabel(const QString& word, int seconds);

// The general settings dialog: how an exercise presents the pairs. Takes the
// values into the settings on "save" only.
class TDlgProperty : public QDialog {
  Q_OBJECT

 public:
  TDlgProperty(QWidget* owner, TAppLangHandler& langHandler, TPresentSettings& settings);

 public slots:
  void btnSaveClick();
  void btnCloseClick();
  void btnHelpClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void ApplyTexts();
  void ShowValues();
  // The label from the value; the track bar moves to it unless it came from there.
  void ShowPresentDelay(int seconds, bool fromTrackBar);
  void ShowAnswerDelay(int seconds, bool fromTrackBar);
  void EnableDelays();
  // The leniencies count only for typed answers.
  void EnableLeniencies();

  TPresentSettings& Settings;
  TAppLangHandler& LangHandler;
  QString PresentDelayWord = QStringLiteral("Delay");
  QString AnswerDelayWord = QStringLiteral("Delay");

  QToolButton* btnClose = nullptr;
  QToolButton* btnSave = nullptr;
  QToolButton* btnHelp = nullptr;
  QGroupBox* presentBox = nullptr;
  QRadioButton* rbManualPresent = nullptr;
  QRadioButton* rbAutoPresent = nullptr;
  QSlider* trbDelayPresent = nullptr;
  QLabel* labelPresentDelay = nullptr;
  QGroupBox* rbVoicePresent = nullptr;
  QButtonGroup* voicePresentItems = nullptr;
  QGroupBox* answerBox = nullptr;
  QCheckBox* cbVoice = nullptr;
  QCheckBox* cbLetter = nullptr;
  QSlider* trbDelayAnswer = nullptr;
  QLabel* labelAnswerDelay = nullptr;
  QGroupBox* generalBox = nullptr;
  QCheckBox* cbShowTable = nullptr;
  QGroupBox* drillBox = nullptr;
  QCheckBox* cbTypedAnswer = nullptr;
  QCheckBox* cbIgnoreCase = nullptr;
  QCheckBox* cbIgnoreAccents = nullptr;
  QCheckBox* cbIgnorePunctuation = nullptr;
  QCheckBox* cbSpeakMissing = nullptr;
  QLabel* labelCardPace = nullptr;
  QComboBox* cbxCardPace = nullptr;
  QLabel* labelLetterPace = nullptr;
  QComboBox* cbxLetterPace = nullptr;
};
