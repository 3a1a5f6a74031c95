#include "EditExercise.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "EditLesson.h"
#include "LocaleField.h"
#include "settings/TextNumbers.h"
#include "widgets/CharLimit.h"
#include "widgets/FieldCheck.h"
#include "widgets/FileChooser.h"
#include "session/LessonList.h"
#include "session/LessonRows.h"
#include "session/LessonSetRules.h"
#include "session/LocaleGuess.h"
#include "LessonSymbol.h"
#include "TableFileDialogs.h"
#include "session/TableMerge.h"
#include "widgets/ModalRunner.h"
#include "widgets/UpDown.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "session/Session.h"
#include "settings/AppIniFile.h"
#include "settings/AppLangHandl.h"
#include "widgets/AccessibleName.h"
#include "widgets/ActionGuard.h"
#include "widgets/GeneralUtil.h"
#include "widgets/Glyphs.h"
#include "widgets/HelpWnd.h"
#include "widgets/ToolButton.h"
#include "widgets/UiText.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"
#include "storage/MadeFolders.h"
#include "core/StrUtil.h"

namespace {
// The icons of the button rows.
constexpr int kIconSize = 22;

constexpr int32_t kHighestLessonNbr = 100;

QString Q(const std::string& text) { return Utf8ToQString(text); }

QString Counter(int32_t n) { return QStringLiteral(": ") + QString::number(n); }
}  // namespace

TEditExerciseDlg::TEditExerciseDlg(QWidget* owner, TAppLangHandler& LangHandler, TSession& session)
    : QDialog(owner), Session(session), IniFile(session.IniFile()), LangHandler(LangHandler) {
  setObjectName(QStringLiteral("editExerciseDlg"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  BuildControls();
  SetHelpContext(this, 3);  // F1
  // The texts are in place before the window takes its size from them.
  ApplyTexts();
  adjustSize();
  if (!FitFormToScreen(this, true, true, true)) GreySystemMenuItem(this, 2, true);

  IsNewFile = false;
  FilePath = IniFile.LangFileName;
  editLang1->clear();
  editLang2->clear();
  upDownMaxWords->SetPosition(IniFile.MaxWords);
  upDownMaxWords->SetRange(kMinMaxWords, kMaxMaxWords);
  EditState = esUnchanged;
  if (!FilePath.empty() && FileExistsWarn(FilePath)) {
    editLang1->setText(Q(IniFile.Lang1));
    editLang2->setText(Q(IniFile.Lang2));
    ShowFileName(true, FilePath);
    // A damaged file is reported and the editor opens without a file, so
    // that the learner can open or make another one instead of being shut
    // out of the editor while the settings name it, and a new lesson can't
    // overwrite what could not be read.
    bool read = false;
    if (!GuardedAction(this, [&] { read = FillLessonList(); })) {
      ForgetFile();
    } else if (!read) {
      ReportUnreadable(FilePath);
      ForgetFile();
    }
  } else {
    ShowFileName(false, {});
  }
  if (!Lessons.Empty()) {
    ShowLessonCounts(LessonAt(0).get());
    SelectTop();
  } else {
    ShowLessonCounts(nullptr);
  }
  ChangeCode = ccNothing;
  OldChosen = IniFile.AvailableUnits;
  ShownFilePath = FilePath;
  ShownChoice = SortedChoice();
}

TEditExerciseDlg::~TEditExerciseDlg() = default;

void TEditExerciseDlg::BuildControls() {
  setWindowTitle(QStringLiteral("Edit Exercise and Lessons "));
  btnOpenLangFile = FlatToolButton(this, "btnOpenLangFile", StandardGlyph(QStyle::SP_DialogOpenButton), kIconSize);
  btnNewLangFile = FlatToolButton(this, "btnNewLangFile", StandardGlyph(QStyle::SP_FileDialogNewFolder), kIconSize);
  btnSaveLangFile = FlatToolButton(this, "btnSaveLangFile", StandardGlyph(QStyle::SP_DriveFDIcon), kIconSize);
  btnSaveLangfileAs = FlatToolButton(this, "btnSaveLangfileAs", StandardGlyph(QStyle::SP_DirLinkIcon), kIconSize);
  btnNewLesson = FlatToolButton(this, "btnNewLesson", StandardGlyph(QStyle::SP_FileIcon), kIconSize);
  btnEditLesson = FlatToolButton(this, "btnEditLesson", StandardGlyph(QStyle::SP_FileDialogDetailedView), kIconSize);
  btnDeleteLesson = FlatToolButton(this, "btnDeleteLesson", StandardGlyph(QStyle::SP_TrashIcon), kIconSize);
  btnImportTable = FlatToolButton(this, "btnImportTable", StandardGlyph(QStyle::SP_ArrowDown), kIconSize);
  btnExportTable = FlatToolButton(this, "btnExportTable", StandardGlyph(QStyle::SP_ArrowUp), kIconSize);
  btnHelp = FlatToolButton(this, "btnHelp", StandardGlyph(QStyle::SP_MessageBoxQuestion), kIconSize);
  btnSave = FlatToolButton(this, "btnSave", StandardGlyph(QStyle::SP_DialogApplyButton), kIconSize);
  btnClose = FlatToolButton(this, "btnClose", StandardGlyph(QStyle::SP_DialogCloseButton), kIconSize);
  btnSaveLangFile->setEnabled(false);
  btnSaveLangfileAs->setEnabled(false);

  auto* tools = new QHBoxLayout;
  for (QToolButton* b : {btnOpenLangFile, btnNewLangFile, btnSaveLangFile, btnSaveLangfileAs}) tools->addWidget(b);
  tools->addSpacing(16);
  for (QToolButton* b : {btnNewLesson, btnEditLesson, btnDeleteLesson}) tools->addWidget(b);
  tools->addSpacing(16);
  for (QToolButton* b : {btnImportTable, btnExportTable}) tools->addWidget(b);
  tools->addStretch(1);
  for (QToolButton* b : {btnHelp, btnSave, btnClose}) tools->addWidget(b);

  auto group = [this](const char* name, const char* title) {
    auto* g = new QGroupBox(QString::fromLatin1(title), this);
    g->setObjectName(QString::fromLatin1(name));
    return g;
  };
  auto label = [this](const char* name, const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text), this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  auto edit = [this](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->installEventFilter(this);
    return e;
  };

  exerciseBox = group("exerciseBox", " Exercise ");
  availableLessonBox = group("availableLessonBox", " Available Lessons ");
  fileNameBox = group("fileNameBox", " Laguages ");
  wordBox = group("wordBox", " Phrase Pairs ");
  lessonBox = group("lessonBox", " Selected Lesson ");

  lessonList = new QTreeWidget(this);
  lessonList->setObjectName(QStringLiteral("lessonList"));
  lessonList->setColumnCount(1);
  lessonList->setHeaderHidden(true);
  lessonList->setRootIsDecorated(false);
  lessonList->setSelectionBehavior(QAbstractItemView::SelectRows);
  lessonList->setSelectionMode(QAbstractItemView::SingleSelection);
  lessonList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lessonList->setIconSize(QSize(20, 22));
  lessonList->setMinimumSize(170, 260);
  auto* lessonsLayout = new QVBoxLayout(availableLessonBox);
  lessonsLayout->addWidget(lessonList);

  labelFile = label("labelFile", "File ");
  labelLang1 = label("labelLang1", "Language 1 ");
  labelLang2 = label("labelLang2", "Language 2");
  editFileName = edit("editFileName");
  editFileName->setReadOnly(true);
  editLang1 = edit("editLang1");
  editLang2 = edit("editLang2");
  editLang1->setReadOnly(true);
  editLang2->setReadOnly(true);
  auto* names = new QGridLayout(fileNameBox);
  names->addWidget(labelFile, 0, 0);
  names->addWidget(editFileName, 0, 1);
  names->addWidget(labelLang1, 1, 0);
  names->addWidget(editLang1, 1, 1);
  names->addWidget(labelLang2, 2, 0);
  names->addWidget(editLang2, 2, 1);
  // The locale of each language: its voice for the sides without a sound.
  labelLocale1 = label("labelLocale1", "Voice 1");
  labelLocale2 = label("labelLocale2", "Voice 2");
  editLocale1 = MakeLocaleField(this, QStringLiteral("editLocale1"));
  editLocale2 = MakeLocaleField(this, QStringLiteral("editLocale2"));
  names->addWidget(labelLocale1, 3, 0);
  names->addWidget(editLocale1, 3, 1);
  names->addWidget(labelLocale2, 4, 0);
  names->addWidget(editLocale2, 4, 1);
  names->setColumnStretch(1, 1);

  labelMaxWords = label("labelMaxWords", "max nbr Phrases :  ");
  editMaxWords = edit("editMaxWords");
  editMaxWords->setFixedWidth(56);
  editMaxWords->setAlignment(Qt::AlignRight);
  upDownMaxWords = new TUpDown(editMaxWords, this);
  upDownMaxWords->setObjectName(QStringLiteral("upDownMaxWords"));
  labelTotalWords = label("labelTotalWords", "Chosed Phrases total");
  labelValueTotalWords = label("labelValueTotalWords", ": 0");
  auto* words = new QGridLayout(wordBox);
  auto* maxWords = new QHBoxLayout;
  maxWords->setSpacing(0);
  maxWords->addWidget(editMaxWords);
  maxWords->addWidget(upDownMaxWords);
  maxWords->addStretch(1);
  words->addWidget(labelMaxWords, 0, 0);
  words->addLayout(maxWords, 0, 1);
  words->addWidget(labelTotalWords, 1, 0);
  words->addWidget(labelValueTotalWords, 1, 1);
  words->setColumnStretch(1, 1);

  auto* exercise = new QVBoxLayout(exerciseBox);
  exercise->addWidget(availableLessonBox, 1);
  exercise->addWidget(wordBox);

  labelNbrWords = label("labelNbrWords", "Available Phrase Pairs");
  labelUsedWords = label("labelUsedWords", "Used Phrase pairs");
  labelValueNbrWords = label("labelValueNbrWords", ": 0");
  labelValueUsedWords = label("labelValueUsedWords", ": 0");
  auto* counts = new QGridLayout(lessonBox);
  counts->addWidget(labelNbrWords, 0, 0);
  counts->addWidget(labelValueNbrWords, 0, 1);
  counts->addWidget(labelUsedWords, 1, 0);
  counts->addWidget(labelValueUsedWords, 1, 1);
  counts->setColumnStretch(1, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(fileNameBox);
  right->addWidget(lessonBox);
  right->addStretch(1);
  auto* body = new QHBoxLayout;
  body->addWidget(exerciseBox, 1);
  body->addLayout(right, 1);
  auto* main = new QVBoxLayout(this);
  main->addLayout(tools);
  main->addLayout(body, 1);
  // Never smaller than its content, whatever the screen leaves for it.
  main->setSizeConstraint(QLayout::SetMinimumSize);
  setMinimumWidth(560);

  connect(btnClose, &QToolButton::clicked, this, &TEditExerciseDlg::btnCloseClick);
  connect(btnSave, &QToolButton::clicked, this, &TEditExerciseDlg::btnSaveClick);
  connect(btnOpenLangFile, &QToolButton::clicked, this, &TEditExerciseDlg::btnOpenLangFileClick);
  connect(btnNewLangFile, &QToolButton::clicked, this, &TEditExerciseDlg::btnNewLangFileClick);
  connect(btnSaveLangFile, &QToolButton::clicked, this, &TEditExerciseDlg::btnSaveLangFileClick);
  connect(btnSaveLangfileAs, &QToolButton::clicked, this, &TEditExerciseDlg::btnSaveLangfileAsClick);
  connect(btnEditLesson, &QToolButton::clicked, this, &TEditExerciseDlg::btnEditLessonClick);
  connect(btnNewLesson, &QToolButton::clicked, this, &TEditExerciseDlg::btnNewLessonClick);
  connect(btnDeleteLesson, &QToolButton::clicked, this, &TEditExerciseDlg::btnDeleteLessonClick);
  connect(btnImportTable, &QToolButton::clicked, this, &TEditExerciseDlg::btnImportTableClick);
  connect(btnExportTable, &QToolButton::clicked, this, &TEditExerciseDlg::btnExportTableClick);
  connect(btnHelp, &QToolButton::clicked, this, &TEditExerciseDlg::btnHelpClick);
  connect(lessonList, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
    TakeTick(item);
    lessonListClick();
  });
  connect(lessonList, &QTreeWidget::itemSelectionChanged, this, [this] {
    TakeSelection();
    lessonListClick();
  });
  connect(lessonList, &QTreeWidget::itemDoubleClicked, this, [this] { lessonListDblClick(); });
}

void TEditExerciseDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TEditExerciseDlg::FormShow() {
  ApplyTexts();
  lessonList->setFocus();
  UpdateButtons();
}

void TEditExerciseDlg::ApplyTexts() {
  const TAppLangHandler& t = LangHandler;
  exerciseBox->setTitle(UiTitle(t, txExercise));
  availableLessonBox->setTitle(UiTitle(t, txAvailableLessons));
  fileNameBox->setTitle(UiTitle(t, txLanguages));
  labelFile->setText(UiText(t, txFile));
  labelLang1->setText(UiText(t, txLanguage) + QStringLiteral(" 1"));
  labelLang2->setText(UiText(t, txLanguage) + QStringLiteral(" 2"));
  editLang1->setToolTip(UiText(t, txLang1NameHint));
  editLang2->setToolTip(UiText(t, txLang2NameHint));
  labelLocale1->setText(UiText(t, txVoice) + QStringLiteral(" 1"));
  labelLocale2->setText(UiText(t, txVoice) + QStringLiteral(" 2"));
  editLocale1->setToolTip(UiText(t, txVoice1Hint));
  editLocale2->setToolTip(UiText(t, txVoice2Hint));
  wordBox->setTitle(UiTitle(t, txPhrasePairs));
  labelMaxWords->setText(UiText(t, txMaxPairs));
  editMaxWords->setToolTip(UiText(t, txMaxPairsHint));
  labelTotalWords->setText(UiText(t, txChosenPairsTotal));
  lessonBox->setTitle(UiTitle(t, txSelectedLesson));
  labelNbrWords->setText(UiText(t, txLessonPairCount));
  labelUsedWords->setText(UiText(t, txPairsInUse));
  btnOpenLangFile->setToolTip(UiText(t, txOpenLangFile));
  btnNewLangFile->setToolTip(UiText(t, txNewLangFile));
  btnSaveLangFile->setToolTip(UiText(t, txSaveLangFile));
  btnSaveLangfileAs->setToolTip(UiText(t, txSaveLangFileAs));
  btnEditLesson->setToolTip(UiText(t, txEditSelectedLesson));
  btnNewLesson->setToolTip(UiText(t, txNewLesson));
  btnDeleteLesson->setToolTip(UiText(t, txDeleteLesson));
  btnImportTable->setToolTip(UiText(t, txImportTable));
  btnExportTable->setToolTip(UiText(t, txExportTable));
  btnSave->setToolTip(UiText(t, txSaveAndClose));
  btnClose->setToolTip(UiText(t, txCloseWithoutSaving));
  btnHelp->setToolTip(UiText(t, txHelp));
  for (QWidget* iconOnly : {btnOpenLangFile, btnNewLangFile, btnSaveLangFile, btnSaveLangfileAs, btnEditLesson,
                            btnNewLesson, btnDeleteLesson, btnImportTable, btnExportTable, btnSave, btnClose,
                            btnHelp})
    NameAfterToolTip(iconOnly);
  TieToLabel(labelFile, editFileName);
  TieToLabel(labelLang1, editLang1);
  TieToLabel(labelLang2, editLang2);
  TieToLabel(labelLocale1, editLocale1);
  TieToLabel(labelLocale2, editLocale2);
  TieToLabel(labelMaxWords, editMaxWords);
  NameStepButtons(upDownMaxWords->btnUp, upDownMaxWords->btnDown, editMaxWords, UiText(t, txOneMore),
                  UiText(t, txOneLess));
  lessonList->setAccessibleName(UiText(t, txAvailableLessons));
  setWindowTitle(UiText(t, txEditExerciseAndLessons));
}

void TEditExerciseDlg::UpdateButtons() {
  const TLessonSetButtons b =
      LessonSetButtons(!FilePath.empty(), Lessons.Count(), IsNewFile,
                       static_cast<std::size_t>(editLang1->text().size()),
                       static_cast<std::size_t>(editLang2->text().size()));
  btnSaveLangFile->setEnabled(b.SaveLangFile);
  btnSaveLangfileAs->setEnabled(b.SaveLangfileAs);
  btnSave->setEnabled(b.Save);
  btnDeleteLesson->setEnabled(b.DeleteLesson);
  btnEditLesson->setEnabled(b.EditLesson);
  btnNewLesson->setEnabled(b.NewLesson);
  // A table goes into the file open here, or into a new one.
  btnImportTable->setEnabled(b.NewLesson);
  btnExportTable->setEnabled(!Lessons.Empty());
  // A voice belongs to a file: without one there is nothing to store it in.
  const bool hasFile = !FilePath.empty() || IsNewFile;
  editLocale1->setEnabled(hasFile);
  editLocale2->setEnabled(hasFile);
}

void TEditExerciseDlg::ShowFileName(bool showHint, const std::string& path) {
  editFileName->setText(Q(BaseNameAsGiven(path)));
  editFileName->setToolTip(showHint && !path.empty() ? Q(FilePath) : QString());
}

void TEditExerciseDlg::ComposeFileName() {
  // Characters, as the pair folder counts them: a letter beyond the Basic
  // Multilingual Plane is not cut in two.
  editFileName->setText(LeftChars(editLang1->text(), 3) + '_' + LeftChars(editLang2->text(), 3));
}

std::string TEditExerciseDlg::TextOf(const QLineEdit* field) const {
  return QStringToUtf8(field->text());
}

void TEditExerciseDlg::ForgetFile() {
  FilePath.clear();
  LangFile.ClearLessons();
  LangFile.Encoding = TTextEncoding::Utf8;
  Offer.FileOpened();
  ClearList();
  editLang1->clear();
  editLang2->clear();
  LangFile.Lang1Locale.clear();
  LangFile.Lang2Locale.clear();
  ClearLocales();
  ShowFileName(false, {});
}

void TEditExerciseDlg::ClearLocales() {
  ShownLocale1.clear();
  ShownLocale2.clear();
  GuessedLocale1.clear();
  GuessedLocale2.clear();
  ShowLocale(editLocale1, {});
  ShowLocale(editLocale2, {});
}

bool TEditExerciseDlg::FillLessonList() {
  LangFile.ClearLessons();
  if (!LangFile.LoadLangFile(FilePath)) return false;
  Offer.FileOpened();
  StampFilePath();
  ListLessons(true);
  ShowLocales();
  return true;
}

void TEditExerciseDlg::ShowLocales() {
  GuessedLocale1 = GuessLocale(LangFile.GetLang1Name());
  GuessedLocale2 = GuessLocale(LangFile.GetLang2Name());
  ShownLocale1 = LangFile.Lang1Locale.empty() ? GuessedLocale1 : LangFile.Lang1Locale;
  ShownLocale2 = LangFile.Lang2Locale.empty() ? GuessedLocale2 : LangFile.Lang2Locale;
  ShowLocale(editLocale1, ShownLocale1);
  ShowLocale(editLocale2, ShownLocale2);
}

void TEditExerciseDlg::GuessLocaleFor(QLineEdit* field, std::string& guessed, const QLineEdit* name) {
  // What the learner chose stays; only an empty field or an earlier guess
  // follows the name.
  const std::optional<std::string> shown = LocaleIn(field);
  if (!shown || (!shown->empty() && *shown != guessed)) return;
  guessed = GuessLocale(TextOf(name));
  ShowLocale(field, guessed);
}

bool TEditExerciseDlg::LocalesStorable(std::string& locale1, std::string& locale2) {
  for (QLineEdit* field : {editLocale1, editLocale2}) {
    const std::optional<std::string> locale = LocaleIn(field);
    if (!locale) {
      ShowMessageBox(this, windowTitle(), UiText(LangHandler, txLocaleNotStorable) + '\n' + LocaleText(field),
                     QMessageBox::Warning, QMessageBox::Ok, true);
      field->setFocus();
      return false;
    }
    (field == editLocale1 ? locale1 : locale2) = *locale;
  }
  return true;
}

void TEditExerciseDlg::ListLessons(bool marksFromSettings) {
  for (int32_t i = 0; i < LangFile.LessonSlotCount(); ++i) {
    const auto lesson = LangFile.GetLesson(i);
    if (!lesson) continue;
    Lessons.Add(lesson, marksFromSettings && IniFile.IsAvailableUnit(lesson->LessonNbr));
    ChangedLessons.Put(lesson->LessonNbr, false);
  }
  SortList();
}

void TEditExerciseDlg::AddLesson(const std::shared_ptr<TLesson>& lesson) {
  Lessons.Add(lesson);
  ChangedLessons.Put(lesson->LessonNbr, false);
  SortList();
}

void TEditExerciseDlg::SortList() {
  Lessons.Sort(LangHandler.GetText(txLesson));
  ShowList();
}

void TEditExerciseDlg::ShowList() {
  const bool was = inClick_;
  inClick_ = true;
  while (lessonList->topLevelItemCount() > Lessons.Count())
    delete lessonList->takeTopLevelItem(lessonList->topLevelItemCount() - 1);
  while (lessonList->topLevelItemCount() < Lessons.Count()) {
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setIcon(0, QIcon(LessonSymbol()));
    lessonList->addTopLevelItem(item);
  }
  const std::string lessonWord = LangHandler.GetText(txLesson);
  for (int p = 0; p < Lessons.Count(); ++p) {
    QTreeWidgetItem* item = lessonList->topLevelItem(p);
    const QString caption = Q(Lessons.Caption(p, lessonWord));
    if (item->text(0) != caption) item->setText(0, caption);
    const Qt::CheckState tick = Lessons.IsChosen(p) ? Qt::Checked : Qt::Unchecked;
    if (item->data(0, Qt::CheckStateRole).isNull() || item->checkState(0) != tick) item->setCheckState(0, tick);
  }
  const int selected = Lessons.Selected();
  if (selected >= 0) {
    QTreeWidgetItem* item = lessonList->topLevelItem(selected);
    if (lessonList->currentItem() != item) lessonList->setCurrentItem(item);
    item->setSelected(true);
  } else if (!lessonList->selectedItems().isEmpty()) {
    lessonList->clearSelection();
  }
  inClick_ = was;
}

void TEditExerciseDlg::TakeTick(QTreeWidgetItem* item) {
  if (inClick_ || item == nullptr) return;
  Lessons.SetChosen(lessonList->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
}

void TEditExerciseDlg::TakeSelection() {
  if (inClick_) return;
  const QList<QTreeWidgetItem*> selected = lessonList->selectedItems();
  Lessons.Select(selected.isEmpty() ? -1 : lessonList->indexOfTopLevelItem(selected.first()));
}

void TEditExerciseDlg::ClearList() {
  Lessons.Clear();
  ShowList();
}

void TEditExerciseDlg::ReportUnreadable(const std::string& path) {
  ShowMessageBox(this, windowTitle(), UiText(LangHandler, txLangFileUnreadable) + '\n' + DisplayPath(path),
                 QMessageBox::Warning, QMessageBox::Ok, true);
}

void TEditExerciseDlg::SelectTop() {
  if (Lessons.Empty()) return;
  Lessons.Select(0);
  ShowList();
}

std::shared_ptr<TLesson> TEditExerciseDlg::LessonAt(int position) const { return Lessons.LessonAt(position); }

int TEditExerciseDlg::SelectedLessonIndex() const { return Lessons.Selected(); }

std::vector<int32_t> TEditExerciseDlg::ChosenLessons() const { return Lessons.ChosenNumbers(); }

void TEditExerciseDlg::ShowLessonCounts(const TLesson* lesson) {
  labelValueNbrWords->setText(Counter(lesson != nullptr ? lesson->PearCount() : 0));
  labelValueUsedWords->setText(Counter(lesson != nullptr ? lesson->UsedPearCount() : 0));
  labelValueTotalWords->setText(Counter(Lessons.ChosenUsedPearCount()));
}

void TEditExerciseDlg::lessonListClick() {
  if (inClick_) return;
  inClick_ = true;
  // A lesson without a pair in use gives the exercise nothing to ask.
  const int unchosen = Lessons.UnchooseUnused();
  ShowList();
  for (int i = 0; i < unchosen; ++i)
    ShowMessageBox(this, windowTitle(),
                   UiText(LangHandler, txLessonWithoutPairs) + '\n' + UiText(LangHandler, txCannotBeChosen),
                   QMessageBox::Information, QMessageBox::Ok, true);
  ShowLessonCounts(LessonAt(Lessons.Selected()).get());
  inClick_ = false;
}

void TEditExerciseDlg::lessonListDblClick() {
  if (!Lessons.Empty()) btnEditLessonClick();
}

void TEditExerciseDlg::btnNewLangFileClick() {
  ClearList();
  ShowFileName(false, {});
  labelValueNbrWords->setText(Counter(0));
  labelValueUsedWords->setText(Counter(0));
  labelValueTotalWords->setText(Counter(0));
  editLang1->setReadOnly(false);
  editLang2->setReadOnly(false);
  // A new file is UTF-8, whatever the file before was.
  LangFile.Encoding = TTextEncoding::Utf8;
  Offer.FileOpened();
  ClearLocales();
  IsNewFile = true;
  UpdateButtons();
  EditState = esUnchanged;
  editLang1->setFocus();
}

void TEditExerciseDlg::LangExit(QLineEdit* field, QLineEdit* other, bool first) {
  // A read-only field cannot be corrected: pulling the focus back into it
  // would hold the user there for good, so only an editable one is refused.
  const bool editable = !field->isReadOnly();
  std::string text;
  if (editable && !CheckField(field, first ? TStoredField::Lang1Name : TStoredField::Lang2Name, LangHandler, text))
    return;
  if (editable && !Offer.Accept(this, text)) {
    ReturnFocus(field);
    return;
  }
  if (static_cast<std::size_t>(field->text().size()) < kMinLangName) {
    QApplication::beep();
    if (editable) ReturnFocus(field);
    return;
  }
  if (editable) {
    if (first)
      GuessLocaleFor(editLocale1, GuessedLocale1, field);
    else
      GuessLocaleFor(editLocale2, GuessedLocale2, field);
  }
  if (static_cast<std::size_t>(other->text().size()) >= kMinLangName) {
    ComposeFileName();
    UpdateButtons();
  }
}

void TEditExerciseDlg::editLang1Exit() { LangExit(editLang1, editLang2, true); }
void TEditExerciseDlg::editLang2Exit() { LangExit(editLang2, editLang1, false); }

void TEditExerciseDlg::editMaxWordsExit() {
  if (MaxWordsValid(editMaxWords->text().toStdString())) return;
  QApplication::beep();
  editMaxWords->setText(QStringLiteral("1"));
  ReturnFocus(editMaxWords);
}

bool TEditExerciseDlg::eventFilter(QObject* watched, QEvent* event) {
  if (LeavesField(event)) {
    if (watched == editLang1) editLang1Exit();
    else if (watched == editLang2) editLang2Exit();
    else if (watched == editMaxWords) editMaxWordsExit();
  }
  return QDialog::eventFilter(watched, event);
}

void TEditExerciseDlg::btnOpenLangFileClick() {
  GuardedAction(this, [this] {
    TFileRequest request;
    request.owner = this;
    request.title = QStringLiteral("Open a Language File");
    request.filter = QStringLiteral("Language file (*.lang *.Lang *.LANG)");
    request.defaultSuffix = QStringLiteral("Lang");
    request.directory = DisplayPath(IniFile.AppDir + "/LangFiles");
    const QString chosen = ChooseFile(request);
    if (chosen.isEmpty()) return;
    const std::string path = StoredFileName(QDir::fromNativeSeparators(chosen));
    if (!FileExistsWarn(path, IniFile.AppTitle, this)) return;
    // The editor saves where it opened: a file it cannot write is not taken.
    const QFileInfo file(DisplayPath(path));
    if (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable()) {
      ShowMessageBox(this, windowTitle(), UiText(LangHandler, txFileWriteProtected), QMessageBox::Warning,
                     QMessageBox::Ok, true);
      return;
    }
    // Read before anything changes: a damaged file leaves the dialog as it
    // was. Taken with an empty list, a lesson saved to it would overwrite
    // what could not be read.
    TLangFHandler opened;
    opened.SetLangNames(LangFile.GetLang1Name(), LangFile.GetLang2Name());
    if (!opened.LoadLangFile(path)) {
      ReportUnreadable(path);
      return;
    }
    FilePath = path;
    StampFilePath();
    ShowFileName(true, FilePath);
    ClearList();
    LangFile = std::move(opened);
    Offer.FileOpened();
    ListLessons(false);
    ShowLocales();
    editLang1->setText(Q(LangFile.GetLang1Name()));
    editLang2->setText(Q(LangFile.GetLang2Name()));
    editLang1->setReadOnly(true);
    editLang2->setReadOnly(true);
    if (!Lessons.Empty()) {
      SelectTop();
      ShowLessonCounts(LessonAt(0).get());
    } else {
      ShowLessonCounts(nullptr);
    }
    lessonList->setFocus();
    IsNewFile = false;
    UpdateButtons();
    EditState = esOpened;
  });
}

bool TEditExerciseDlg::NamesStorable(std::string& lang1, std::string& lang2) {
  return CheckField(editLang1, TStoredField::Lang1Name, LangHandler, lang1) &&
         CheckField(editLang2, TStoredField::Lang2Name, LangHandler, lang2) && Offer.Accept(this, lang1 + lang2);
}

bool TEditExerciseDlg::SaveToFile() {
  std::string lang1, lang2, locale1, locale2;
  if (!Lessons.Empty() && !(NamesStorable(lang1, lang2) && LocalesStorable(locale1, locale2))) return false;
  if (!MayReplaceFile()) return false;
  LangFile.ClearLessons();
  if (Lessons.Empty()) {
    if (FilePath.empty()) return true;  // no file to delete
    if (!LangFile.DeleteLangFile(FilePath) && FileExistsWarn(FilePath)) {
      ShowMessageBox(this, windowTitle(), UiText(LangHandler, txFileNotDeleted), QMessageBox::Warning,
                     QMessageBox::Ok, true);
      return false;
    }
    FilePath.clear();
    FileDeleted = true;
    return true;
  }
  LangFile.SetLangNames(lang1, lang2);
  LangFile.Lang1Locale = locale1;
  LangFile.Lang2Locale = locale2;
  for (int p = 0; p < Lessons.Count(); ++p) LangFile.PutLesson(LessonAt(p));
  // Whatever reached the lessons past the fields' checks: the file is asked
  // once more before a save would refuse it.
  std::string bad;
  if (!LangFile.Storable(&bad) && !Offer.Accept(this, bad)) return false;
  if (!LangFile.SaveLangFile(FilePath)) {
    ShowMessageBox(this, Q(IniFile.AppTitle), UiText(LangHandler, txLangFileNotSaved), QMessageBox::Information,
                   QMessageBox::Ok, true);
    return false;
  }
  StampFilePath();
  ShownLocale1 = locale1;
  ShownLocale2 = locale2;
  return true;
}

void TEditExerciseDlg::StampFilePath() {
  StampedPath = FilePath;
  try {
    ReadStamp = StampFile(FilePath);
  } catch (const TFileIoError&) {
    // Unreadable just now: the next save asks.
    ReadStamp = {};
  }
}

// The lessons shown here are all of the file: saving them replaces whatever
// another program wrote meanwhile, so the learner decides.
bool TEditExerciseDlg::MayReplaceFile() {
  if (StampedPath.empty() || StampedPath != FilePath) return true;
  try {
    if (StampFile(FilePath) == ReadStamp) return true;
  } catch (const TFileIoError&) {
    // Cannot be compared: the learner decides.
  }
  const int answer =
      ShowMessageBox(this, windowTitle(), UiText(LangHandler, txChangedElsewhereReplace) + '\n' + Q(FilePath),
                     QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, true);
  return answer == QMessageBox::Yes;
}

void TEditExerciseDlg::btnSaveLangFileClick() { SaveFile(); }

bool TEditExerciseDlg::SaveFile() {
  // A failed save leaves the changes counted as unsaved, so OK still asks.
  const bool saved = SaveToFile();
  if (saved && EditState == esModified) EditState = esSaved;
  UpdateButtons();
  return saved;
}

void TEditExerciseDlg::btnSaveLangfileAsClick() { SaveFileAs(); }

bool TEditExerciseDlg::SaveFileAs() {
  // "\Langfiles" and "\LangFiles\" are the one folder LangFiles.
  const std::string pairDir = IniFile.AppDir + "/LangFiles/" + PairDirName(TextOf(editLang1), TextOf(editLang2));
  // The folders are made for the dialog to open in; a cancelled or failed
  // save takes them away again (only while empty).
  TMadeFolders folders;
  folders.Make(NativePath(pairDir));

  TFileRequest request;
  request.owner = this;
  request.title = QStringLiteral("Save Language File");
  request.filter = QStringLiteral("Language files (*.lang *.Lang *.LANG)");
  request.defaultSuffix = QStringLiteral("lang");
  request.directory = DisplayPath(pairDir);
  request.fileName = editFileName->text() + QStringLiteral(".lang");
  request.save = true;
  const QString chosen = ChooseFile(request);
  if (chosen.isEmpty()) return false;
  FilePath = StoredFileName(QDir::fromNativeSeparators(chosen));
  ShowFileName(true, FilePath);
  const bool saved = SaveToFile();
  if (saved) folders.Keep();
  if (saved && EditState == esModified) EditState = esSaved;
  IsNewFile = false;
  UpdateButtons();
  return saved;
}

void TEditExerciseDlg::btnNewLessonClick() { RunLessonEditor(true); }
void TEditExerciseDlg::btnEditLessonClick() { RunLessonEditor(false); }

void TEditExerciseDlg::RunLessonEditor(bool newLesson) {
  std::shared_ptr<TLesson> lesson;
  TBoolVector usedNumbers;
  const int index = newLesson ? -1 : Lessons.Selected();
  if (newLesson) {
    lesson = std::make_shared<TLesson>();
    usedNumbers = Lessons.UsedNumbers();
    lesson->LessonNbr = FirstFreeNumber(usedNumbers, 1);
  } else {
    if (index < 0) return;
    lesson = LessonAt(index);
    // Its own number is free for it to keep or change.
    usedNumbers = Lessons.UsedNumbers(lesson.get());
  }
  {
    TeditLessonDlg editor(this, LangHandler, Session);
    editor.SetEncodingOffer(&Offer);
    editor.Prepare(TextOf(editLang1), TextOf(editLang2), newLesson, lesson, kHighestLessonNbr, usedNumbers);
    const int result = RunModal(editor);
    if (result == TeditLessonDlg::mrStored) {
      if (newLesson) {
        AddLesson(lesson);
      } else {
        if (lesson->UsedPearCount() == 0) Lessons.SetChosen(index, false);
        SortList();  // its number may have changed
      }
      if (editor.IsChanged()) {
        EditState = esModified;
        ChangedLessons.Put(lesson->LessonNbr, true);
      }
    }
  }
  ShowLessonCounts(lesson.get());
  UpdateButtons();
}

void TEditExerciseDlg::btnDeleteLessonClick() {
  const int index = Lessons.Selected();
  if (index < 0) return;
  Lessons.Remove(index);
  ShowList();
  const bool was = inClick_;
  inClick_ = true;
  lessonList->clearSelection();
  lessonList->setCurrentItem(nullptr);
  inClick_ = was;
  if (Lessons.Empty()) {
    editLang1->clear();
    editLang2->clear();
    ShowLocale(editLocale1, {});
    ShowLocale(editLocale2, {});
    ShowFileName(false, {});
  }
  EditState = esModified;
  lessonList->setFocus();
  ShowLessonCounts(nullptr);
  UpdateButtons();
}

void TEditExerciseDlg::btnHelpClick() { ShowHelpTopic(this, QStringLiteral("Edit-Exercise-Lessons")); }

bool TEditExerciseDlg::FileChanged() {
  // The settings' file could not be read and no other one is open: there is
  // nothing here to save, and the unread file must not be offered for deleting.
  if (FilePath.empty() && !IsNewFile && !IniFile.LangFileName.empty()) return false;
  if (EditState == esUnchanged &&
      (!SameName(TextOf(editLang1), IniFile.Lang1) || !SameName(TextOf(editLang2), IniFile.Lang2) ||
       !SameName(TextOf(editFileName), GetBasePart(FilePath))))
    EditState = esModified;
  // A voice chosen for a language changes the file too.
  if (LocaleIn(editLocale1) != std::optional(ShownLocale1) || LocaleIn(editLocale2) != std::optional(ShownLocale2))
    EditState = esModified;
  return EditState == esModified;
}

std::vector<int32_t> TEditExerciseDlg::SortedChoice() const {
  std::vector<int32_t> chosen = ChosenLessons();
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

bool TEditExerciseDlg::HasUnkeptChanges() {
  if (editMaxWords->text() != QString::number(IniFile.MaxWords)) return true;
  if (FilePath != ShownFilePath || SortedChoice() != ShownChoice) return true;
  // Without any file nothing can have been changed in one.
  if (FilePath.empty() && !IsNewFile) return false;
  return FileChanged();
}

QMessageBox::StandardButton TEditExerciseDlg::AskSaveChanges() {
  if (!FileChanged()) return QMessageBox::No;
  const TAppLangHandler& t = LangHandler;
  const QString text = Lessons.Empty() ? UiText(t, txNoLessonsLeft)
                                       : UiText(t, txLangFileChanged) + '\n' + UiText(t, txSaveChangesQuestion) + '\n' +
                                             UiText(t, txBeforeClosing);
  return static_cast<QMessageBox::StandardButton>(ShowMessageBox(
      this, windowTitle(), text, QMessageBox::Information, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
      true));
}

void TEditExerciseDlg::btnSaveClick() { KeepChoices(false); }

void TEditExerciseDlg::KeepChoices(bool saveFileUnasked) {
  GuardedAction(this, [this, saveFileUnasked] {
    // A number that is not one stops OK before anything is asked or stored.
    const int32_t maxWords = StrToInt(editMaxWords->text().toStdString());
    if (maxWords < kMinMaxWords || maxWords > kMaxMaxWords) {
      editMaxWordsExit();
      return;
    }
    std::string lang1, lang2;
    if (!NamesStorable(lang1, lang2)) return;
    const QMessageBox::StandardButton answer =
        saveFileUnasked ? (FileChanged() ? QMessageBox::Yes : QMessageBox::No) : AskSaveChanges();
    if (answer == QMessageBox::Cancel) return;
    const int32_t oldMaxWords = IniFile.MaxWords;
    const int code = ChangeCodeBefore(ChangeCode, maxWords, oldMaxWords, FilePath, IniFile.LangFileName);
    // A save asked for that does not complete (cancelled or failed) keeps
    // the dialog open: nothing is stored and the changes are not lost.
    if (answer == QMessageBox::Yes) {
      bool saved = true;
      if (IsNewFile && !Lessons.Empty())
        saved = SaveFileAs();
      else if (!IsNewFile)
        saved = SaveFile();
      if (!saved) return;
    }
    IniFile.MaxWords = maxWords;
    if (FilePath.empty() && !FileDeleted) {
      // Without a file (the settings' one could not be read, or a new one was
      // not saved) the settings keep the file, its languages and its lessons.
      const int kept = ChangeCodeBefore(ChangeCode, maxWords, oldMaxWords, IniFile.LangFileName, IniFile.LangFileName);
      ChangeCode = ChangeCodeAfter(kept, IniFile.AvailableUnits, OldChosen, ChangedLessons);
      done(mrOk);
      return;
    }
    IniFile.LangFileName = FilePath;
    IniFile.Lang1 = lang1;
    IniFile.Lang2 = lang2;
    IniFile.AvailableUnits = ChosenLessons();
    ChangeCode = ChangeCodeAfter(code, IniFile.AvailableUnits, OldChosen, ChangedLessons);
    done(mrOk);
  });
}

void TEditExerciseDlg::btnCloseClick() {
  if (HasUnkeptChanges()) {
    const int answer = ShowMessageBox(this, windowTitle(),
                                      UiText(LangHandler, txChoicesUnkept) + '\n' +
                                          UiText(LangHandler, txKeepChoicesFirst),
                                      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
      KeepChoices(true);
      return;
    }
    if (answer != QMessageBox::No) return;
  }
  done(mrCancel);
}

// Escape and the window's close button close as Close does.
void TEditExerciseDlg::reject() { btnCloseClick(); }

// ---- tables ------------------------------------------------------------------

TTableRequest TEditExerciseDlg::TableRequest(int title) {
  return TableRequestFor(this, LangHandler, title, FilePath, IniFile.AppDir);
}

void TEditExerciseDlg::btnImportTableClick() {
  const std::optional<TTableImport> table = ImportTableFile(TableRequest(txImportTable), LangFile.Encoding);
  if (!table) return;
  const TTableMerge merged = MergeTableLessons(Lessons, table->Lessons);
  for (const int32_t nbr : merged.NewLessons) ChangedLessons.Put(nbr, true);
  for (const int32_t nbr : merged.ExtendedLessons) ChangedLessons.Put(nbr, true);
  if (merged.PairCount > 0) EditState = esModified;
  SortList();
  UpdateButtons();
  QString done = WithNumbers(UiText(LangHandler, txTableImported),
                             {merged.PairCount, static_cast<int>(merged.NewLessons.size() + merged.ExtendedLessons.size())});
  // What a word list held beyond its pairs is said, never dropped silently.
  if (!table->NotKept.empty())
    done += "\n\n" + UiText(LangHandler, txNotKeptFromList) + '\n' + Utf8ToQString(table->NotKept);
  ShowMessageBox(this, windowTitle(), done, QMessageBox::Information, QMessageBox::Ok, false);
}

void TEditExerciseDlg::btnExportTableClick() {
  // The lessons as the editor holds them, saved or not.
  TLangFHandler shown;
  shown.SetLangNames(TextOf(editLang1), TextOf(editLang2));
  for (int p = 0; p < Lessons.Count(); ++p) shown.PutLesson(LessonAt(p));
  ExportTableFile(TableRequest(txExportTable), editFileName->text() + QStringLiteral(".csv"), shown);
}
