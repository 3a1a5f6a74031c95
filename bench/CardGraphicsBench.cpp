// One animation tick of the card at 144 ppi (the largest card): a zoom
// step, a dissolve step, one letter. Each must stay well under the 40 ms
// and 80 ms cadences of the exercise window.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "exercise/GraphicOutput.h"

namespace {

constexpr double kPpi = 144;

void ZoomToRest(TCardGraphics& g) {
  g.StartZoom();
  while (g.ZoomStep() != TCardZoom::kDone) {
  }
}

void BM_ZoomStep(benchmark::State& state) {
  TCardGraphics g(kPpi);
  g.InitCardGraphics();
  g.DrawLetters("Guten Morgen, wie geht es Ihnen heute?", 1, true);
  g.WipeCard(true);
  g.StartZoom();
  for (auto _ : state) {
    if (g.ZoomStep() == TCardZoom::kDone) {
      state.PauseTiming();
      g.WipeCard(true);
      g.StartZoom();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMicrosecond);

void BM_DissolveStep(benchmark::State& state) {
  TCardGraphics g(kPpi);
  g.InitCardGraphics();
  ZoomToRest(g);
  for (auto _ : state) {
    if (g.WipeCard(false)) {
      state.PauseTiming();
      ZoomToRest(g);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_DissolveStep)->Unit(benchmark::kMicrosecond);

void BM_OneLetter(benchmark::State& state) {
  TCardGraphics g(kPpi);
  g.InitCardGraphics();
  ZoomToRest(g);  // on a card at rest every letter also reaches the canvas
  const std::string phrase = "Das ist ein ziemlich langer Satz, der auf zwei Zeilen umbrechen muss, bis er endet.";
  for (auto _ : state) {
    if (g.DrawLetters(phrase, 2, false)) {
      state.PauseTiming();
      g.ClearTextLine(2);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_OneLetter)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts need it
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
