#include "EditLesson.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/TextNumbers.h"
#include "EncodingOffer.h"
#include "SoundMark.h"
#include "widgets/CSpinBox.h"
#include "widgets/CharLimit.h"
#include "widgets/FieldCheck.h"
#include "widgets/FileChooser.h"
#include "core/Word_Pear.h"
#include "session/ExerciseRun.h"
#include "widgets/MMediaManager.h"
#include "session/Session.h"
#include "settings/AppIniFile.h"
#include "settings/AppLangHandl.h"
#include "widgets/AccessibleName.h"
#include "widgets/GeneralUtil.h"
#include "widgets/Glyphs.h"
#include "widgets/HelpWnd.h"
#include "widgets/ToolButton.h"
#include "widgets/UiText.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "TableFileDialogs.h"

namespace {
// The icons of the button rows.
constexpr int kIconSize = 22;

enum Column { colUse = 0, colWord1, colWord2, colWav1, colWav2, colNumber, colCount };

constexpr int kWordLimit = 29;
constexpr int kWavLimit = 25;
constexpr int kColumnWidths[] = {35, 150, 150, 100, 100};

QString Q(const std::string& text) { return Utf8ToQString(text); }

}  // namespace

TeditLessonDlg::TeditLessonDlg(QWidget* owner, TAppLangHandler& LangHandler, TSession& session)
    : QDialog(owner), Session(session), IniFile(session.IniFile()), LangHandler(LangHandler) {
  setObjectName(QStringLiteral("editLessonDlg"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  BuildControls();
  SetHelpContext(this, 4);  // F1
  adjustSize();
  FitToScreen();
}

// Long lessons want a larger table: the dialog may be resized, never below
// what its content needs, and the phrase columns take the room.
void TeditLessonDlg::FitToScreen() {
  FitFormToScreen(this, true, true, true);
  GreySystemMenuItem(this, 2, false);
}

TeditLessonDlg::~TeditLessonDlg() = default;

void TeditLessonDlg::BuildControls() {
  setWindowTitle(QStringLiteral("Edit/New Lesson"));
  btnAddEntry = FlatToolButton(this, "btnAddEntry", StandardGlyph(QStyle::SP_FileIcon), kIconSize);
  btnDeleteEntry = FlatToolButton(this, "btnDeleteEntry", StandardGlyph(QStyle::SP_TrashIcon), kIconSize);
  // The glyphs of the exercise editor's table buttons.
  btnImportTable = FlatToolButton(this, "btnImportTable", StandardGlyph(QStyle::SP_ArrowDown), kIconSize);
  btnExportTable = FlatToolButton(this, "btnExportTable", StandardGlyph(QStyle::SP_ArrowUp), kIconSize);
  btnHelp = FlatToolButton(this, "btnHelp", StandardGlyph(QStyle::SP_MessageBoxQuestion), kIconSize);
  btnSafe = FlatToolButton(this, "btnSafe", StandardGlyph(QStyle::SP_DialogSaveButton), kIconSize);
  btnClose = FlatToolButton(this, "btnClose", StandardGlyph(QStyle::SP_DialogCloseButton), kIconSize);
  btnSpinboxUp = FlatToolButton(this, "btnSpinboxUp", StandardGlyph(QStyle::SP_ArrowUp), kIconSize);
  btnSpinboxDown = FlatToolButton(this, "btnSpinboxDown", StandardGlyph(QStyle::SP_ArrowDown), kIconSize);
  for (QToolButton* b : {btnSpinboxUp, btnSpinboxDown}) {
    b->setIcon(QIcon());
    b->setArrowType(b == btnSpinboxUp ? Qt::UpArrow : Qt::DownArrow);
    b->setFixedSize(20, 13);
  }

  labelLessonNbr = new QLabel(QStringLiteral("Lesson : "), this);
  labelLessonNbr->setObjectName(QStringLiteral("labelLessonNbr"));
  editLessonNbr = new QLineEdit(QStringLiteral("1"), this);
  editLessonNbr->setObjectName(QStringLiteral("editLessonNbr"));
  editLessonNbr->setReadOnly(true);
  editLessonNbr->setFixedWidth(44);
  editLessonNbr->setAlignment(Qt::AlignRight);
  labelNbrWords = new QLabel(QStringLiteral("Number of entrys : "), this);
  labelNbrWords->setObjectName(QStringLiteral("labelNbrWords"));
  labelEntryValue = new QLabel(this);
  labelEntryValue->setObjectName(QStringLiteral("labelEntryValue"));
  labelEntryValue->setMinimumWidth(50);

  auto* spinButtons = new QVBoxLayout;
  spinButtons->setSpacing(0);
  spinButtons->addWidget(btnSpinboxUp);
  spinButtons->addWidget(btnSpinboxDown);

  auto* top = new QHBoxLayout;
  top->addWidget(btnAddEntry);
  top->addWidget(btnDeleteEntry);
  top->addSpacing(8);
  top->addWidget(btnImportTable);
  top->addWidget(btnExportTable);
  top->addSpacing(16);
  top->addWidget(labelLessonNbr);
  top->addWidget(editLessonNbr);
  top->addLayout(spinButtons);
  top->addSpacing(16);
  top->addWidget(labelNbrWords);
  top->addWidget(labelEntryValue);
  top->addStretch(1);
  top->addWidget(btnHelp);
  top->addWidget(btnSafe);
  top->addWidget(btnClose);

  wordPearList = new QTableWidget(0, colCount, this);
  wordPearList->setObjectName(QStringLiteral("wordPearList"));
  wordPearList->setShowGrid(true);
  wordPearList->setSelectionBehavior(QAbstractItemView::SelectRows);
  wordPearList->setSelectionMode(QAbstractItemView::SingleSelection);
  wordPearList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  wordPearList->verticalHeader()->hide();
  wordPearList->verticalHeader()->setDefaultSectionSize(wordPearList->fontMetrics().height() + 6);
  wordPearList->horizontalHeader()->setSectionsClickable(false);
  wordPearList->horizontalHeader()->setHighlightSections(false);
  wordPearList->setHorizontalHeaderLabels({QStringLiteral("Use"), QStringLiteral("Language1"),
                                           QStringLiteral("Laguage2"), QStringLiteral("Wav - File 1"),
                                           QStringLiteral("Wav - File2"), QString()});
  for (int c = 0; c < colNumber; ++c) wordPearList->setColumnWidth(c, kColumnWidths[c]);
  wordPearList->horizontalHeader()->setSectionResizeMode(colWord1, QHeaderView::Stretch);
  wordPearList->horizontalHeader()->setSectionResizeMode(colWord2, QHeaderView::Stretch);
  wordPearList->setColumnHidden(colNumber, true);
  wordPearList->setMinimumSize(35 + 150 + 150 + 100 + 100 + 24, 260);
  wordPearList->setContextMenuPolicy(Qt::CustomContextMenu);
  labelEmptyHint = new QLabel(wordPearList->viewport());
  labelEmptyHint->setObjectName(QStringLiteral("labelEmptyHint"));
  labelEmptyHint->setWordWrap(true);
  labelEmptyHint->setAlignment(Qt::AlignCenter);
  auto* hintLayout = new QVBoxLayout(wordPearList->viewport());
  hintLayout->addWidget(labelEmptyHint, 0, Qt::AlignCenter);

  sortMenue = new QMenu(this);
  sortMenue->setObjectName(QStringLiteral("sortMenue"));
  sortItem1 = sortMenue->addAction(QStringLiteral("sort"));
  sortItem1->setObjectName(QStringLiteral("sortItem1"));
  sortItem2 = sortMenue->addAction(QStringLiteral("sort1"));
  sortItem2->setObjectName(QStringLiteral("sortItem2"));
  sortMenue->addSeparator();
  searchLang1 = sortMenue->addAction(QStringLiteral("Searching for english doubles "));
  searchLang1->setObjectName(QStringLiteral("searchLang1"));
  serchLang2 = sortMenue->addAction(QStringLiteral("Searching for german doubles"));
  serchLang2->setObjectName(QStringLiteral("serchLang2"));
  // The table buttons take no focus: the menu of the list (its key) reaches them.
  sortMenue->addSeparator();
  importTableItem = sortMenue->addAction(QStringLiteral("Import table"));
  importTableItem->setObjectName(QStringLiteral("importTableItem"));
  exportTableItem = sortMenue->addAction(QStringLiteral("Export table"));
  exportTableItem->setObjectName(QStringLiteral("exportTableItem"));

  auto field = [this](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->installEventFilter(this);
    return e;
  };
  editWord1 = field("editWord1");
  editWord2 = field("editWord2");
  editWav1 = field("editWav1");
  editWav2 = field("editWav2");
  // The limit holds for typing: a longer phrase the file brought may be
  // shortened, never lengthened.
  for (QLineEdit* e : {editWord1, editWord2}) LimitChars(e, kMaxPhraseLength);
  auto label = [this](const char* name) {
    auto* l = new QLabel(this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  labelWord1 = label("labelWord1");
  labelWord2 = label("labelWord2");
  labelWave1 = label("labelWave1");
  labelWave2 = label("labelWave2");
  btnSelectWav1 = new QPushButton(QStringLiteral("..."), this);
  btnSelectWav1->setObjectName(QStringLiteral("btnSelectWav1"));
  btnSelectWav2 = new QPushButton(QStringLiteral("..."), this);
  btnSelectWav2->setObjectName(QStringLiteral("btnSelectWav2"));
  btnPlayWav1 = new QPushButton(QString(QChar(0x25B6)), this);
  btnPlayWav1->setObjectName(QStringLiteral("btnPlayWav1"));
  btnPlayWav2 = new QPushButton(QString(QChar(0x25B6)), this);
  btnPlayWav2->setObjectName(QStringLiteral("btnPlayWav2"));
  for (QPushButton* b : {btnSelectWav1, btnSelectWav2, btnPlayWav1, btnPlayWav2}) {
    b->setAutoDefault(false);
    b->setFixedWidth(30);
  }

  auto* fields = new QGridLayout;
  fields->addWidget(labelWord1, 0, 0);
  fields->addWidget(labelWord2, 0, 2);
  fields->addWidget(editWord1, 1, 0);
  fields->addWidget(new QLabel(QStringLiteral(" ---- "), this), 1, 1);
  fields->addWidget(editWord2, 1, 2);
  fields->addWidget(labelWave1, 2, 0);
  fields->addWidget(labelWave2, 2, 2);
  auto* wav1 = new QHBoxLayout;
  wav1->addWidget(editWav1);
  wav1->addWidget(btnSelectWav1);
  wav1->addWidget(btnPlayWav1);
  markWav1 = new TSoundMark(this);
  markWav1->setObjectName(QStringLiteral("markWav1"));
  wav1->addWidget(markWav1);
  auto* wav2 = new QHBoxLayout;
  wav2->addWidget(editWav2);
  wav2->addWidget(btnSelectWav2);
  wav2->addWidget(btnPlayWav2);
  markWav2 = new TSoundMark(this);
  markWav2->setObjectName(QStringLiteral("markWav2"));
  wav2->addWidget(markWav2);
  fields->addLayout(wav1, 3, 0);
  fields->addWidget(new QLabel(QStringLiteral(" ---- "), this), 3, 1);
  fields->addLayout(wav2, 3, 2);
  fields->setColumnStretch(0, 1);
  fields->setColumnStretch(2, 1);

  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addWidget(wordPearList, 1);
  main->addLayout(fields);
  // Never smaller than its content, whatever the screen leaves for it.
  main->setSizeConstraint(QLayout::SetMinimumSize);

  connect(btnClose, &QToolButton::clicked, this, &TeditLessonDlg::btnCloseClick);
  connect(btnSafe, &QToolButton::clicked, this, &TeditLessonDlg::btnSafeClick);
  connect(btnAddEntry, &QToolButton::clicked, this, &TeditLessonDlg::btnAddEntryClick);
  connect(btnDeleteEntry, &QToolButton::clicked, this, &TeditLessonDlg::btnDeleteEntryClick);
  connect(btnHelp, &QToolButton::clicked, this, &TeditLessonDlg::btnHelpClick);
  connect(btnImportTable, &QToolButton::clicked, this, &TeditLessonDlg::btnImportTableClick);
  connect(btnExportTable, &QToolButton::clicked, this, &TeditLessonDlg::btnExportTableClick);
  connect(importTableItem, &QAction::triggered, this, &TeditLessonDlg::btnImportTableClick);
  connect(exportTableItem, &QAction::triggered, this, &TeditLessonDlg::btnExportTableClick);
  connect(btnSpinboxUp, &QToolButton::pressed, this, [this] { btnSpinboxMouseDown(false); });
  connect(btnSpinboxDown, &QToolButton::pressed, this, [this] { btnSpinboxMouseDown(true); });
  connect(btnSpinboxUp, &QToolButton::released, this, &TeditLessonDlg::btnSpinboxMouseUp);
  connect(btnSpinboxDown, &QToolButton::released, this, &TeditLessonDlg::btnSpinboxMouseUp);
  connect(btnSelectWav1, &QPushButton::clicked, this, &TeditLessonDlg::btnSelectWav1Click);
  connect(btnPlayWav1, &QPushButton::clicked, this, [this] { PlayFieldSound(editWav1); });
  connect(btnPlayWav2, &QPushButton::clicked, this, [this] { PlayFieldSound(editWav2); });
  connect(btnSelectWav2, &QPushButton::clicked, this, &TeditLessonDlg::btnSelectWav2Click);
  connect(editWav1, &QLineEdit::textChanged, this, &TeditLessonDlg::UpdateSoundMarks);
  connect(editWav2, &QLineEdit::textChanged, this, &TeditLessonDlg::UpdateSoundMarks);
  connect(wordPearList, &QTableWidget::itemSelectionChanged, this, &TeditLessonDlg::wordPearListSelectItem);
  connect(wordPearList, &QTableWidget::itemChanged, this, &TeditLessonDlg::TakeTick);
  connect(wordPearList, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { sortMenue->popup(wordPearList->viewport()->mapToGlobal(at)); });
  connect(sortItem1, &QAction::triggered, this, &TeditLessonDlg::sortItem1Click);
  connect(sortItem2, &QAction::triggered, this, &TeditLessonDlg::sortItem2Click);
  connect(searchLang1, &QAction::triggered, this, &TeditLessonDlg::searchLang1Click);
  connect(serchLang2, &QAction::triggered, this, &TeditLessonDlg::searchLang2Click);
}

void TeditLessonDlg::Prepare(const std::string& lang1, const std::string& lang2, bool newLesson,
                             std::shared_ptr<TLesson> lesson, int32_t highest, const TBoolVector& usedNumbers) {
  EditedLesson = std::move(lesson);
  FreeNumbers = FreeLessonNumbers(usedNumbers, highest);
  int32_t start = PositionOf(FreeNumbers, EditedLesson->LessonNbr);
  if (start < 0) {
    // No free number, or the lesson's own number lies outside the range: the
    // lesson keeps its number, which no other lesson holds.
    FreeNumbers.Clear();
    FreeNumbers.Add(EditedLesson->LessonNbr);
    start = 0;
  }
  NumberSpin = new TSpinBox(editLessonNbr);
  NumberSpin->Init(1, highest, start, 1, &FreeNumbers);
  PairDir = PairDirName(lang1, lang2);

  const QString name1 = Q(lang1);
  const QString name2 = Q(lang2);
  labelWord1->setText(name1);
  labelWord2->setText(name2);
  wordPearList->horizontalHeaderItem(colWord1)->setText(name1);
  wordPearList->horizontalHeaderItem(colWord2)->setText(name2);

  if (newLesson) {
    editWord1->setReadOnly(true);
    editWord2->setReadOnly(true);
  } else {
    for (int32_t i = 0; i < EditedLesson->SlotCount(); ++i) {
      const auto pear = EditedLesson->GetPear(i);
      if (!pear) continue;
      AddRow({std::string(pear->Word1), std::string(pear->Word2), std::string(pear->WavFile1), std::string(pear->WavFile2),
              pear->PearNbr, pear->InUse},
             false, -1);
    }
  }
  ApplyTexts(name1, name2);
  UpdateButtons();
}

void TeditLessonDlg::ApplyTexts(const QString& name1, const QString& name2) {
  const TAppLangHandler& t = LangHandler;
  setWindowTitle(UiText(t, txEditLessonTitle));
  labelLessonNbr->setText(UiText(t, txLesson) + QStringLiteral(" :"));
  labelNbrWords->setText(UiText(t, txNumberOfEntries));
  btnClose->setToolTip(UiText(t, txCloseWithoutSaving));
  btnSafe->setToolTip(UiText(t, txSaveAndClose));
  btnAddEntry->setToolTip(UiText(t, txAddPair));
  btnDeleteEntry->setToolTip(UiText(t, txDeletePair));
  btnHelp->setToolTip(UiText(t, txHelp));
  btnImportTable->setToolTip(UiText(t, txImportTableLesson));
  btnExportTable->setToolTip(UiText(t, txExportTableLesson));
  importTableItem->setText(UiText(t, txImportTableLesson));
  exportTableItem->setText(UiText(t, txExportTableLesson));
  sortItem1->setText(UiText(t, txSortBy) + ' ' + name1);
  sortItem2->setText(UiText(t, txSortBy) + ' ' + name2);
  searchLang1->setText(UiText(t, txSearchFor) + ' ' + name1 + ' ' + UiText(t, txDoubles));
  serchLang2->setText(UiText(t, txSearchFor) + ' ' + name2 + ' ' + UiText(t, txDoubles));
  const QString wav = QStringLiteral("Wav - ") + UiText(t, txFile) + ' ';
  labelWave1->setText(wav + name1);
  labelWave2->setText(wav + name2);
  // Two play buttons: the name says whose sound each one plays.
  btnPlayWav1->setToolTip(UiText(t, txPlaySound));
  btnPlayWav2->setToolTip(UiText(t, txPlaySound));
  btnPlayWav1->setAccessibleName(UiText(t, txPlaySound) + QStringLiteral(": ") + name1);
  btnPlayWav2->setAccessibleName(UiText(t, txPlaySound) + QStringLiteral(": ") + name2);
  wordPearList->horizontalHeaderItem(colUse)->setText(UiText(t, txUse));
  wordPearList->horizontalHeaderItem(colWav1)->setText(wav + name1);
  wordPearList->horizontalHeaderItem(colWav2)->setText(wav + name2);
  wordPearList->setToolTip(UiText(t, txPairListHint));
  for (QWidget* iconOnly : {btnClose, btnSafe, btnAddEntry, btnDeleteEntry, btnImportTable, btnExportTable, btnHelp})
    NameAfterToolTip(iconOnly);
  TieToLabel(labelLessonNbr, editLessonNbr);
  NameStepButtons(btnSpinboxUp, btnSpinboxDown, editLessonNbr, UiText(t, txOneMore), UiText(t, txOneLess));
  wordPearList->setAccessibleName(UiText(t, txPhrasePairs));
  TieToLabel(labelWord1, editWord1);
  TieToLabel(labelWord2, editWord2);
  TieToLabel(labelWave1, editWav1);
  TieToLabel(labelWave2, editWav2);
  btnSelectWav1->setAccessibleName(UiText(t, txChooseSound) + QStringLiteral(": ") + name1);
  btnSelectWav2->setAccessibleName(UiText(t, txChooseSound) + QStringLiteral(": ") + name2);
  markWav1->setAccessibleName(UiText(t, txSoundCheck) + QStringLiteral(": ") + name1);
  markWav2->setAccessibleName(UiText(t, txSoundCheck) + QStringLiteral(": ") + name2);
  labelEmptyHint->setText(UiText(t, txNoEntryYet));
  // A column is at least as wide as its caption in the current language.
  int total = 24;
  for (int c = 0; c < colNumber; ++c) {
    const int width = std::max(kColumnWidths[c], wordPearList->horizontalHeader()->sectionSizeHint(c));
    wordPearList->setColumnWidth(c, width);
    total += width;
  }
  wordPearList->setMinimumWidth(total);
  // The window takes the size of the texts it now shows.
  FitToScreen();
}

void TeditLessonDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TeditLessonDlg::FormShow() {
  if (RowCount() > 0) SelectRow(0);
  wordPearList->setFocus();
  UpdateButtons();
}

void TeditLessonDlg::UpdateButtons() {
  const int rows = RowCount();
  btnDeleteEntry->setEnabled(rows > 1);
  btnSafe->setEnabled(rows >= 1);
  btnExportTable->setEnabled(rows >= 1);
  exportTableItem->setEnabled(rows >= 1);
  // The fields edit the selected entry: greyed while there is none to edit.
  const bool hasEntry = rows > 0;
  for (QLineEdit* field : {editWord1, editWord2, editWav1, editWav2}) field->setEnabled(hasEntry);
  labelEmptyHint->setVisible(!hasEntry);
  const bool selected = SelectedRow() >= 0;
  btnSelectWav1->setEnabled(selected);
  btnSelectWav2->setEnabled(selected);
  btnPlayWav1->setEnabled(selected);
  btnPlayWav2->setEnabled(selected);
  const bool spin = NumberSpin != nullptr && NumberSpin->CanSpin();
  btnSpinboxUp->setEnabled(spin);
  btnSpinboxDown->setEnabled(spin);
  UpdateSoundMarks();
}

int TeditLessonDlg::SelectedRow() const {
  const QList<QTableWidgetSelectionRange> ranges = wordPearList->selectedRanges();
  int first = -1;
  for (const QTableWidgetSelectionRange& range : ranges)
    if (first < 0 || range.topRow() < first) first = range.topRow();
  return first;
}

TLessonRows TeditLessonDlg::Rows() const { return EditedRows; }

void TeditLessonDlg::ShowRow(int r) {
  const TLessonRow& row = EditedRows[static_cast<std::size_t>(r)];
  const bool was = showingRows_;
  showingRows_ = true;
  auto cell = [this, r](int c, const QString& text) {
    QTableWidgetItem* item = wordPearList->item(r, c);
    if (item == nullptr) {
      item = new QTableWidgetItem;
      if (c != colUse) item->setTextAlignment(Qt::AlignCenter);
      wordPearList->setItem(r, c, item);
    }
    item->setText(text);
    return item;
  };
  QTableWidgetItem* use = cell(colUse, QString());
  use->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  use->setCheckState(row.Ticked ? Qt::Checked : Qt::Unchecked);
  cell(colWord1, Q(row.Word1));
  cell(colWord2, Q(row.Word2));
  cell(colWav1, Q(row.WavFile1));
  cell(colWav2, Q(row.WavFile2));
  cell(colNumber, QString::number(row.Number));
  showingRows_ = was;
}

void TeditLessonDlg::TakeTick(QTableWidgetItem* item) {
  if (showingRows_ || item == nullptr || item->column() != colUse) return;
  const int r = item->row();
  if (r < 0 || r >= static_cast<int>(EditedRows.size())) return;
  EditedRows[static_cast<std::size_t>(r)].Ticked = item->checkState() == Qt::Checked;
}

void TeditLessonDlg::AddRow(const TLessonRow& row, bool select, int position) {
  const int r = position < 0 ? RowCount() : position;
  EditedRows.insert(EditedRows.begin() + r, row);
  wordPearList->insertRow(r);
  ShowRow(r);
  ShowEntryCount();
  if (select) {
    SelectRow(r);
    wordPearList->setFocus();
  }
}

void TeditLessonDlg::SelectRow(int r) {
  wordPearList->clearSelection();
  wordPearList->setCurrentCell(r, colWord1);
  wordPearList->selectRow(r);
}

void TeditLessonDlg::ShowEntryCount() {
  labelEntryValue->setText(QStringLiteral(" : ") + QString::number(RowCount()));
}

void TeditLessonDlg::wordPearListSelectItem() {
  const int r = SelectedRow();
  if (r >= 0) {
    const TLessonRow& row = EditedRows[static_cast<std::size_t>(r)];
    ShowPhrase(editWord1, Q(row.Word1));
    ShowPhrase(editWord2, Q(row.Word2));
    editWav1->setText(Q(row.WavFile1));
    editWav2->setText(Q(row.WavFile2));
  }
  UpdateButtons();
}

void TeditLessonDlg::ShowPhrase(QLineEdit* field, const QString& phrase) {
  // A phrase loaded from a file is shown whole even beyond the typing limit.
  ShowLimited(field, phrase);
}

void TeditLessonDlg::CommitFields() {
  if (editWord1->text().isEmpty() || editWord2->text().isEmpty()) return;
  std::string w1, w2, s1, s2;
  // A field that holds a refused character reports it when it is left; until
  // then nothing of the four is written.
  if (!FieldText(editWord1, TStoredField::Word1, w1) || !FieldText(editWord2, TStoredField::Word2, w2) ||
      !FieldText(editWav1, TStoredField::WavFile1, s1) || !FieldText(editWav2, TStoredField::WavFile2, s2))
    return;
  if (Offer != nullptr && !Offer->Holds(w1 + w2 + s1 + s2)) return;
  const int r = SelectedRow();
  if (r >= 0) {
    TLessonRow& row = EditedRows[static_cast<std::size_t>(r)];
    row.Word1 = w1;
    row.Word2 = w2;
    row.WavFile1 = s1;
    row.WavFile2 = s2;
    ShowRow(r);
  }
  UpdateFieldHints();
}

void TeditLessonDlg::UpdateFieldHints() {
  auto hint = [](QLineEdit* field, int limit) {
    field->setToolTip(CharCount(field->text()) > limit ? field->text() : QString());
  };
  hint(editWord1, kWordLimit);
  hint(editWord2, kWordLimit);
  hint(editWav1, kWavLimit);
  hint(editWav2, kWavLimit);
}

bool TeditLessonDlg::CheckStorable(QLineEdit* field, TStoredField kind) {
  std::string text;
  if (!CheckField(field, kind, LangHandler, text)) return false;
  if (Offer == nullptr || Offer->Accept(this, text)) return true;
  ReturnFocus(field);
  return false;
}

void TeditLessonDlg::FieldExit(QLineEdit* field, TStoredField kind) {
  if (CheckStorable(field, kind)) CommitFields();
}

void TeditLessonDlg::editWord1Exit() { FieldExit(editWord1, TStoredField::Word1); }
void TeditLessonDlg::editWord2Exit() { FieldExit(editWord2, TStoredField::Word2); }
void TeditLessonDlg::editWav1Exit() { FieldExit(editWav1, TStoredField::WavFile1); }
void TeditLessonDlg::editWav2Exit() { FieldExit(editWav2, TStoredField::WavFile2); }

bool TeditLessonDlg::eventFilter(QObject* watched, QEvent* event) {
  if (LeavesField(event)) {
    if (watched == editWord1) editWord1Exit();
    else if (watched == editWord2) editWord2Exit();
    else if (watched == editWav1) editWav1Exit();
    else if (watched == editWav2) editWav2Exit();
  }
  return QDialog::eventFilter(watched, event);
}

void TeditLessonDlg::btnAddEntryClick() {
  editWord1->setReadOnly(false);
  editWord2->setReadOnly(false);
  // Commit what was typed into the selected row even on the first addition,
  // so an edit not yet committed by leaving its field is not lost.
  CommitFields();
  ShowPhrase(editWord1, QString());
  ShowPhrase(editWord2, QString());
  editWav1->setText(QStringLiteral(" "));
  editWav2->setText(QStringLiteral(" "));
  UpdateFieldHints();
  AddRow({"", "", " ", " ", NextRowNumber(EditedRows), true}, true, 0);
  EntryAdded = true;
  UpdateButtons();
}

void TeditLessonDlg::btnDeleteEntryClick() {
  const int r = SelectedRow();
  if (r < 0 || RowCount() < 2) return;
  EditedRows.erase(EditedRows.begin() + r);
  wordPearList->removeRow(r);
  const int count = RowCount();
  SelectRow(RowAfterDelete(r, count));
  UpdateButtons();
  wordPearList->setFocus();
  ShowEntryCount();
  Changed = true;
}

void TeditLessonDlg::btnSpinboxMouseDown(bool down) {
  if (NumberSpin != nullptr) NumberSpin->ButtonDown(down);
}

void TeditLessonDlg::btnSpinboxMouseUp() {
  if (NumberSpin != nullptr) NumberSpin->ButtonUp();
}

void TeditLessonDlg::btnHelpClick() { ShowHelpTopic(this, QStringLiteral("Edit/New Lesson")); }

void TeditLessonDlg::SelectWav(QLineEdit* field, TStoredField kind) {
  TFileRequest request;
  request.owner = this;
  request.title = QStringLiteral("Select a Wav File");
  request.filter = QStringLiteral("Wav Files (*.Wav *.wav *.WAV)");
  request.defaultSuffix = QStringLiteral("Wav");
  request.directory = DisplayPath(IniFile.AppDir + "/LangFiles/" + PairDir);
  request.fileName = QStringLiteral("*.Wav");
  const QString chosen = ChooseFile(request);
  if (chosen.isEmpty()) return;
  const std::string path = StoredFileName(QDir::fromNativeSeparators(chosen));
  field->setText(Q(RelativeWavPath(IniFile.AppDir, path)));
  if (CheckStorable(field, kind)) CommitFields();
}

namespace {
TeditLessonDlg::TMediaFactory& MediaFactory() {
  static TeditLessonDlg::TMediaFactory factory;
  return factory;
}
}  // namespace

void TeditLessonDlg::SetMediaFactory(TMediaFactory factory) { MediaFactory() = std::move(factory); }

void TeditLessonDlg::PlayFieldSound(const QLineEdit* field) {
  const std::string name = QStringToUtf8(field->text().trimmed());
  if (name.empty()) {
    QApplication::beep();
    return;
  }
  // One player a click: a missing file is named every time it is tried.
  const std::unique_ptr<TMediaManager> media =
      MediaFactory() ? MediaFactory()(this) : std::make_unique<TMediaManager>(this);
  media->SetWarningTexts([this] {
    return TMediaManager::TWarningTexts{windowTitle(), UiText(LangHandler, txSoundMissing),
                                        UiText(LangHandler, txSoundUnplayable)};
  });
  media->PlayWave(TExerciseRun::ResolveSoundName(name, IniFile.AppDir));
}

void TeditLessonDlg::UpdateSoundMarks() {
  const auto named = [](const std::string& name) { return name.find_first_not_of(' ') != std::string::npos; };
  const auto measure = [this](const std::string& name) -> const TSoundMeasure& {
    return soundMeasures_.Measure(TExerciseRun::ResolveSoundName(name, IniFile.AppDir));
  };
  std::vector<TSoundMeasure> lesson;
  for (const TLessonRow& row : EditedRows)
    for (const std::string* name : {&row.WavFile1, &row.WavFile2})
      if (named(*name)) lesson.push_back(measure(*name));
  const double median = MedianLoudness(lesson);
  for (const auto& [field, mark] : {std::pair{editWav1, markWav1}, std::pair{editWav2, markWav2}}) {
    const std::string name = field->text().toStdString();
    const bool judged = field->isEnabled() && named(name);
    mark->ShowFaults(judged ? JudgeSound(measure(name), median) : std::vector<TSoundFault>{}, LangHandler);
  }
}

void TeditLessonDlg::btnSelectWav1Click() { SelectWav(editWav1, TStoredField::WavFile1); }
void TeditLessonDlg::btnSelectWav2Click() { SelectWav(editWav2, TStoredField::WavFile2); }

void TeditLessonDlg::SortRows(bool secondLang) {
  ::SortRows(EditedRows, secondLang);
  for (int r = 0; r < RowCount(); ++r) ShowRow(r);
  // The selected position may now hold another pair: show that pair, so the
  // next commit writes into the row the fields came from.
  wordPearListSelectItem();
}

void TeditLessonDlg::sortItem1Click() { SortRows(false); }
void TeditLessonDlg::sortItem2Click() { SortRows(true); }

void TeditLessonDlg::SearchDoubles(bool secondLang) {
  const int r = SelectedRow();
  if (r < 0) return;
  const TLessonRow& row = EditedRows[static_cast<std::size_t>(r)];
  const std::string& phrase = secondLang ? row.Word2 : row.Word1;
  // Searched in the language file of the exercises, as the main window holds it.
  const std::string found = ::SearchDoubles(Session.LangFile(), EditedLesson->LessonNbr, phrase, secondLang);
  const QString text =
      found.empty() ? UiText(LangHandler, txPhraseNowhereElse)
                    : UiText(LangHandler, txPhraseAlsoStands) + '\n' + UiText(LangHandler, txInLessons) + Q(found);
  ShowMessageBox(this, windowTitle(), text, QMessageBox::Information, QMessageBox::Ok, false);
}

void TeditLessonDlg::searchLang1Click() { SearchDoubles(false); }
void TeditLessonDlg::searchLang2Click() { SearchDoubles(true); }

bool TeditLessonDlg::TakeFocusedField() {
  QWidget* focused = focusWidget();
  if (focused == editWord1 && !CheckStorable(editWord1, TStoredField::Word1)) return false;
  if (focused == editWord2 && !CheckStorable(editWord2, TStoredField::Word2)) return false;
  if (focused == editWav1 && !CheckStorable(editWav1, TStoredField::WavFile1)) return false;
  if (focused == editWav2 && !CheckStorable(editWav2, TStoredField::WavFile2)) return false;
  if (focused == editWord1 || focused == editWord2 || focused == editWav1 || focused == editWav2) CommitFields();
  return true;
}

void TeditLessonDlg::btnSafeClick() {
  if (RowCount() < 1) return;
  // A field that holds a refused character keeps the dialog open.
  if (!TakeFocusedField()) return;
  wordPearList->setFocus();
  const int32_t number = NumberSpin->GetValue();
  Changed = Changed || IsLessonChanged(*EditedLesson, EditedRows, number);
  StoreRows(*EditedLesson, EditedRows, number);
  done(mrStored);
}

bool TeditLessonDlg::HasUnstoredChanges() const {
  if (Changed || NumberSpin == nullptr) return Changed;
  if (StoringAltersLesson(*EditedLesson, EditedRows, NumberSpin->GetValue())) return true;
  // Text typed into the fields and not yet written into its row.
  const int r = SelectedRow();
  if (r < 0) return !editWord1->text().isEmpty() || !editWord2->text().isEmpty();
  const TLessonRow& row = EditedRows[static_cast<std::size_t>(r)];
  return editWord1->text() != Q(row.Word1) || editWord2->text() != Q(row.Word2) ||
         editWav1->text() != Q(row.WavFile1) || editWav2->text() != Q(row.WavFile2);
}

void TeditLessonDlg::btnCloseClick() {
  if (HasUnstoredChanges()) {
    const int answer = ShowMessageBox(this, windowTitle(),
                                      UiText(LangHandler, txLessonUnstored) + '\n' +
                                          UiText(LangHandler, txStoreLessonFirst),
                                      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
      btnSafeClick();
      return;
    }
    if (answer != QMessageBox::No) return;
  }
  Changed = false;
  done(mrClosed);
}

// Escape and the window's close button close as Close does.
void TeditLessonDlg::reject() { btnCloseClick(); }

// ---- tables ------------------------------------------------------------------

const std::string& TeditLessonDlg::LangFilePath() const {
  return Offer != nullptr ? Offer->FilePath() : IniFile.LangFileName;
}

TTableRequest TeditLessonDlg::TableRequest(int title) {
  return TableRequestFor(this, LangHandler, title, LangFilePath(), IniFile.AppDir);
}

void TeditLessonDlg::btnImportTableClick() {
  // An edit still in a field goes into its row before the new rows come.
  if (!TakeFocusedField()) return;
  // The table's lesson column may be left out (its rows are then gathered as
  // lesson 1); a table of one lesson comes into this one whatever its
  // number, as the learner chose this lesson.
  const TTextEncoding target = Offer != nullptr ? Offer->Encoding() : TTextEncoding::Utf8;
  const std::optional<TTableImport> table = ImportTableFile(TableRequest(txImportTableLesson), target, 1);
  if (!table) return;
  if (table->Lessons.size() > 1) {
    // Several lessons in one would lose what the table kept apart.
    ShowMessageBox(this, windowTitle(),
                   WithNumbers(UiText(LangHandler, txTableSeveralLessons), {static_cast<int>(table->Lessons.size())}),
                   QMessageBox::Warning, QMessageBox::Ok, true);
    return;
  }
  const int first = RowCount();
  for (const std::shared_ptr<TLesson>& lesson : table->Lessons)
    for (int32_t slot = 0; slot < lesson->SlotCount(); ++slot) {
      const std::shared_ptr<TWordPear> pear = lesson->GetPear(slot);
      if (!pear) continue;
      // Drawn belongs to the pass of an exercise; a stored row starts undrawn.
      AddRow({std::string(pear->Word1), std::string(pear->Word2), std::string(pear->WavFile1),
              std::string(pear->WavFile2), NextRowNumber(EditedRows), pear->InUse},
             false, -1);
    }
  // What a word list held beyond its pairs is said, never dropped silently.
  if (!table->NotKept.empty())
    ShowMessageBox(this, windowTitle(), UiText(LangHandler, txNotKeptFromList) + '\n' + Utf8ToQString(table->NotKept),
                   QMessageBox::Information, QMessageBox::Ok, false);
  if (RowCount() == first) return;
  editWord1->setReadOnly(false);
  editWord2->setReadOnly(false);
  SelectRow(first);
  wordPearList->setFocus();
  UpdateButtons();
}

void TeditLessonDlg::btnExportTableClick() {
  if (RowCount() < 1 || !TakeFocusedField()) return;
  // The lesson as storing it now would make it.
  auto shown = std::make_shared<TLesson>();
  StoreRows(*shown, EditedRows, NumberSpin->GetValue());
  TLangFHandler lessons;
  lessons.PutLesson(shown);
  const std::string& file = LangFilePath();
  const QString base = file.empty() ? QStringLiteral("lesson") : QFileInfo(Q(file)).completeBaseName();
  ExportTableFile(TableRequest(txExportTableLesson), base + '-' + QString::number(shown->LessonNbr) + QStringLiteral(".csv"),
                  lessons);
}
