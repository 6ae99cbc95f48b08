#include "estimators/hurst_rs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"

namespace {

struct Retardo {
  std::uint64_t d;        // block length
  std::uint64_t bloques;  // blocks of that length that fit
};

// Long blocks report their progress, and check for a cancellation request, between runs of
// kEntreAvisos samples.
constexpr std::uint64_t kEntreAvisos = 1u << 20;

// Blocks of one lag computed side by side: their sums are independent, so the processor
// overlaps them instead of waiting for each addition in turn.
constexpr std::uint64_t kGrupo = 4;

// R/S of the G blocks y[j * salto .. j * salto + d - 1], j = 0..G-1, into rs[j]; valido[j]
// false when the block has no spread (all values equal, or a standard deviation that rounds
// to zero). Each block is the range of the running sums of the deviations from its mean
// over its standard deviation (divisor d - 1), every sum in index order, so that its value
// equals the one built from Media, SumaAcumulada, Maximo, Minimo and Varianza, whatever the
// blocks computed with it. Out of line and without calls in the loops, so that the running
// values stay in registers (the progress reports between runs call out).
template <std::size_t G>
[[gnu::noinline]] void RangosReescalados(const double* y, std::uint64_t salto, std::uint64_t d,
                                         double* rs, bool* valido) {
  const double* b[G];
  double suma[G], yMax[G], yMin[G];
  for (std::size_t j = 0; j < G; ++j) {
    b[j] = y + j * salto;
    suma[j] = 0.0;
    yMax[j] = yMin[j] = b[j][0];
  }
  for (std::uint64_t i0 = 0; i0 < d; i0 += kEntreAvisos) {
    const std::uint64_t i1 = std::min(d, i0 + kEntreAvisos);
    for (std::uint64_t i = i0; i < i1; ++i) {
      for (std::size_t j = 0; j < G; ++j) {
        const double v = b[j][i];
        suma[j] += v;
        if (v > yMax[j]) yMax[j] = v;
        if (v < yMin[j]) yMin[j] = v;
      }
    }
    if (i1 < d) Avance(static_cast<double>(i1) / (2.0 * static_cast<double>(d)));
  }
  double media[G], w[G], wMax[G], wMin[G], cuadrados[G];
  for (std::size_t j = 0; j < G; ++j) {
    media[j] = suma[j] / static_cast<double>(d);
    const double dev = b[j][0] - media[j];
    w[j] = wMax[j] = wMin[j] = dev;
    cuadrados[j] = dev * dev;
  }
  for (std::uint64_t i0 = 1; i0 < d; i0 += kEntreAvisos) {
    const std::uint64_t i1 = std::min(d, i0 + kEntreAvisos);
    for (std::uint64_t i = i0; i < i1; ++i) {
      for (std::size_t j = 0; j < G; ++j) {
        const double dev = b[j][i] - media[j];
        w[j] += dev;
        if (w[j] > wMax[j]) wMax[j] = w[j];
        if (w[j] < wMin[j]) wMin[j] = w[j];
        cuadrados[j] += dev * dev;
      }
    }
    if (i1 < d) Avance(static_cast<double>(d + i1) / (2.0 * static_cast<double>(d)));
  }
  for (std::size_t j = 0; j < G; ++j) {
    const double s = std::sqrt(cuadrados[j] / static_cast<double>(d - 1));
    valido[j] = !(yMax[j] == yMin[j]) && s > 0.0;
    rs[j] = valido[j] ? (wMax[j] - wMin[j]) / s : 0.0;
  }
}

// A piece of the work: `cuantos` (1..kGrupo) consecutive blocks of one lag, from block
// `primero`, whose points go to position `k` on.
struct Pieza {
  std::uint64_t d, primero, cuantos, k;
};

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

  // Every lag's blocks in groups of up to kGrupo, the longest lags first so that the threads
  // end together; each group writes its own points, at their places in lag and block order.
  std::vector<Pieza> piezas;
  std::uint64_t total = 0;
  for (const Retardo& r : retardos) {
    for (std::uint64_t b = 0; b < r.bloques; b += kGrupo)
      piezas.push_back({r.d, b, std::min(kGrupo, r.bloques - b), total + b});
    total += r.bloques;
  }
  std::stable_sort(piezas.begin(), piezas.end(), [](const Pieza& a, const Pieza& b) {
    return a.d * a.cuantos > b.d * b.cuantos;
  });
  Vector x(static_cast<std::uint32_t>(total)), y(static_cast<std::uint32_t>(total));
  double* px = x.Datos();
  double* py = y.Datos();
  std::vector<char> validos(total, 0);
  const double* datos = serie.Datos();
  ParaCadaPieza(piezas.size(), [&](std::size_t t) {
    const Pieza& p = piezas[t];
    const double* inicio = datos + p.primero * salto;
    double rs[kGrupo];
    bool valido[kGrupo];
    switch (p.cuantos) {
      case 1: RangosReescalados<1>(inicio, salto, p.d, rs, valido); break;
      case 2: RangosReescalados<2>(inicio, salto, p.d, rs, valido); break;
      case 3: RangosReescalados<3>(inicio, salto, p.d, rs, valido); break;
      default: RangosReescalados<4>(inicio, salto, p.d, rs, valido); break;
    }
    const double logD = std::log10(static_cast<double>(p.d));
    for (std::uint64_t j = 0; j < p.cuantos; ++j) {
      px[p.k + j] = logD;
      py[p.k + j] = valido[j] ? std::log10(rs[j]) : 0.0;
      validos[p.k + j] = valido[j];
    }
  });
  if (std::find(validos.begin(), validos.end(), 0) != validos.end())
    return kEstadoBloqueSinVarianzaRS;

  return AjustarRectaLogLog(x, y, [](double pendiente) { return pendiente; });
}
