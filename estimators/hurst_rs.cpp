#include "estimators/hurst_rs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"

namespace {

struct Retardo {
  std::uint64_t d;       // block length
  std::uint64_t bloques;  // blocks of that length that fit
};

// Long blocks check for a cancellation request between runs of kEntreAvisos samples.
constexpr std::uint64_t kEntreAvisos = 1u << 20;

// What the pass over the deviations of a block carries from one run to the next.
struct Recorrido {
  double w = 0.0, wMax = 0.0, wMin = 0.0, cuadrados = 0.0, yMax = 0.0, yMin = 0.0;
};

// The pass over samples i0..i1-1 of the block. Out of line and without calls, so that the
// running values stay in registers (the checks between runs call out).
[[gnu::noinline]] void Recorrer(const double* y, std::uint64_t i0, std::uint64_t i1,
                                double media, Recorrido& r) {
  double w = r.w, wMax = r.wMax, wMin = r.wMin, cuadrados = r.cuadrados;
  double yMax = r.yMax, yMin = r.yMin;
  for (std::uint64_t i = i0; i < i1; ++i) {
    const double dev = y[i] - media;
    w = (i == 0) ? dev : w + dev;
    if (i == 0) {
      wMax = wMin = w;
    } else {
      if (w > wMax) wMax = w;
      if (w < wMin) wMin = w;
    }
    if (y[i] > yMax) yMax = y[i];
    if (y[i] < yMin) yMin = y[i];
    cuadrados += dev * dev;
  }
  r = {w, wMax, wMin, cuadrados, yMax, yMin};
}

// R/S of the block y[0..d-1]: range of the running sums of the deviations from the
// block mean over the standard deviation (divisor d - 1). The sums run in index order
// so the value equals the one built from Media, SumaAcumulada, Maximo, Minimo and
// Varianza. Returns false when the block has no spread (all values equal, or a
// standard deviation that rounds to zero).
bool RangoReescalado(const double* y, std::uint64_t d, double& rs) {
  double suma = 0.0;
  for (std::uint64_t i0 = 0; i0 < d; i0 += kEntreAvisos) {
    const std::uint64_t i1 = std::min(d, i0 + kEntreAvisos);
    for (std::uint64_t i = i0; i < i1; ++i) suma += y[i];
    if (i1 < d) ComprobarCancelacion();
  }
  const double media = suma / static_cast<double>(d);

  Recorrido r;
  r.yMax = r.yMin = y[0];
  for (std::uint64_t i0 = 0; i0 < d; i0 += kEntreAvisos) {
    const std::uint64_t i1 = std::min(d, i0 + kEntreAvisos);
    Recorrer(y, i0, i1, media, r);
    if (i1 < d) ComprobarCancelacion();
  }
  const double wMax = r.wMax, wMin = r.wMin, cuadrados = r.cuadrados;
  const double yMax = r.yMax, yMin = r.yMin;
  const double s = std::sqrt(cuadrados / static_cast<double>(d - 1));
  if (yMax == yMin || !(s > 0.0)) return false;
  rs = (wMax - wMin) / s;
  return true;
}

}  // namespace

Estimacion HurstRS(const Vector& serie, std::int32_t puntosDecada, std::int32_t bloques,
                   std::uint32_t minD, std::int32_t minMuestras) {
  const std::uint64_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (bloques < 2 || bloques > 15) return kEstadoBloquesRS;
  if (puntosDecada < 1 || puntosDecada > 20) return kEstadoPuntosDecada;
  if (minD < 2) return kEstadoMinD;
  if (minMuestras < 1) return kEstadoMinMuestrasRS;

  // The lags and how many blocks each yields depend only on n and the parameters, so
  // the whole schedule is settled before touching the samples.
  const std::uint64_t salto = n / static_cast<std::uint64_t>(bloques);
  auto bloquesDe = [&](std::uint64_t d) -> std::uint64_t {
    return d <= n ? (n - d) / salto + 1 : 0;
  };
  std::vector<Retardo> retardos;
  for (std::uint64_t d = minD; d < 10; ++d) retardos.push_back({d, bloquesDe(d)});
  const double factor = std::pow(10.0, 1.0 / puntosDecada);
  std::uint64_t d = minD < 10 ? 10 : minD;
  for (;;) {
    const std::uint64_t cuantos = bloquesDe(d);
    // The lag that yields too few blocks ends the search and contributes no point.
    if (cuantos < static_cast<std::uint64_t>(minMuestras)) break;
    retardos.push_back({d, cuantos});
    d = static_cast<std::uint64_t>(std::floor(factor * static_cast<double>(d)));
  }
  if (retardos.size() < 5) return kEstadoPocosPuntos;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  std::uint64_t total = 0;
  for (const Retardo& r : retardos) total += r.bloques;
  Vector x(static_cast<std::uint32_t>(total)), y(static_cast<std::uint32_t>(total));
  double* px = x.Datos();
  double* py = y.Datos();
  const double* datos = serie.Datos();
  // Progress by samples gone through; a check at least every 2^20 of them (a block that
  // long is the whole check interval by itself).
  double trabajo = 0.0;
  for (const Retardo& r : retardos) trabajo += static_cast<double>(r.bloques) * r.d;
  double hecho = 0.0, aviso = 0.0;
  std::uint64_t k = 0;
  for (const Retardo& r : retardos) {
    const double logD = std::log10(static_cast<double>(r.d));
    for (std::uint64_t b = 0; b < r.bloques; ++b) {
      double rs = 0.0;
      if (!RangoReescalado(datos + b * salto, r.d, rs)) return kEstadoBloqueSinVarianzaRS;
      px[k] = logD;
      py[k] = std::log10(rs);
      ++k;
      hecho += static_cast<double>(r.d);
      if (hecho >= aviso) {
        Avance(hecho / trabajo);
        aviso = hecho + 1048576.0;
      }
    }
  }

  return AjustarRectaLogLog(x, y, [](double pendiente) { return pendiente; });
}
