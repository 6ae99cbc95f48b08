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

  double H = 0, inf = 0, sup = 0;
  std::int32_t j2 = 0;
  std::uint32_t m = 0;
  Vector ex, ey, ajuste;
  int estado = kEstadoOk;
  Tiempo t = Mejor(veces, [&] {
    estado = HurstOndiculas(x, 3, 3, 0, H, inf, sup, j2, ex, ey, ajuste);
  });
  std::printf("HurstOndiculas          %8.4f s (cpu %8.4f s)  estado %d  H %.4f  octavas 3 a %d\n",
              t.pared, t.cpu, estado, H, j2);

  const Tiempo tGph = Mejor(veces, [&] {
    estado = HurstGph(x, 0.5, H, inf, sup, m, ex, ey, ajuste);
  });
  std::printf("HurstGph                %8.4f s (cpu %8.4f s)  estado %d  H %.4f  frecuencias %u\n",
              tGph.pared, tGph.cpu, estado, H, m);

  // The largest prime below 10^6 when n is the default, otherwise n − 1.
  const std::uint32_t nPrimo = n == 1000000 ? 999983 : n - 1;
  const Vector y = x.SubVector(1, nPrimo);
  t = Mejor(veces, [&] { estado = HurstGph(y, 0.5, H, inf, sup, m, ex, ey, ajuste); });
  std::printf("HurstGph (%u muestras) %8.4f s (cpu %8.4f s)  estado %d  H %.4f  (%.1f veces)\n",
              nPrimo, t.pared, t.cpu, estado, H, t.cpu / tGph.cpu);
  return 0;
}
