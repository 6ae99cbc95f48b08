// Times the frequency-domain estimators and the stationarity test on 1,000,000 samples of
// exact fractional Gaussian noise (H = 0.8) with the dialog defaults (periodogram 10 %,
// local Whittle factor 4, aggregated Whittle level 10, FARIMA(1, d, 1), Test T with 10
// blocks at 0.05), best of several runs. Then one evaluation of each Whittle objective,
// fast against the literal per-frequency vector form (processor times), with the largest relative
// difference between the two over a few parameter values.
// Usage: bench_estimadores_frecuencia [samples] [runs]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "estimators/estado.h"
#include "estimators/hurst_periodograma.h"
#include "estimators/hurst_whittle_agregado.h"
#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "estimators/test_t.h"
#include "numeric/error.h"
#include "numeric/fft.h"
#include "tests/estimators/frecuencia_comun.h"

namespace {

using namespace frecuencia;

// Best processor time of the process over several runs (the machine may be shared, so
// wall time would count the waits for a processor); the wall time of that run is kept in
// ultimaPared.
double ultimaPared = 0.0;

double Mejor(int veces, const std::function<void()>& f) {
  double mejor = 1e300;
  for (int i = 0; i < veces; ++i) {
    const std::clock_t c0 = std::clock();
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const double pared =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double t = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    if (t < mejor) {
      mejor = t;
      ultimaPared = pared;
    }
  }
  return mejor;
}

void Linea(const char* que, double segundos, double objetivo, const char* resultado) {
  std::printf("%-30s %7.3f s cpu %7.3f s real  (objetivo < %.1f s)  %s\n", que, segundos,
              ultimaPared, objetivo, resultado);
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t n = argc > 1 ? static_cast<std::uint32_t>(std::atol(argv[1])) : 1000000;
  const int veces = argc > 2 ? std::atoi(argv[2]) : 3;
  const Vector serie = Fgn(n, 0.8, 2024);
  std::printf("%u muestras de FGN con H = 0.8, mejor de %d\n", n, veces);

  char texto[200];
  std::uint32_t nPrima = 0;
  Linea("CalcularPeriodograma", Mejor(veces, [&] { CalcularPeriodograma(serie, nPrima); }), 0.3, "");

  Estimacion r;
  double t = Mejor(veces, [&] { r = HurstPeriodograma(serie, 10.0f); });
  std::snprintf(texto, sizeof texto, "estado %d H = %.4f", r.estado, r.valor);
  Linea("Periodograma (10 %)", t, 0.3, texto);

  const auto conIntervalo = [&] {
    std::snprintf(texto, sizeof texto, "estado %d H = %.4f [%.4f; %.4f]", r.estado, r.valor,
                  r.inferior, r.superior);
  };
  t = Mejor(veces, [&] { r = HurstWhittleFgn(serie); });
  conIntervalo();
  Linea("Whittle FGN", t, 1.0, texto);

  t = Mejor(veces, [&] { r = HurstWhittleLocal(serie, 4); });
  conIntervalo();
  Linea("Whittle local (factor 4)", t, 0.5, texto);

  t = Mejor(veces, [&] { r = HurstWhittleAgregado(serie, 10); });
  conIntervalo();
  Linea("Whittle agregado (nivel 10)", t, 0.3, texto);

  int fallo = 0;
  t = Mejor(veces, [&] {
    try {
      r = HurstWhittleFarima(serie, 1, 1);
      fallo = 0;
    } catch (const ErrorNumerico& e) {
      fallo = e.Codigo();
    }
  });
  if (fallo == 0 && r.Exito())
    std::snprintf(texto, sizeof texto, "eta = (%.4f, %.4f, %.4f) [%.4f; %.4f]", r.valor,
                  r.CifraDe(cifra::kAR1), r.CifraDe(cifra::kMA1), r.inferior, r.superior);
  else
    std::snprintf(texto, sizeof texto, "error de la biblioteca %d", fallo ? fallo : -r.estado);
  Linea("Whittle FARIMA(1, d, 1)", t, 3.0, texto);

  t = Mejor(veces, [&] { r = TestT(serie, 10, 0.05); });
  std::snprintf(texto, sizeof texto, "estado %d P = %.4f constante = %d", r.estado, r.valor,
                r.Exito() ? static_cast<int>(r.CifraDe(cifra::kConstante)) : 0);
  Linea("Test T (10 bloques)", t, 1.5, texto);

  // One objective evaluation, fast and literal, on the whole series' frequencies.
  const Espectro e = EspectroLiteral(serie, (n - 1) / 2);
  const Espectro local = EspectroLiteral(serie, n / 4);
  const ObjetivoWhittleFgn fgn(e.I, e.lambda, e.nPrima);
  const ObjetivoWhittleLocal loc(local.I, local.lambda);
  const ObjetivoWhittleFarima farima(1, 1, e.I, e.lambda);
  const Vector etaPrueba = AVector({0.8, -0.3, 0.2});

  std::printf("\nUna evaluación del objetivo (%u frecuencias; local %u):\n", e.lambda.Longitud(),
              local.lambda.Longitud());
  const double tf = Mejor(veces, [&] { fgn(0.8); });
  const double tfl = Mejor(1, [&] { ObjetivoFgnLiteral(0.8, e.I, e.lambda, e.nPrima); });
  std::printf("  FGN      rápido %.4f s  literal %.4f s  (x%.0f)\n", tf, tfl, tfl / tf);
  const double tl = Mejor(veces, [&] { loc(0.8); });
  const double tll = Mejor(1, [&] { ObjetivoLocalLiteral(0.8, local.I, local.lambda); });
  std::printf("  local    rápido %.4f s  literal %.4f s  (x%.0f)\n", tl, tll, tll / tl);
  const double ta = Mejor(veces, [&] { farima(etaPrueba); });
  const double tal = Mejor(1, [&] { ObjetivoFarimaLiteral(etaPrueba, 1, 1, e.I, e.lambda); });
  std::printf("  FARIMA   rápido %.4f s  literal %.4f s  (x%.0f)\n", ta, tal, tal / ta);

  double dFgn = 0, dLocal = 0, dFarima = 0;
  for (const double h : {0.4999, 0.6, 0.8, 0.95, 1.0001}) {
    dFgn = std::max(dFgn, DiferenciaRelativa(fgn(h), ObjetivoFgnLiteral(h, e.I, e.lambda, e.nPrima)));
    dLocal = std::max(dLocal, DiferenciaRelativa(loc(h), ObjetivoLocalLiteral(h, local.I, local.lambda)));
    const Vector v = AVector({h, -0.4, 0.25});
    dFarima = std::max(dFarima, DiferenciaRelativa(farima(v), ObjetivoFarimaLiteral(v, 1, 1, e.I, e.lambda)));
  }
  std::printf("Diferencia relativa máxima rápido/literal: FGN %.2e, local %.2e, FARIMA %.2e\n",
              dFgn, dLocal, dFarima);
  return 0;
}
