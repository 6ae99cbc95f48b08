// Times DFA (orders 1, 2 and 3), the absolute moments and Higuchi on a series of
// 1,000,000 counts with the dialog defaults (DFA box 10 and 10 boxes per decade; moments
// 6/10/20 like the variance; Higuchi automatic k_max and 10 lags per decade), best of
// several runs, in wall-clock and in processor time (the machine is shared: the processor
// time is what the method costs, the wall clock what a user waits). Beside them, in the same run: the aggregated variance over the same
// levels as the moments, and Higuchi's segment sums taken one m at a time along the
// series (stride k), the literal loop order that the estimator replaces.
// Usage: bench_dfa_momentos_higuchi [samples] [runs]
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
#include "estimators/hurst_dfa.h"
#include "estimators/hurst_higuchi.h"
#include "estimators/hurst_momentos.h"
#include "estimators/hurst_varianza.h"
#include "numeric/estadistica.h"

namespace {


// Higuchi's L(k) for the default lags with the sums over i taken one m at a time.
double HiguchiPorM(const Vector& x) {
  const std::uint32_t N = x.Longitud();
  const Vector perfil = SumaAcumulada(x - Media(x));
  const double* y = perfil.Datos();
  double total = 0;
  for (const std::uint32_t k : RetardosHiguchi(std::min<std::uint32_t>(N / 10, 10000), 10)) {
    double suma = 0;
    for (std::uint32_t m = 1; m <= k; ++m) {
      const std::uint32_t M = (N - m) / k;
      double s = 0;
      for (std::uint32_t i = 1; i <= M; ++i) s += std::abs(y[m + i * k - 1] - y[m + (i - 1) * k - 1]);
      suma += s * (N - 1.0) / (static_cast<double>(M) * k) / k;
    }
    total += std::log10(suma / k);
  }
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t n =
      argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000u;
  const int veces = argc > 2 ? std::atoi(argv[2]) : 5;
  const Vector x = SerieDeCuentas(n);
  Estimacion e;

  std::printf("%u muestras, mejor de %d (pared / procesador)\n", n, veces);
  for (int q = 1; q <= 3; ++q) {
    const Tiempo t = Mejor(veces, [&] { e = HurstDfa(x, q, 10, 10); });
    std::printf("HurstDfa orden %d        %7.4f / %7.4f s  estado %d  H %.4f  tamaños %u\n", q,
                t.pared, t.cpu, e.estado, e.valor, e.ejeX.Longitud());
  }
  const Tiempo tMom = Mejor(veces, [&] { e = HurstMomentosAbsolutos(x, 6, 10, 20); });
  std::printf("HurstMomentosAbsolutos  %7.4f / %7.4f s  estado %d  H %.4f  niveles %u\n",
              tMom.pared, tMom.cpu, e.estado, e.valor, e.ejeX.Longitud());
  const Tiempo tHig = Mejor(veces, [&] { e = HurstHiguchi(x, 0, 10); });
  const int kUsado = e.Exito() ? static_cast<int>(e.CifraDe(cifra::kRetardoMaximo)) : 0;
  std::printf("HurstHiguchi            %7.4f / %7.4f s  estado %d  H %.4f  retardos %u  k_max %d\n",
              tHig.pared, tHig.cpu, e.estado, e.valor, e.ejeX.Longitud(), kUsado);

  volatile double sumidero = 0;
  Tiempo t = Mejor(veces, [&] { e = HurstVarianza(x, 6, 10, 20); });
  std::printf("HurstVarianza, mismos niveles           %7.4f / %7.4f s  (%.2f veces los momentos)\n",
              t.pared, t.cpu, t.cpu / tMom.cpu);
  const int vecesRef = veces < 2 ? veces : 2;
  t = Mejor(vecesRef, [&] { sumidero = HiguchiPorM(x); });
  std::printf("Higuchi con las sumas de cada m aparte  %7.4f / %7.4f s  (%.1f veces HurstHiguchi)\n",
              t.pared, t.cpu, t.cpu / tHig.cpu);
  (void)sumidero;
  return 0;
}
