// Start-up of the main window on the bundled program directory (settings,
// text database, language file, controls) against an empty QMainWindow,
// both created, shown and destroyed in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <chrono>
#include <cstdio>
#include <memory>
#include <tuple>

#include "widgets/AppStyle.h"
#include "shell/MainWnd.h"

namespace {
const std::string kProgramDir = QM_PROGRAM_DIR;

using Clock = std::chrono::steady_clock;

// Creating and showing: show() returns once the show event (the first
// showing) has been handled. Painting and destroying are not timed.
Clock::duration ShowEmpty() {
  const auto start = Clock::now();
  auto w = std::make_unique<QMainWindow>();
  w->show();
  const auto shown = Clock::now();
  QCoreApplication::processEvents();
  return shown - start;
}

Clock::duration ShowMain() {
  const auto start = Clock::now();
  // Destroyed without closing: nothing is written to the settings file.
  auto w = std::make_unique<tMainWindow>(kProgramDir);
  w->show();
  const auto shown = Clock::now();
  if (w->StartAborted()) qFatal("the bundled program directory is incomplete");
  QCoreApplication::processEvents();
  return shown - start;
}

// The same widgets as the main window (controls, menu, fixed size) with
// fixed texts and none of the program: what Qt alone takes to create and
// show them, the floor under the main window's time.
Clock::duration ShowBareTree() {
  const auto start = Clock::now();
  auto w = std::make_unique<QMainWindow>();
  auto* central = new QWidget(w.get());
  auto* row = new QHBoxLayout(central);
  auto button = [&] {
    auto* b = new QToolButton(central);
    b->setAutoRaise(true);
    b->setIcon(QIcon(QPixmap(32, 32)));
    b->setIconSize(QSize(28, 28));
    row->addWidget(b);
  };
  button();
  auto* info = new QVBoxLayout;
  auto* panel = new QLabel(QStringLiteral("English - German"), central);
  (new QLabel(panel))->setFixedSize(22, 22);
  info->addWidget(panel);
  auto* units = new QFrame(central);
  (new QHBoxLayout(units))->addWidget(new QLabel(QStringLiteral("Lessons: 1, 2"), units));
  info->addWidget(units);
  row->addLayout(info);
  for (const auto& [title, first, second] :
       {std::tuple{" Language ", "English", "German"}, std::tuple{" Phrases ", "New Compose", "Reset priority of Phrases"}}) {
    auto* box = new QGroupBox(QString::fromLatin1(title), central);
    auto* col = new QVBoxLayout(box);
    col->addWidget(new QRadioButton(QString::fromLatin1(first), box));
    col->addWidget(new QCheckBox(QString::fromLatin1(second), box));
    row->addWidget(box);
  }
  for (int i = 0; i < 3; ++i) button();
  w->setCentralWidget(central);
  QMenuBar* bar = w->menuBar();
  for (const char* title : {"&Exercise", "&Application Language", "&Help"}) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(title));
    for (int i = 0; i < 3; ++i) menu->addAction(QStringLiteral("&Item"));
  }
  w->adjustSize();
  w->setFixedSize(w->size());
  w->show();
  const auto shown = Clock::now();
  QCoreApplication::processEvents();
  return shown - start;
}

void BM_EmptyQMainWindow(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(std::chrono::duration<double>(ShowEmpty()).count());
}
BENCHMARK(BM_EmptyQMainWindow)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_QuillmereMainWindow(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(std::chrono::duration<double>(ShowMain()).count());
}
BENCHMARK(BM_QuillmereMainWindow)->UseManualTime()->Unit(benchmark::kMicrosecond);

// All in turn, so that they see the same machine load; "ratio" must stay at
// or below 1.5. "bare_ratio" is the floor: the same widgets without the
// program.
void BM_StartupRatio(benchmark::State& state) {
  Clock::duration empty{};
  Clock::duration main{};
  Clock::duration bare{};
  for (auto _ : state) {
    empty += ShowEmpty();
    main += ShowMain();
    bare += ShowBareTree();
  }
  const double n = static_cast<double>(state.iterations());
  const double emptyUs = std::chrono::duration<double, std::micro>(empty).count() / n;
  const double mainUs = std::chrono::duration<double, std::micro>(main).count() / n;
  const double bareUs = std::chrono::duration<double, std::micro>(bare).count() / n;
  state.counters["empty_us"] = emptyUs;
  state.counters["main_us"] = mainUs;
  state.counters["bare_us"] = bareUs;
  state.counters["ratio"] = mainUs / emptyUs;
  state.counters["bare_ratio"] = bareUs / emptyUs;
}
BENCHMARK(BM_StartupRatio)->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv) {
  // The comparison needs a real window system: without one the empty window
  // costs next to nothing and the ratio says nothing.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    std::fprintf(stderr, "No display: run it as  xvfb-run -a %s  (falling back to offscreen)\n", argv[0]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  InstallAppStyle();  // as the program does
  // Warm up what every window pays once per process (fonts, style).
  ShowEmpty();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
