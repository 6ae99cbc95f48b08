// Times the generation of 10,000,000 samples of exact FGN (H = 0.8) and, for scale, of
// FARIMA(1, d, 1) and white noise of the same length: best of a few repetitions, as elapsed
// and as processor time. The FGN time is also split into its stages: autocovariance, one of
// the two transforms, the normal deviates. Usage: bench_generador [samples] [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "numeric/fft.h"
#include "numeric/generador.h"

namespace {

double Segundos(std::chrono::steady_clock::time_point desde) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

// Processor time of this process: on a machine shared with other work it shows the cost
// of the computation itself, where the elapsed time also counts the waits for a core.
double SegundosCpu(std::clock_t desde) {
  return static_cast<double>(std::clock() - desde) / CLOCKS_PER_SEC;
}

struct Tiempo {
  double real = 1e300, cpu = 1e300;
};

template <typename F>
Tiempo Mejor(int repeticiones, F&& f) {
  Tiempo mejor;
  for (int r = 0; r < repeticiones; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    const std::clock_t c0 = std::clock();
    f();
    mejor.real = std::min(mejor.real, Segundos(t0));
    mejor.cpu = std::min(mejor.cpu, SegundosCpu(c0));
  }
  return mejor;
}

void Linea(const char* que, const Tiempo& t) {
  std::printf("%-26s %8.3f s %8.3f s\n", que, t.real, t.cpu);
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t n = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10000000u;
  const int repeticiones = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

  ParametrosGenerador p;
  p.n = n;
  p.semilla = 7;
  Vector serie;
  auto generar = [&] {
    if (GenerarSerie(p, serie) != kGeneradorOk) {
      std::fprintf(stderr, "fallo al generar\n");
      std::exit(1);
    }
  };

  p.modelo = ModeloGenerador::Fgn;
  p.H = 0.8;
  const Tiempo tFgn = Mejor(repeticiones, generar);
  p.modelo = ModeloGenerador::Farima;
  p.d = 0.3;
  p.phi = 0.5;
  p.theta = -0.2;
  const Tiempo tFarima = Mejor(repeticiones, generar);
  p.modelo = ModeloGenerador::Ruido;
  const Tiempo tRuido = Mejor(repeticiones, generar);

  // The FGN stages on their own.
  const std::uint64_t m = TamanoInmersion(n);
  auto a = std::make_unique<double[]>(m);
  auto re = std::make_unique<double[]>(m);
  auto im = std::make_unique<double[]>(m);
  const Tiempo tGamma = Mejor(repeticiones, [&] {
    for (std::uint64_t k = 0; k <= m / 2; ++k) a[k] = AutocovarianzaFgn(0.8, k);
  });
  const Tiempo tFft = Mejor(repeticiones, [&] {
    FftPrecisa(static_cast<std::int32_t>(m), a.get(), re.get(), im.get());
  });
  const Tiempo tNormal = Mejor(repeticiones, [&] {
    NormalPortable z(7);
    for (std::uint64_t k = 0; k < m; ++k) a[k] = z();
  });

  std::printf("n = %llu, inmersión m = %llu\n", static_cast<unsigned long long>(n),
              static_cast<unsigned long long>(m));
  std::printf("%-26s %10s %10s\n", "", "real", "cpu");
  Linea("FGN H = 0.8", tFgn);
  Linea("  autocovarianza", tGamma);
  Linea("  una FftPrecisa (de dos)", tFft);
  Linea("  desviaciones normales", tNormal);
  Linea("FARIMA(1, 0.3, 1)", tFarima);
  Linea("ruido blanco", tRuido);
  return 0;
}
