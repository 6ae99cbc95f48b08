// Times the wavelet (N = 3, j1 = 3, automatic j2) and GPH (a = 0.5) estimators on a
// series of 1,000,000 samples with the default parameters, best of several runs, in
// wall-clock and in processor time (the machine is shared). GPH is also timed at 999,983
// samples (a prime: the chirp-z transform instead of the mixed-radix one) and reported
// as a ratio to the 1,000,000-sample run.
// Usage: bench_ondiculas_gph [samples] [runs]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "bench/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_gph.h"
#include "estimators/hurst_ondiculas.h"

namespace {


}  // namespace

int main(int argc, char** argv) {
  const auto n = static_cast<std::uint32_t>(argc > 1 ? std::atol(argv[1]) : 1000000);
  const int veces = argc > 2 ? std::atoi(argv[2]) : 5;
  const Vector x = SerieDeCuentas(n);
  std::printf("%u muestras, mejor de %d\n", n, veces);

  // The figure of that name as an integer, 0 when the estimate was refused.
  const auto entero = [](const Estimacion& e, const char* nombre) {
    return e.Exito() ? static_cast<long>(e.CifraDe(nombre)) : 0L;
  };
  Estimacion e;
  Tiempo t = Mejor(veces, [&] { e = HurstOndiculas(x, 3, 3, 0); });
  std::printf("HurstOndiculas          %8.4f s (cpu %8.4f s)  estado %d  H %.4f  octavas 3 a %ld\n",
              t.pared, t.cpu, e.estado, e.valor, entero(e, cifra::kOctavaFinal));

  const Tiempo tGph = Mejor(veces, [&] { e = HurstGph(x, 0.5); });
  std::printf("HurstGph                %8.4f s (cpu %8.4f s)  estado %d  H %.4f  frecuencias %ld\n",
              tGph.pared, tGph.cpu, e.estado, e.valor, entero(e, cifra::kFrecuencias));

  // The largest prime below 10^6 when n is the default, otherwise n − 1.
  const std::uint32_t nPrimo = n == 1000000 ? 999983 : n - 1;
  const Vector y = x.SubVector(1, nPrimo);
  t = Mejor(veces, [&] { e = HurstGph(y, 0.5); });
  std::printf("HurstGph (%u muestras) %8.4f s (cpu %8.4f s)  estado %d  H %.4f  (%.1f veces)\n",
              nPrimo, t.pared, t.cpu, e.estado, e.valor, t.cpu / tGph.cpu);
  return 0;
}
