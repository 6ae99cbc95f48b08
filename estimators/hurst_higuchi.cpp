#include "estimators/hurst_higuchi.h"

#include <algorithm>
#include <cmath>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "numeric/progreso.h"

namespace {

// L(k) of the profile y (N points, 0-based: y[p] = Y(p + 1)). Each m sums its segments
// |Y(m + ik) - Y(m + (i - 1)k)|, m + ik <= N, in the order of i. From k = 4 on, the sums
// of all m advance together along i, so that the profile is read in order rather than
// with stride k (far slower once the series outgrows the cache); below, one m at a time
// is already sequential and avoids the short inner loops. sumas is a work buffer.
// (std::abs: GCC stops inlining ::fabs once numeric/vector.h overloads it for Vector.)
// Samples between two progress reports (about a millisecond of work).
constexpr std::size_t kEntreAvisos = std::size_t{1} << 20;

// suma + |y[p] - y[p - k]| for p = desde, desde + k, ... below hasta, in order. Out of line
// and without calls, so that the sum stays in a register.
[[gnu::noinline]] double SumaSegmentos(const double* y, std::size_t desde, std::size_t hasta,
                                       std::uint32_t k, double suma) {
  for (std::size_t p = desde; p < hasta; p += k) suma += std::abs(y[p] - y[p - k]);
  return suma;
}

double LongitudCurva(const double* y, std::uint32_t N, std::uint32_t k,
                     std::vector<double>& sumas) {
  sumas.assign(k, 0.0);
  double* s = sumas.data();
  if (k < 4) {
    for (std::uint32_t m = 0; m < k; ++m) {
      double suma = 0.0;
      // Runs of whole steps of k, so that each m keeps its own sequence of positions.
      const std::size_t paso = kEntreAvisos / k * k;
      for (std::size_t desde = m + k; desde < N; desde += paso) {
        const std::size_t hasta = std::min<std::size_t>(N, desde + paso);
        suma = SumaSegmentos(y, desde, hasta, k, suma);
        Avance((static_cast<double>(m) * N + static_cast<double>(hasta)) / (static_cast<double>(k) * N));
      }
      s[m] = suma;
    }
  } else {
    std::size_t aviso = kEntreAvisos;
    for (std::size_t base = k; base < N; base += k) {
      const std::size_t cuantos = std::min<std::size_t>(k, N - base);
      const double* actual = y + base;
      const double* anterior = actual - k;
      for (std::size_t m = 0; m < cuantos; ++m) s[m] += std::abs(actual[m] - anterior[m]);
      if (base >= aviso) {
        Avance(static_cast<double>(base) / N);
        aviso = base + kEntreAvisos;
      }
    }
  }
  const double dN = static_cast<double>(N), dk = static_cast<double>(k);
  double suma = 0.0;
  std::uint32_t usados = 0;
  for (std::uint32_t m = 1; m <= k; ++m) {
    const std::uint32_t M = (N - m) / k;
    if (M == 0) continue;
    suma += s[m - 1] * (dN - 1.0) / (static_cast<double>(M) * dk) / dk;
    ++usados;
  }
  return suma / static_cast<double>(usados);
}

}  // namespace

std::vector<std::uint32_t> RetardosHiguchi(std::uint32_t kMax, std::int32_t retardosDecada) {
  return EscalasLogaritmicas(1, kMax, retardosDecada);
}

Estimacion HurstHiguchi(const Vector& serie, std::int32_t retardoMaximo,
                        std::int32_t retardosDecada) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (retardoMaximo != 0 && retardoMaximo < 10) return kEstadoRetardoMaximo;
  if (retardosDecada < 1 || retardosDecada > 20) return kEstadoPuntosDecada;
  const std::uint32_t kMax = retardoMaximo != 0 ? static_cast<std::uint32_t>(retardoMaximo)
                                                : std::min<std::uint32_t>(n / 10, 10000);
  // The limit is k_max itself, not the last lag of its sequence: the report names k_max.
  if (kMax >= n) return kEstadoRetardoSinSegmentos;
  const std::vector<std::uint32_t> retardos = RetardosHiguchi(kMax, retardosDecada);
  if (retardos.size() < 3) return kEstadoPocosRetardos;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  const Vector perfil = SumaAcumulada(serie - Media(serie));
  const std::uint32_t puntos = static_cast<std::uint32_t>(retardos.size());
  Vector x(puntos), y(puntos);
  std::vector<double> sumas;
  for (std::uint32_t j = 0; j < puntos; ++j) {
    TramoProgreso tramo(static_cast<double>(j) / puntos, static_cast<double>(j + 1) / puntos);
    const double L = LongitudCurva(perfil.Datos(), n, retardos[j], sumas);
    if (L == 0.0) return kEstadoLongitudCurvaNula;
    x.Datos()[j] = std::log10(static_cast<double>(retardos[j]));
    y.Datos()[j] = std::log10(L);
  }

  // D = -slope, H = 2 - D.
  Estimacion e = AjustarRectaLogLog(x, y, [](double pendiente) { return 2.0 + pendiente; });
  if (e.Exito()) e.cifras.push_back({cifra::kRetardoMaximo, static_cast<double>(kMax)});
  return e;
}
