#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <cstring>
#include <functional>
#include <sstream>
#include <memory>
#include <vector>

#include "settings/AppIniFile.h"
#include "settings/AppLangHandl.h"
#include "settings/IniFileHandler.h"
#include "settings/TextDbSource.h"
#include "settings/TextNumbers.h"
#include "widgets/GeneralUtil.h"
#include "widgets/HelpWnd.h"
#include "shell/MainWnd.h"
#include "shell/SingleInstance.h"
#include "shell/StatisticsDlg.h"
#include "storage/HistoryFile.h"
#include "widgets/DayChart.h"
#include "widgets/ModalRunner.h"
#include <QTableWidget>
#include <ctime>
#include "storage/PathLock.h"
#include "LangCommands.h"
#include "widgets/TickTimer.h"
#include "exercise/ExerciseWnd.h"
#include "session/ExerciseRun.h"
#include "core/PearArena.h"
#include "core/StrVector.h"
#include "storage/CodeDecode.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "SaveCallFault.h"
#include "ScratchMount.h"
#include "widgets/MMediaManager.h"
#include "shell/TerminationSignals.h"
#include <csignal>

namespace {
const QString kProgramDir = QStringLiteral(QM_PROGRAM_DIR);
const QString kTexts = QDir::cleanPath(QStringLiteral(QM_FIXTURE_DIR "/../../../resources/texts")) + '/';

// Stands in for the exercise window: records when it is closed.
class TFakeExerciseDlg : public QWidget {
 public:
  std::function<void()> onClose;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (onClose) onClose();
    QWidget::closeEvent(event);
  }
};

class TTestMainWindow : public tMainWindow {
 public:
  using tMainWindow::tMainWindow;
  bool realExerciseDlg = false;
  int exerciseDlgsCreated = 0;
  TFakeExerciseDlg* exerciseDlg = nullptr;
  std::function<void()> onExerciseClose;

 protected:
  std::unique_ptr<QWidget> CreateExerciseDlg() override {
    ++exerciseDlgsCreated;
    if (realExerciseDlg) return tMainWindow::CreateExerciseDlg();
    auto dlg = std::make_unique<TFakeExerciseDlg>();
    dlg->onClose = [this] {
      if (onExerciseClose) onExerciseClose();
    };
    exerciseDlg = dlg.get();
    return dlg;
  }
};

// A program directory of its own for each test.
struct TProgramDir {
  QTemporaryDir dir;

  std::string Path() const { return dir.path().toStdString(); }
  QString File(const QString& name) const { return dir.filePath(name); }
  std::string LangFile() const { return File("LangFiles/Eng_Ger/english_german.lang").toStdString(); }

  void Copy(const QString& name) const {
    QDir().mkpath(QFileInfo(File(name)).path());
    QVERIFY2(QFile::copy(kProgramDir + '/' + name, File(name)), qPrintable(name));
  }
  // Text.Db, help file, default picture and the demo lessons.
  void Bundle() const {
    for (const char* name : {"Text.Db", "Quillmere.Hlp", "Default.Bmp", "LangFiles/Eng_Ger/english_german.lang",
                             "LangFiles/Eng_Ger/english_german.Bmp"})
      Copy(QString::fromLatin1(name));
  }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile f(File(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray Read(const QString& name) const {
    QFile f(File(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // Settings naming the demo file and the lessons.
  void WriteIni(const QByteArray& language, const QByteArray& units, const QByteArray& langFile = {}) const {
    const QByteArray name = langFile.isEmpty() ? QByteArray::fromStdString(LangFile()) : langFile;
    QByteArray ini = "; kept comment\n[Application]\nLanguage=" + language +
                     "\n[Exercise]\nLangFileName=" + name +
                     "\nLang1=English\nLang2=German\nFirstLang=True\nMaxWords=20\n[AvailableUnits]\n";
    const QList<QByteArray> numbers = units.split(',');
    int n = 0;
    for (const QByteArray& u : numbers) {
      if (u.isEmpty()) continue;
      ini += QByteArray::number(n++) + '=' + u + '\n';
    }
    ini += "NbrUnits=" + QByteArray::number(n) + "\n[Other]\nKeep=me\n";
    Write("Quillmere.Ini", ini);
  }
  // A text database with the texts of one language only.
  void WriteOneLanguageTextDb(const char* code = "EN") const {
    QFile f(kTexts + code + ".txt");
    QVERIFY(f.open(QIODevice::ReadOnly));
    TTextSource texts;
    std::string error;
    QVERIFY2(ParseTextSource(code, code, f.readAll().toStdString(), texts, error), error.c_str());
    const TBytes bytes = PackTextDb({texts});
    Write("Text.Db", QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
  }
};
}  // namespace

class MainWndTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startWithoutSettingsFileEndsAndWritesNothing();
  void startWithoutTextDbEndsAndWritesNothing();
  void startWithStoredLanguageMissingInTheDatabaseEnds();
  void unknownInterfaceLanguageFallsBackToEnglishOnce();
  void storedLowerCaseLanguageStartsInGerman();
  void missingLanguageFileDisablesTheStart();
  void missingDefaultPictureIsReportedAndStartGoesOn();
  void lessonLabelListsTheLessonsInStoredOrder();
  void newComposeChecksAndDisablesResetPriority();
  void switchingTheInterfaceLanguage();
  void languageSwitchKeepsWhatThePanelAndLessonLabelShow_data();
  void languageSwitchKeepsWhatThePanelAndLessonLabelShow();
  void switchingToAMissingLanguageKeepsTextsAndMenuCheck();
  void failedSwitchKeepsTheLanguageInForce();
  void closingWritesExactlyTheSettings();
  void closingRetriesAFailedSettingsWrite();
  void startComposesAndShowsTheExerciseWindow();
  void startOnAFullDiskSaysTheFileWasNotSaved();
  void startWhileTheExerciseWindowIsVisibleDoesNotRecompose();
  void startWithAnEmptyCompositionSaysSo();
  void damagedLanguageFileIsReportedAndNothingChanges();
  void unreadableLanguageFileStartsNothing();
  void closingClosesTheExerciseWindowFirst();
  void closingKeepsAPairRetiredInTheOpenExerciseWindow();
  void editorChangeCodes();
  void progressIsKeptAfterEachPassAndWhenTheExerciseWindowCloses();
  void terminationSignalClosesAndSavesTheSession();
  void exitDuringASoundClosesAfterTheExerciseWindow();
  void damagedTextDbIsNamedInPlainEnglish();
  void readOnlyProgramDirectoryIsSaidAtStart();
  void refusedStoredListIsSaidAtStart();
  void presentationLanguageGoesToTheSettings();
  void storedSecondQuestionLanguageIsRestored();
  void helpTopicsAndContexts();
  void f1OnAMenuItemOpensThatItemsTopic();
  void f5StartsAndEscapeClosesTheHelp();
  void unusableHelpFileIsReported_data();
  void unusableHelpFileIsReported();
  void secondCopyOnTheSameSettingsNeitherStartsNorWrites();
  void languageFileChangedByAnImportKeepsTheImportsLessonAndTheRetirement();
  void switchingLanguageFilesKeepsEachFilesHeldBackPair();
  void heldBackPairsOfEveryExerciseReachTheSettingsFile();
  void movedProgramUsesItsOwnLanguageFile();

 private:
  std::unique_ptr<TTestMainWindow> Start(bool show = true);
  // The real exercise window on lesson 2 (12 pairs in use, spoken), its
  // first card shown; timers tick by hand until the test turns them back.
  // Its sounds play on a silent player.
  TExerciseDlg* StartLessonTwo();
  template <typename T>
  T* Find(const char* name) {
    T* w = win->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }
  // Starts an exercise in the real exercise window and runs it up to the
  // first card; returns the window.
  TExerciseDlg* StartExercise() {
    win->realExerciseDlg = true;
    Find<QToolButton>("btnExerciseRun")->click();
    TExerciseDlg* dlg = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<TExerciseDlg*>(w); d != nullptr && d->isVisible()) dlg = d;
    if (dlg == nullptr) return nullptr;
    for (int i = 0; i < 2000 && dlg->Run().timerGraphic.isActive(); ++i) dlg->Run().timerGraphic.Fire();
    return dlg;
  }
  // Gives the pair on the card a priority; returns its entry as it was.
  TExerciseWord GivePriority(TExerciseDlg* dlg, int priority) {
    const TExerciseWord entry = win->GetIniFile().ExerciseWords[std::size_t(dlg->Run().ExerciseIndex())];
    dlg->findChild<QRadioButton*>(QStringLiteral("rbPrio%1").arg(priority))->click();
    return entry;
  }
  void Activate() {
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(win.get(), &activate);
  }

  std::unique_ptr<TProgramDir> dir;
  std::unique_ptr<TTestMainWindow> win;
  std::vector<TMessageRequest> messages;
  int answer = QMessageBox::Ok;
};

void MainWndTest::init() {
  dir = std::make_unique<TProgramDir>();
  messages.clear();
  answer = QMessageBox::Ok;
  SetMessageBoxHook([this](const TMessageRequest& r) {
    messages.push_back(r);
    return answer;
  });
}

void MainWndTest::cleanup() {
  win.reset();
  TExerciseDlg::SetMediaFactory(nullptr);
  SetMessageBoxHook({});
}

std::unique_ptr<TTestMainWindow> MainWndTest::Start(bool show) {
  auto w = std::make_unique<TTestMainWindow>(dir->Path());
  if (show && !w->StartAborted()) w->show();
  return w;
}

void MainWndTest::startWithoutSettingsFileEndsAndWritesNothing() {
  dir->Bundle();
  win = Start();
  QVERIFY(win->StartAborted());
  QVERIFY(!win->isVisible());
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].caption, QStringLiteral("Quillmere V1.02"));
  QVERIFY(messages[0].text.contains("Quillmere.Ini", Qt::CaseInsensitive));
  QVERIFY(messages[0].beep);
  win->close();
  win.reset();
  QVERIFY(!QFile::exists(dir->File("Quillmere.Ini")));
}

void MainWndTest::startWithoutTextDbEndsAndWritesNothing() {
  dir->Bundle();
  QFile::remove(dir->File("Text.Db"));
  dir->WriteIni("EN", "1,2");
  const QByteArray before = dir->Read("Quillmere.Ini");
  win = Start();
  QVERIFY(win->StartAborted());
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].caption, QStringLiteral("Quillmere"));
  QVERIFY(messages[0].text.contains("Text.Db", Qt::CaseInsensitive));
  QTRY_VERIFY(!win->isVisible());  // the window closes once events run
  win.reset();
  QCOMPARE(dir->Read("Quillmere.Ini"), before);
}

void MainWndTest::startWithStoredLanguageMissingInTheDatabaseEnds() {
  dir->Bundle();
  dir->WriteOneLanguageTextDb();
  dir->WriteIni("DE", "1,2");
  const QByteArray before = dir->Read("Quillmere.Ini");
  win = Start();
  QVERIFY(win->StartAborted());
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].text, QStringLiteral("Language not found"));
  QCOMPARE(messages[0].icon, QMessageBox::Information);
  QVERIFY(messages[0].beep);
  QTRY_VERIFY(!win->isVisible());
  win.reset();
  QCOMPARE(dir->Read("Quillmere.Ini"), before);
}

// An unknown language showed "????" in every other window.
void MainWndTest::unknownInterfaceLanguageFallsBackToEnglishOnce() {
  dir->Bundle();
  dir->WriteIni("FR", "1,2");
  win = Start();
  QVERIFY(!win->StartAborted());
  QCOMPARE(messages.size(), 1);
  QVERIFY(messages[0].text.contains(QStringLiteral("\"FR\"")));
  QVERIFY(messages[0].text.contains(QStringLiteral("English")));
  QCOMPARE(Find<QMenu>("mExercise")->title(), QStringLiteral("&Exercise"));
  QVERIFY(win->GetLangHandler().GetText(txSettingsTitle) != "????");
  QVERIFY(Find<QAction>("mAppEnglish")->isChecked());
  QVERIFY(Find<QToolButton>("btnExerciseRun")->isEnabled());
  win->close();
  win.reset();
  QVERIFY(dir->Read("Quillmere.Ini").contains("Language=EN"));
}

void MainWndTest::storedLowerCaseLanguageStartsInGerman() {
  dir->Bundle();
  dir->WriteIni("de", "1,2");
  win = Start();
  QVERIFY(messages.empty());
  QCOMPARE(win->GetAppLanguage(), std::string("DE"));
  QCOMPARE(win->windowTitle(), QStringLiteral("Quillmere V1.02"));
  QCOMPARE(Find<QMenu>("mExercise")->title(),
           QString::fromStdString(std::string(win->GetLangHandler().GetText(txMenuExercise))));
  QCOMPARE(Find<QGroupBox>("selectLangBox")->title(),
           ' ' + QString::fromStdString(std::string(win->GetLangHandler().GetText(txQuestionLanguage))) + ' ');
  QVERIFY(Find<QAction>("mAppGerman")->isChecked());
  QVERIFY(!Find<QAction>("mAppEnglish")->isChecked());
}

void MainWndTest::missingLanguageFileDisablesTheStart() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2", dir->File("LangFiles/missing.lang").toUtf8());
  win = Start();
  QVERIFY(messages.empty());
  QVERIFY(!win->IsExerciseReady());
  for (const char* name : {"btnExerciseRun"}) QVERIFY(!Find<QWidget>(name)->isEnabled());
  for (const char* name : {"rbtnFirstLang", "rbtnSecondLang", "cbNewLoad", "cbResetPrio"})
    QVERIFY2(!Find<QWidget>(name)->isEnabled(), name);
  QVERIFY(!Find<QAction>("mExerciseRun")->isEnabled());
  QVERIFY(Find<QLabel>("panelLangFile")->text().isEmpty());
  const TAppLangHandler& t = win->GetLangHandler();
  QCOMPARE(Find<QLabel>("labelSelUnits")->text().toStdString(),
           std::string(t.GetText(txLesson) + t.GetText(txNoLesson)));
  // The settings dialog and the editor stay usable to mend it.
  QVERIFY(Find<QToolButton>("btnEditExercise")->isEnabled());
  QVERIFY(Find<QToolButton>("btnGeneralProperty")->isEnabled());
}

void MainWndTest::missingDefaultPictureIsReportedAndStartGoesOn() {
  dir->Bundle();
  QFile::remove(dir->File("Default.Bmp"));
  dir->WriteIni("EN", "1,2");
  win = Start();
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].caption, QStringLiteral("Quillmere V1.02"));
  QVERIFY(messages[0].text.contains("Default.Bmp", Qt::CaseInsensitive));
  QCOMPARE(messages[0].owner, static_cast<QWidget*>(win.get()));
  QVERIFY(!win->StartAborted());
  QVERIFY(win->IsExerciseReady());
  // The language file's own picture is there.
  QVERIFY(!Find<QLabel>("imageLangFile")->pixmap().isNull());
}

void MainWndTest::lessonLabelListsTheLessonsInStoredOrder() {
  dir->Bundle();
  dir->WriteIni("EN", "3,1,7");
  win = Start();
  QVERIFY(messages.empty());
  QCOMPARE(Find<QLabel>("labelSelUnits")->text(), QStringLiteral("Lesson : 3,1,7"));
  QCOMPARE(Find<QLabel>("panelLangFile")->text(), QStringLiteral("English - German"));
  QCOMPARE(Find<QRadioButton>("rbtnFirstLang")->text(), QStringLiteral("English"));
  QCOMPARE(Find<QRadioButton>("rbtnSecondLang")->text(), QStringLiteral("German"));
  QVERIFY(Find<QRadioButton>("rbtnFirstLang")->isChecked());
  QVERIFY(Find<QToolButton>("btnExerciseRun")->isEnabled());
  QVERIFY(!Find<QLabel>("imageLangFile")->pixmap().isNull());
}

void MainWndTest::newComposeChecksAndDisablesResetPriority() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  auto* newLoad = Find<QCheckBox>("cbNewLoad");
  auto* resetPrio = Find<QCheckBox>("cbResetPrio");
  QVERIFY(!resetPrio->isChecked());
  newLoad->click();
  QVERIFY(resetPrio->isChecked());
  QVERIFY(!resetPrio->isEnabled());
  newLoad->click();
  QVERIFY(resetPrio->isEnabled());
  QVERIFY(!resetPrio->isChecked());  // it came only with "New Compose" and goes with it
  // A tick the learner gave stays.
  resetPrio->click();
  newLoad->click();
  newLoad->click();
  QVERIFY(resetPrio->isChecked());
  newLoad->click();
  QVERIFY(!resetPrio->isEnabled());
  Activate();
  // Activation re-enables it even while "New Compose" is checked.
  QVERIFY(resetPrio->isEnabled());
  QVERIFY(newLoad->isChecked());
}

void MainWndTest::switchingTheInterfaceLanguage() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  const QString englishMenu = Find<QMenu>("mExercise")->title();
  Find<QAction>("mAppGerman")->trigger();
  QVERIFY(messages.empty());
  QVERIFY(Find<QAction>("mAppGerman")->isChecked());
  QVERIFY(Find<QMenu>("mExercise")->title() != englishMenu);
  QCOMPARE(Find<QLabel>("labelSelUnits")->text().toStdString(),
           std::string(win->GetLangHandler().GetText(txLesson)) + " : 1,2");
  Find<QAction>("mAppEnglish")->trigger();
  QCOMPARE(Find<QMenu>("mExercise")->title(), englishMenu);
  QVERIFY(Find<QAction>("mAppEnglish")->isChecked());
  QCOMPARE(Find<QLabel>("labelSelUnits")->text(), QStringLiteral("Lesson : 1,2"));
}

void MainWndTest::languageSwitchKeepsWhatThePanelAndLessonLabelShow_data() {
  QTest::addColumn<QByteArray>("units");
  QTest::addColumn<bool>("fileMissing");
  QTest::addColumn<QString>("panel");
  QTest::addColumn<QString>("englishLabel");
  QTest::addColumn<QString>("germanLabel");
  QTest::newRow("no lesson chosen") << QByteArray() << false << QString() << "Lesson : none"
                                    << "Lektion : keine";
  QTest::newRow("language file missing") << QByteArray("1,2") << true << QString() << "Lesson : none"
                                         << "Lektion : keine";
  QTest::newRow("ready") << QByteArray("1,2") << false << "English - German" << "Lesson : 1,2"
                         << "Lektion : 1,2";
}

// A switch used to fill the empty panel with " - " and to drop the "none".
void MainWndTest::languageSwitchKeepsWhatThePanelAndLessonLabelShow() {
  QFETCH(QByteArray, units);
  QFETCH(bool, fileMissing);
  QFETCH(QString, panel);
  dir->Bundle();
  dir->WriteIni("EN", units, fileMissing ? dir->File("LangFiles/missing.lang").toUtf8() : QByteArray());
  win = Start();
  auto* panelLangFile = Find<QLabel>("panelLangFile");
  auto* label = Find<QLabel>("labelSelUnits");
  QCOMPARE(panelLangFile->text(), panel);
  QTEST(label->text(), "englishLabel");
  Find<QAction>("mAppGerman")->trigger();
  QCOMPARE(panelLangFile->text(), panel);
  QTEST(label->text(), "germanLabel");
  Find<QAction>("mAppEnglish")->trigger();
  QCOMPARE(panelLangFile->text(), panel);
  QTEST(label->text(), "englishLabel");
  QVERIFY(messages.empty());
}

void MainWndTest::switchingToAMissingLanguageKeepsTextsAndMenuCheck() {
  dir->Bundle();
  dir->WriteOneLanguageTextDb();
  dir->WriteIni("EN", "1,2");
  win = Start();
  const QString menu = Find<QMenu>("mExercise")->title();
  Find<QAction>("mAppGerman")->trigger();
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].text, QStringLiteral("Language not found"));
  QCOMPARE(messages[0].caption, win->windowTitle());
  QVERIFY(!win->StartAborted());
  QVERIFY(Find<QAction>("mAppEnglish")->isChecked());
  QVERIFY(!Find<QAction>("mAppGerman")->isChecked());
  QCOMPARE(Find<QMenu>("mExercise")->title(), menu);
  QCOMPARE(win->GetAppLanguage(), std::string("EN"));
}

// A failed switch used to fall back to the code read at start, so the
// language shown and the one stored at closing could differ.
void MainWndTest::failedSwitchKeepsTheLanguageInForce() {
  dir->Bundle();
  dir->WriteOneLanguageTextDb("DE");
  dir->WriteIni("FR", "1,2");
  win = Start();
  Find<QAction>("mAppGerman")->trigger();
  QCOMPARE(win->GetAppLanguage(), std::string("DE"));
  Find<QAction>("mAppEnglish")->trigger();
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(win->GetAppLanguage(), std::string("DE"));
  QVERIFY(Find<QAction>("mAppGerman")->isChecked());
  win->close();
  tIniFileHandler ini(dir->File("Quillmere.Ini").toStdString());
  QCOMPARE(ini.ReadString("Application", "Language", ""), std::string("DE"));
}

void MainWndTest::closingWritesExactlyTheSettings() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QAction>("mAppGerman")->trigger();
  Find<QRadioButton>("rbtnSecondLang")->click();
  win->GetIniFile().DelayPresent = 7;
  win->GetIniFile().ExerciseWords = {{1, 2, 0, false}, {1, 3, 9, false}, {2, 0, 0, true}};
  win->GetIniFile().DeferredWords = {{2, 5, 3, false}};
  win->close();
  win.reset();

  tIniFileHandler ini(dir->File("Quillmere.Ini").toStdString());
  QCOMPARE(ini.ReadString("Application", "Language", ""), std::string("DE"));
  // Below the program directory, relative to it.
  QCOMPARE(ini.ReadString("Exercise", "LangFileName", ""), std::string("\\LangFiles\\Eng_Ger\\english_german.lang"));
  QCOMPARE(ini.ReadString("Exercise", "Lang1", ""), std::string("English"));
  QCOMPARE(ini.ReadString("Exercise", "FirstLang", ""), std::string("False"));
  QCOMPARE(ini.ReadString("Exercise", "MaxWords", ""), std::string("20"));
  QCOMPARE(ini.ReadIntList("AvailableUnits", "NbrUnits"), (std::vector<int32_t>{1, 2}));
  // Priority 9 and the filler are left out; the held-back entry follows.
  QCOMPARE(ini.ReadStrList("ExerciseWords", "NbrWords"), (std::vector<std::string>{"1-2-0", "2-5-3"}));
  QCOMPARE(ini.ReadString("GeneralProperty", "DelayPresent", ""), std::string("7"));
  for (const char* key : {"AutoPresent", "VoiceAnswer", "LetterAnswer", "DelayAnswer", "VoicePresent", "ShowTable"})
    QVERIFY2(ini.ValueExists("GeneralProperty", key), key);
  // What the program does not own stays.
  QCOMPARE(ini.ReadString("Other", "Keep", ""), std::string("me"));
  QVERIFY(dir->Read("Quillmere.Ini").contains("; kept comment"));
}

void MainWndTest::closingRetriesAFailedSettingsWrite() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QAction>("mAppGerman")->trigger();
  auto fault = std::make_unique<TSaveCallFailure>(TSaveCallFault{TSaveCall::Write, ENOSPC});
  int asked = 0;
  SetMessageBoxHook([&](const TMessageRequest& r) {
    ++asked;
    messages.push_back(r);
    fault.reset();  // room again: the retry succeeds
    return int(QMessageBox::Retry);
  });
  win->close();
  QCOMPARE(asked, 1);
  QVERIFY(messages.back().text.contains("Quillmere.Ini", Qt::CaseInsensitive));
  QVERIFY(messages.back().buttons.testFlag(QMessageBox::Retry));
  const QString text = messages.back().text;
  QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(text));
  tIniFileHandler ini(dir->File("Quillmere.Ini").toStdString());
  QCOMPARE(ini.ReadString("Application", "Language", ""), std::string("DE"));
}

void MainWndTest::startComposesAndShowsTheExerciseWindow() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  QVERIFY(win->GetIniFile().ExerciseWords.empty());
  Find<QToolButton>("btnExerciseRun")->click();
  QVERIFY(messages.empty());
  // Lessons 1 and 2 hold 25 pairs in use; at most MaxWords 20 are taken.
  QCOMPARE(win->GetIniFile().ExerciseWords.size(), std::size_t(20));
  QCOMPARE(win->exerciseDlgsCreated, 1);
  QVERIFY(win->exerciseDlg->isVisible());
  // The editor stays closed while an exercise runs.
  Activate();
  QVERIFY(!Find<QToolButton>("btnEditExercise")->isEnabled());
  QVERIFY(!Find<QAction>("mExerciseEditLessons")->isEnabled());
  // The drawn pairs went to the language file.
  TLangFHandler file;
  QVERIFY(file.LoadLangFile(dir->LangFile()));
  int drawn = 0;
  for (int32_t l = 0; l < file.LessonSlotCount(); ++l)
    if (auto lesson = file.GetLesson(l))
      for (int32_t p = 0; p < lesson->SlotCount(); ++p)
        if (auto pair = lesson->GetPear(p)) drawn += pair->Drawn ? 1 : 0;
  QCOMPARE(drawn, 20);
  // The test's own load left blocks kept for the next load; once the
  // exercise window is closed, they go back.
  file = TLangFHandler();
  QVERIFY(KeptPearBlockBytes() > 0);
  win->exerciseDlg->close();
  QCOMPARE(KeptPearBlockBytes(), std::size_t(0));
}

// The write of the drawn marks fails at the system call: the learner is told
// why, and the file keeps what it had.
void MainWndTest::startOnAFullDiskSaysTheFileWasNotSaved() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  const TBytes before = ReadFileBytes(dir->LangFile());
  {
    const TSaveCallFailure full({TSaveCall::Write, ENOSPC});
    Find<QToolButton>("btnExerciseRun")->click();
  }
  // The day's backup copy fails on the same full disk and says so first.
  QCOMPARE(messages.size(), std::size_t(2));
  QVERIFY(messages[0].text.startsWith(
      QString::fromStdString(std::string(win->GetLangHandler().GetText(txDailyBackupFailed)))));
  const QString text = messages[1].text;
  QVERIFY2(text.startsWith(QString::fromStdString(std::string(win->GetLangHandler().GetText(txDrawnPairsNotSaved)))),
           qPrintable(text));
  QVERIFY2(text.contains(QString::fromStdString(dir->LangFile())), qPrintable(text));
  QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(text));
  QCOMPARE(messages[1].icon, QMessageBox::Warning);
  QVERIFY(ReadFileBytes(dir->LangFile()) == before);
  const QDir folder = QFileInfo(QString::fromStdString(dir->LangFile())).dir();
  QCOMPARE(folder.entryList(QDir::Hidden | QDir::Files), folder.entryList(QDir::Files));  // no temporary file
}

void MainWndTest::startWhileTheExerciseWindowIsVisibleDoesNotRecompose() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QToolButton>("btnExerciseRun")->click();
  const TExerciseWords list = win->GetIniFile().ExerciseWords;
  Find<QCheckBox>("cbNewLoad")->click();
  Find<QAction>("mExerciseRun")->trigger();
  QCOMPARE(win->GetIniFile().ExerciseWords, list);
  QCOMPARE(win->exerciseDlgsCreated, 1);
  // Hidden again, the next start composes and shows the same window.
  win->exerciseDlg->hide();
  Find<QToolButton>("btnExerciseRun")->click();
  QCOMPARE(win->exerciseDlgsCreated, 1);
  QVERIFY(win->exerciseDlg->isVisible());
  QCOMPARE(win->GetIniFile().ExerciseWords.size(), std::size_t(20));
}

void MainWndTest::startWithAnEmptyCompositionSaysSo() {
  dir->Bundle();
  dir->WriteIni("EN", "9");  // the file has no lesson 9
  win = Start();
  Find<QToolButton>("btnExerciseRun")->click();
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].text.toStdString(), std::string(win->GetLangHandler().GetText(txNoPairsToPractise)));
  QCOMPARE(messages[0].caption.toStdString(), std::string(win->GetLangHandler().GetText(txProgramName)));
  QVERIFY(messages[0].beep);
  QCOMPARE(win->exerciseDlgsCreated, 0);
}

void MainWndTest::damagedLanguageFileIsReportedAndNothingChanges() {
  dir->Bundle();
  TStrVector lines;
  int n = 0;
  for (const char* line : {"[General]", "English@German", "[1]", "0=house@Haus# @ *", "x=tree@Baum# @ *"})
    lines.Put(n++, line);
  QVERIFY(WriteFileBytes(dir->LangFile(), StringsToContainer(lines), true));
  const QByteArray before = dir->Read("LangFiles/Eng_Ger/english_german.lang");
  dir->WriteIni("EN", "1");
  win = Start();
  Find<QToolButton>("btnExerciseRun")->click();
  QCOMPARE(messages.size(), std::size_t(1));
  QVERIFY2(messages[0].text.contains("english_german.lang") && messages[0].text.contains("line 5"),
           qPrintable(messages[0].text));
  QCOMPARE(win->exerciseDlgsCreated, 0);
  QVERIFY(win->GetIniFile().ExerciseWords.empty());
  QCOMPARE(dir->Read("LangFiles/Eng_Ger/english_german.lang"), before);
  // The program goes on.
  QVERIFY(win->isVisible());
  QVERIFY(Find<QToolButton>("btnExerciseRun")->isEnabled());
}

// A file that fails its header or checksum test used to leave the old list
// running on pairs that were never read.
void MainWndTest::unreadableLanguageFileStartsNothing() {
  dir->Bundle();
  dir->Write("LangFiles/Eng_Ger/english_german.lang", "not a language file");
  dir->WriteIni("EN", "1,2");
  win = Start();
  win->GetIniFile().ExerciseWords = {{1, 0, 0, false}};
  Find<QToolButton>("btnExerciseRun")->click();
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].text.split('\n').value(0).toStdString(),
           std::string(win->GetLangHandler().GetText(txLangFileUnreadable)));
  QVERIFY(messages[0].text.contains("english_german.lang"));
  QCOMPARE(win->exerciseDlgsCreated, 0);
  QCOMPARE(win->GetIniFile().ExerciseWords.size(), std::size_t(1));
  QCOMPARE(dir->Read("LangFiles/Eng_Ger/english_german.lang"), QByteArray("not a language file"));
}

void MainWndTest::closingClosesTheExerciseWindowFirst() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QToolButton>("btnExerciseRun")->click();
  win->onExerciseClose = [&] {
    // What the exercise window does on closing must reach the settings file.
    win->GetIniFile().DeferredWords = {{7, 7, 7, false}};
  };
  win->close();
  QVERIFY(!win->exerciseDlg->isVisible());
  QVERIFY(dir->Read("Quillmere.Ini").contains("7-7-7"));
}

namespace {
// The exercise window of the test: the pass runs on hand-ticked timers.
TExerciseDlg* ShownExerciseDlg() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<TExerciseDlg*>(w); d != nullptr && d->isVisible()) return d;
  return nullptr;
}

void Settle(TExerciseDlg& dlg) {
  for (int i = 0; i < 2000 && dlg.Run().timerGraphic.isActive(); ++i) dlg.Run().timerGraphic.Fire();
}

std::string StoredLine(const QString& iniFile, int index) {
  return tIniFileHandler(iniFile.toStdString()).ReadStrList("ExerciseWords", "NbrWords").at(std::size_t(index));
}

std::string LineOf(const TExerciseWord& w, int priority) {
  return std::to_string(w.LessonNbr) + '-' + std::to_string(w.PearNbr) + '-' + std::to_string(priority);
}

// Plays nothing, but lets a test act while a sound "plays".
class TScriptedPlayer : public TWavePlayer {
 public:
  explicit TScriptedPlayer(std::function<void()> during) : during_(std::move(during)) {}
  bool Available() override { return true; }
  bool PlayAndWait(const QString&) override {
    if (during_) during_();
    return true;
  }

 private:
  std::function<void()> during_;
};
}  // namespace

TExerciseDlg* MainWndTest::StartLessonTwo() {
  TTickTimer::SetManual(true);
  dir->Bundle();
  dir->WriteIni("EN", "2");
  for (const QString& wave : QDir(kProgramDir + "/LangFiles/Eng_Ger").entryList({"*.wav"}))
    dir->Copy("LangFiles/Eng_Ger/" + wave);
  TExerciseDlg::SetMediaFactory([](QWidget* owner) {
    return std::make_unique<TMediaManager>(owner, std::make_unique<TScriptedPlayer>(nullptr));
  });
  win = Start();
  win->realExerciseDlg = true;
  Find<QToolButton>("btnExerciseRun")->click();
  TExerciseDlg* dlg = ShownExerciseDlg();
  if (dlg != nullptr) Settle(*dlg);
  // Every sound of the lesson is there to play: nothing to warn about.
  return messages.empty() ? dlg : nullptr;
}

// Ending the program with the exercise window open used to skip its closing,
// so a pair retired with priority 9 silently stayed in use.
void MainWndTest::closingKeepsAPairRetiredInTheOpenExerciseWindow() {
  TExerciseDlg* dlg = StartLessonTwo();
  QVERIFY(dlg != nullptr);
  QVERIFY(dlg->Run().ExerciseIndex() >= 0);
  const TExerciseWord retired = win->GetIniFile().ExerciseWords[std::size_t(dlg->Run().ExerciseIndex())];
  dlg->findChild<QRadioButton*>("rbPrio9")->click();
  win->close();
  TTickTimer::SetManual(false);
  QVERIFY(!dlg->isVisible());

  tIniFileHandler ini(dir->File("Quillmere.Ini").toStdString());
  const std::vector<std::string> lines = ini.ReadStrList("ExerciseWords", "NbrWords");
  QCOMPARE(lines.size(), std::size_t(11));
  const std::string retiredStart = std::to_string(retired.LessonNbr) + '-' + std::to_string(retired.PearNbr) + '-';
  for (const std::string& line : lines) QVERIFY(line.rfind(retiredStart, 0) != 0);
  TLangFHandler file;
  QVERIFY(file.LoadLangFile(dir->LangFile()));
  QVERIFY(!file.GetLesson(retired.LessonNbr)->GetPear(retired.PearNbr)->InUse);
}

// Settings were written only when the main window closed: a crash or a
// logout lost the whole session's priorities.
void MainWndTest::progressIsKeptAfterEachPassAndWhenTheExerciseWindowCloses() {
  TExerciseDlg* dlg = StartLessonTwo();
  QVERIFY(dlg != nullptr);
  const TExerciseWords& list = win->GetIniFile().ExerciseWords;
  const TExerciseWord first = list[0];
  dlg->findChild<QRadioButton*>("rbPrio3")->click();
  // The second pair is retired: the language file must hold that at once too.
  dlg->btnNextClick();
  Settle(*dlg);
  dlg->btnNextClick();
  Settle(*dlg);
  const TExerciseWord second = list[1];
  dlg->findChild<QRadioButton*>("rbPrio9")->click();
  answer = QMessageBox::No;  // no repeat: the table is shown
  for (int i = 0; i < 100 && !dlg->findChild<QTreeWidget*>("exerciseList")->isVisible(); ++i) {
    dlg->btnNextClick();
    Settle(*dlg);
  }
  QVERIFY(dlg->findChild<QTreeWidget*>("exerciseList")->isVisible());
  // Every answer of the spoken lesson had its sound: none was missing.
  for (const TMessageRequest& m : messages) QVERIFY2(!m.text.contains(".wav"), qPrintable(m.text));
  QCOMPARE(StoredLine(dir->File("Quillmere.Ini"), 0), LineOf(first, 3));
  TLangFHandler file;
  QVERIFY(file.LoadLangFile(dir->LangFile()));
  QVERIFY(!file.GetLesson(second.LessonNbr)->GetPear(second.PearNbr)->InUse);

  // A correction in the table is kept when the exercise window closes.
  const int practised = dlg->findChild<QTreeWidget*>("exerciseList")->topLevelItemCount();
  dlg->Run().exerciseListSelectItem(0);
  dlg->findChild<QRadioButton*>("rbPrio5")->click();
  dlg->close();
  TTickTimer::SetManual(false);
  tIniFileHandler ini(dir->File("Quillmere.Ini").toStdString());
  const std::vector<std::string> lines = ini.ReadStrList("ExerciseWords", "NbrWords");
  QVERIFY(std::find(lines.begin(), lines.end(), LineOf(first, 5)) != lines.end());
  QCOMPARE(lines.size(), std::size_t(11));

  // The pass went to the history in the data folder, and the statistics
  // window shows it: today's bar, the retired pair, the held-back one.
  const std::string today = HistoryDate(std::time(nullptr));
  const THistorySummary history =
      ReadHistory(dir->File(kHistoryFileName).toStdString(), HistoryFileKey(dir->LangFile()));
  QCOMPARE(history.Days.size(), std::size_t(1));
  QCOMPARE(history.Days.at(today).Pairs, long(practised));
  QString totalRow, chart;
  const TModalRunHook before = SetModalRunHook([&](QDialog& shown) {
    auto* stats = qobject_cast<TStatisticsDlg*>(&shown);
    if (stats == nullptr) return 0;
    QTableWidget* table = stats->lessonTable;
    const int last = table->rowCount() - 1;
    for (int c = 0; c < table->columnCount(); ++c) totalRow += table->item(last, c)->text() + ' ';
    chart = stats->dayChart->accessibleDescription();
    return 0;
  });
  Activate();
  QVERIFY(Find<QAction>("mExerciseStatistics")->isEnabled());
  Find<QAction>("mExerciseStatistics")->trigger();
  SetModalRunHook(before);
  // The demo's 40 pairs, one out of use in each lesson from the start and
  // one retired here; the first pair held back with 5.
  QCOMPARE(totalRow, QStringLiteral("Total 40 36 1 0 0 0 0 1 0 0 0 4 "));
  QVERIFY2(chart.endsWith(QStringLiteral(": %1 pairs").arg(practised)), qPrintable(chart));
}

void MainWndTest::terminationSignalClosesAndSavesTheSession() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QAction>("mAppGerman")->trigger();
  InstallTerminationSignals([this] { win->CloseOnSignal(); });
  std::raise(SIGTERM);
  QTRY_VERIFY(!win->isVisible());
  tIniFileHandler ini(dir->File("Quillmere.Ini").toStdString());
  QCOMPARE(ini.ReadString("Application", "Language", ""), std::string("DE"));
}

// Exit while a sound plays waited for the sound's end; the close must act
// at once and still go through the exercise window's own close first.
void MainWndTest::exitDuringASoundClosesAfterTheExerciseWindow() {
  TTickTimer::SetManual(true);
  dir->Bundle();
  dir->WriteIni("EN", "1");  // lesson 1 is spoken
  for (const QString& wave : QDir(kProgramDir + "/LangFiles/Eng_Ger").entryList({"*.wav"}))
    dir->Copy("LangFiles/Eng_Ger/" + wave);
  win = Start();
  win->realExerciseDlg = true;
  bool mainVisibleDuring = false;
  TExerciseDlg::SetMediaFactory([this, &mainVisibleDuring](QWidget* owner) {
    return std::make_unique<TMediaManager>(owner, std::make_unique<TScriptedPlayer>([this, &mainVisibleDuring] {
      Find<QAction>("mExerciseExit")->trigger();
      mainVisibleDuring = win->isVisible();
    }));
  });
  win->GetIniFile().VoiceAnswer = true;
  Find<QToolButton>("btnExerciseRun")->click();
  TExerciseDlg* dlg = ShownExerciseDlg();
  QVERIFY(dlg != nullptr);
  Settle(*dlg);
  dlg->findChild<QRadioButton*>("rbPrio4")->click();
  const TExerciseWord first = win->GetIniFile().ExerciseWords[0];
  dlg->btnNextClick();
  Settle(*dlg);
  TExerciseDlg::SetMediaFactory(nullptr);
  TTickTimer::SetManual(false);
  QVERIFY(mainVisibleDuring);
  QTRY_VERIFY(!win->isVisible());
  QVERIFY(!dlg->isVisible());
  const std::vector<std::string> lines =
      tIniFileHandler(dir->File("Quillmere.Ini").toStdString()).ReadStrList("ExerciseWords", "NbrWords");
  QVERIFY(std::find(lines.begin(), lines.end(), LineOf(first, 4)) != lines.end());
}

// A damaged Text.Db ended the program without a word.
void MainWndTest::damagedTextDbIsNamedInPlainEnglish() {
  dir->Bundle();
  dir->Write("Text.Db", QByteArray("not a text database at all"));
  dir->WriteIni("EN", "1,2");
  const QByteArray before = dir->Read("Quillmere.Ini");
  win = Start();
  QVERIFY(win->StartAborted());
  QCOMPARE(messages.size(), std::size_t(1));
  QVERIFY(messages[0].text.contains("damaged"));
  QVERIFY(messages[0].text.contains(dir->File("Text.Db")));
  QTRY_VERIFY(!win->isVisible());
  win.reset();
  QCOMPARE(dir->Read("Quillmere.Ini"), before);
}

// Installed for all users, the program directory is read-only: the learner
// must hear at start that the session's progress cannot be kept there.
void MainWndTest::readOnlyProgramDirectoryIsSaidAtStart() {
  TScratchMount disk("size=8m");
  if (!disk.Mounted()) QSKIP("no tmpfs mount here");
  const QString root = QString::fromStdString(disk.Path().string());
  for (const char* name : {"Text.Db", "Quillmere.Hlp", "Default.Bmp", "LangFiles/Eng_Ger/english_german.lang"}) {
    QDir().mkpath(QFileInfo(root + '/' + name).path());
    QVERIFY(QFile::copy(kProgramDir + '/' + name, root + '/' + name));
  }
  const QByteArray ini = "[Application]\nLanguage=EN\n[Exercise]\nLangFileName=" + root.toLocal8Bit() +
                         "/LangFiles/Eng_Ger/english_german.lang\nLang1=English\nLang2=German\nMaxWords=20\n"
                         "[AvailableUnits]\n0=1\nNbrUnits=1\n";
  QFile f(root + "/Quillmere.Ini");
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(ini);
  f.close();
  QVERIFY(disk.RemountReadOnly());
  auto w = std::make_unique<TTestMainWindow>(root.toStdString());
  w->show();
  QCOMPARE(messages.size(), std::size_t(1));
  const QString text = messages[0].text;
  QVERIFY2(text.contains(root + "/Quillmere.Ini"), qPrintable(text));
  QVERIFY2(text.contains("english_german.lang"), qPrintable(text));
  QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(EROFS))), qPrintable(text));
  answer = QMessageBox::Cancel;
  w->close();
}

void MainWndTest::refusedStoredListIsSaidAtStart() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  QByteArray list = "[ExerciseWords]\n";
  const int n = int(TAppIniFile::kMaxStoredWords) + 1;
  for (int i = 0; i < n; ++i) list += QByteArray::number(i) + "=1-0-0\n";
  list += "NbrWords=" + QByteArray::number(n) + "\n";
  dir->Write("Quillmere.Ini", dir->Read("Quillmere.Ini") + list);
  win = Start();
  QCOMPARE(messages.size(), std::size_t(1));
  QVERIFY(messages[0].text.contains(QString::number(n)));
  QVERIFY(win->GetIniFile().ExerciseWords.empty());
}

void MainWndTest::editorChangeCodes() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  TAppIniFile& ini = win->GetIniFile();
  // 5 with more entries than MaxWords: the first MaxWords stay.
  ini.MaxWords = 10;
  ini.ExerciseWords.clear();
  for (int i = 0; i < 12; ++i) ini.ExerciseWords.push_back({1, i, 0, false});
  win->ApplyEditorResult(2, 5);
  QCOMPARE(ini.ExerciseWords.size(), std::size_t(10));
  QCOMPARE(ini.ExerciseWords[9].PearNbr, 9);
  // 4 and 8 change nothing.
  win->ApplyEditorResult(2, 4);
  win->ApplyEditorResult(2, 8);
  QCOMPARE(ini.ExerciseWords.size(), std::size_t(10));
  QVERIFY(!win->IsRecomposed());
  // OK shows what the editor chose; 6 composes afresh and stays recomposed.
  ini.AvailableUnits = {2};
  win->ApplyEditorResult(1, 6);
  QCOMPARE(Find<QLabel>("labelSelUnits")->text(), QStringLiteral("Lesson : 2"));
  QVERIFY(win->IsRecomposed());
  QCOMPARE(ini.ExerciseWords.size(), std::size_t(10));
  for (const TExerciseWord& w : ini.ExerciseWords) QCOMPARE(w.LessonNbr, 2);
}

void MainWndTest::presentationLanguageGoesToTheSettings() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  QVERIFY(win->IsFirstLangChecked());
  Find<QRadioButton>("rbtnSecondLang")->click();
  QVERIFY(!win->GetIniFile().FirstLang);
  QVERIFY(!win->IsFirstLangChecked());
  Find<QRadioButton>("rbtnFirstLang")->click();
  QVERIFY(win->GetIniFile().FirstLang);
}

// FirstLang=False once started with the first language checked, because
// unchecking a button of an exclusive group does nothing.
void MainWndTest::storedSecondQuestionLanguageIsRestored() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  QByteArray ini = dir->Read("Quillmere.Ini");
  ini.replace("FirstLang=True", "FirstLang=False");
  dir->Write("Quillmere.Ini", ini);

  // Closed at once: the file is written back as it was.
  win = Start();
  QVERIFY(Find<QRadioButton>("rbtnSecondLang")->isChecked());
  QVERIFY(!Find<QRadioButton>("rbtnFirstLang")->isChecked());
  win->close();
  win.reset();
  QCOMPARE(tIniFileHandler(dir->File("Quillmere.Ini").toStdString()).ReadString("Exercise", "FirstLang", ""),
           std::string("False"));
  const QByteArray written = dir->Read("Quillmere.Ini");

  // Started again: the exercise asks in German, and the file stays the same.
  win = Start();
  QVERIFY(Find<QRadioButton>("rbtnSecondLang")->isChecked());
  TExerciseDlg* dlg = StartExercise();
  QVERIFY(dlg != nullptr);
  const TExerciseWord entry = win->GetIniFile().ExerciseWords[std::size_t(dlg->Run().ExerciseIndex())];
  TLangFHandler file;
  QVERIFY(file.LoadLangFile(dir->LangFile()));
  const auto pair = file.GetLesson(entry.LessonNbr)->GetPear(entry.PearNbr);
  QCOMPARE(dlg->Run().CurrentPear().Word1, pair->Word2);
  QCOMPARE(dlg->Run().CurrentPear().Word2, pair->Word1);
  dlg->close();
  win->GetIniFile().ExerciseWords.clear();
  win->close();
  win.reset();
  QCOMPARE(dir->Read("Quillmere.Ini"), written);
}

void MainWndTest::helpTopicsAndContexts() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QToolButton>("btnHelp")->click();
  QVERIFY(OpenHelpWindow() != nullptr);
  QCOMPARE(OpenHelpWindow()->CurrentKeyword(), QStringLiteral("Hauptfenster"));
  Find<QAction>("mHelpGeneral")->trigger();
  QCOMPARE(OpenHelpWindow()->CurrentKeyword(), QStringLiteral("Allgemeines"));
  Find<QAction>("mHelpContents")->trigger();
  QCOMPARE(OpenHelpWindow()->CurrentKeyword(), QStringLiteral("Inhalt"));
  // F1: the group boxes have context 7, the window 1.
  QTest::keyClick(Find<QRadioButton>("rbtnFirstLang"), Qt::Key_F1);
  QCOMPARE(OpenHelpWindow()->CurrentKeyword(), QStringLiteral("Hauptfenster"));
  QTest::keyClick(Find<QLabel>("labelSelUnits"), Qt::Key_F1);
  QCOMPARE(OpenHelpWindow()->CurrentKeyword(), QStringLiteral("Inhalt"));
  QVERIFY(messages.empty());
  // The help follows the interface language.
  Find<QAction>("mAppGerman")->trigger();
  QVERIFY(OpenHelpWindow()->findChild<QTextBrowser*>("helpBrowser")->toHtml().contains("Inhalt"));
  // Closing the main window closes the help.
  QPointer<THelpWindow> help = OpenHelpWindow();
  win->close();
  QTRY_VERIFY(help.isNull() || !help->isVisible());
}

void MainWndTest::f1OnAMenuItemOpensThatItemsTopic() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QToolButton>("btnHelp")->click();
  QCOMPARE(OpenHelpWindow()->CurrentKeyword(), QStringLiteral("Hauptfenster"));
  QMenu* menu = Find<QMenu>("mHelp");
  const struct {
    const char* item;
    const char* topic;
  } cases[] = {{"mHelpGeneral", "Allgemeines"}, {"mHelpContents", "Inhalt"}, {"mHelpGeneral", "Allgemeines"}};
  for (const auto& c : cases) {
    menu->popup(win->mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(Find<QAction>(c.item));
    QTest::keyClick(menu, Qt::Key_F1);
    QCOMPARE(OpenHelpWindow()->CurrentKeyword(), QString::fromLatin1(c.topic));
    QVERIFY(!menu->isVisible());
  }
  QVERIFY(messages.empty());
}

void MainWndTest::f5StartsAndEscapeClosesTheHelp() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");
  win = Start();
  // The menu shows the key beside Start.
  QCOMPARE(Find<QAction>("mExerciseRun")->shortcut(), QKeySequence(Qt::Key_F5));
  win->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(win.get()));
  QTest::keyClick(win.get(), Qt::Key_F5);
  QCOMPARE(win->exerciseDlgsCreated, 1);
  QVERIFY(win->exerciseDlg->isVisible());

  Find<QToolButton>("btnHelp")->click();
  QPointer<THelpWindow> help = OpenHelpWindow();
  QVERIFY(help != nullptr && help->isVisible());
  QTest::keyClick(help->findChild<QTextBrowser*>("helpBrowser"), Qt::Key_Escape);
  QVERIFY(help.isNull() || !help->isVisible());
  QVERIFY(win->isVisible());
}

void MainWndTest::unusableHelpFileIsReported_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<bool>("present");
  QTest::addColumn<QString>("reason");
  QTest::newRow("missing") << QByteArray() << false << QString();
  QTest::newRow("malformed") << QByteArray("@topic Inhalt\n@bogus\n") << true << QStringLiteral("line 2");
  QTest::newRow("no such topic") << QByteArray("@topic Inhalt\n@EN Contents\n") << true << QStringLiteral("Hauptfenster");
}

void MainWndTest::unusableHelpFileIsReported() {
  QFETCH(QByteArray, content);
  QFETCH(bool, present);
  QFETCH(QString, reason);
  dir->Bundle();
  QFile::remove(dir->File("Quillmere.Hlp"));
  if (present) dir->Write("Quillmere.Hlp", content);
  dir->WriteIni("EN", "1,2");
  win = Start();
  Find<QToolButton>("btnHelp")->click();
  QCOMPARE(messages.size(), std::size_t(1));
  QVERIFY2(messages[0].text.contains(reason), qPrintable(messages[0].text));
  QVERIFY(messages[0].text.contains(present && reason.startsWith("Haupt") ? "Hauptfenster" : "Quillmere.Hlp"));
  QVERIFY(OpenHelpWindow() == nullptr || !OpenHelpWindow()->isVisible());
}

QTEST_MAIN(MainWndTest)
#include "MainWndTest.moc"

// Two copies on one program directory: the one closed last wrote its
// settings over the other's.
void MainWndTest::secondCopyOnTheSameSettingsNeitherStartsNorWrites() {
  dir->Bundle();
  dir->WriteIni("DE", "1,2");
  const std::string settings = dir->Path() + "/Quillmere.Ini";
  auto running = std::make_unique<TSingleInstance>(settings);
  QVERIFY(running->Claim());
  win = Start();
  connect(running.get(), &TSingleInstance::raiseRequested, win.get(), &tMainWindow::BringToFront);
  int raised = 0;
  connect(running.get(), &TSingleInstance::raiseRequested, [&] { ++raised; });
  const QByteArray before = dir->Read("Quillmere.Ini");

  TSingleInstance second(dir->Path() + "/./Quillmere.Ini");
  QVERIFY(RefuseSecondCopy(PortableFolders(dir->Path()), second));
  QCOMPARE(messages.size(), std::size_t(1));
  TAppLangHandler texts;
  QVERIFY(texts.LoadTextDb(dir->Path() + "/Text.Db", {}, nullptr) && texts.SetLanguage("DE"));
  QCOMPARE(messages[0].text.toStdString(), std::string(texts.GetText(txAlreadyRunning)));
  QVERIFY(messages[0].beep);
  QTRY_COMPARE(raised, 1);
  QCOMPARE(dir->Read("Quillmere.Ini"), before);

  // Without a text database the message is in English.
  QFile::remove(dir->File("Text.Db"));
  messages.clear();
  QVERIFY(RefuseSecondCopy(PortableFolders(dir->Path()), second));
  QVERIFY(messages.at(0).text.startsWith(QStringLiteral("Quillmere is already running")));
  QTRY_COMPARE(raised, 2);

  // Another program directory is another writer; and once the first copy
  // ends, the next one may start.
  QTemporaryDir otherDir;
  TSingleInstance other(otherDir.path().toStdString() + "/Quillmere.Ini");
  QVERIFY(other.Claim());
  messages.clear();
  TSingleInstance next(settings);
  QVERIFY(!next.Claim());
  running.reset();
  QVERIFY(next.Claim());
}

// The program open while quillmere-lang import rewrote its language file
// saved its older copy at the end: the imported lesson was gone.
void MainWndTest::languageFileChangedByAnImportKeepsTheImportsLessonAndTheRetirement() {
  TTickTimer::SetManual(true);
  dir->Bundle();
  dir->WriteIni("EN", "2");
  win = Start();
  TExerciseDlg* dlg = StartExercise();
  QVERIFY(dlg != nullptr);
  const TExerciseWord retired = GivePriority(dlg, 9);

  // The file as a table, one lesson more, imported over the file.
  const std::string lang = dir->LangFile();
  std::ostringstream table, err;
  QCOMPARE(RunLangTool({"export", lang}, table, err), 0);
  const std::string tablePath = dir->File("table.tsv").toStdString();
  QVERIFY(WriteFileBytes(tablePath, [&] {
    const std::string text = table.str() + "7\t0\t1\t0\tsun\tSonne\t\t\n";
    return TBytes(text.begin(), text.end());
  }(), true));
  std::ostringstream out;
  const std::vector<std::string> import = {"import", tablePath, "--tsv", lang, "--lang1", "English", "--lang2", "German"};
  // The program holds its exercise file: only --force replaces it.
  QCOMPARE(RunLangTool(import, out, err), 1);
  std::vector<std::string> forced = import;
  forced.push_back("--force");
  QCOMPARE(RunLangTool(forced, out, err), 0);

  dlg->close();
  TTickTimer::SetManual(false);
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].text.split('\n').value(0).toStdString(),
           std::string(win->GetLangHandler().GetText(txChangedElsewhereMerged)));
  QVERIFY(messages[0].text.contains("english_german.lang"));
  TLangFHandler file;
  QVERIFY(file.LoadLangFile(lang));
  QVERIFY(file.GetLesson(7) != nullptr);
  QCOMPARE(file.GetLesson(7)->GetPear(0)->Word1, std::string("sun"));
  QVERIFY(!file.GetLesson(retired.LessonNbr)->GetPear(retired.PearNbr)->InUse);
  // Said once: the next save finds the file as the program left it.
  win->close();
  QCOMPARE(messages.size(), std::size_t(1));
}

// "Skip three times" in file A, file B opened, A again: the held-back pair
// was back in the next exercise (13 of 13).
void MainWndTest::switchingLanguageFilesKeepsEachFilesHeldBackPair() {
  TTickTimer::SetManual(true);
  dir->Bundle();
  dir->WriteIni("EN", "2");  // lesson 2: 12 pairs in use
  const std::string fileA = dir->LangFile();
  const std::string fileB = dir->File("LangFiles/Eng_Ger/copy.lang").toStdString();
  QVERIFY(QFile::copy(QString::fromStdString(fileA), QString::fromStdString(fileB)));
  win = Start();
  TExerciseDlg* dlg = StartExercise();
  QVERIFY(dlg != nullptr);
  const TExerciseWord held = GivePriority(dlg, 3);
  dlg->close();
  TTickTimer::SetManual(false);

  // What the editor leaves after OK with another file (lesson 2 chosen there too).
  TAppIniFile& ini = win->GetIniFile();
  ini.LangFileName = fileB;
  win->ApplyEditorResult(1, 7);
  QCOMPARE(ini.ExerciseWords.size(), std::size_t(12));  // B composed afresh
  ini.LangFileName = fileA;
  win->ApplyEditorResult(1, 7);

  win->realExerciseDlg = false;
  Find<QToolButton>("btnExerciseRun")->click();
  QCOMPARE(ini.ExerciseWords.size(), std::size_t(11));
  for (const TExerciseWord& w : ini.ExerciseWords)
    QVERIFY(!(w.LessonNbr == held.LessonNbr && w.PearNbr == held.PearNbr));
  QCOMPARE(ini.DeferredWords, (TExerciseWords{{held.LessonNbr, held.PearNbr, 2, false}}));
}

// Held back in the first exercise, the pair was dropped from the stored
// lists once another pair was held back in the second.
void MainWndTest::heldBackPairsOfEveryExerciseReachTheSettingsFile() {
  TTickTimer::SetManual(true);
  dir->Bundle();
  dir->WriteIni("EN", "2");
  win = Start();
  std::vector<TExerciseWord> held;
  for (int start = 0; start < 2; ++start) {
    TExerciseDlg* dlg = StartExercise();
    QVERIFY(dlg != nullptr);
    held.push_back(GivePriority(dlg, 3));
    dlg->close();
  }
  TExerciseDlg* dlg = StartExercise();
  QVERIFY(dlg != nullptr);
  TTickTimer::SetManual(false);
  win->close();

  tIniFileHandler ini(dir->File("Quillmere.Ini").toStdString());
  const std::vector<std::string> lines = ini.ReadStrList("ExerciseWords", "NbrWords");
  QCOMPARE(lines.size(), std::size_t(12));
  for (const TExerciseWord& w : held) {
    const std::string line = std::to_string(w.LessonNbr) + '-' + std::to_string(w.PearNbr) + "-2";
    QVERIFY2(std::find(lines.begin(), lines.end(), line) != lines.end(), line.c_str());
  }
}

// A copied program used to go on with the old folder's language file.
void MainWndTest::movedProgramUsesItsOwnLanguageFile() {
  dir->Bundle();
  dir->WriteIni("EN", "1,2");  // old settings: the full name
  win = Start();
  QVERIFY(win->IsExerciseReady());
  win->close();
  win.reset();
  tIniFileHandler written(dir->File("Quillmere.Ini").toStdString());
  QCOMPARE(written.ReadString("Exercise", "LangFileName", ""), std::string("\\LangFiles\\Eng_Ger\\english_german.lang"));

  // The whole program directory elsewhere; the old one loses its file.
  auto moved = std::make_unique<TProgramDir>();
  moved->Bundle();
  moved->Write("Quillmere.Ini", dir->Read("Quillmere.Ini"));
  QVERIFY(QFile::remove(dir->File("LangFiles/Eng_Ger/english_german.lang")));
  std::swap(dir, moved);
  win = Start();
  QVERIFY(messages.empty());
  QCOMPARE(win->GetIniFile().LangFileName, dir->LangFile());
  QVERIFY(win->IsExerciseReady());
  QCOMPARE(Find<QLabel>("panelLangFile")->text(), QStringLiteral("English - German"));
  QCOMPARE(Find<QLabel>("labelSelUnits")->text(), QStringLiteral("Lesson : 1,2"));
  QVERIFY(IsPathLocked("langfile", dir->LangFile()));
  Find<QToolButton>("btnExerciseRun")->click();
  QCOMPARE(win->exerciseDlgsCreated, 1);
  QVERIFY(!win->GetIniFile().ExerciseWords.empty());
  win->close();
  win.reset();
  tIniFileHandler again(dir->File("Quillmere.Ini").toStdString());
  QCOMPARE(again.ReadString("Exercise", "LangFileName", ""), std::string("\\LangFiles\\Eng_Ger\\english_german.lang"));
}
