#include "PropertyDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "settings/TextNumbers.h"
#include "widgets/AccessibleName.h"
#include "widgets/GeneralUtil.h"
#include "widgets/Glyphs.h"
#include "widgets/HelpWnd.h"
#include "widgets/ToolButton.h"
#include "widgets/UiText.h"
#include "settings/Settings.h"
#include "settings/AppLangHandl.h"

namespace {
constexpr int kHintPause = 5000;
// The icons of the button row.
constexpr int kIconSize = 24;

QSlider* DelayTrackBar(QWidget* parent, const char* name) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setRange(TPresentSettings::kMinDelay, TPresentSettings::kMaxDelay);
  slider->setSingleStep(1);
  slider->setPageStep(1);
  slider->setTickPosition(QSlider::TicksBothSides);
  slider->setTickInterval(1);
  slider->setValue(5);
  slider->setMinimumWidth(130);
  slider->setToolTipDuration(kHintPause);
  return slider;
}
}  // namespace

QString DelayLabel(const QString& word, int seconds) {
  return word + QStringLiteral(" : ") + QString::number(seconds) + QStringLiteral(" s");
}

TDlgProperty::TDlgProperty(QWidget* owner, TAppLangHandler& langHandler, TPresentSettings& settings)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Settings(settings),
      LangHandler(langHandler) {
  setObjectName(QStringLiteral("DlgProperty"));
  setWindowTitle(QStringLiteral("General settings - exercise"));
  CreateControls();
  GreySystemMenuItem(this, 2, true);
  FitFormToScreen(this, true, true, true);
  ApplyTexts();
  ShowValues();
}

void TDlgProperty::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  // The described settings on the left, the drill's own on the right.
  auto* columns = new QHBoxLayout;
  auto* layout = new QVBoxLayout;
  auto* buttons = new QHBoxLayout;
  btnClose = FlatToolButton(this, "btnClose", Glyph(TGlyph::Close), kIconSize, kHintPause);
  btnSave = FlatToolButton(this, "btnSave", Glyph(TGlyph::Save), kIconSize, kHintPause);
  btnHelp = FlatToolButton(this, "btnHelp", Glyph(TGlyph::Help), kIconSize, kHintPause);
  buttons->addWidget(btnClose);
  buttons->addWidget(btnSave);
  buttons->addStretch();
  buttons->addWidget(btnHelp);
  outer->addLayout(buttons);
  outer->addLayout(columns);
  columns->addLayout(layout);

  presentBox = new QGroupBox(QStringLiteral(" Presentation "), this);
  presentBox->setObjectName(QStringLiteral("presentBox"));
  SetHelpContext(presentBox, 2);
  auto* present = new QGridLayout(presentBox);
  rbManualPresent = new QRadioButton(QStringLiteral("Manual"), presentBox);
  rbManualPresent->setObjectName(QStringLiteral("rbManualPresent"));
  rbAutoPresent = new QRadioButton(QStringLiteral("Automatic"), presentBox);
  rbAutoPresent->setObjectName(QStringLiteral("rbAutoPresent"));
  rbAutoPresent->setChecked(true);
  trbDelayPresent = DelayTrackBar(presentBox, "trbDelayPresent");
  labelPresentDelay = new QLabel(QStringLiteral("Delay : "), presentBox);
  labelPresentDelay->setObjectName(QStringLiteral("labelPresentDelay"));
  auto* modes = new QVBoxLayout;
  modes->addWidget(rbManualPresent);
  modes->addWidget(rbAutoPresent);
  auto* delay = new QVBoxLayout;
  delay->addWidget(trbDelayPresent);
  delay->addWidget(labelPresentDelay);
  present->addLayout(modes, 0, 0);
  present->addLayout(delay, 0, 1);

  rbVoicePresent = new QGroupBox(QStringLiteral(" Voice output "), presentBox);
  rbVoicePresent->setObjectName(QStringLiteral("rbVoicePresent"));
  rbVoicePresent->setToolTipDuration(kHintPause);
  auto* voice = new QVBoxLayout(rbVoicePresent);
  voicePresentItems = new QButtonGroup(this);
  const char* items[] = {"Voice OFF", "Voice without text", "Voice and text"};
  for (int i = 0; i < 3; ++i) {
    auto* item = new QRadioButton(QString::fromLatin1(items[i]), rbVoicePresent);
    item->setObjectName(QStringLiteral("rbVoicePresentItem%1").arg(i));
    voicePresentItems->addButton(item, i);
    voice->addWidget(item);
  }
  voicePresentItems->button(0)->setChecked(true);
  present->addWidget(rbVoicePresent, 1, 0, 1, 2);
  layout->addWidget(presentBox);

  answerBox = new QGroupBox(QStringLiteral(" Solution "), this);
  answerBox->setObjectName(QStringLiteral("answerBox"));
  SetHelpContext(answerBox, 2);
  auto* answer = new QGridLayout(answerBox);
  cbVoice = new QCheckBox(QStringLiteral("Voice output ON"), answerBox);
  cbVoice->setObjectName(QStringLiteral("cbVoice"));
  cbVoice->setToolTipDuration(kHintPause);
  cbLetter = new QCheckBox(QStringLiteral("Letter by Letter"), answerBox);
  cbLetter->setObjectName(QStringLiteral("cbLetter"));
  cbLetter->setToolTipDuration(kHintPause);
  trbDelayAnswer = DelayTrackBar(answerBox, "trbDelayAnswer");
  labelAnswerDelay = new QLabel(QStringLiteral("Delay : "), answerBox);
  labelAnswerDelay->setObjectName(QStringLiteral("labelAnswerDelay"));
  auto* checks = new QVBoxLayout;
  checks->addWidget(cbVoice);
  checks->addWidget(cbLetter);
  auto* answerDelay = new QVBoxLayout;
  answerDelay->addWidget(trbDelayAnswer);
  answerDelay->addWidget(labelAnswerDelay);
  answer->addLayout(checks, 0, 0);
  answer->addLayout(answerDelay, 0, 1);
  layout->addWidget(answerBox);

  generalBox = new QGroupBox(QStringLiteral(" General "), this);
  generalBox->setObjectName(QStringLiteral("generalBox"));
  SetHelpContext(generalBox, 2);
  auto* general = new QVBoxLayout(generalBox);
  cbShowTable = new QCheckBox(QStringLiteral("Show exercise Table"), generalBox);
  cbShowTable->setObjectName(QStringLiteral("cbShowTable"));
  cbShowTable->setChecked(true);
  cbShowTable->setToolTipDuration(kHintPause);
  general->addWidget(cbShowTable);
  layout->addWidget(generalBox);

  drillBox = new QGroupBox(QStringLiteral(" Drill "), this);
  drillBox->setObjectName(QStringLiteral("drillBox"));
  SetHelpContext(drillBox, 2);
  auto* drill = new QVBoxLayout(drillBox);
  auto check = [&](QCheckBox*& box, const char* name, int indent) {
    box = new QCheckBox(drillBox);
    box->setObjectName(QString::fromLatin1(name));
    if (indent == 0) {
      drill->addWidget(box);
      return;
    }
    auto* row = new QHBoxLayout;
    row->addSpacing(indent);
    row->addWidget(box);
    drill->addLayout(row);
  };
  const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6;
  check(cbTypedAnswer, "cbTypedAnswer", 0);
  check(cbIgnoreCase, "cbIgnoreCase", indent);
  check(cbIgnoreAccents, "cbIgnoreAccents", indent);
  check(cbIgnorePunctuation, "cbIgnorePunctuation", indent);
  drill->addSpacing(6);
  check(cbSpeakMissing, "cbSpeakMissing", 0);
  drill->addSpacing(6);
  auto pace = [&](QLabel*& label, QComboBox*& combo, const char* labelName, const char* comboName) {
    label = new QLabel(drillBox);
    label->setObjectName(QString::fromLatin1(labelName));
    combo = new QComboBox(drillBox);
    combo->setObjectName(QString::fromLatin1(comboName));
    for (int i = 0; i < 3; ++i) combo->addItem(QString());
    drill->addWidget(label);
    drill->addWidget(combo);
  };
  pace(labelCardPace, cbxCardPace, "labelCardPace", "cbxCardPace");
  pace(labelLetterPace, cbxLetterPace, "labelLetterPace", "cbxLetterPace");
  drill->addStretch();
  columns->addWidget(drillBox);

  connect(btnClose, &QToolButton::clicked, this, &TDlgProperty::btnCloseClick);
  connect(btnSave, &QToolButton::clicked, this, &TDlgProperty::btnSaveClick);
  connect(btnHelp, &QToolButton::clicked, this, &TDlgProperty::btnHelpClick);
  connect(rbManualPresent, &QRadioButton::clicked, this, &TDlgProperty::EnableDelays);
  connect(rbAutoPresent, &QRadioButton::clicked, this, &TDlgProperty::EnableDelays);
  connect(cbTypedAnswer, &QCheckBox::toggled, this, &TDlgProperty::EnableLeniencies);
  connect(trbDelayPresent, &QSlider::valueChanged, this, [this](int n) { ShowPresentDelay(n, true); });
  connect(trbDelayAnswer, &QSlider::valueChanged, this, [this](int n) { ShowAnswerDelay(n, true); });
}

void TDlgProperty::ApplyTexts() {
  const TAppLangHandler& t = LangHandler;
  setWindowTitle(UiText(t, txSettingsTitle));
  btnClose->setToolTip(UiText(t, txCloseWithoutSaving));
  btnSave->setToolTip(UiText(t, txSaveAndClose));
  btnHelp->setToolTip(UiText(t, txHelp));
  presentBox->setTitle(UiTitle(t, txPresentation));
  rbManualPresent->setText(UiText(t, txManual));
  rbAutoPresent->setText(UiText(t, txAutomatic));
  trbDelayPresent->setToolTip(UiText(t, txPresentDelayHint));
  PresentDelayWord = UiText(t, txDelay);
  AnswerDelayWord = UiText(t, txDelay);
  rbVoicePresent->setTitle(UiTitle(t, txVoiceOutput));
  rbVoicePresent->setToolTip(UiText(t, txVoiceOutputHint));
  for (int i = 0; i < 3; ++i) voicePresentItems->button(i)->setText(UiText(t, txFirstVoiceMode + i));
  answerBox->setTitle(UiTitle(t, txSolution));
  cbVoice->setText(UiText(t, txVoiceOn));
  cbVoice->setToolTip(UiText(t, txSpeakSolution));
  cbLetter->setText(UiText(t, txLetterByLetter));
  cbLetter->setToolTip(UiText(t, txLetterByLetterHint));
  trbDelayAnswer->setToolTip(UiText(t, txAnswerDelayHint));
  generalBox->setTitle(UiTitle(t, txGeneral));
  cbShowTable->setText(UiText(t, txShowExerciseTable));
  cbShowTable->setToolTip(UiText(t, txShowExerciseTableHint));
  // The sliders' label shows the value; their tooltip says which delay it is.
  for (QWidget* unlabelled : std::initializer_list<QWidget*>{btnClose, btnSave, btnHelp, trbDelayPresent, trbDelayAnswer})
    NameAfterToolTip(unlabelled);
  drillBox->setTitle(UiTitle(t, txDrill));
  cbTypedAnswer->setText(UiText(t, txTypedAnswerOption));
  cbIgnoreCase->setText(UiText(t, txIgnoreCase));
  cbIgnoreAccents->setText(UiText(t, txIgnoreAccents));
  cbIgnorePunctuation->setText(UiText(t, txIgnorePunctuation));
  cbSpeakMissing->setText(UiText(t, txSpeakMissing));
  labelCardPace->setText(UiText(t, txCardPace) + QStringLiteral(" :"));
  labelLetterPace->setText(UiText(t, txLetterPace) + QStringLiteral(" :"));
  for (int i = 0; i < 3; ++i) {
    cbxCardPace->setItemText(i, UiText(t, txFirstCardPace + i));
    cbxLetterPace->setItemText(i, UiText(t, txFirstLetterPace + i));
  }
  TieToLabel(labelCardPace, cbxCardPace);
  TieToLabel(labelLetterPace, cbxLetterPace);
  // The open list of choices is read under the field's name too.
  cbxCardPace->view()->setAccessibleName(UiText(t, txCardPace));
  cbxLetterPace->view()->setAccessibleName(UiText(t, txLetterPace));
  labelPresentDelay->setBuddy(trbDelayPresent);
  labelAnswerDelay->setBuddy(trbDelayAnswer);
}

void TDlgProperty::ShowValues() {
  ShowPresentDelay(Settings.DelayPresent, false);
  ShowAnswerDelay(Settings.DelayAnswer, false);
  cbVoice->setChecked(Settings.VoiceAnswer);
  cbLetter->setChecked(Settings.LetterAnswer);
  rbAutoPresent->setChecked(Settings.AutoPresent);
  rbManualPresent->setChecked(!Settings.AutoPresent);
  // A stored index outside the three items checks none, as the settings hold it.
  if (QAbstractButton* item = voicePresentItems->button(Settings.VoicePresent)) {
    item->setChecked(true);
  } else {
    voicePresentItems->setExclusive(false);
    for (QAbstractButton* b : voicePresentItems->buttons()) b->setChecked(false);
    voicePresentItems->setExclusive(true);
  }
  cbShowTable->setChecked(Settings.ShowTable);
  cbTypedAnswer->setChecked(Settings.TypedAnswer);
  cbIgnoreCase->setChecked(Settings.IgnoreCase);
  cbIgnoreAccents->setChecked(Settings.IgnoreAccents);
  cbIgnorePunctuation->setChecked(Settings.IgnorePunctuation);
  cbSpeakMissing->setChecked(Settings.SpeakMissing);
  cbxCardPace->setCurrentIndex(Settings.CardPace);
  cbxLetterPace->setCurrentIndex(Settings.LetterPace);
  EnableDelays();
  EnableLeniencies();
}

void TDlgProperty::EnableLeniencies() {
  const bool typed = cbTypedAnswer->isChecked();
  for (QCheckBox* box : {cbIgnoreCase, cbIgnoreAccents, cbIgnorePunctuation}) box->setEnabled(typed);
}

// A stored value outside 1 to 20 shows in the label first; the track bar then
// holds it at its nearest end and corrects the label when it actually moves.
void TDlgProperty::ShowPresentDelay(int seconds, bool fromTrackBar) {
  labelPresentDelay->setText(DelayLabel(PresentDelayWord, seconds));
  if (!fromTrackBar) trbDelayPresent->setValue(seconds);
}

void TDlgProperty::ShowAnswerDelay(int seconds, bool fromTrackBar) {
  labelAnswerDelay->setText(DelayLabel(AnswerDelayWord, seconds));
  if (!fromTrackBar) trbDelayAnswer->setValue(seconds);
}

void TDlgProperty::EnableDelays() {
  const bool automatic = rbAutoPresent->isChecked();
  trbDelayPresent->setEnabled(automatic);
  labelPresentDelay->setEnabled(automatic);
  trbDelayAnswer->setEnabled(automatic);
  labelAnswerDelay->setEnabled(automatic);
}

void TDlgProperty::btnSaveClick() {
  Settings.DelayPresent = trbDelayPresent->value();
  Settings.VoiceAnswer = cbVoice->isChecked();
  Settings.LetterAnswer = cbLetter->isChecked();
  Settings.AutoPresent = rbAutoPresent->isChecked();
  Settings.DelayAnswer = trbDelayAnswer->value();
  // No item checked (a stored index outside the items) keeps the stored value.
  if (voicePresentItems->checkedId() >= 0) Settings.VoicePresent = voicePresentItems->checkedId();
  Settings.ShowTable = cbShowTable->isChecked();
  Settings.TypedAnswer = cbTypedAnswer->isChecked();
  Settings.IgnoreCase = cbIgnoreCase->isChecked();
  Settings.IgnoreAccents = cbIgnoreAccents->isChecked();
  Settings.IgnorePunctuation = cbIgnorePunctuation->isChecked();
  Settings.SpeakMissing = cbSpeakMissing->isChecked();
  Settings.CardPace = cbxCardPace->currentIndex();
  Settings.LetterPace = cbxLetterPace->currentIndex();
  accept();
}

void TDlgProperty::btnCloseClick() { reject(); }

void TDlgProperty::btnHelpClick() { ShowHelpTopic(this, QStringLiteral("Settings-Dialog")); }

// The tool buttons take no focus: Enter saves, Escape closes.
void TDlgProperty::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    btnSaveClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

#include "moc_PropertyDlg.cpp"
