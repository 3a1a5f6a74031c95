// Takes the screenshots of the lesson editor with a Greek lesson and of the
// offer to convert a Windows-1252 language file to UTF-8 (English and German)
// from the real windows, on a copy of the bundled program directory:
// quillmere-editor-shots PROGRAM_DIR OUT_DIR
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>

#include "core/CodePage.h"
#include "editors/EditExercise.h"
#include "editors/EditLesson.h"
#include "ShotFiles.h"
#include "settings/AppIniFile.h"
#include "shell/MainWnd.h"
#include "storage/LangFHandler.h"

namespace {
// The window as the screen shows it, with the frame and caption a window
// manager draws around it.
bool Save(QWidget* window, const QString& file) {
  for (int i = 0; i < 10; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(30);
  }
  const QRect frame = window->frameGeometry();
  const QPixmap shot = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  const bool ok = shot.save(file);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
  return ok;
}

// A UTF-8 file of one English-Greek lesson.
bool WriteGreekFile(const std::string& path) {
  const char* pairs[][2] = {{"house", "το σπίτι"},          {"water", "το νερό"},
                            {"the book", "το βιβλίο"},      {"the sea", "η θάλασσα"},
                            {"friend", "ο φίλος"},          {"good morning", "καλημέρα"},
                            {"thank you", "ευχαριστώ"},     {"Athens", "ΑΘΗΝΑ / Αθήνα"},
                            {"word, speech", "ο λόγος"},    {"psyche, soul", "η ψυχή"},
                            {"Zeus", "ο Ζεύς"},             {"quiet", "ήσυχος, ΰ ϊ ΐ"}};
  auto lesson = std::make_shared<TLesson>();
  lesson->LessonNbr = 1;
  for (const auto& pair : pairs) {
    auto pear = lesson->NewPear(-1);
    pear->Word1 = pair[0];
    pear->Word2 = pair[1];
    pear->WavFile1 = " ";
    pear->WavFile2 = " ";
    pear->InUse = true;
  }
  TLangFHandler file = NewLangFile();
  file.SetLangNames("English", "Ελληνικά");
  file.PutLesson(lesson);
  QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
  return file.SaveLangFile(path);
}

// Runs the steps one after another while modal windows are open: each gets the
// active modal window and says whether it has done its part.
class TSteps {
 public:
  TSteps() {
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!steps_.empty() && modal != nullptr && steps_.front()(modal)) steps_.pop_front();
    });
    timer_.start();
  }
  std::deque<std::function<bool(QWidget*)>> steps_;

 private:
  QTimer timer_;
};

bool Answer(QWidget* modal, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (box == nullptr || box->button(which) == nullptr) return false;
  box->button(which)->click();
  return true;
}

// The lesson editor of the settings' file with its first lesson; the steps
// run inside it.
bool RunLessonEditor(tMainWindow& window, TSteps& steps) {
  TEditExerciseDlg exercise(&window, window.GetLangHandler(), window.GetSession());
  exercise.show();
  QCoreApplication::processEvents();
  exercise.btnEditLessonClick();
  return steps.steps_.empty();
}
}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quillmere-editor-shots PROGRAM_DIR OUT_DIR\n");
    return 2;
  }
  QTemporaryDir dir;
  if (!CopyTree(QString::fromLocal8Bit(argv[1]), dir.path())) return 1;
  const QString greek = dir.filePath("LangFiles/Eng_Ell/english_greek.lang");
  if (!WriteGreekFile(greek.toStdString())) return 1;
  QFile::remove(dir.filePath("Quillmere.Ini"));
  QFile ini(dir.filePath("Quillmere.Ini"));
  if (!ini.open(QIODevice::WriteOnly)) return 1;
  ini.write("[Application]\nLanguage=EN\n[Exercise]\nLangFileName=" + greek.toUtf8() +
            "\nLang1=English\nLang2=Ελληνικά\nFirstLang=True\nMaxWords=20\n"
            "[AvailableUnits]\n0=1\nNbrUnits=1\n");
  ini.close();

  const QString out = QString::fromLocal8Bit(argv[2]);
  tMainWindow window(dir.path().toStdString());
  if (window.StartAborted()) return 1;
  window.show();
  bool ok = true;
  TSteps steps;

  // The Greek lesson, a Greek phrase in the fields.
  steps.steps_.push_back([&](QWidget* modal) {
    auto* editor = qobject_cast<TeditLessonDlg*>(modal);
    if (editor == nullptr) return false;
    editor->resize(editor->width() + 120, editor->height() + 60);
    auto* table = editor->findChild<QTableWidget*>(QStringLiteral("wordPearList"));
    table->selectRow(7);
    ok = Save(editor, out + "/editor-greek.png") && ok;
    editor->btnCloseClick();
    return true;
  });
  ok = RunLessonEditor(window, steps) && ok;

  // The bundled demo file is Windows-1252: a Greek phrase typed into it brings
  // the offer; no leaves the file as it is.
  window.GetIniFile().LangFileName = dir.filePath("LangFiles/Eng_Ger/english_german.lang").toStdString();
  for (const char* language : {"en", "de"}) {
    if (QString::fromLatin1(language) == QStringLiteral("de")) window.findChild<QAction*>("mAppGerman")->trigger();
    steps.steps_.push_back([&](QWidget* modal) {
      auto* editor = qobject_cast<TeditLessonDlg*>(modal);
      if (editor == nullptr) return false;
      auto* word2 = editor->findChild<QLineEdit*>(QStringLiteral("editWord2"));
      word2->setText(QStringLiteral("το σπίτι"));
      QTimer::singleShot(0, editor, [editor] { editor->editWord2Exit(); });
      return true;
    });
    steps.steps_.push_back([&, language](QWidget* modal) {
      if (qobject_cast<QMessageBox*>(modal) == nullptr) return false;
      ok = Save(modal, out + "/editor-convert-offer-" + language + ".png") && ok;
      return Answer(modal, QMessageBox::No);
    });
    steps.steps_.push_back([](QWidget* modal) { return Answer(modal, QMessageBox::Ok); });  // refused
    steps.steps_.push_back([](QWidget* modal) {
      auto* editor = qobject_cast<TeditLessonDlg*>(modal);
      if (editor == nullptr) return false;
      QTimer::singleShot(0, editor, [editor] { editor->btnCloseClick(); });
      return true;
    });
    steps.steps_.push_back([](QWidget* modal) { return Answer(modal, QMessageBox::No); });  // store first? no
    ok = RunLessonEditor(window, steps) && ok;
  }
  return ok ? 0 : 1;
}
