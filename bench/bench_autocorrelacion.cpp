// Autocorrelation of a long series at every lag, through Autocorrelacion (which takes the
// zero-padded transforms when they are cheaper), against the direct sums on a subset of
// lags in the same run. Usage: bench_autocorrelacion [samples]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "numeric/autocorrelacion.h"
#include "numeric/estadistica.h"

namespace {

double Segundos(std::chrono::steady_clock::time_point desde) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

// Direct sum of one lag, normalised like AutocorrelacionDirecta (c0: the lag-0 value).
double LagDirecto(const Vector& v, double media, double c0, std::uint32_t lag, int sesgada) {
  const std::uint32_t n = v.Longitud();
  const double* x = v.Datos();
  double s = 0.0;
  for (std::uint32_t j = 0; j + lag < n; ++j) s += (x[j] - media) * (x[j + lag] - media);
  return (sesgada ? s / n : s / (n - lag)) / c0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t n =
      argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000u;
  // Traffic-like counts: a slowly varying level plus noise.
  Vector v(n);
  std::mt19937_64 gen(17);
  std::normal_distribution<double> z;
  double nivel = 0.0;
  for (std::uint32_t i = 1; i <= n; ++i) {
    nivel = 0.999 * nivel + z(gen);
    v[i] = std::round(500.0 + 20.0 * nivel + 10.0 * z(gen));
  }
  std::printf("n = %u, padded length %d, transforms chosen: %s\n", n,
              LongitudRellenoAutocorrelacion(n),
              ConvieneAutocorrelacionRapida(n, n) ? "yes" : "no");

  const double media = Media(v);
  for (int sesgada : {1, 0}) {
    auto t0 = std::chrono::steady_clock::now();
    const Vector r = Autocorrelacion(v, n, sesgada);
    const double tTodos = Segundos(t0);

    // Direct sums on the first 1000 lags (timed) and on a spread of later lags.
    const std::uint32_t primeros = std::min<std::uint32_t>(1000, n);
    t0 = std::chrono::steady_clock::now();
    const Vector directa = AutocorrelacionDirecta(v, primeros, sesgada);
    const double tDirecta = Segundos(t0);
    double dif = 0.0;
    for (std::uint32_t i = 1; i <= primeros; ++i) dif = std::max(dif, std::fabs(directa(i) - r(i)));
    double c0 = 0.0;
    for (std::uint32_t j = 1; j <= n; ++j) c0 += (v(j) - media) * (v(j) - media);
    c0 /= n;
    for (std::uint32_t lag = primeros; lag < n; lag += std::max<std::uint32_t>(1, n / 97))
      dif = std::max(dif, std::fabs(LagDirecto(v, media, c0, lag, sesgada) - r(lag + 1)));
    for (std::uint32_t lag = n > 50 ? n - 50 : 0; lag < n; ++lag)
      dif = std::max(dif, std::fabs(LagDirecto(v, media, c0, lag, sesgada) - r(lag + 1)));

    const double terminos = 0.5 * static_cast<double>(n) * (n + 1.0);
    const double porTermino = tDirecta / (static_cast<double>(primeros) * n);
    std::printf(
        "%s: all %u lags %.3f s; direct sums of the first %u lags %.3f s (all lags by direct sums "
        "~%.0f s); max difference on checked lags %.1e\n",
        sesgada ? "biased  " : "unbiased", n, tTodos, primeros, tDirecta, terminos * porTermino,
        dif);
  }
  return 0;
}
