// Times the time-domain estimators on a series of 1,000,000 counts with the dialog
// defaults (R/S 6/8/10/4, variance 6/10/20, differenced variance 6/5/20, IDC 2 per
// decade from 0.01 s to 100 s), best of several runs, next to the same R/S and
// variance points built from the library's vector functions block by block.
// Usage: bench_estimadores_tiempo [samples] [runs]
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "bench/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_rs.h"
#include "estimators/hurst_var_diferenciada.h"
#include "estimators/hurst_varianza.h"
#include "estimators/t0_idc.h"
#include "numeric/estadistica.h"
#include "numeric/regresion.h"

namespace {


// The R/S points of the default lags composed from SubVector, SumaAcumulada, Media,
// Maximo, Minimo and Varianza, one temporary vector per block.
double RSCompuesto(const Vector& x) {
  const std::uint32_t n = x.Longitud(), salto = n / 8;
  double suma = 0;
  std::uint32_t d = 10;
  for (;;) {
    std::uint32_t cuantos = 0;
    for (std::uint32_t t = 1; t + d - 1 <= n; t += salto, ++cuantos) {
      const Vector y = x.SubVector(t, t + d - 1);
      const Vector w = SumaAcumulada(y - Media(y));
      suma += std::log10((Maximo(w) - Minimo(w)) / std::sqrt(Varianza(y)));
    }
    if (cuantos < 4) break;
    d = static_cast<std::uint32_t>(std::floor(std::pow(10.0, 1.0 / 6) * d));
  }
  return suma;
}

// The variance points of the default levels through Varianza(Agregar(x, m)).
double VarianzaCompuesta(const Vector& x) {
  double suma = 0;
  for (std::uint32_t m : NivelesAgregacion(x.Longitud(), 6, 10, 20)) {
    suma += std::log10(Varianza(Agregar(x, m)));
  }
  return suma;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t n =
      argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000u;
  const int veces = argc > 2 ? std::atoi(argv[2]) : 5;
  const Vector x = SerieDeCuentas(n);
  Estimacion e;

  std::printf("%u muestras, mejor de %d\n", n, veces);
  double t = Mejor(veces, [&] { e = HurstRS(x, 6, 8, 10, 4); }).pared;
  std::printf("HurstRS               %8.4f s  estado %d  H %.4f  puntos %u\n", t, e.estado,
              e.valor, e.ejeX.Longitud());
  const double tRS = t;
  t = Mejor(veces, [&] { e = HurstVarianza(x, 6, 10, 20); }).pared;
  std::printf("HurstVarianza         %8.4f s  estado %d  H %.4f  puntos %u\n", t, e.estado,
              e.valor, e.ejeX.Longitud());
  const double tVar = t;
  t = Mejor(veces, [&] { e = HurstVarDiferenciada(x, 6, 5, 20); }).pared;
  std::printf("HurstVarDiferenciada  %8.4f s  estado %d  H %.4f  puntos %u\n", t, e.estado,
              e.valor, e.ejeX.Longitud());
  t = Mejor(veces, [&] { e = T0IDC(x, 2, 0.01, 100); }).pared;
  std::printf("T0IDC                 %8.4f s  estado %d  T0 %.4g  puntos %u\n", t, e.estado,
              e.valor, e.ejeX.Longitud());

  volatile double sumidero = 0;
  const int vecesRef = veces < 2 ? veces : 2;
  t = Mejor(vecesRef, [&] { sumidero = RSCompuesto(x); }).pared;
  std::printf("R/S por bloques con vectores temporales  %8.4f s  (%.1f veces HurstRS)\n", t,
              t / tRS);
  t = Mejor(vecesRef, [&] { sumidero = VarianzaCompuesta(x); }).pared;
  std::printf("Varianza(Agregar(x, m)) por nivel        %8.4f s  (%.1f veces HurstVarianza)\n", t,
              t / tVar);
  (void)sumidero;
  return 0;
}
