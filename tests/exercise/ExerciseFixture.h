#pragma once
// A small world for the exercise window: settings, a language file built in
// memory, a fake main window, a recording media manager and answered
// message boxes. Timers tick only by hand.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

#include "core/Lesson.h"
#include "exercise/ExerciseWnd.h"
#include "exercise/GraphicOutput.h"
#include "widgets/MMediaManager.h"
#include "widgets/SpeechEngine.h"
#include "settings/AppIniFile.h"
#include "settings/AppLangHandl.h"
#include "widgets/GeneralUtil.h"
#include "session/ExerciseSession.h"
#include "widgets/TickTimer.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"

// A session that counts what the run asks of it and saves files plainly.
struct TFakeSession : TExerciseSession {
  bool firstLang = true;
  int splits = 0;
  int progressKept = 0;
  bool QuestionInFirstLang() const override { return firstLang; }
  void SplitDeferred() override { ++splits; }
  void KeepProgress() override { ++progressKept; }
  bool SaveExerciseLangFile(TLangFHandler& file, const std::string& fileName) override {
    return file.SaveLangFile(fileName);
  }
};

struct TSoundLog {
  QStringList played;
  bool plays = true;
  std::function<void()> during;  // runs while a sound "plays"
  int aborts = 0;
};

class TRecordingPlayer : public TWavePlayer {
 public:
  explicit TRecordingPlayer(TSoundLog& log) : log_(log) {}
  bool Available() override { return true; }
  bool PlayAndWait(const QString& path) override {
    log_.played << path;
    if (log_.during) log_.during();
    return log_.plays;
  }
  void Abort() override { ++log_.aborts; }

 private:
  TSoundLog& log_;
};

// A speech engine that speaks at once and logs what it said; the voices
// are the locales it has ("de", "en").
struct TSpeechLog {
  QStringList said;  // "locale: text"
  bool available = true;
  QStringList voices = {"de", "en"};
  std::function<void()> during;  // runs while it "speaks"
  std::function<void()> starting;  // runs while the engine starts
};

class TRecordingSpeech : public TSpeechEngine {
 public:
  explicit TRecordingSpeech(TSpeechLog& log) : log_(log) {}
  bool Available() override {
    if (log_.starting) log_.starting();
    return log_.available;
  }
  bool HasVoice(const QString& locale) override { return log_.voices.contains(locale.section('_', 0, 0)); }
  bool SayAndWait(const QString& text, const QString& locale) override {
    log_.said << locale + ": " + text;
    if (log_.during) log_.during();
    return true;
  }
  int64_t LengthMs(const QString& text, const QString&) override { return 100 * text.size(); }

 private:
  TSpeechLog& log_;
};

class TNoStarter : public TExternalStarter {
 public:
  bool Start(const QString&, const QStringList&) override { return false; }
};

// A pair as the language file holds it.
struct TFilePair {
  const char* word1;
  const char* word2;
  const char* wav1 = " ";
  const char* wav2 = " ";
};

class TExerciseWorld {
 public:
  QTemporaryDir dir;
  std::unique_ptr<TAppIniFile> ini;
  TLangFHandler langFile;
  TAppLangHandler texts;
  TFakeSession main;
  TSoundLog sound;
  TSpeechLog speech;
  std::deque<int> answers;  // message box answers, in order
  QList<TMessageRequest> asked;
  TMessageBoxHook oldHook;
  TFileWarnHook oldWarn;
  QStringList warnings;
  std::unique_ptr<TExerciseDlg> dlg;

  // Lesson 1 holds the pairs in the given order (pair numbers 0, 1, ...);
  // the list names each of them once, all with priority 0.
  explicit TExerciseWorld(const std::vector<TFilePair>& pairs) {
    TTickTimer::SetManual(true);
    ini = std::make_unique<TAppIniFile>(dir.path().toStdString(), nullptr);
    ini->AppDir = dir.path().toStdString();
    ini->LangFileName = dir.filePath("test.lang").toStdString();
    ini->Lang1 = "Deutsch";
    ini->Lang2 = "English";
    ini->DelayPresent = 2;
    ini->DelayAnswer = 3;
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 1;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      auto p = lesson->NewPear(static_cast<int32_t>(i));
      p->Word1 = pairs[i].word1;
      p->Word2 = pairs[i].word2;
      p->WavFile1 = pairs[i].wav1;
      p->WavFile2 = pairs[i].wav2;
      p->InUse = true;
      p->Drawn = true;
      ini->ExerciseWords.push_back({1, static_cast<int32_t>(i), 0, false});
    }
    langFile.SetLangNames("Deutsch", "English");
    langFile.PutLesson(lesson);
    oldHook = SetMessageBoxHook([this](const TMessageRequest& r) {
      asked << r;
      if (answers.empty()) return int(QMessageBox::No);
      const int a = answers.front();
      answers.pop_front();
      return a;
    });
    oldWarn = SetFileWarnHook([this](const std::string& caption, const std::string& text, const void*) {
      warnings << QString::fromStdString(caption + ": " + text);
    });
    TExerciseDlg::SetMediaFactory([this](QWidget* owner) {
      return std::make_unique<TMediaManager>(owner, std::make_unique<TRecordingPlayer>(sound),
                                             std::make_unique<TNoStarter>(), std::make_unique<TRecordingSpeech>(speech));
    });
    dlg = std::make_unique<TExerciseDlg>(nullptr, texts, langFile, *ini, main);
  }

  ~TExerciseWorld() {
    dlg.reset();
    TExerciseDlg::SetMediaFactory(nullptr);
    SetMessageBoxHook(oldHook);
    SetFileWarnHook(oldWarn);
  }

  TExerciseRun& run() { return dlg->Run(); }
  std::shared_ptr<TWordPear> Pear(int nbr) { return langFile.GetLesson(1)->GetPear(nbr); }

  // Ticks whatever timer runs until the predicate holds (at most limit ticks);
  // the delays only when allowed.
  template <class Pred>
  bool TickUntil(Pred done, bool delays = true, int limit = 2000) {
    TExerciseRun& r = run();
    for (int i = 0; i < limit; ++i) {
      if (done()) return true;
      if (r.timerGraphic.isActive())
        r.timerGraphic.Fire();
      else if (delays && r.timerAnswerDelay.isActive())
        r.timerAnswerDelay.Fire();
      else if (delays && r.timerPresentDelay.isActive())
        r.timerPresentDelay.Fire();
      else
        return done();
    }
    return done();
  }
  // Runs the animations (not the delays) to their end.
  void Settle() { TickUntil([] { return false; }, false); }

  bool Enabled(const char* name) { return dlg->findChild<QWidget*>(name)->isEnabled(); }
  QString Label(const char* name) { return dlg->findChild<QLabel*>(name)->text(); }
  void Key(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &press);
  }
};
