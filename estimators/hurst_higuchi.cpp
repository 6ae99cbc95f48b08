#include "estimators/hurst_higuchi.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"

namespace {

// Samples of the profile made and swept for every lag of a piece before moving on: with the
// k_max samples before them they stay in the processor's cache, so that the series is read
// from memory once per piece rather than the whole profile once per lag.
constexpr std::size_t kTramo = std::size_t{1} << 15;
// Samples between two progress reports (about a millisecond of work).
constexpr std::size_t kEntreAvisos = std::size_t{1} << 20;
// Most pieces the lags are dealt into, each swept on one thread.
constexpr std::size_t kPiezas = 8;

// The sums of the segments of lag k = K that end at p = desde .. desde + cuantos - 1
// (desde >= K): s[p mod K] + |Y(p) - Y(p - K)|, for each p in increasing order, where y[t]
// is Y(desde + t) and y[t - K] is readable. The K sums run in registers side by side.
template <std::uint32_t K>
void SumarSegmentosCortos(const double* y, std::size_t desde, std::size_t cuantos, double* s) {
  const std::size_t r = desde % K;
  double a[K];
  for (std::uint32_t j = 0; j < K; ++j) a[j] = s[(r + j) % K];
  std::size_t t = 0;
  for (; t + K <= cuantos; t += K)
    for (std::uint32_t j = 0; j < K; ++j) a[j] += std::abs(y[t + j] - y[t + j - K]);
  for (std::uint32_t j = 0; t + j < cuantos; ++j) a[j] += std::abs(y[t + j] - y[t + j - K]);
  for (std::uint32_t j = 0; j < K; ++j) s[(r + j) % K] = a[j];
}

// The same for any k: runs of consecutive ends, each adding to consecutive sums.
void SumarSegmentos(const double* y, std::size_t desde, std::size_t cuantos, std::uint32_t k,
                    double* s) {
  std::size_t t = 0;
  std::size_t m = desde % k;
  while (t < cuantos) {
    const std::size_t largo = std::min<std::size_t>(k - m, cuantos - t);
    const double* actual = y + t;
    const double* anterior = actual - k;
    double* suma = s + m;
    for (std::size_t j = 0; j < largo; ++j) suma[j] += std::abs(actual[j] - anterior[j]);
    t += largo;
    m = 0;
  }
}

void Sumar(const double* y, std::size_t desde, std::size_t cuantos, std::uint32_t k, double* s) {
  switch (k) {
    case 1: SumarSegmentosCortos<1>(y, desde, cuantos, s); break;
    case 2: SumarSegmentosCortos<2>(y, desde, cuantos, s); break;
    case 3: SumarSegmentosCortos<3>(y, desde, cuantos, s); break;
    case 4: SumarSegmentosCortos<4>(y, desde, cuantos, s); break;
    case 5: SumarSegmentosCortos<5>(y, desde, cuantos, s); break;
    case 6: SumarSegmentosCortos<6>(y, desde, cuantos, s); break;
    case 7: SumarSegmentosCortos<7>(y, desde, cuantos, s); break;
    case 8: SumarSegmentosCortos<8>(y, desde, cuantos, s); break;
    default: SumarSegmentos(y, desde, cuantos, k, s); break;
  }
}

// L(k) from the sums s[m - 1] of |Y(m + ik) - Y(m + (i - 1)k)| over i, m = 1..k.
// (std::abs: GCC stops inlining ::fabs once numeric/vector.h overloads it for Vector.)
double LongitudDeSumas(const double* s, std::uint32_t N, std::uint32_t k) {
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

// L(k) of the profile Y (N points, 0-based: Y[p] = Y(p + 1)) for the lags of one piece,
// into L. Each m sums its segments |Y(m + ik) - Y(m + (i - 1)k)|, m + ik <= N, in the
// order of i: the sum of m (0-based) gets the segments ending at p = m + k, m + 2k, ..., in
// that order, however the positions are cut into stretches, so the value of every lag is
// the same whichever piece and thread computed it. The profile is `perfil` when given;
// otherwise the piece makes it stretch by stretch from the series x and its mean, as
// SumaAcumulada(x - media) does, keeping only the stretch and the k_max values before it.
void LongitudesCurva(const double* x, double media, const double* perfil, std::uint32_t N,
                     const std::vector<std::uint32_t>& retardos, double* L) {
  std::vector<std::size_t> comienzo(retardos.size() + 1, 0);
  for (std::size_t j = 0; j < retardos.size(); ++j) comienzo[j + 1] = comienzo[j] + retardos[j];
  std::vector<double> sumas(comienzo.back(), 0.0);
  const std::size_t kMax = *std::max_element(retardos.begin(), retardos.end());
  std::vector<double> ventana(perfil ? 0 : kMax + kTramo);
  std::size_t base = 0;  // position of ventana[0]
  double acumulado = 0.0;
  std::size_t aviso = kEntreAvisos;
  for (std::size_t desde = 0; desde < N; desde += kTramo) {
    const std::size_t hasta = std::min<std::size_t>(N, desde + kTramo);
    const double* y;  // y[p - desde] = Y[p], readable down to p = desde - k_max
    if (perfil) {
      y = perfil + desde;
    } else {
      const std::size_t guardados = std::min(desde, kMax);
      if (desde > 0)
        std::copy(ventana.begin() + static_cast<std::ptrdiff_t>(desde - guardados - base),
                  ventana.begin() + static_cast<std::ptrdiff_t>(desde - base), ventana.begin());
      base = desde - guardados;
      double* Y = ventana.data() + guardados;
      std::size_t p = desde;
      if (p == 0) Y[p++] = acumulado = x[0] - media;
      for (; p < hasta; ++p) Y[p - desde] = acumulado = acumulado + (x[p] - media);
      y = Y;
    }
    for (std::size_t j = 0; j < retardos.size(); ++j) {
      const std::uint32_t k = retardos[j];
      const std::size_t primero = std::max<std::size_t>(desde, k);
      if (primero < hasta)
        Sumar(y + (primero - desde), primero, hasta - primero, k, sumas.data() + comienzo[j]);
    }
    if (hasta >= aviso) {
      Avance(static_cast<double>(hasta) / N);
      aviso = hasta + kEntreAvisos;
    }
  }
  for (std::size_t j = 0; j < retardos.size(); ++j)
    L[j] = LongitudDeSumas(sumas.data() + comienzo[j], N, retardos[j]);
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

  // The profile is SumaAcumulada(serie - Media(serie)). Each piece makes the stretches it
  // needs as it sweeps them, unless k_max is so long that they would hold the whole of it:
  // then it is made once, for all.
  const double media = Media(serie);
  Vector perfil;
  if (kMax + kTramo >= n) {
    perfil = Vector(n);
    const double* x = serie.Datos();
    double* Y = perfil.Datos();
    Y[0] = x[0] - media;
    for (std::uint32_t i = 1; i < n; ++i) Y[i] = Y[i - 1] + (x[i] - media);
  }
  // The lags dealt into pieces (lag j to piece j mod piezas), at most one per thread: each
  // lag's value is the same in any piece.
  const std::uint32_t puntos = static_cast<std::uint32_t>(retardos.size());
  const std::size_t piezas =
      std::clamp<std::size_t>(HilosDeCalculo(), 1, std::min<std::size_t>(kPiezas, puntos));
  std::vector<double> L(puntos);
  ParaCadaPieza(piezas, [&](std::size_t t) {
    std::vector<std::uint32_t> suyos;
    for (std::size_t j = t; j < puntos; j += piezas) suyos.push_back(retardos[j]);
    std::vector<double> suyas(suyos.size());
    LongitudesCurva(serie.Datos(), media, perfil.Datos(), n, suyos, suyas.data());
    for (std::size_t i = 0; i < suyos.size(); ++i) L[t + i * piezas] = suyas[i];
  });
  Vector x(puntos), y(puntos);
  for (std::uint32_t j = 0; j < puntos; ++j) {
    if (L[j] == 0.0) return kEstadoLongitudCurvaNula;
    x.Datos()[j] = std::log10(static_cast<double>(retardos[j]));
    y.Datos()[j] = std::log10(L[j]);
  }

  // D = -slope, H = 2 - D.
  Estimacion e = AjustarRectaLogLog(x, y, [](double pendiente) { return 2.0 + pendiente; });
  if (e.Exito()) e.cifras.push_back({cifra::kRetardoMaximo, static_cast<double>(kMax)});
  return e;
}
