#include "ExerciseWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "CardCanvas.h"
#include "CardPictures.h"
#include "GraphicOutput.h"
#include "PhraseDelegate.h"
#include "TypedAnswerRow.h"
#include "settings/TextNumbers.h"
#include "widgets/MMediaManager.h"
#include "widgets/PlaybackInputGate.h"
#include "settings/AppIniFile.h"
#include "widgets/GeneralUtil.h"
#include "widgets/HelpWnd.h"
#include "widgets/TickTimer.h"
#include "session/ExerciseSession.h"
#include "widgets/UiText.h"
#include "core/CodePage.h"
#include "storage/LangFHandler.h"

namespace {

TExerciseDlg::TMediaFactory& MediaFactory() {
  static TExerciseDlg::TMediaFactory factory;
  return factory;
}

double ScreenPpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInch() : 96.0;
}

// The two-state glyphs of the speed buttons; the disabled state is greyed by Qt.
QIcon Glyph(int kind) {
  QPixmap pm(18, 18);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  if (kind == 0) {  // START: a green triangle
    p.setBrush(QColor(20, 150, 40));
    p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(16, 9), QPoint(4, 16)}));
  } else if (kind == 1) {  // STOP: a red square
    p.setBrush(QColor(200, 30, 30));
    p.drawRect(3, 3, 12, 12);
  } else {  // WEITER: a blue double arrow
    p.setBrush(QColor(30, 70, 200));
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(9, 9), QPoint(1, 15)}));
    p.drawPolygon(QPolygon({QPoint(8, 3), QPoint(16, 9), QPoint(8, 15)}));
  }
  return QIcon(pm);
}

}  // namespace

void TExerciseDlg::SetMediaFactory(TMediaFactory factory) { MediaFactory() = std::move(factory); }

TExerciseDlg::TExerciseDlg(QWidget* owner, TAppLangHandler& langHandler, TLangFHandler& exerciseLangFile,
                           TAppIniFile& iniFile, TExerciseSession& session)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint),
      LangHandler(langHandler),
      ExerciseLangFile(exerciseLangFile),
      IniFile(iniFile),
      Session(session) {
  setObjectName("ExerciseDlg");
  // The card picture that suits the screen, chosen once.
  graphics_ = std::make_unique<TCardGraphics>(ScreenPpi());
  // Real timers: ones that tests tick by hand once switched to manual.
  run_ = std::make_unique<TExerciseRun>(IniFile, ExerciseLangFile, static_cast<TExerciseRunView&>(*this), Session,
                                        [] { return std::make_unique<TTickTimer>(); });
  BuildControls();
  graphics_->SetChangedHook([this] {
    groundImage->update();
    SyncCardImage();
  });
  sizeFixed_ = !FitFormToScreen(this, true, true, false);
  if (sizeFixed_) GreySystemMenuItem(this, 2, true);
}

TExerciseDlg::~TExerciseDlg() = default;

void TExerciseDlg::BuildControls() {
  auto* top = new QVBoxLayout(this);

  stateBox = new QGroupBox(this);
  stateBox->setObjectName("stateBox");
  auto* states = new QHBoxLayout(stateBox);
  auto label = [&](QLabel*& l, const char* name, const char* text) {
    l = new QLabel(QString::fromUtf8(text), stateBox);
    l->setObjectName(name);
    states->addWidget(l);
  };
  label(labelMode, "labelMode", "Übungsmodus :");
  label(modeValue, "modeValue", "Automatisch");
  states->addSpacing(16);
  label(labelState, "labelState", "Exercise State  :");
  label(stateValue, "stateValue", "Stoped");
  states->addSpacing(16);
  label(labelWNbr, "labelWNbr", "Phrase Number :");
  label(wNbrValue, "wNbrValue", "300/300");
  states->addStretch();
  for (QLabel* v : {modeValue, stateValue, wNbrValue}) {
    QFont f = v->font();
    f.setBold(true);
    v->setFont(f);
    // Room for the longest value in either language; the window keeps its size.
    v->setMinimumWidth(QFontMetrics(f).horizontalAdvance(QStringLiteral("Automatisch  ")));
  }
  top->addWidget(stateBox);

  auto* middle = new QHBoxLayout;
  auto* cardArea = new QWidget(this);
  groundImage = new TCardCanvas(*graphics_, cardArea);
  groundImage->setObjectName("groundImage");
  cardArea->setFixedSize(groundImage->size());
  // The card at rest: a see-through control over the canvas that follows the card.
  cardImage = new QWidget(groundImage);
  cardImage->setObjectName("cardImage");
  cardImage->setAttribute(Qt::WA_TransparentForMouseEvents);
  cardImage->hide();
  const struct {
    const char* name;
    double ppi;
  } pictures[] = {{"cardImage100", 96}, {"cardImage125", 120}, {"cardImage150", 144}};
  for (const auto& pic : pictures) {
    auto* img = new QLabel(cardArea);
    img->setObjectName(pic.name);
    img->setPixmap(QPixmap::fromImage(PaintCardPicture(CardPictureFor(pic.ppi))));
    img->hide();
  }
  exerciseList = new QTreeWidget(cardArea);
  exerciseList->setObjectName("exerciseList");
  exerciseList->setGeometry(groundImage->geometry());
  exerciseList->setColumnCount(5);
  exerciseList->setRootIsDecorated(false);
  exerciseList->setSelectionMode(QAbstractItemView::SingleSelection);
  exerciseList->setSelectionBehavior(QAbstractItemView::SelectRows);
  exerciseList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  exerciseList->header()->setMinimumSectionSize(0);
  // Question and answer share what the priority column leaves.
  constexpr int kGap = 3 + 8;
  constexpr int kPriorityWidth = 64;
  const int phraseWidth = (groundImage->width() - 2 * exerciseList->frameWidth() - kGap - kPriorityWidth -
                           exerciseList->style()->pixelMetric(QStyle::PM_ScrollBarExtent)) / 2;
  exerciseList->setColumnWidth(0, 0);
  exerciseList->setColumnWidth(1, phraseWidth);
  exerciseList->setColumnWidth(2, kGap);
  exerciseList->setColumnWidth(3, phraseWidth);
  exerciseList->setColumnWidth(4, kPriorityWidth);
  // The hidden first column and the gap have no heading (Qt would number them).
  exerciseList->headerItem()->setText(0, QString());
  exerciseList->headerItem()->setText(2, QString());
  exerciseList->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  exerciseList->headerItem()->setTextAlignment(4, Qt::AlignCenter);
  exerciseList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  exerciseList->header()->setStretchLastSection(false);
  exerciseList->setFont(QFont("MS Sans Serif", 9));
  exerciseList->setItemDelegate(new TPhraseDelegate(exerciseList));
  exerciseList->installEventFilter(this);
  exerciseList->hide();
  connect(exerciseList, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (!isVisible()) return;
    const QList<QTreeWidgetItem*> sel = exerciseList->selectedItems();
    run_->exerciseListSelectItem(sel.isEmpty() ? -1 : exerciseList->indexOfTopLevelItem(sel.first()));
  });
  // The typed answer goes under the card, as wide as the card.
  auto* cardColumn = new QVBoxLayout;
  cardColumn->addWidget(cardArea);
  typedRow = new TTypedAnswerRow(this, LangHandler);
  typedRow->setFixedWidth(cardArea->width());
  typedRow->onReturn = [this] { RunKey(Qt::Key_Return); };
  typedRow->onEdited = [this] { run_->TypedAnswerEdited(); };
  typedRow->onEscape = [this] { close(); };
  typedRow->hide();
  cardColumn->addWidget(typedRow);
  cardColumn->addStretch();
  middle->addLayout(cardColumn);

  prioBox = new QGroupBox(this);
  prioBox->setObjectName("prioBox");
  SetHelpContext(prioBox, 5);  // F1 on the priorities
  auto* prios = new QVBoxLayout(prioBox);
  const char* prioCaptions[10] = {"use allways",        "not use once",      "not use twice",
                                  "not use three times", "not use four times", "not use five times",
                                  "not use six times",   "not use seven times", "not use eight times",
                                  "not more use"};
  for (int i = 0; i < 10; ++i) {
    rbPrio[i] = new QRadioButton(prioCaptions[i], prioBox);
    rbPrio[i]->setObjectName(QString("rbPrio%1").arg(i));
    rbPrio[i]->installEventFilter(this);
    prios->addWidget(rbPrio[i]);
    connect(rbPrio[i], &QRadioButton::clicked, this, [this, i] { run_->rbPrioClick(i); });
  }
  middle->addWidget(prioBox);
  top->addLayout(middle);

  btnBox = new QGroupBox(this);
  btnBox->setObjectName("btnBox");
  auto* buttons = new QHBoxLayout(btnBox);
  auto button = [&](QToolButton*& b, const char* name, const char* text, int glyph) {
    b = new QToolButton(btnBox);
    b->setObjectName(name);
    b->setText(text);
    b->setIcon(Glyph(glyph));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    QFont f = b->font();
    f.setBold(true);
    f.setPixelSize(13);
    b->setFont(f);
    b->setMinimumWidth(110);
    b->setEnabled(false);
    buttons->addWidget(b);
  };
  buttons->addStretch();
  button(btnRun, "btnRun", "START", 0);
  button(btnStop, "btnStop", "STOP", 1);
  button(btnNext, "btnNext", "WEITER", 2);
  buttons->addStretch();
  connect(btnRun, &QToolButton::clicked, this, [this] { run_->btnRunClick(); });
  connect(btnStop, &QToolButton::clicked, this, &TExerciseDlg::btnStopClick);
  connect(btnNext, &QToolButton::clicked, this, [this] { run_->btnNextClick(); });
  top->addWidget(btnBox);
  top->setSizeConstraint(QLayout::SetFixedSize);
}

void TExerciseDlg::ApplyTexts() {
  labelMode->setText(UiText(LangHandler, txExerciseMode) + " : ");
  labelState->setText(UiText(LangHandler, txExerciseState) + " : ");
  labelWNbr->setText(UiText(LangHandler, txPhraseNumber) + " : ");
  setWindowTitle(UiText(LangHandler, txExercise) + " - " + Utf8ToQString(IniFile.Lang1) + "/" +
                 Utf8ToQString(IniFile.Lang2));
  prioBox->setTitle(UiTitle(LangHandler, txPriority));
  // The number is the key that gives it and what the table shows.
  for (int i = 0; i < 10; ++i)
    rbPrio[i]->setText(QString::number(i) + " - " + UiText(LangHandler, txFirstPriorityName + i));
  exerciseList->headerItem()->setText(4, UiText(LangHandler, txTablePriority));
  exerciseList->setAccessibleName(UiText(LangHandler, txExerciseTable));
  btnRun->setText(UiText(LangHandler, txStartButton));
  btnStop->setText(UiText(LangHandler, txStopButton));
  btnNext->setText(UiText(LangHandler, txNextButton));
  btnRun->setToolTip(UiText(LangHandler, txStartStopHint));
  btnStop->setToolTip(UiText(LangHandler, txStartStopHint));
  btnNext->setToolTip(UiText(LangHandler, txNextStepHint));
  typedRow->ApplyTexts();
  FitToContent();
}

void TExerciseDlg::FitToContent() {
  // The size was fixed with the texts of the start; German priorities are
  // wider and the typed row is taller, and a fixed window would squeeze the
  // priorities over the card.
  if (!sizeFixed_ || layout() == nullptr) return;
  layout()->activate();
  setFixedSize(layout()->sizeHint().expandedTo(layout()->minimumSize()));
}

// ---- events ----------------------------------------------------------------------

void TExerciseDlg::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // restored from the task bar: the pass goes on
  FormShow();
  // Headless and on some desktops the window is not activated; the mode
  // must be read all the same.
  FormActivate();
}

void TExerciseDlg::FormShow() {
  closePending_ = false;
  // A sound that cannot be played is reported over this window, in its caption.
  mediaManager = MediaFactory() ? MediaFactory()(this) : std::make_unique<TMediaManager>(this);
  mediaManager->SetWarningTexts([this] {
    return TMediaManager::TWarningTexts{windowTitle(), UiText(LangHandler, txSoundMissing),
                                        UiText(LangHandler, txSoundUnplayable), UiText(LangHandler, txNoSpeechEngine),
                                        UiText(LangHandler, txNoVoice)};
  });
  mediaManager->SetInputDuringPlayback([this](QObject* target, QEvent* event) {
    return InputDuringPlayback(target, event);
  });
  run_->SetMediaManager(mediaManager.get());
  exerciseList->hide();
  ApplyTexts();
  typedRow->Clear();
  typedRow->setVisible(IniFile.TypedAnswer);
  FitToContent();
  graphics_->InitCardGraphics();
  run_->SetGraphics(graphics_.get());
  run_->FormShow();
}

void TExerciseDlg::FormActivate() {
  modeValue->setText(UiText(LangHandler, IniFile.AutoPresent ? txAutomatic : txManual));
  run_->FormActivate();
}

void TExerciseDlg::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) FormActivate();
}

void TExerciseDlg::closeEvent(QCloseEvent* event) {
  if (mediaManager && mediaManager->IsPlaying()) {
    // The sound is cut short; the close follows once the playback returned.
    mediaManager->Abort();
    closePending_ = true;
    event->ignore();
    return;
  }
  run_->FormCloseQuery();
  run_->SetMediaManager(nullptr);
  mediaManager.reset();
  graphics_->FreeCardGraphics();
  event->accept();
}

void TExerciseDlg::btnStopClick() {
  // STOP acts at once: a sound still playing is cut.
  if (mediaManager && mediaManager->IsPlaying()) mediaManager->Abort();
  run_->btnStopClick();
}

void TExerciseDlg::RunKey(int key) {
  if (key == Qt::Key_Space && run_->StopEnabled() && mediaManager && mediaManager->IsPlaying())
    mediaManager->Abort();
  const TRunKey runKey = key == Qt::Key_Space                              ? TRunKey::Space
                        : key == Qt::Key_Return || key == Qt::Key_Enter ? TRunKey::Enter
                                                                        : TRunKey::Other;
  run_->KeyDown(runKey);
}

bool TExerciseDlg::InputDuringPlayback(QObject* target, QEvent* event) const {
  auto* widget = qobject_cast<QWidget*>(target);
  if (widget != nullptr && (widget == btnStop || btnStop->isAncestorOf(widget))) return btnStop->isEnabled();
  if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && widget != nullptr &&
      widget->window() == this)
    return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && run_->StopEnabled();
  return IsMenuInputFor(target, event, QStringLiteral("mExerciseExit"));
}

bool TExerciseDlg::DrillKey(int key, bool steersRun) {
  if (steersRun && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    RunKey(key);
    return true;
  }
  // The main row and the keypad send the same key codes.
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    QRadioButton* button = rbPrio[key - Qt::Key_0];
    if (button->isEnabled()) {
      button->click();
      // Arrows go on from the priority just given.
      if (!exerciseList->isVisible()) button->setFocus(Qt::ShortcutFocusReason);
    }
    return true;
  }
  if (key == Qt::Key_Escape) {
    close();  // the normal close: retirements are saved
    return true;
  }
  return false;
}

void TExerciseDlg::keyPressEvent(QKeyEvent* event) {
  if (!DrillKey(event->key(), true)) QWidget::keyPressEvent(event);
}

bool TExerciseDlg::eventFilter(QObject* watched, QEvent* event) {
  // In a priority button Space and Enter steer the run and arrows keep
  // moving the check; in the table the digits and Escape act as elsewhere.
  if (event->type() == QEvent::KeyPress &&
      DrillKey(static_cast<QKeyEvent*>(event)->key(), watched != exerciseList))
    return true;
  return QWidget::eventFilter(watched, event);
}

// ---- what the run shows ------------------------------------------------------------------

void TExerciseDlg::ShowRunState(int stateText, int current, int count) {
  stateValue->setText(stateText < 0 ? QStringLiteral(" - ") : UiText(LangHandler, stateText));
  wNbrValue->setText(QString("%1/%2").arg(current).arg(count));
}

void TExerciseDlg::ShowButtons(bool run, bool stop, bool next) {
  btnRun->setEnabled(run);
  btnStop->setEnabled(stop);
  btnNext->setEnabled(next);
}

void TExerciseDlg::ClearTable() {
  exerciseList->clear();
  // A pass asks in one language: the headings name the question's and the answer's.
  const bool firstLang = Session.QuestionInFirstLang();
  const QString lang1 = Utf8ToQString(IniFile.Lang1);
  const QString lang2 = Utf8ToQString(IniFile.Lang2);
  exerciseList->headerItem()->setText(1, firstLang ? lang1 : lang2);
  exerciseList->headerItem()->setText(3, firstLang ? lang2 : lang1);
}

void TExerciseDlg::AddTableRow(std::string_view question, std::string_view answer, int priority) {
  auto* item = new QTreeWidgetItem(exerciseList);
  item->setText(1, Utf8ToQString(question));
  item->setText(2, QString());
  item->setText(3, Utf8ToQString(answer));
  // The question stays at the gap in either direction; the answer follows its text.
  item->setTextAlignment(1, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
  item->setTextAlignment(2, Qt::AlignCenter);
  item->setTextAlignment(4, Qt::AlignCenter);
  ShowRowPriority(exerciseList->indexOfTopLevelItem(item), priority);
}

void TExerciseDlg::ShowRowPriority(int row, int priority) {
  if (QTreeWidgetItem* item = exerciseList->topLevelItem(row))
    item->setText(4, priority >= 0 && priority <= 9 ? QString::number(priority) : QString());
}

void TExerciseDlg::ShowExerciseTable() {
  exerciseList->show();
  exerciseList->raise();
  const int rows = exerciseList->topLevelItemCount();
  if (rows > 0) {
    QTreeWidgetItem* last = exerciseList->topLevelItem(rows - 1);
    exerciseList->setCurrentItem(last);
    last->setSelected(true);
  }
  exerciseList->setFocus();
  exerciseList->scrollToBottom();
}

bool TExerciseDlg::TableVisible() const { return exerciseList->isVisibleTo(this); }
void TExerciseDlg::FocusTable() { exerciseList->setFocus(); }

bool TExerciseDlg::CheckPriority(int priority) {
  QRadioButton* b = rbPrio[priority];
  if (b->isChecked()) return false;
  b->setChecked(true);
  return true;
}

void TExerciseDlg::FocusPriority(int priority) { rbPrio[priority]->setFocus(); }

bool TExerciseDlg::AskRepeat() {
  // Over this window, where the learner looks; the short caption fits the
  // small box (the window's own caption with both languages was cut).
  const QString text = UiText(LangHandler, txPassFinished) + "\n" + UiText(LangHandler, txRepeatPass);
  const bool yes = ShowMessageBox(this, UiText(LangHandler, txExercise), text, QMessageBox::Information,
                                  QMessageBox::Yes | QMessageBox::No, true) == QMessageBox::Yes;
  // The keys drive the exercise again after either answer.
  if (isVisible()) {
    raise();
    activateWindow();
  }
  return yes;
}

void TExerciseDlg::CloseWindow() { close(); }

void TExerciseDlg::LetMessagesRun() {
  // The card must be on the screen before a sound blocks the window.
  groundImage->repaint();
}

void TExerciseDlg::PlaybackEnded() {
  if (closePending_) QTimer::singleShot(0, this, &QWidget::close);
}

void TExerciseDlg::ReportSaveFailure(const std::string& fileName) {
  ShowMessageBox(this, windowTitle(), UiText(LangHandler, txRetiredPairsNotSaved) + "\n" + Utf8ToQString(fileName),
                 QMessageBox::Warning, QMessageBox::Ok, true);
}

void TExerciseDlg::AskTypedAnswer() {
  typedRow->show();
  typedRow->Ask();
}

std::string TExerciseDlg::TypedAnswer() const { return typedRow->Typed(); }

void TExerciseDlg::ShowTypedResult(const TAnswerCheck& check, int suggested) {
  typedRow->ShowResult(check, suggested);
}

void TExerciseDlg::EndTypedAnswer() { typedRow->Clear(); }

void TExerciseDlg::SyncCardImage() {
  if (graphics_->CardVisible()) {
    cardImage->setGeometry(graphics_->CardRect());
    cardImage->show();
  } else {
    cardImage->setGeometry(graphics_->CardRect());
    cardImage->hide();
  }
}

#include "moc_ExerciseWnd.cpp"
