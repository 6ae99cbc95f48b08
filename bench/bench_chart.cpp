// Repaint time of a chart with 1,000,000 tkLineto items (the autocorrelation of a long
// series), at the size the charts window gives its charts. Target: under 0.3 s.
#include <QApplication>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>

#include "chart/qt/plot_fuentes.h"
#include "chart/qt/plot_render.h"
#include "chart/qt/tplot.h"

#ifdef FENWA_HAVE_BENCHMARK
#include <benchmark/benchmark.h>
#endif

namespace {

constexpr int kPuntos = 1000000;

// A decaying, noisy autocorrelation-like curve over lags 0 ... n − 1.
void Llenar(TPlotModel& m, int n) {
  std::mt19937 gen(7);
  std::normal_distribution<double> ruido(0.0, 0.02);
  m.MoveTo(0, 1.0);
  for (int k = 1; k < n; ++k)
    m.LineTo(k, std::pow(1.0 + k, -0.4) * std::cos(k * 0.01) + ruido(gen));
}

void Preparar(TPlotModel& m) {
  m.SetControlSize(406, 300);
  m.SetRRim(20);
  m.SetTRim(30);
  m.SetBRim(40);
  m.SetDataColor(clYellow);
  m.SetChartColor(clBlack);
  m.SetWindColor(clBlack);
  m.SetScaleColor(clWhite);
  m.SetDecPlaceY(2);
  Llenar(m, kPuntos);
  m.AutoRange(2.0);
}

double Segundos(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Minimum of several runs of f, in seconds.
template <class F>
double Medir(F f, int veces = 7) {
  double mejor = 1e30;
  for (int i = 0; i < veces; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    mejor = std::min(mejor, Segundos(std::chrono::steady_clock::now() - t0));
  }
  return mejor;
}

}  // namespace

#ifdef FENWA_HAVE_BENCHMARK
static void BM_RenderMillonLineto(benchmark::State& st) {
  TPlotModel m;
  Preparar(m);
  for (auto _ : st) benchmark::DoNotOptimize(RenderPlotImage(m));
}
BENCHMARK(BM_RenderMillonLineto)->Unit(benchmark::kMillisecond);

static void BM_RepaintWidgetMillonLineto(benchmark::State& st) {
  TPlot plot;
  Preparar(plot);
  plot.resize(406, 300);
  plot.show();
  QApplication::processEvents();
  for (auto _ : st) {
    plot.Repintar();
    plot.repaint();
  }
}
BENCHMARK(BM_RepaintWidgetMillonLineto)->Unit(benchmark::kMillisecond);
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegistrarFuentes();
  std::setlocale(LC_NUMERIC, "C");

  {
    TPlot plot;
    Preparar(plot);
    plot.resize(406, 300);
    plot.show();
    QApplication::processEvents();  // the window gets exposed
    const double imagen = Medir([&] { (void)RenderPlotImage(plot); });
    const double pantalla = Medir([&] {
      plot.Repintar();
      plot.repaint();
    });
    const double nuevos = Medir([&] {
      plot.SetDrawnUpTo(plot.ItemCount() - 1000);
      plot.DrawNewItems();
      plot.repaint();
    });
    std::printf("chart of %d tkLineto items, 406 x 300 pixels (best of 7):\n", kPuntos);
    std::printf("  full rendering into the images : %.3f s\n", imagen);
    std::printf("  full repaint of the widget     : %.3f s (target < 0.300 s)\n", pantalla);
    std::printf("  DrawNewItems of the last 1000  : %.5f s\n", nuevos);
    std::printf("  renderings done by the widget  : %d\n", plot.RenderCount());
  }
#ifdef FENWA_HAVE_BENCHMARK
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
#endif
  return 0;
}
