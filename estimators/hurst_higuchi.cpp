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

// Samples of the profile swept for every lag of a piece before moving on: with the k_max
// samples before them they stay in the processor's cache, so that the profile is read from
// memory once per piece rather than once per lag.
constexpr std::size_t kTramo = std::size_t{1} << 15;
// Samples between two progress reports (about a millisecond of work).
constexpr std::size_t kEntreAvisos = std::size_t{1} << 20;
// Pieces the lags are dealt into (lag j to piece j mod kPiezas), each swept on one thread.
constexpr std::size_t kPiezas = 4;

// The sums of the segments of lag k = K whose end p is in [desde, hasta) (desde >= K):
// s[p mod K] + |y[p] - y[p - K]|, for each p in increasing order. The K sums run in
// registers side by side.
template <std::uint32_t K>
void SumarSegmentosCortos(const double* y, std::size_t desde, std::size_t hasta, double* s) {
  const std::size_t r = desde % K;
  double a[K];
  for (std::uint32_t j = 0; j < K; ++j) a[j] = s[(r + j) % K];
  std::size_t p = desde;
  for (; p + K <= hasta; p += K)
    for (std::uint32_t j = 0; j < K; ++j) a[j] += std::abs(y[p + j] - y[p + j - K]);
  for (std::uint32_t j = 0; p + j < hasta; ++j) a[j] += std::abs(y[p + j] - y[p + j - K]);
  for (std::uint32_t j = 0; j < K; ++j) s[(r + j) % K] = a[j];
}

// The same for any k: runs of consecutive ends, each adding to consecutive sums.
void SumarSegmentos(const double* y, std::size_t desde, std::size_t hasta, std::uint32_t k,
                    double* s) {
  std::size_t p = desde;
  std::size_t m = p % k;
  while (p < hasta) {
    const std::size_t largo = std::min<std::size_t>(k - m, hasta - p);
    const double* actual = y + p;
    const double* anterior = actual - k;
    double* t = s + m;
    for (std::size_t j = 0; j < largo; ++j) t[j] += std::abs(actual[j] - anterior[j]);
    p += largo;
    m = 0;
  }
}

void Sumar(const double* y, std::size_t desde, std::size_t hasta, std::uint32_t k, double* s) {
  switch (k) {
    case 1: SumarSegmentosCortos<1>(y, desde, hasta, s); break;
    case 2: SumarSegmentosCortos<2>(y, desde, hasta, s); break;
    case 3: SumarSegmentosCortos<3>(y, desde, hasta, s); break;
    case 4: SumarSegmentosCortos<4>(y, desde, hasta, s); break;
    case 5: SumarSegmentosCortos<5>(y, desde, hasta, s); break;
    case 6: SumarSegmentosCortos<6>(y, desde, hasta, s); break;
    case 7: SumarSegmentosCortos<7>(y, desde, hasta, s); break;
    case 8: SumarSegmentosCortos<8>(y, desde, hasta, s); break;
    default: SumarSegmentos(y, desde, hasta, k, s); break;
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

// L(k) of the profile y (N points, 0-based: y[p] = Y(p + 1)) for the lags of one piece,
// into L. Each m sums its segments |Y(m + ik) - Y(m + (i - 1)k)|, m + ik <= N, in the
// order of i: the sum of m (0-based) gets the segments ending at p = m + k, m + 2k, ..., in
// that order, however the positions are cut into stretches, so the value of every lag is
// the same whichever piece and thread computed it.
void LongitudesCurva(const double* y, std::uint32_t N, const std::vector<std::uint32_t>& retardos,
                     double* L) {
  std::vector<std::size_t> comienzo(retardos.size() + 1, 0);
  for (std::size_t j = 0; j < retardos.size(); ++j) comienzo[j + 1] = comienzo[j] + retardos[j];
  std::vector<double> sumas(comienzo.back(), 0.0);
  std::size_t aviso = kEntreAvisos;
  for (std::size_t desde = 0; desde < N; desde += kTramo) {
    const std::size_t hasta = std::min<std::size_t>(N, desde + kTramo);
    for (std::size_t j = 0; j < retardos.size(); ++j) {
      const std::uint32_t k = retardos[j];
      if (hasta > k) Sumar(y, std::max<std::size_t>(desde, k), hasta, k, sumas.data() + comienzo[j]);
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

int HurstHiguchi(const Vector& serie, std::int32_t retardoMaximo, std::int32_t retardosDecada,
                 double& H, std::int32_t& retardoMaximoUsado, Vector& ejeX, Vector& ejeY) {
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

  // The profile, as SumaAcumulada(serie - Media(serie)) makes it, without the temporary.
  const double media = Media(serie);
  Vector perfil(n);
  {
    const double* x = serie.Datos();
    double* Y = perfil.Datos();
    Y[0] = x[0] - media;
    for (std::uint32_t i = 1; i < n; ++i) Y[i] = Y[i - 1] + (x[i] - media);
  }
  const std::uint32_t puntos = static_cast<std::uint32_t>(retardos.size());
  const std::size_t piezas = std::min<std::size_t>(kPiezas, puntos);
  std::vector<double> L(puntos);
  ParaCadaPieza(piezas, [&](std::size_t t) {
    std::vector<std::uint32_t> suyos;
    for (std::size_t j = t; j < puntos; j += piezas) suyos.push_back(retardos[j]);
    std::vector<double> suyas(suyos.size());
    LongitudesCurva(perfil.Datos(), n, suyos, suyas.data());
    for (std::size_t i = 0; i < suyos.size(); ++i) L[t + i * piezas] = suyas[i];
  });
  Vector x(puntos), y(puntos);
  for (std::uint32_t j = 0; j < puntos; ++j) {
    if (L[j] == 0.0) return kEstadoLongitudCurvaNula;
    x.Datos()[j] = std::log10(static_cast<double>(retardos[j]));
    y.Datos()[j] = std::log10(L[j]);
  }

  // D = -slope, H = 2 - D.
  const int estado = AjustarRectaLogLog(
      x, y, [](double pendiente) { return 2.0 + pendiente; }, H, ejeX, ejeY);
  if (estado == kEstadoOk) retardoMaximoUsado = static_cast<std::int32_t>(kMax);
  return estado;
}
