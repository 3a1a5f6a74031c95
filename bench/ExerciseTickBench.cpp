// The exercise window with typed answers on, every timer tick of whole
// passes measured as the learner's machine runs it: the run's step, the card
// drawing and the window's repaint. The slowest tick must stay under 2 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <memory>

#include "core/Lesson.h"
#include "exercise/ExerciseWnd.h"
#include "exercise/TypedAnswerRow.h"
#include "session/ExerciseSession.h"
#include "settings/AppIniFile.h"
#include "settings/AppLangHandl.h"
#include "storage/LangFHandler.h"
#include "widgets/MMediaManager.h"
#include "widgets/TickTimer.h"

namespace {

struct TQuietSession : TExerciseSession {
  bool QuestionInFirstLang() const override { return true; }
  void SplitDeferred() override {}
  void KeepProgress() override {}
  bool SaveExerciseLangFile(TLangFHandler&, const std::string&) override { return true; }
};

struct TSilentPlayer : TWavePlayer {
  bool Available() override { return true; }
  bool PlayAndWait(const QString&) override { return true; }
};

struct TNoStarter : TExternalStarter {
  bool Start(const QString&, const QStringList&) override { return false; }
};

// Ten pairs of a long question and answer, so every tick has work to do.
struct TWorld {
  QTemporaryDir dir;
  std::unique_ptr<TAppIniFile> ini;
  TLangFHandler langFile;
  TAppLangHandler texts;
  TQuietSession session;
  std::unique_ptr<TExerciseDlg> dlg;

  TWorld() {
    TTickTimer::SetManual(true);
    ini = std::make_unique<TAppIniFile>(dir.path().toStdString(), nullptr);
    ini->AppDir = dir.path().toStdString();
    ini->LangFileName = dir.filePath("bench.lang").toStdString();
    ini->Lang1 = "Deutsch";
    ini->Lang2 = "English";
    ini->TypedAnswer = true;
    ini->IgnoreAccents = true;
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 1;
    for (int32_t i = 0; i < 10; ++i) {
      auto p = lesson->NewPear(i);
      p->Word1 = "Das ist ein ziemlich langer Satz, der umbrechen muss";
      p->Word2 = "This is a rather long sentence that has to wrap once";
      p->WavFile1 = p->WavFile2 = " ";
      p->InUse = p->Drawn = true;
      ini->ExerciseWords.push_back({1, i, 0, false});
    }
    langFile.SetLangNames("Deutsch", "English");
    langFile.PutLesson(lesson);
    TExerciseDlg::SetMediaFactory([](QWidget* owner) {
      return std::make_unique<TMediaManager>(owner, std::make_unique<TSilentPlayer>(), std::make_unique<TNoStarter>());
    });
    dlg = std::make_unique<TExerciseDlg>(nullptr, texts, langFile, *ini, session);
  }
  ~TWorld() {
    dlg.reset();
    TExerciseDlg::SetMediaFactory(nullptr);
  }
};

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One step as a tick or a key runs it, with the repaint it caused, in the
// processor time of this thread: on a shared machine the wall clock of a
// single tick mostly measures the other programs.
template <class Step>
double TimedMs(Step step) {
  const double start = ThreadCpuMs();
  step();
  QApplication::processEvents();
  return ThreadCpuMs() - start;
}

void BM_ExerciseTicksWithTypedAnswers(benchmark::State& state) {
  TWorld w;
  // The slowest of each kind of step: flight and dissolve ticks, letter
  // ticks, Return on a typed answer, the key to the next card.
  double card = 0, letter = 0, answer = 0, next = 0;
  long ticks = 0;
  // One pass first: the fonts and the card pictures are loaded once per program.
  bool warm = false;
  for (auto _ : state) {
    while (true) {
      w.dlg->show();
      // The window's first paint belongs to its opening, not to a tick.
      QApplication::processEvents();
      TExerciseRun& run = w.dlg->Run();
      double c = 0, l = 0, a = 0, n = 0;
      for (int pair = 0; pair < 10; ++pair) {
        while (run.timerGraphic.isActive()) {
          c = std::max(c, TimedMs([&] { run.timerGraphic.Fire(); }));
          ++ticks;
        }
        QLineEdit* entry = w.dlg->findChild<QLineEdit*>("answerEntry");
        entry->setText(QStringLiteral("This is a rathr long sentense that has two wrap once!"));
        run.TypedAnswerEdited();
        a = std::max(a, TimedMs([&] { run.btnNextClick(); }));
        while (run.timerGraphic.isActive()) {
          l = std::max(l, TimedMs([&] { run.timerGraphic.Fire(); }));
          ++ticks;
        }
        if (pair < 9) n = std::max(n, TimedMs([&] { run.btnNextClick(); }));
      }
      w.dlg->hide();
      if (warm) {
        card = std::max(card, c), letter = std::max(letter, l), answer = std::max(answer, a), next = std::max(next, n);
        break;
      }
      warm = true;
    }
  }
  state.counters["slowest_card_tick_ms"] = card;
  state.counters["slowest_letter_tick_ms"] = letter;
  state.counters["slowest_return_ms"] = answer;
  state.counters["slowest_next_ms"] = next;
  state.counters["ticks"] = static_cast<double>(ticks);
}
BENCHMARK(BM_ExerciseTicksWithTypedAnswers)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
