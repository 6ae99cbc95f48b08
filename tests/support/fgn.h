// Seeded synthetic series for the estimator tests: independent Gaussian noise and exact
// fractional Gaussian noise (FGN) by circulant embedding (Davies-Harte).
//
// Everything here is deterministic given the seed on any platform: the generator is
// std::mt19937_64 (fully specified by the standard) and the normal deviates come from
// our own Box-Muller transform, not from std::normal_distribution. The FFT is a small
// radix-2 one of its own, independent of the program's.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

namespace prueba {

// Standard normal deviates by the Box-Muller transform, two per pair of uniforms.
class Normal {
 public:
  explicit Normal(std::uint64_t semilla) : gen_(semilla) {}

  double operator()() {
    if (hayGuardado_) {
      hayGuardado_ = false;
      return guardado_;
    }
    // Uniform in (0, 1]: 53 random bits, shifted away from zero for the logarithm.
    const double u1 = (static_cast<double>(gen_() >> 11) + 1.0) * 0x1.0p-53;
    const double u2 = static_cast<double>(gen_() >> 11) * 0x1.0p-53;
    const double r = std::sqrt(-2.0 * std::log(u1));
    const double a = 2.0 * 3.14159265358979323846 * u2;
    guardado_ = r * std::sin(a);
    hayGuardado_ = true;
    return r * std::cos(a);
  }

 private:
  std::mt19937_64 gen_;
  double guardado_ = 0.0;
  bool hayGuardado_ = false;
};

// n independent standard normal samples.
inline std::vector<double> RuidoBlanco(std::size_t n, std::uint64_t semilla) {
  Normal normal(semilla);
  std::vector<double> v(n);
  for (double& x : v) x = normal();
  return v;
}

// In-place iterative radix-2 FFT, X(k) = sum_j x(j) exp(-2 pi i j k / N); N a power of 2.
inline void Fft(std::vector<std::complex<double>>& a) {
  const std::size_t n = a.size();
  if (n == 0 || (n & (n - 1)) != 0) throw std::invalid_argument("Fft: N no es potencia de 2");
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  const double pi = 3.14159265358979323846;
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const double ang = -2.0 * pi / static_cast<double>(len);
    const std::size_t mitad = len / 2;
    // Twiddles computed directly per index (not by repeated multiplication) for accuracy.
    std::vector<std::complex<double>> w(mitad);
    for (std::size_t k = 0; k < mitad; ++k) {
      w[k] = std::complex<double>(std::cos(ang * static_cast<double>(k)),
                                  std::sin(ang * static_cast<double>(k)));
    }
    for (std::size_t i = 0; i < n; i += len) {
      for (std::size_t k = 0; k < mitad; ++k) {
        const std::complex<double> u = a[i + k];
        const std::complex<double> v = a[i + k + mitad] * w[k];
        a[i + k] = u + v;
        a[i + k + mitad] = u - v;
      }
    }
  }
}

// Autocovariance of unit-variance FGN at lag k.
inline double AutocovarianzaFgn(double H, std::size_t k) {
  const double kk = static_cast<double>(k);
  const double h2 = 2.0 * H;
  return 0.5 * (std::pow(kk + 1.0, h2) - 2.0 * std::pow(kk, h2) +
                std::pow(std::fabs(kk - 1.0), h2));
}

// n samples of exact zero-mean, unit-variance fractional Gaussian noise with Hurst
// parameter H in (0, 1). The autocovariance is embedded in a circulant of size
// M = 2N (N the smallest power of 2 >= n), whose eigenvalues are non-negative for FGN;
// the real part of FFT(sqrt(lambda / M) * (Z1 + i Z2)) then has exactly the FGN
// covariance.
inline std::vector<double> GenerarFgn(std::size_t n, double H, std::uint64_t semilla) {
  if (!(H > 0.0 && H < 1.0)) throw std::invalid_argument("GenerarFgn: H fuera de (0, 1)");
  std::size_t N = 1;
  while (N < n) N <<= 1;
  const std::size_t M = 2 * N;
  std::vector<std::complex<double>> c(M);
  for (std::size_t k = 0; k <= N; ++k) c[k] = AutocovarianzaFgn(H, k);
  for (std::size_t k = N + 1; k < M; ++k) c[k] = c[M - k];
  Fft(c);

  Normal normal(semilla);
  std::vector<std::complex<double>> w(M);
  for (std::size_t k = 0; k < M; ++k) {
    double lambda = c[k].real();
    // Rounding can leave tiny negative eigenvalues; anything larger breaks exactness.
    if (lambda < 0.0) {
      if (lambda < -1e-8 * static_cast<double>(M)) {
        throw std::runtime_error("GenerarFgn: autovalor negativo");
      }
      lambda = 0.0;
    }
    const double escala = std::sqrt(lambda / static_cast<double>(M));
    const double z1 = normal();
    const double z2 = normal();
    w[k] = std::complex<double>(escala * z1, escala * z2);
  }
  Fft(w);
  std::vector<double> x(n);
  for (std::size_t i = 0; i < n; ++i) x[i] = w[i].real();
  return x;
}

}  // namespace prueba
