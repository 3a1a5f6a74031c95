#include "EditorFixture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>

#include "widgets/ModalRunner.h"
#include "widgets/UiText.h"
#include "core/CodePage.h"

std::shared_ptr<TLesson> MakeLesson(int32_t nbr, const std::vector<TTestPair>& pairs) {
  auto lesson = std::make_shared<TLesson>();
  lesson->LessonNbr = nbr;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    auto pear = lesson->NewPear(static_cast<int32_t>(i));
    pear->Word1 = pairs[i].Word1;
    pear->Word2 = pairs[i].Word2;
    pear->WavFile1 = pairs[i].Wav1;
    pear->WavFile2 = pairs[i].Wav2;
    pear->InUse = pairs[i].InUse;
  }
  return lesson;
}

std::shared_ptr<TLesson> NumberedLesson(int32_t nbr, int n, bool inUse) {
  std::vector<TTestPair> pairs;
  for (int i = 0; i < n; ++i) {
    const std::string tag = std::to_string(nbr) + "_" + std::to_string(i);
    pairs.push_back({"w" + tag, "v" + tag, inUse});
  }
  return MakeLesson(nbr, pairs);
}

TEditorFixture::TEditorFixture(const char* language) {
  QDir().mkpath(Dir.path());
  QStringToCp1252(Dir.path(), AppDir);
  QFile ini(Dir.path() + QStringLiteral("/Quillmere.Ini"));
  ini.open(QIODevice::WriteOnly);
  ini.close();
  Session = std::make_unique<TSession>(std::make_unique<TAppIniFile>(AppDir, nullptr));
  IniFile = &Session->IniFile();
  IniFile->ReadExercise();
  // Without the real texts every text reads "????" and the tests could not
  // tell one message from another.
  if (!Texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr) || !Texts.SetLanguage(language))
    qFatal("the interface texts (Text.Db in the program directory) are not built");
  PreviousMessageHook = SetMessageBoxHook([this](const TMessageRequest& request) {
    Messages.push_back(request);
    if (Answers.empty()) return static_cast<int>(QMessageBox::Ok);
    const int answer = Answers.front();
    Answers.pop_front();
    return answer;
  });
  PreviousFileHook = SetFileChooserHook([this](const TFileRequest& request) {
    FileRequests.push_back(request);
    if (Files.empty()) return QString();
    const QString file = Files.front();
    Files.pop_front();
    return file;
  });
}

TEditorFixture::~TEditorFixture() {
  SetMessageBoxHook(std::move(PreviousMessageHook));
  SetFileChooserHook(std::move(PreviousFileHook));
}

QString TEditorFixture::Text(int n) const { return UiText(Texts, n); }

std::string TEditorFixture::Path(const std::string& below) const { return AppDir + below; }

QString TEditorFixture::NativePath(const std::string& below) const { return Cp1252ToQString(Path(below)); }

std::string TEditorFixture::WriteLangFile(const std::string& below, const std::string& lang1,
                                          const std::string& lang2,
                                          const std::vector<std::shared_ptr<TLesson>>& lessons) const {
  const std::string path = Path(below);
  QDir().mkpath(QFileInfo(Cp1252ToQString(path)).absolutePath());
  TLangFHandler handler;
  handler.SetLangNames(lang1, lang2);
  for (const auto& lesson : lessons) handler.PutLesson(lesson);
  if (!handler.SaveLangFile(path)) qFatal("test language file not written");
  return path;
}

void TEditorFixture::WriteRaw(const std::string& below, const std::string& bytes) const {
  const QString path = Cp1252ToQString(Path(below));
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void ShowActive(QWidget& dialog) {
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  if (!QTest::qWaitForWindowActive(&dialog)) qWarning("dialog did not become active");
}

void Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

void Leave(QLineEdit* field) {
  field->setFocus(Qt::TabFocusReason);
  // Any other widget of the dialog that takes focus.
  QWidget* next = field->nextInFocusChain();
  while (next != nullptr && (next == field || next->focusPolicy() == Qt::NoFocus || !next->isEnabled() ||
                             !next->isVisible()))
    next = next->nextInFocusChain();
  if (next != nullptr) next->setFocus(Qt::TabFocusReason);
  Settle();
}

void TypeAndLeave(QLineEdit* field, const QString& text) {
  field->setFocus(Qt::TabFocusReason);
  field->setText(text);
  Leave(field);
}

namespace {
TModalScripts*& Current() {
  static TModalScripts* current = nullptr;
  return current;
}
}  // namespace

TModalScripts::TModalScripts() {
  Current() = this;
  SetModalRunHook([](QDialog& dialog) {
    TModalScripts* self = Current();
    if (self == nullptr || self->Scripts.empty()) qFatal("a modal dialog ran without a script");
    auto script = std::move(self->Scripts.front());
    self->Scripts.pop_front();
    ++self->Runs;
    return script(dialog);
  });
}

TModalScripts::~TModalScripts() {
  SetModalRunHook({});
  Current() = nullptr;
}

void AddCloseWaysAndAnswers() {
  QTest::addColumn<int>("how");
  QTest::addColumn<int>("answer");
  for (int how : {0, 1, 2}) {
    const char* name = how == 0 ? "Escape" : how == 1 ? "window close" : "Close";
    QTest::addRow("%s, yes", name) << how << int(QMessageBox::Yes);
    QTest::addRow("%s, no", name) << how << int(QMessageBox::No);
    QTest::addRow("%s, cancel", name) << how << int(QMessageBox::Cancel);
  }
}

TBoolVector Used(std::initializer_list<int> numbers) {
  TBoolVector used;
  used.Put(0, true);
  for (int n : numbers) used.Put(n, true);
  return used;
}
