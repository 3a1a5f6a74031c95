#include "MainWnd.h"

#include <QFile>
#include <QAction>
#include <QKeySequence>
#include <QApplication>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>
#include <ctime>

#include "settings/TextNumbers.h"
#include "widgets/AccessibleName.h"
#include "widgets/ActionGuard.h"
#include "widgets/FieldCheck.h"
#include "widgets/FileWarnHook.h"
#include "widgets/GeneralUtil.h"
#include "widgets/Glyphs.h"
#include "widgets/HelpWnd.h"
#include "widgets/ToolButton.h"
#include "MainWndRules.h"
#include "PropertyDlg.h"
#include "StatisticsDlg.h"
#include "session/PractiseStats.h"
#include "widgets/SaveFailureText.h"
#include "widgets/UiText.h"
#include "editors/EditExercise.h"
#include "widgets/ModalRunner.h"
#include "session/ExerciseComposer.h"
#include "session/ExerciseHelpFunc.h"
#include "exercise/ExerciseWnd.h"
#include "settings/AppIniFile.h"
#include "settings/AppLangHandl.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "storage/WriteAccess.h"
#include "storage/PathLock.h"
#include "core/PearArena.h"
#include "core/Version.h"
#include "storage/LangFileBackups.h"

namespace {
constexpr int kHintPause = 5000;
// The icons of the button row.
constexpr int kIconSize = 28;
constexpr int kExerciseCloseWait = 3000;  // ms

// The pictures are Windows bitmaps by name; naming the format spares asking
// every image plugin. Another format under that name still loads.
QPixmap LoadBitmap(const std::string& storedName) {
  const QString path = QString::fromStdString(NativePath(storedName).string());
  QPixmap pixmap;
  if (!pixmap.load(path, "BMP")) pixmap.load(path);
  return pixmap;
}

// The drawn marks did not reach the language file: the learner hears of it
// before practising on a list the file does not know.
void ReportUnsavedComposition(QWidget* owner, const TAppLangHandler& texts, const TExerciseComposer& composer,
                              const std::string& fileName) {
  if (composer.Saved()) return;
  ShowMessageBox(owner, UiText(texts, txProgramName),
                 UiText(texts, txDrawnPairsNotSaved) + "\n" + Utf8ToQString(fileName) + "\n\n" +
                     SaveFailureReason(texts, composer.SaveResult()),
                 QMessageBox::Warning, QMessageBox::Ok, true);
}
}  // namespace

tMainWindow::tMainWindow(const std::string& appDir) : tMainWindow(PortableFolders(appDir)) {}

tMainWindow::tMainWindow(const TAppFolders& folders) : Folders(folders) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QString::fromLatin1(kProgramName) + QLatin1Char(' ') + QString::fromLatin1(kProgramVersion));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  SetHelpContext(this, 1);
  InstallFileWarnHook();
  InstallHelpKey();

  Session = std::make_unique<TSession>(
      std::make_unique<TAppIniFile>(Folders.Data, MessageOwner(), Folders.Settings));
  Session->SetReporter(this);
  IniFile = &Session->IniFile();
  ExerciseLangFile = &Session->LangFile();
  Composer = &Session->Composer();
  LangHandler = std::make_unique<TAppLangHandler>();
  CreateControls();
  CreateMenu();
  if (!IniFile->IniFound) {
    // A missing file has been reported by the settings object; an unreadable
    // one is reported here. The program ends without writing.
    if (!IniFile->LoadError.empty())
      ShowMessageBox(this, Utf8ToQString(IniFile->AppTitle), Utf8ToQString(IniFile->LoadError),
                     QMessageBox::Warning, QMessageBox::Ok, true);
    StartAbortedFlag = true;
    return;
  }
  Session->SetKeepingProgress(true);

  if (!FitFormToScreen(this, true, false, true)) GreySystemMenuItem(this, 2, true);
  SetHelpFile(Folders.Program + "\\Quillmere.Hlp");
  SetHelpTexts(LangHandler.get());
  const std::string defaultBmp = Folders.Program + "\\Default.Bmp";
  if (FileExistsWarn(defaultBmp, IniFile->AppTitle, MessageOwner())) {
    QPixmap pixmap = LoadBitmap(defaultBmp);
    if (!pixmap.isNull()) DefaultBitmap = pixmap;
  }
  ExerciseReady = false;
  Recomposed = false;
  InstallBackups();
}

tMainWindow::~tMainWindow() {
  ExerciseDlg.reset();
  if (Backups && LangSaveGuard() == Backups.get()) SetLangSaveGuard(nullptr);
}

void tMainWindow::CreateControls() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("mainPanel"));
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(6, 4, 6, 4);

  btnExerciseRun = FlatToolButton(central, "btnExerciseRun", Glyph(TGlyph::Run), kIconSize, kHintPause);
  btnExerciseRun->setIconSize(QSize(40, 40));
  btnExerciseRun->setEnabled(false);
  row->addWidget(btnExerciseRun);

  auto* info = new QVBoxLayout;
  panelLangFile = new QLabel(central);
  panelLangFile->setObjectName(QStringLiteral("panelLangFile"));
  panelLangFile->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  QFont bold = panelLangFile->font();
  bold.setBold(true);
  panelLangFile->setFont(bold);
  panelLangFile->setIndent(30);
  panelLangFile->setMinimumSize(220, 30);
  panelLangFile->setToolTipDuration(kHintPause);
  auto* panelRow = new QHBoxLayout(panelLangFile);
  panelRow->setContentsMargins(4, 2, 4, 2);
  imageLangFile = new QLabel(panelLangFile);
  imageLangFile->setObjectName(QStringLiteral("imageLangFile"));
  imageLangFile->setFixedSize(22, 22);
  imageLangFile->setScaledContents(true);
  panelRow->addWidget(imageLangFile);
  panelRow->addStretch();
  info->addWidget(panelLangFile);

  panelUnits = new QFrame(central);
  panelUnits->setObjectName(QStringLiteral("panelUnits"));
  panelUnits->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panelUnits->setToolTip(QStringLiteral("Selected Lessons"));
  panelUnits->setToolTipDuration(kHintPause);
  auto* unitsRow = new QHBoxLayout(panelUnits);
  unitsRow->setContentsMargins(6, 2, 6, 2);
  labelSelUnits = new QLabel(panelUnits);
  labelSelUnits->setObjectName(QStringLiteral("labelSelUnits"));
  labelSelUnits->setFixedWidth(208);
  labelSelUnits->setToolTipDuration(kHintPause);
  unitsRow->addWidget(labelSelUnits);
  unitsRow->addStretch();
  info->addWidget(panelUnits);
  row->addLayout(info);

  selectLangBox = new QGroupBox(QStringLiteral(" Language "), central);
  selectLangBox->setObjectName(QStringLiteral("selectLangBox"));
  SetHelpContext(selectLangBox, 7);
  auto* langCol = new QVBoxLayout(selectLangBox);
  rbtnFirstLang = new QRadioButton(selectLangBox);
  rbtnFirstLang->setObjectName(QStringLiteral("rbtnFirstLang"));
  rbtnSecondLang = new QRadioButton(selectLangBox);
  rbtnSecondLang->setObjectName(QStringLiteral("rbtnSecondLang"));
  rbtnFirstLang->setChecked(true);
  langCol->addWidget(rbtnFirstLang);
  langCol->addWidget(rbtnSecondLang);
  row->addWidget(selectLangBox);

  wordChoosBox = new QGroupBox(QStringLiteral(" Phrases "), central);
  wordChoosBox->setObjectName(QStringLiteral("wordChoosBox"));
  SetHelpContext(wordChoosBox, 7);
  auto* chooseCol = new QVBoxLayout(wordChoosBox);
  cbNewLoad = new QCheckBox(QStringLiteral("New Compose"), wordChoosBox);
  cbNewLoad->setObjectName(QStringLiteral("cbNewLoad"));
  cbNewLoad->setToolTipDuration(kHintPause);
  cbResetPrio = new QCheckBox(QStringLiteral("Reset priority of Phrases"), wordChoosBox);
  cbResetPrio->setObjectName(QStringLiteral("cbResetPrio"));
  cbResetPrio->setToolTipDuration(kHintPause);
  chooseCol->addWidget(cbNewLoad);
  chooseCol->addWidget(cbResetPrio);
  row->addWidget(wordChoosBox);

  btnGeneralProperty = FlatToolButton(central, "btnGeneralProperty", Glyph(TGlyph::Settings), kIconSize, kHintPause);
  btnEditExercise = FlatToolButton(central, "btnEditExercise", Glyph(TGlyph::Edit), kIconSize, kHintPause);
  btnHelp = FlatToolButton(central, "btnHelp", Glyph(TGlyph::Help), kIconSize, kHintPause);
  row->addWidget(btnGeneralProperty);
  row->addWidget(btnEditExercise);
  row->addWidget(btnHelp);
  setCentralWidget(central);

  connect(btnExerciseRun, &QToolButton::clicked, this, &tMainWindow::btnExerciseRunClick);
  connect(btnGeneralProperty, &QToolButton::clicked, this, &tMainWindow::btnGeneralPropertyClick);
  connect(btnEditExercise, &QToolButton::clicked, this, &tMainWindow::btnEditExerciseClick);
  connect(btnHelp, &QToolButton::clicked, this, &tMainWindow::btnHelpClick);
  connect(rbtnFirstLang, &QRadioButton::clicked, this, &tMainWindow::rbtnFirstLangClick);
  connect(rbtnSecondLang, &QRadioButton::clicked, this, &tMainWindow::rbtnFirstLangClick);
  connect(cbNewLoad, &QCheckBox::clicked, this, &tMainWindow::cbNewLoadClick);
}

void tMainWindow::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("mainMenu"));
  auto action = [this](QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
  };
  mExercise = bar->addMenu(QStringLiteral("&Exercise"));
  mExercise->setObjectName(QStringLiteral("mExercise"));
  mExerciseRun = action(mExercise, "mExerciseRun", QStringLiteral("&Start"));
  // F5 starts, as "run" does in many programs; the menu shows the key.
  mExerciseRun->setShortcut(QKeySequence(Qt::Key_F5));
  mExerciseGenSettings = action(mExercise, "mExerciseGenSettings", QStringLiteral("&General Settings..."));
  mExerciseEditLessons = action(mExercise, "mExerciseEditLessons", QStringLiteral("&Edit Lessons, Words..."));
  mExerciseStatistics = action(mExercise, "mExerciseStatistics", QStringLiteral("S&tatistics..."));
  mExerciseExit = action(mExercise, "mExerciseExit", QStringLiteral("E&xit"));
  // The separator goes before the last item.
  mExercise->insertSeparator(mExerciseExit);

  mAppLanguage = bar->addMenu(QStringLiteral("&Application Language"));
  mAppLanguage->setObjectName(QStringLiteral("mAppLanguage"));
  mAppEnglish = action(mAppLanguage, "mAppEnglish", QStringLiteral("&English"));
  mAppGerman = action(mAppLanguage, "mAppGerman", QStringLiteral("&German"));
  appLanguageGroup = new QActionGroup(this);
  for (QAction* a : {mAppEnglish, mAppGerman}) {
    a->setCheckable(true);
    appLanguageGroup->addAction(a);
  }
  mAppEnglish->setChecked(true);
  languageChecked = mAppEnglish;

  mHelp = bar->addMenu(QStringLiteral("&Help"));
  mHelp->setObjectName(QStringLiteral("mHelp"));
  mHelpGeneral = action(mHelp, "mHelpGeneral", QStringLiteral("&General"));
  mHelpContents = action(mHelp, "mHelpContents", QStringLiteral("&Contents"));
  mHelpFilesFolder = action(mHelp, "mHelpFilesFolder", QStringLiteral("&Open my files folder"));
  SetHelpContext(mHelpFilesFolder, 6);
  SetHelpContext(mHelpGeneral, 6);
  SetHelpContext(mHelpContents, 1);
  SetHelpContext(mExerciseStatistics, 7);

  connect(mExerciseRun, &QAction::triggered, this, &tMainWindow::btnExerciseRunClick);
  connect(mExerciseGenSettings, &QAction::triggered, this, &tMainWindow::btnGeneralPropertyClick);
  connect(mExerciseEditLessons, &QAction::triggered, this, &tMainWindow::btnEditExerciseClick);
  connect(mExerciseStatistics, &QAction::triggered, this, &tMainWindow::mExerciseStatisticsClick);
  connect(mExerciseExit, &QAction::triggered, this, &QWidget::close);
  connect(mAppEnglish, &QAction::triggered, this, &tMainWindow::mAppEnglishClick);
  connect(mAppGerman, &QAction::triggered, this, &tMainWindow::mAppGermanClick);
  connect(mHelpGeneral, &QAction::triggered, this, &tMainWindow::mHelpGeneralClick);
  connect(mHelpContents, &QAction::triggered, this, &tMainWindow::mHelpContentsClick);
  connect(mHelpFilesFolder, &QAction::triggered, this, &tMainWindow::mHelpFilesFolderClick);
}

void tMainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FirstShow && !StartAbortedFlag) FirstShowing();
  UpdateControls();
}

void tMainWindow::FirstShowing() {
  const bool done = GuardedAction(this, [this] {
    const std::string textDb = Folders.Program + "\\Text.Db";
    if (!LangHandler->LoadTextDb(textDb, "Quillmere", MessageOwner())) {
      // A missing database has been reported; a damaged one is said here,
      // in English, as no texts are there to say it in.
      if (FileExistsWarn(textDb))
        ShowMessageBox(this, QStringLiteral("Quillmere"),
                       QStringLiteral("Quillmere cannot start: the interface texts are damaged "
                                      "(header or checksum test failed):\n") +
                           QFile::decodeName(NativePath(textDb).c_str()) +
                           QStringLiteral("\nInstall the program again to restore them."),
                       QMessageBox::Critical, QMessageBox::Ok, true);
      EndStart();
      return;
    }
    if (Session->AppLanguage != "EN" && Session->AppLanguage != "DE" && LangHandler->SetLanguage("EN")) {
      // An unknown language would show "????" everywhere: English instead,
      // said once, as English is what is stored at closing.
      const std::string unknown = Session->AppLanguage;
      Session->AppLanguage = "EN";
      ShowMessageBox(this, UiText(*LangHandler, txProgramName),
                     UiText(*LangHandler, txUnknownAppLanguage) + " \"" + Utf8ToQString(unknown) + "\"\n" +
                         UiText(*LangHandler, txShowingEnglish),
                     QMessageBox::Information, QMessageBox::Ok, true);
    }
    if (Session->AppLanguage == "EN") {
      mAppEnglishClick();
    } else if (Session->AppLanguage == "DE") {
      mAppGermanClick();
    }
    if (StartAbortedFlag) return;
    ExerciseReady = IniFile->ReadExercise() && FileExistsWarn(IniFile->LangFileName);
    Session->ListRead();
    IniFile->ReadProperties();
    ShowExerciseInfo();
    if (IniFile->StoredWordsRefused > 0)
      ShowMessageBox(this, UiText(*LangHandler, txProgramName),
                     UiText(*LangHandler, txStoredListTooLong) + " " + QString::number(IniFile->StoredWordsRefused) +
                         "\n" + Utf8ToQString(IniFile->FileName()) + "\n" + UiText(*LangHandler, txStartComposesNew),
                     QMessageBox::Warning, QMessageBox::Ok, true);
    WarnUnsavable();
  });
  if (!done) EndStart();
}

// The program ends: the window closes once the event loop runs, and nothing
// is written.
void tMainWindow::EndStart() {
  StartAbortedFlag = true;
  Session->SetKeepingProgress(false);
  FirstShow = false;
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// Without a language file the buttons show no language; a screen reader
// still tells them apart.
void tMainWindow::NameLanguageButtons() {
  const QString language = UiText(*LangHandler, txLanguage);
  rbtnFirstLang->setAccessibleName(rbtnFirstLang->text().isEmpty() ? language + QStringLiteral(" 1") : QString());
  rbtnSecondLang->setAccessibleName(rbtnSecondLang->text().isEmpty() ? language + QStringLiteral(" 2") : QString());
}

void tMainWindow::ShowExerciseInfo() {
  ExerciseReady = !IniFile->AvailableUnits.empty() && FileExistsWarn(IniFile->LangFileName);
  const bool show = ExerciseReady || !FirstShow;
  if (show) {
    panelLangFile->setText(Utf8ToQString(IniFile->Lang1 + " - " + IniFile->Lang2));
    rbtnFirstLang->setText(Utf8ToQString(IniFile->Lang1));
    rbtnSecondLang->setText(Utf8ToQString(IniFile->Lang2));
    NameLanguageButtons();
    // The two buttons form an exclusive group: unchecking one does nothing,
    // so the stored choice is shown by checking the other.
    (IniFile->FirstLang ? rbtnFirstLang : rbtnSecondLang)->setChecked(true);
    const std::string bitmapName = LangFileBitmapName(IniFile->LangFileName);
    QPixmap pixmap = FileExistsWarn(bitmapName) ? LoadBitmap(bitmapName) : QPixmap();
    if (!pixmap.isNull()) {
      LangFileBitmap = pixmap;
      imageLangFile->setPixmap(LangFileBitmap);
    } else if (DefaultBitmap) {
      imageLangFile->setPixmap(*DefaultBitmap);
    }
  }
  FirstShow = false;
  ExerciseInfoShown = show;
  ShowLessonLabel();
  UpdateControls();
}

void tMainWindow::ShowLessonLabel() {
  labelSelUnits->setText(Utf8ToQString(LessonLabel(LangHandler->GetText(txLesson), LangHandler->GetText(txNoLesson),
                                                     IniFile->AvailableUnits, ExerciseInfoShown)));
}

void tMainWindow::UpdateControls() {
  const TMainControlStates s = MainControlStates(ExerciseReady, ExerciseDlg != nullptr, ExerciseDlgVisible());
  btnExerciseRun->setEnabled(s.exerciseRun);
  rbtnFirstLang->setEnabled(s.firstLang);
  rbtnSecondLang->setEnabled(s.firstLang);
  cbNewLoad->setEnabled(s.newLoad);
  cbResetPrio->setEnabled(s.resetPrio);
  btnEditExercise->setEnabled(s.editExercise);
  mExerciseRun->setEnabled(s.exerciseRun);
  mExerciseEditLessons->setEnabled(s.editExercise);
  // Figures need a file; they are read from disk and change nothing.
  mExerciseStatistics->setEnabled(s.editExercise && !IniFile->LangFileName.empty());
}

bool tMainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !FirstShow) UpdateControls();
  return QMainWindow::event(event);
}

bool tMainWindow::ApplyLanguage() {
  if (!LangHandler->SetLanguage(Session->AppLanguage)) {
    Session->AppLanguage = IniFile->Language;
    ShowMessageBox(this, Utf8ToQString(IniFile->AppTitle), QStringLiteral("Language not found"),
                   QMessageBox::Information, QMessageBox::Ok, true);
    if (FirstShow) EndStart();
    return false;
  }
  const TAppLangHandler& t = *LangHandler;
  IniFile->AppTitle = t.GetText(txProgramName) + " " + kProgramVersion;
  setWindowTitle(Utf8ToQString(IniFile->AppTitle));

  selectLangBox->setTitle(UiTitle(t, txQuestionLanguage));
  wordChoosBox->setTitle(UiTitle(t, txPhraseSelection));
  cbNewLoad->setText(UiText(t, txNewCompose));
  cbNewLoad->setToolTip(UiText(t, txNewComposeHint));
  cbResetPrio->setText(UiText(t, txResetPriority));
  cbResetPrio->setToolTip(UiText(t, txResetPriorityHint));
  panelLangFile->setToolTip(UiText(t, txCurrentLangFile));
  labelSelUnits->setToolTip(UiText(t, txChosenLessons));
  btnExerciseRun->setToolTip(UiText(t, txStartExercise));
  btnGeneralProperty->setToolTip(UiText(t, txGeneralSettings));
  btnEditExercise->setToolTip(UiText(t, txEditExerciseAndLessons));
  btnHelp->setToolTip(UiText(t, txHelp));
  for (QWidget* iconOnly : {btnExerciseRun, btnGeneralProperty, btnEditExercise, btnHelp}) NameAfterToolTip(iconOnly);
  NameLanguageButtons();
  mExercise->setTitle(UiText(t, txMenuExercise));
  mExerciseRun->setText(UiText(t, txMenuStart));
  mExerciseGenSettings->setText(UiText(t, txMenuGeneralSettings));
  mExerciseEditLessons->setText(UiText(t, txMenuEditLessons));
  mExerciseStatistics->setText(UiText(t, txMenuStatistics));
  mExerciseExit->setText(UiText(t, txMenuExit));
  mAppLanguage->setTitle(UiText(t, txMenuAppLanguage));
  mAppEnglish->setText(UiText(t, txMenuEnglish));
  mAppGerman->setText(UiText(t, txMenuGerman));
  mHelp->setTitle(UiText(t, txMenuHelp));
  mHelpGeneral->setText(UiText(t, txMenuHelpGeneral));
  mHelpContents->setText(UiText(t, txMenuHelpContents));
  mHelpFilesFolder->setText(UiText(t, txOpenFilesFolder));
  SetHelpLanguage(Session->AppLanguage);

  // The exercise window follows the language while it is visible.
  if (auto* dlg = qobject_cast<TExerciseDlg*>(ExerciseDlg.get()); dlg != nullptr && dlg->isVisible())
    dlg->ApplyTexts();
  return true;
}

void tMainWindow::SwitchLanguage(const std::string& code) {
  const std::string inForce = Session->AppLanguage;
  Session->AppLanguage = code;
  if (!ApplyLanguage()) {
    // The language still shown is the one to keep (and to store at closing),
    // not the one read at start.
    if (!FirstShow) Session->AppLanguage = inForce;
  } else {
    languageChecked = code == "DE" ? mAppGerman : mAppEnglish;
    // The lesson label is built from texts too; what it shows stays.
    if (!FirstShow) ShowLessonLabel();
  }
  // The menu check moves only when the language was applied.
  languageChecked->setChecked(true);
}

void tMainWindow::mAppEnglishClick() { SwitchLanguage("EN"); }
void tMainWindow::mAppGermanClick() { SwitchLanguage("DE"); }

bool tMainWindow::IsFirstLangChecked() const { return rbtnFirstLang->isChecked(); }

void tMainWindow::rbtnFirstLangClick() { Session->SetQuestionInFirstLang(rbtnFirstLang->isChecked()); }

void tMainWindow::cbNewLoadClick() {
  if (cbNewLoad->isChecked()) {
    // A tick the learner gave stays when New compose is taken back; one
    // that came only with it goes with it.
    ResetPrioByNewLoad = !cbResetPrio->isChecked();
    cbResetPrio->setChecked(true);
    cbResetPrio->setEnabled(false);
  } else {
    if (ResetPrioByNewLoad) cbResetPrio->setChecked(false);
    ResetPrioByNewLoad = false;
    cbResetPrio->setEnabled(true);
  }
}

bool tMainWindow::ExerciseDlgVisible() const { return ExerciseDlg != nullptr && ExerciseDlg->isVisible(); }

void tMainWindow::btnExerciseRunClick() {
  if (ExerciseDlgVisible()) {
    // The open pass keeps its list: no new composition under it.
    ExerciseDlg->raise();
    ExerciseDlg->activateWindow();
    return;
  }
  GuardedAction(this, [this] {
    if (ChooseComposition(IniFile->ExerciseWords.empty(), cbNewLoad->isChecked(), Recomposed) ==
        TComposeChoice::New) {
      Session->ComposeNew();
    } else {
      Session->ComposeContinue(cbResetPrio->isChecked());
    }
    ReportUnsavedComposition(this, *LangHandler, *Composer, IniFile->LangFileName);
    if (!Composer->Loaded()) {
      // Nothing was composed or changed; an old list must not run on pairs
      // that were never read.
      ShowMessageBox(this, UiText(*LangHandler, txProgramName),
                     UiText(*LangHandler, txLangFileUnreadable) + "\n" + Utf8ToQString(IniFile->LangFileName),
                     QMessageBox::Warning, QMessageBox::Ok, true);
      return;
    }
    Session->ReportChangedElsewhere();
    if (IniFile->ExerciseWords.empty()) {
      ShowMessageBox(this, UiText(*LangHandler, txProgramName), UiText(*LangHandler, txNoPairsToPractise),
                     QMessageBox::Information, QMessageBox::Ok, true);
      return;
    }
    ShowExerciseDlg();
  });
}

void tMainWindow::ShowExerciseDlg() {
  if (ExerciseDlg == nullptr) {
    ExerciseDlg = CreateExerciseDlg();
    if (ExerciseDlg == nullptr) return;
    // Its hiding lets a close that waited for it go on.
    ExerciseDlg->installEventFilter(this);
  }
  ExerciseDlg->show();
  ExerciseDlg->raise();
  ExerciseDlg->activateWindow();
}

// Created at the first start of an exercise; it lives until the program ends.
std::unique_ptr<QWidget> tMainWindow::CreateExerciseDlg() {
  return std::make_unique<TExerciseDlg>(nullptr, *LangHandler, *ExerciseLangFile, *IniFile, *Session);
}

// --- exercise and lesson-set editor ---
// A language file with a malformed line raises from the constructor: the
// action guard shows it and the editor does not open.
int tMainWindow::RunEditExerciseDlg(int& changeCode) {
  TEditExerciseDlg dlg(this, *LangHandler, *Session);
  const int result = RunModal(dlg);
  changeCode = dlg.GetChangeCode();
  return result;
}

void tMainWindow::btnEditExerciseClick() {
  GuardedAction(this, [this] {
    int changeCode = ccNothing;
    const int result = RunEditExerciseDlg(changeCode);
    ApplyEditorResult(result, changeCode);
    ReleaseKeptPearBlocks();
  });
  UpdateControls();
}

void tMainWindow::ApplyEditorResult(int modalResult, int changeCode) {
  if (modalResult == TEditExerciseDlg::mrOk) ShowExerciseInfo();
  switch (Session->ApplyEditorChange(changeCode)) {
    case TEditorChangeDone::Composed:
      Recomposed = true;
      [[fallthrough]];
    case TEditorChangeDone::MaxWordsChanged:
      ReportUnsavedComposition(this, *LangHandler, *Composer, IniFile->LangFileName);
      break;
    case TEditorChangeDone::Nothing:
      break;
  }
  Session->ReportChangedElsewhere();
}

// Said once per save that found the file changed, with the file's name.
void tMainWindow::LangFileChangedElsewhere() {
  ShowMessageBox(this, UiText(*LangHandler, txProgramName),
                 UiText(*LangHandler, txChangedElsewhereMerged) + "\n" + Utf8ToQString(IniFile->LangFileName),
                 QMessageBox::Information, QMessageBox::Ok, true);
}

void tMainWindow::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  // An exercise in progress is what the learner left: it stays on top.
  if (ExerciseDlgVisible()) {
    ExerciseDlg->raise();
    ExerciseDlg->activateWindow();
  }
}

void tMainWindow::btnGeneralPropertyClick() {
  TDlgProperty dlg(this, *LangHandler, *IniFile);
  dlg.exec();
}

void tMainWindow::btnHelpClick() { ShowHelpTopic(this, QStringLiteral("Hauptfenster")); }
void tMainWindow::mHelpGeneralClick() { ShowHelpTopic(this, QStringLiteral("Allgemeines")); }

void tMainWindow::mHelpFilesFolderClick() {
  const QString folder = Utf8ToQString(Folders.Data + "/LangFiles");
  QDir().mkpath(folder);
  if (OpenFolder(folder)) return;
  ShowMessageBox(this, UiText(*LangHandler, txProgramName), UiText(*LangHandler, txFolderNotOpened) + "\n" + folder,
                 QMessageBox::Warning, QMessageBox::Ok, true);
}

bool tMainWindow::OpenFolder(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
void tMainWindow::mHelpContentsClick() { ShowHelpTopic(this, QStringLiteral("Inhalt")); }

void tMainWindow::closeEvent(QCloseEvent* event) {
  if (!Closed) {
    // A visible exercise window closes through its own path first: it saves
    // the language file and splits the list when a pair was retired.
    if (ExerciseDlgVisible()) ExerciseDlg->close();
    if (ExerciseDlgVisible()) {
      // It cuts its sound and closes once the playback has returned, which
      // may be further down this very call stack: wait for it outside.
      CloseAfterExercise = true;
      QTimer::singleShot(kExerciseCloseWait, this, [this] {
        if (!CloseAfterExercise) return;
        CloseAfterExercise = false;
        ExerciseDlg->hide();
        close();
      });
      event->ignore();
      return;
    }
    Closed = true;
    Session->SetKeepingProgress(false);
    CloseAfterExercise = false;
    CloseHelp();
    if (IniFile->IniFound && !StartAbortedFlag) WriteSettings();
  }
  event->accept();
}

bool tMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ExerciseDlg.get() && event->type() == QEvent::Hide) {
    // Nothing is loaded until the next start: the memory kept for loads goes back.
    ReleaseKeptPearBlocks();
    if (CloseAfterExercise) {
      CloseAfterExercise = false;
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void tMainWindow::CloseOnSignal() {
  // Dialogs first: their own loops would hold the close up.
  for (int i = 0; i < 20 && QApplication::activeModalWidget() != nullptr; ++i) QApplication::activeModalWidget()->close();
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool tMainWindow::SaveSettings() { return Session->SaveSettings(&LastSettingsSave); }

void tMainWindow::WriteSettings() {
  while (!SaveSettings()) {
    const QString text = UiText(*LangHandler, txSettingsNotWritten) + "\n" + Utf8ToQString(IniFile->FileName()) +
                         "\n" + SaveFailureReason(*LangHandler, LastSettingsSave) + "\n\n" +
                         UiText(*LangHandler, txSettingsRetryHint);
    const int answer = ShowMessageBox(this, Utf8ToQString(IniFile->AppTitle), text, QMessageBox::Warning,
                                      QMessageBox::Retry | QMessageBox::Cancel, true);
    if (answer != QMessageBox::Retry) break;
  }
}

void tMainWindow::ProgressNotKept() {
  ShowMessageBox(this, Utf8ToQString(IniFile->AppTitle),
                 UiText(*LangHandler, txProgressNotSaved) + "\n" + Utf8ToQString(IniFile->FileName()) + "\n" +
                     UiText(*LangHandler, txRetryAfterPass),
                 QMessageBox::Warning, QMessageBox::Ok, true);
}

void tMainWindow::HistoryNotKept(const std::string& file, const std::string& reason) {
  ShowMessageBox(this, Utf8ToQString(IniFile->AppTitle),
                 UiText(*LangHandler, txHistoryNotWritten) + "\n" + QFile::decodeName(file.c_str()) + "\n" +
                     Utf8ToQString(reason) + "\n" + UiText(*LangHandler, txHistoryGoesOn),
                 QMessageBox::Warning, QMessageBox::Ok, true);
}

void tMainWindow::mExerciseStatisticsClick() {
  const std::string fileName = IniFile->LangFileName;
  if (fileName.empty()) return;
  // Read from disk: the exercise and the editors save what they change.
  // A malformed number ends the action with its own message.
  GuardedAction(this, [this, &fileName] {
    TLangFHandler file;
    if (!file.LoadLangFile(fileName)) {
      ShowMessageBox(this, Utf8ToQString(IniFile->AppTitle),
                     UiText(*LangHandler, txLangFileUnreadable) + '\n' + DisplayPath(fileName), QMessageBox::Warning,
                     QMessageBox::Ok, true);
      return;
    }
    const TPractiseStats stats =
        CollectPractiseStats(file, KeptExerciseList(*IniFile, fileName),
                             ReadHistory(Session->HistoryFileName(), HistoryFileKey(fileName)), std::time(nullptr));
    TStatisticsDlg dialog(this, *LangHandler, QFile::decodeName(fileName.c_str()), stats);
    RunModal(dialog);
  });
}

void tMainWindow::WarnUnsavable() {
  QString places;
  const std::string files[] = {IniFile->FileName(), IniFile->LangFileName};
  for (const std::string& file : files) {
    std::string reason;
    if (file.empty() || CanReplaceFile(file, reason)) continue;
    places += "\n" + Utf8ToQString(file) + " (" + QString::fromLocal8Bit(reason.c_str()) + ")";
  }
  if (places.isEmpty()) return;
  ShowMessageBox(
      this, Utf8ToQString(IniFile->AppTitle),
      UiText(*LangHandler, txCannotSaveProgress) + places + "\n\n" + UiText(*LangHandler, txProgressLostHint),
      QMessageBox::Warning, QMessageBox::Ok, true);
}

// ---- backups of language files -------------------------------------------------

void tMainWindow::InstallBackups() {
  // Beside the settings file, which holds the learner's other data.
  const std::string settings = IniFile->FileName();
  const std::size_t cut = settings.find_last_of("/\\");
  const std::string folder = cut == std::string::npos ? Folders.Settings : settings.substr(0, cut);
  auto today = [] {
    const QDate d = QDate::currentDate();
    return std::chrono::year_month_day{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
                                       std::chrono::day{static_cast<unsigned>(d.day())}};
  };
  Backups = std::make_unique<TLangFileBackups>(folder + "/Backups", today,
                                               [this](const TBackupNotice& notice) { ShowBackupNotice(notice); });
  SetLangSaveGuard(Backups.get());
}

void tMainWindow::ShowBackupNotice(const TBackupNotice& notice) {
  const TAppLangHandler& t = *LangHandler;
  const QString file = Utf8ToQString(notice.FileName);
  const QString backup = Utf8ToQString(notice.BackupPath);
  switch (notice.Kind) {
    case TBackupNotice::TKind::LossBackupKept:
      ShowMessageBox(this, UiText(t, txProgramName),
                     UiText(t, txPartsLeftOut) + "\n" + file + "\n\n" + UiText(t, txBackupKept) + "\n" + backup,
                     QMessageBox::Information);
      break;
    case TBackupNotice::TKind::LossBackupFailed:
      ShowMessageBox(this, UiText(t, txProgramName),
                     UiText(t, txPartsLeftOut) + "\n" + file + "\n\n" + UiText(t, txNoBackupNotSaved) + "\n" + backup,
                     QMessageBox::Warning, QMessageBox::Ok, true);
      break;
    case TBackupNotice::TKind::DailyBackupFailed:
      ShowMessageBox(
          this, UiText(t, txProgramName),
          UiText(t, txDailyBackupFailed) + "\n" + backup + "\n\n" + UiText(t, txLangFileSavedAnyway) + "\n" + file,
          QMessageBox::Warning, QMessageBox::Ok, true);
      break;
  }
}

#include "moc_MainWnd.cpp"
