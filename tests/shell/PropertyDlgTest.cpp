#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "settings/Settings.h"
#include "settings/AppLangHandl.h"
#include "shell/PropertyDlg.h"
#include "widgets/ScreenPlacement.h"

// The dialog on the default settings and the real text database in English.
class PropertyDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void defaultsShowTenSecondsOnBothTrackBars();
  void manualModeGreysTheDelays();
  void closeLeavesTheSettingsUnchanged();
  void saveTakesEveryValue();
  void storedDelaysOutsideTheRange_data();
  void storedDelaysOutsideTheRange();
  void voicePresentIndexChecksItsItem();
  void textsComeFromTheDatabase();
  void drillOptionsAreShownAndSaved();
  void drillOptionsFitInBothLanguages_data();
  void drillOptionsFitInBothLanguages();

 private:
  template <typename T>
  T* Find(const char* name) {
    T* w = dlg->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }
  TPresentSettings settings;
  TAppLangHandler texts;
  std::unique_ptr<TDlgProperty> dlg;
};

void PropertyDlgTest::init() {
  settings = TPresentSettings{};
  QVERIFY(texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "Quillmere", nullptr));
  QVERIFY(texts.SetLanguage("EN"));
  dlg.reset();
}

void PropertyDlgTest::defaultsShowTenSecondsOnBothTrackBars() {
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  QCOMPARE(Find<QSlider>("trbDelayPresent")->value(), 10);
  QCOMPARE(Find<QSlider>("trbDelayAnswer")->value(), 10);
  QCOMPARE(Find<QLabel>("labelPresentDelay")->text(), QStringLiteral("Delay : 10 s"));
  QCOMPARE(Find<QLabel>("labelAnswerDelay")->text(), QStringLiteral("Delay : 10 s"));
  QCOMPARE(Find<QSlider>("trbDelayPresent")->minimum(), 1);
  QCOMPARE(Find<QSlider>("trbDelayPresent")->maximum(), 20);
  QVERIFY(Find<QCheckBox>("cbVoice")->isChecked());
  QVERIFY(Find<QCheckBox>("cbShowTable")->isChecked());
  QVERIFY(!Find<QCheckBox>("cbLetter")->isChecked());
  QVERIFY(Find<QRadioButton>("rbManualPresent")->isChecked());
}

void PropertyDlgTest::manualModeGreysTheDelays() {
  settings.AutoPresent = true;
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  const char* delays[] = {"trbDelayPresent", "trbDelayAnswer", "labelPresentDelay", "labelAnswerDelay"};
  for (const char* name : delays) QVERIFY(Find<QWidget>(name)->isEnabled());
  Find<QRadioButton>("rbManualPresent")->click();
  for (const char* name : delays) QVERIFY2(!Find<QWidget>(name)->isEnabled(), name);
  Find<QRadioButton>("rbAutoPresent")->click();
  for (const char* name : delays) QVERIFY2(Find<QWidget>(name)->isEnabled(), name);
}

void PropertyDlgTest::closeLeavesTheSettingsUnchanged() {
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  Find<QSlider>("trbDelayPresent")->setValue(3);
  Find<QCheckBox>("cbLetter")->setChecked(true);
  Find<QToolButton>("btnClose")->click();
  QCOMPARE(dlg->result(), int(QDialog::Rejected));
  QCOMPARE(settings.DelayPresent, 10);
  QVERIFY(!settings.LetterAnswer);
}

void PropertyDlgTest::saveTakesEveryValue() {
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  Find<QRadioButton>("rbAutoPresent")->click();
  Find<QSlider>("trbDelayPresent")->setValue(3);
  Find<QSlider>("trbDelayAnswer")->setValue(17);
  QCOMPARE(Find<QLabel>("labelAnswerDelay")->text(), QStringLiteral("Delay : 17 s"));
  Find<QCheckBox>("cbVoice")->setChecked(false);
  Find<QCheckBox>("cbLetter")->setChecked(true);
  Find<QCheckBox>("cbShowTable")->setChecked(false);
  Find<QRadioButton>("rbVoicePresentItem1")->click();
  Find<QToolButton>("btnSave")->click();
  QCOMPARE(dlg->result(), int(QDialog::Accepted));
  QVERIFY(settings.AutoPresent);
  QCOMPARE(settings.DelayPresent, 3);
  QCOMPARE(settings.DelayAnswer, 17);
  QVERIFY(!settings.VoiceAnswer);
  QVERIFY(settings.LetterAnswer);
  QVERIFY(!settings.ShowTable);
  QCOMPARE(settings.VoicePresent, 1);
}

void PropertyDlgTest::storedDelaysOutsideTheRange_data() {
  QTest::addColumn<int>("stored");
  QTest::addColumn<int>("shown");
  QTest::addColumn<QString>("label");
  QTest::newRow("25 is held at 20") << 25 << 20 << "Delay : 20 s";
  QTest::newRow("0 is held at 1") << 0 << 1 << "Delay : 1 s";
  QTest::newRow("-4 is held at 1") << -4 << 1 << "Delay : 1 s";
  QTest::newRow("20 stays") << 20 << 20 << "Delay : 20 s";
  // The track bar stands at 5 already: it does not move, so the label keeps the stored text.
  QTest::newRow("5 stays") << 5 << 5 << "Delay : 5 s";
}

void PropertyDlgTest::storedDelaysOutsideTheRange() {
  QFETCH(int, stored);
  QFETCH(int, shown);
  QFETCH(QString, label);
  settings.DelayPresent = stored;
  settings.DelayAnswer = stored;
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  QCOMPARE(Find<QSlider>("trbDelayPresent")->value(), shown);
  QCOMPARE(Find<QLabel>("labelPresentDelay")->text(), label);
  QCOMPARE(Find<QLabel>("labelAnswerDelay")->text(), label);
  Find<QToolButton>("btnSave")->click();
  QCOMPARE(settings.DelayPresent, shown);
  QCOMPARE(settings.DelayAnswer, shown);
}

void PropertyDlgTest::voicePresentIndexChecksItsItem() {
  settings.VoicePresent = 2;
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  QVERIFY(Find<QRadioButton>("rbVoicePresentItem2")->isChecked());
  QCOMPARE(Find<QRadioButton>("rbVoicePresentItem2")->text(), QStringLiteral("Voice and text"));
  dlg.reset();
  // An index outside the items checks none, and saving keeps it.
  settings.VoicePresent = 7;
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  for (int i = 0; i < 3; ++i)
    QVERIFY(!Find<QRadioButton>(qPrintable(QStringLiteral("rbVoicePresentItem%1").arg(i)))->isChecked());
  Find<QToolButton>("btnSave")->click();
  QCOMPARE(settings.VoicePresent, 7);
}

void PropertyDlgTest::textsComeFromTheDatabase() {
  QVERIFY(texts.SetLanguage("DE"));
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  QCOMPARE(dlg->windowTitle(), QStringLiteral("Allgemeine Einstellungen - Übung"));
  QCOMPARE(Find<QGroupBox>("presentBox")->title(), QStringLiteral(" Abfrage "));
  QCOMPARE(Find<QLabel>("labelPresentDelay")->text(), QStringLiteral("Wartezeit : 10 s"));
  // The size entry is greyed: the dialog cannot be resized.
  QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
  // Yet it is wide enough for its German caption in the title bar.
  dlg->show();
  QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
  QVERIFY(dlg->width() >= CaptionWidth(dlg.get()));
  QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
}

void PropertyDlgTest::drillOptionsAreShownAndSaved() {
  settings.IgnoreAccents = true;
  settings.LetterPace = TPresentSettings::kLetterPaceVoice;
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  QVERIFY(!Find<QCheckBox>("cbTypedAnswer")->isChecked());
  QVERIFY(Find<QCheckBox>("cbIgnoreAccents")->isChecked());
  // The leniencies count only for typed answers.
  QVERIFY(!Find<QCheckBox>("cbIgnoreAccents")->isEnabled());
  QCOMPARE(Find<QComboBox>("cbxLetterPace")->currentText(), QStringLiteral("In step with the voice"));
  QCOMPARE(Find<QComboBox>("cbxCardPace")->currentText(), QStringLiteral("As usual"));
  Find<QCheckBox>("cbTypedAnswer")->click();
  QVERIFY(Find<QCheckBox>("cbIgnoreCase")->isEnabled());
  Find<QCheckBox>("cbIgnoreCase")->click();
  Find<QCheckBox>("cbIgnorePunctuation")->click();
  Find<QCheckBox>("cbSpeakMissing")->click();
  Find<QComboBox>("cbxCardPace")->setCurrentIndex(2);
  Find<QComboBox>("cbxLetterPace")->setCurrentIndex(1);
  QTest::keyClick(dlg.get(), Qt::Key_Return);
  QCOMPARE(dlg->result(), int(QDialog::Accepted));
  QVERIFY(settings.TypedAnswer && settings.IgnoreCase && settings.IgnoreAccents && settings.IgnorePunctuation);
  QVERIFY(settings.SpeakMissing);
  QCOMPARE(settings.CardPace, TPresentSettings::kCardPaceNone);
  QCOMPARE(settings.LetterPace, TPresentSettings::kLetterPaceFast);
  // The pace lists are tied to their labels.
  QCOMPARE(Find<QLabel>("labelCardPace")->buddy(), static_cast<QWidget*>(Find<QComboBox>("cbxCardPace")));
}

void PropertyDlgTest::drillOptionsFitInBothLanguages_data() {
  QTest::addColumn<QString>("language");
  QTest::newRow("EN") << "EN";
  QTest::newRow("DE") << "DE";
}

void PropertyDlgTest::drillOptionsFitInBothLanguages() {
  QFETCH(QString, language);
  QVERIFY(texts.SetLanguage(language.toStdString()));
  dlg = std::make_unique<TDlgProperty>(nullptr, texts, settings);
  dlg->show();
  QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
  for (const char* name : {"cbTypedAnswer", "cbIgnoreCase", "cbIgnoreAccents", "cbIgnorePunctuation",
                           "cbSpeakMissing", "labelCardPace", "labelLetterPace", "cbxCardPace", "cbxLetterPace"}) {
    QWidget* w = Find<QWidget>(name);
    QVERIFY2(w->width() >= w->sizeHint().width(), name);
    QVERIFY2(dlg->rect().contains(QRect(w->mapTo(dlg.get(), QPoint(0, 0)), w->size())), name);
  }
}

QTEST_MAIN(PropertyDlgTest)
#include "PropertyDlgTest.moc"
