#include "numeric/autocorrelacion.h"

#include <cmath>
#include <vector>

#include "numeric/error.h"
#include "numeric/estadistica.h"
#include "numeric/fft.h"
#include "numeric/progreso.h"

namespace {

// Largest series the transforms take: the padded length must fit the transform's length.
constexpr std::uint32_t kMaxMuestras = 1u << 29;

// Unbiased normalisation multiplies the lag-r sum by n / (n - r): near the last lags it
// would magnify the transforms' rounding (about 5e-15 of s(0)) by up to n. Lags whose sum
// has fewer than n / kCola terms are summed directly, which bounds the magnification by
// kCola and costs at most n² / (2·kCola²) terms (1.2e8 at a million samples).
constexpr std::uint32_t kCola = 64;

constexpr double kTerminosMinimos = 1.0e7;

// Terms between two checks of a cancellation request in the direct sums (about a
// millisecond of work), as in numeric/estadistica.cpp; the runs between checks are summed
// out of line and free of calls, so that their sums stay in registers.
constexpr std::uint32_t kTerminosEntreAvisos = 1u << 20;

// s + d[0]·e[0] + ... + d[n-1]·e[n-1], added in order.
[[gnu::noinline]] double ProductosTramo(const double* d, const double* e, std::uint32_t n,
                                        double s) {
  for (std::uint32_t j = 0; j < n; ++j) s += d[j] * e[j];
  return s;
}

bool SoloFactores235(std::int64_t m) {
  for (int p : {2, 3, 5})
    while (m % p == 0) m /= p;
  return m == 1;
}

}  // namespace

std::int32_t LongitudRellenoAutocorrelacion(std::uint32_t n) {
  if (n <= 1) return 1;
  std::int64_t L = 2 * static_cast<std::int64_t>(n) - 1;
  while (!SoloFactores235(L)) ++L;
  return static_cast<std::int32_t>(L);
}

bool ConvieneAutocorrelacionRapida(std::uint32_t n, std::uint32_t puntos) {
  if (n < 2 || puntos == 0 || puntos > n || n > kMaxMuestras) return false;
  // Direct: one multiply-add per term. Transforms: two of length L, each about
  // 1.5 ns·L·log2 L against 0.75 ns per direct term, plus linear work.
  const double terminos = static_cast<double>(puntos) * n -
                          0.5 * static_cast<double>(puntos) * (static_cast<double>(puntos) - 1.0);
  // Below about ten million terms (a few milliseconds) the direct sums are kept: the time
  // saved would not be noticed, and the results stay those of the literal definition.
  if (terminos < kTerminosMinimos) return false;
  const double L = LongitudRellenoAutocorrelacion(n);
  return terminos > L * (4.0 * std::log2(L) + 8.0);
}

Vector AutocorrelacionRapida(const Vector& v, std::uint32_t puntos, int sesgada) {
  const std::uint32_t n = v.Longitud();
  const double media = Media(v);
  const std::int32_t L = LongitudRellenoAutocorrelacion(n);

  // Deviations from the mean, as in the direct sums, padded with zeros to L.
  std::vector<double> a(static_cast<std::size_t>(L), 0.0), re(L), im(L);
  const double* x = v.Datos();
  for (std::uint32_t j = 0; j < n; ++j) a[j] = x[j] - media;

  // |D(k)|² of the padded deviations; its transform is L·s(r) (it is real and even, so
  // the forward transform equals the inverse one up to the factor L).
  {
    TramoProgreso tramo(0.0, 0.45);
    FftPrecisa(L, a.data(), re.data(), im.data());
  }
  std::vector<double>& potencia = a;
  for (std::int32_t k = 0; k < L; ++k) potencia[k] = re[k] * re[k] + im[k] * im[k];
  std::vector<double> sumaRe(L), sumaIm(L);
  {
    TramoProgreso tramo(0.45, 0.9);
    FftPrecisa(L, potencia.data(), sumaRe.data(), sumaIm.data());
  }

  // Deviations again for the directly summed tail (the padded copy was overwritten).
  std::vector<double> d(n);
  for (std::uint32_t j = 0; j < n; ++j) d[j] = x[j] - media;
  const std::uint32_t terminosCola = n / kCola;

  Vector r(puntos);
  double* c = r.Datos();
  const double dn = static_cast<double>(n);
  const double dL = static_cast<double>(L);
  TramoProgreso tramo(0.9, 1.0);
  for (std::uint32_t lag = 0; lag < puntos; ++lag) {
    const std::uint32_t terminos = n - lag;
    if (lag % 4096 == 4095) Avance(static_cast<double>(lag) / puntos);
    double s;
    if (!sesgada && terminos < terminosCola) {
      const double* d2 = d.data() + lag;
      s = 0.0;
      for (std::uint32_t j = 0; j < terminos; ++j) s += d[j] * d2[j];
    } else {
      s = sumaRe[lag] / dL;
    }
    c[lag] = sesgada ? s / dn : s / static_cast<double>(terminos);
  }
  const double c0 = c[0];
  for (std::uint32_t lag = 0; lag < puntos; ++lag) c[lag] /= c0;
  return r;
}

Vector AutocorrelacionDirecta(const Vector& v, std::uint32_t puntos, int sesgada) {
  const std::uint32_t n = v.Longitud();
  const double media = Media(v);
  // Deviations from the mean, computed once: each product below is then exactly
  // (x(j) - media) * (x(j + r) - media).
  Vector dev(n);
  const double* x = v.Datos();
  double* d = dev.Datos();
  for (std::uint32_t j = 0; j < n; ++j) d[j] = x[j] - media;

  Vector r(puntos);
  double* a = r.Datos();
  const double dn = static_cast<double>(n);
  // Progress by terms summed: lag r has n - r of them.
  const double total = static_cast<double>(puntos) * n -
                       0.5 * static_cast<double>(puntos) * (static_cast<double>(puntos) - 1.0);
  double hechos = 0.0;
  for (std::uint32_t lag = 0; lag < puntos; ++lag) {
    const std::uint32_t terminos = n - lag;
    const double* d2 = d + lag;
    double s = 0.0;
    for (std::uint32_t j0 = 0; j0 < terminos; j0 += kTerminosEntreAvisos) {
      const std::uint32_t j1 =
          terminos - j0 < kTerminosEntreAvisos ? terminos : j0 + kTerminosEntreAvisos;
      s = ProductosTramo(d + j0, d2 + j0, j1 - j0, s);
      if (j1 - j0 == kTerminosEntreAvisos) Avance((hechos + j1) / total);
    }
    hechos += terminos;
    a[lag] = sesgada ? s / dn : s / static_cast<double>(terminos);
    if (lag % 256 == 255) Avance(hechos / total);
  }
  const double c0 = a[0];
  for (std::uint32_t lag = 0; lag < puntos; ++lag) a[lag] /= c0;
  return r;
}

Vector Autocorrelacion(const Vector& v, std::uint32_t puntos, int sesgada) {
  if (puntos == 0 || puntos > v.Longitud()) ErrorEjecucion(kFalloPuntosAutocorrelacion);
  if (ConvieneAutocorrelacionRapida(v.Longitud(), puntos))
    return AutocorrelacionRapida(v, puntos, sesgada);
  return AutocorrelacionDirecta(v, puntos, sesgada);
}
