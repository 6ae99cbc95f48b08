#include "estimators/hurst_ondiculas.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/constantes.h"
#include "numeric/especiales.h"
#include "numeric/estadistica.h"
#include "numeric/ondiculas.h"
#include "numeric/progreso.h"

namespace {

constexpr double kZ975 = kCuantilNormal975;

// Outputs of an octave between two progress reports (about a millisecond of work).
constexpr std::uint32_t kSalidasEntreAvisos = 1u << 17;

// Outputs k0..k1-1 of an octave from its input a: the approximation into siguiente, the
// squared details added in order to energia, which is returned. Out of line and without
// calls, so that the sum stays in a register.
[[gnu::noinline]] double Octava(const double* a, const double* h, const double* g,
                                std::uint32_t L, std::uint32_t k0, std::uint32_t k1,
                                bool aproximacion, bool detalles, double* siguiente,
                                double energia) {
  for (std::uint32_t k = k0; k < k1; ++k) {
    const double* p = a + 2 * static_cast<std::size_t>(k);
    if (aproximacion) {
      double s = 0.0;
      for (std::uint32_t l = 0; l < L; ++l) s += h[l] * p[l];
      siguiente[k] = s;
    }
    if (detalles) {
      double d = 0.0;
      for (std::uint32_t l = 0; l < L; ++l) d += g[l] * p[l];
      energia += d * d;
    }
  }
  return energia;
}

}  // namespace

Estimacion HurstOndiculas(const Vector& serie, std::int32_t momentos,
                          std::int32_t octavaInicial, std::int32_t octavaFinal) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (momentos < 1 || momentos > kMaxMomentosNulos) return kEstadoMomentosOndicula;
  if (octavaInicial < 1) return kEstadoOctavaInicial;
  const std::int64_t j1 = octavaInicial;
  if (octavaFinal != 0 && octavaFinal < j1 + 2) return kEstadoOctavaFinal;

  // The lengths n_j of every octave the series allows depend only on n and L.
  const std::uint32_t L = 2 * static_cast<std::uint32_t>(momentos);
  std::vector<std::uint32_t> longitud{n};  // longitud[j] = n_j
  while (longitud.back() >= L) longitud.push_back((longitud.back() - L) / 2 + 1);
  const auto ultima = static_cast<std::int64_t>(longitud.size()) - 1;
  std::int64_t j2 = 0;
  if (octavaFinal == 0) {
    while (j2 < ultima && longitud[j2 + 1] >= 4) ++j2;
  } else {
    j2 = std::min<std::int64_t>(octavaFinal, ultima);
  }
  if (j2 - j1 + 1 < 3) return kEstadoPocasOctavas;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  // The cascade: a holds a_{j−1}; the detail energies of octaves j1..j2.
  const auto h = FiltroDaubechies(momentos);
  std::vector<double> g(L);
  for (std::uint32_t l = 0; l < L; ++l) g[l] = (l % 2 ? -1.0 : 1.0) * h[L - 1 - l];
  std::vector<double> a(serie.begin(), serie.end()), siguiente(longitud[1]);
  const double media = Media(serie);
  for (double& v : a) v -= media;
  const auto octavas = static_cast<std::uint32_t>(j2 - j1 + 1);
  std::vector<double> mu(octavas);
  for (std::int64_t j = 1; j <= j2; ++j) {
    const std::uint32_t nj = longitud[j];
    const bool detalles = j >= j1;
    const bool aproximacion = j < j2;
    // Octave j is about 2^-j of the work; runs of outputs between progress reports.
    TramoProgreso tramo(1.0 - std::ldexp(1.0, 1 - static_cast<int>(j)),
                        1.0 - std::ldexp(1.0, -static_cast<int>(j)));
    double energia = 0.0;
    for (std::uint32_t k0 = 0; k0 < nj; k0 += kSalidasEntreAvisos) {
      const std::uint32_t k1 = nj - k0 < kSalidasEntreAvisos ? nj : k0 + kSalidasEntreAvisos;
      energia = Octava(a.data(), h.data(), g.data(), L, k0, k1, aproximacion, detalles,
                       siguiente.data(), energia);
      Avance(static_cast<double>(k1) / nj);
    }
    if (detalles) mu[j - j1] = energia / nj;
    if (aproximacion) {
      siguiente.resize(nj);
      std::swap(a, siguiente);
    }
  }
  for (const double m : mu) {
    if (m == 0.0) return kEstadoEnergiaNula;
  }

  // Weighted least squares of y_j on j with w_j = 1/σ_j².
  const double ln2 = std::numbers::ln2;
  Vector x(octavas), y(octavas);
  double S0 = 0.0, S1 = 0.0, S2 = 0.0, T0 = 0.0, T1 = 0.0;
  for (std::uint32_t i = 0; i < octavas; ++i) {
    const double j = static_cast<double>(j1 + i);
    const double mitad = 0.5 * longitud[j1 + i];
    const double gamma = Digamma(mitad) / ln2 - std::log2(mitad);
    const double yj = std::log2(mu[i]) - gamma;
    const double w = 1.0 / (Trigamma(mitad) / (ln2 * ln2));
    S0 += w;
    S1 += w * j;
    S2 += w * j * j;
    T0 += w * yj;
    T1 += w * j * yj;
    x.Datos()[i] = j;
    y.Datos()[i] = yj;
  }
  const double delta = S0 * S2 - S1 * S1;
  const double alfa = (S0 * T1 - S1 * T0) / delta;
  const double b = (S2 * T0 - S1 * T1) / delta;
  const double h0 = (alfa + 1.0) / 2.0;
  const double semiancho = kZ975 * std::sqrt(S0 / delta) / 2.0;
  if (!std::isfinite(h0)) return kEstadoResultadoNoFinito;

  Vector ajuste(octavas);
  for (std::uint32_t i = 0; i < octavas; ++i) ajuste.Datos()[i] = b + alfa * x.Datos()[i];
  Estimacion e;
  e.ValorConIntervalo(h0, semiancho);
  e.Puntos(std::move(x), std::move(y), std::move(ajuste));
  e.cifras.push_back({cifra::kOctavaFinal, static_cast<double>(j2)});
  return e;
}
