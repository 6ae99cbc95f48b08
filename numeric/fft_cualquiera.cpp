#include "numeric/fft_cualquiera.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "numeric/constantes.h"
#include "numeric/error.h"
#include "numeric/fft.h"

namespace {

// Powers e^{−2πi·r/N}, 0 <= r < N, as the product of two directly evaluated tables
// (r = a·B + b, B ≈ √N): a few units in the last place at any N.
class RaicesUnidad {
 public:
  explicit RaicesUnidad(std::int64_t N)
      : B_(static_cast<std::int64_t>(std::sqrt(static_cast<double>(N))) + 1) {
    const std::int64_t altos = N / B_ + 1;
    bajo_.resize(static_cast<std::size_t>(2 * B_));
    alto_.resize(static_cast<std::size_t>(2 * altos));
    for (std::int64_t b = 0; b < B_; ++b) {
      const double a = kDosPi * static_cast<double>(b) / static_cast<double>(N);
      bajo_[2 * b] = std::cos(a);
      bajo_[2 * b + 1] = -std::sin(a);
    }
    for (std::int64_t h = 0; h < altos; ++h) {
      const double a = kDosPi * static_cast<double>(h * B_) / static_cast<double>(N);
      alto_[2 * h] = std::cos(a);
      alto_[2 * h + 1] = -std::sin(a);
    }
  }
  void Potencia(std::int64_t r, double& re, double& im) const {
    const std::int64_t h = r / B_, b = r - h * B_;
    const double ar = alto_[2 * h], ai = alto_[2 * h + 1];
    const double br = bajo_[2 * b], bi = bajo_[2 * b + 1];
    re = ar * br - ai * bi;
    im = ar * bi + ai * br;
  }

 private:
  std::int64_t B_;
  std::vector<double> bajo_, alto_;
};

// Complex transform of (u + i·v) at length M through two real ones, into (re, im); w1
// and w2 are work arrays. None of the arrays may alias another.
void FftCompleja(std::int32_t M, const double* u, const double* v, double* re, double* im,
                 double* w1, double* w2) {
  FftPrecisa(M, u, re, im);
  FftPrecisa(M, v, w1, w2);
  for (std::int32_t k = 0; k < M; ++k) {
    re[k] -= w2[k];
    im[k] += w1[k];
  }
}

}  // namespace

std::int64_t LongitudSuave(std::int64_t n) {
  std::int64_t mejor = 1;
  while (mejor < n) mejor *= 2;
  for (std::int64_t p5 = 1; p5 < mejor; p5 *= 5) {
    for (std::int64_t p35 = p5; p35 < mejor; p35 *= 3) {
      std::int64_t v = p35;
      while (v < n) v *= 2;
      mejor = std::min(mejor, v);
    }
  }
  return mejor;
}

void DftPrimerasFrecuencias(std::int32_t n, const double* x, std::int32_t m, double* re,
                            double* im) {
  if (n < 1 || m < 1 || m > n || static_cast<std::int64_t>(n) + m > (std::int64_t{1} << 30))
    ErrorEjecucion(kFalloIndiceVector);
  if (LongitudTransformable(n) == n) {
    std::vector<double> tr(static_cast<std::size_t>(n)), ti(static_cast<std::size_t>(n));
    FftPrecisa(n, x, tr.data(), ti.data());
    std::copy_n(tr.begin(), m, re);
    std::copy_n(ti.begin(), m, im);
    return;
  }

  // Chirp w_t = e^{−iπt²/n} = e^{−2πi·(t² mod 2n)/(2n)} for t = 0..n−1.
  const std::int64_t dosN = 2 * static_cast<std::int64_t>(n);
  const RaicesUnidad raices(dosN);
  std::vector<double> wr(static_cast<std::size_t>(n)), wi(static_cast<std::size_t>(n));
  std::int64_t r = 0;  // t² mod 2n, advanced by (t + 1)² − t² = 2t + 1
  for (std::int32_t t = 0; t < n; ++t) {
    raices.Potencia(r, wr[t], wi[t]);
    r += 2 * static_cast<std::int64_t>(t) + 1;
    r %= dosN;
  }

  const auto M = static_cast<std::int32_t>(LongitudSuave(static_cast<std::int64_t>(n) + m - 1));
  const auto tam = static_cast<std::size_t>(M);
  std::vector<double> u(tam, 0.0), v(tam, 0.0), ar(tam), ai(tam), br(tam), bi(tam), w1(tam),
      w2(tam);
  // A = DFT of a_t = x[t]·w_t, zero beyond n.
  for (std::int32_t t = 0; t < n; ++t) {
    u[t] = x[t] * wr[t];
    v[t] = x[t] * wi[t];
  }
  FftCompleja(M, u.data(), v.data(), ar.data(), ai.data(), w1.data(), w2.data());
  // B = DFT of conj(w_j) laid out circularly for j = −(n − 1)..m − 1, zero between.
  std::fill(u.begin(), u.end(), 0.0);
  std::fill(v.begin(), v.end(), 0.0);
  for (std::int32_t j = 0; j < m; ++j) {
    u[j] = wr[j];
    v[j] = -wi[j];
  }
  for (std::int32_t j = 1; j < n; ++j) {
    u[M - j] = wr[j];
    v[M - j] = -wi[j];
  }
  FftCompleja(M, u.data(), v.data(), br.data(), bi.data(), w1.data(), w2.data());
  // The convolution is the inverse transform of A·B: conj(DFT(conj(A·B)))/M.
  for (std::size_t k = 0; k < tam; ++k) {
    u[k] = ar[k] * br[k] - ai[k] * bi[k];
    v[k] = -(ar[k] * bi[k] + ai[k] * br[k]);
  }
  FftCompleja(M, u.data(), v.data(), ar.data(), ai.data(), w1.data(), w2.data());
  const double escala = 1.0 / static_cast<double>(M);
  for (std::int32_t k = 0; k < m; ++k) {
    const double cr = ar[k] * escala, ci = -ai[k] * escala;
    re[k] = wr[k] * cr - wi[k] * ci;
    im[k] = wr[k] * ci + wi[k] * cr;
  }
}

void DftPrimerasFrecuenciasCentradas(std::int32_t n, const double* x, double media,
                                     std::int32_t m, double* re, double* im) {
  if (n < 1 || m < 1 || m > n || static_cast<std::int64_t>(n) + m > (std::int64_t{1} << 30))
    ErrorEjecucion(kFalloIndiceVector);
  if (PrimerosTerminosDeReal(n, x, media, m, re, im)) return;
  std::vector<double> centrada(x, x + n);
  for (double& v : centrada) v -= media;
  if (LongitudTransformable(n) == n) {
    // The transform's imaginary part goes over the centred copy.
    std::vector<double> tr(static_cast<std::size_t>(n));
    FftPrecisa(n, centrada.data(), tr.data(), centrada.data());
    std::copy_n(tr.begin(), m, re);
    std::copy_n(centrada.begin(), m, im);
    return;
  }
  DftPrimerasFrecuencias(n, centrada.data(), m, re, im);
}
