// Whittle estimator of H under the fractional Gaussian noise model.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "numeric/sucesion_compacta.h"
#include "estimators/estimacion.h"
#include "numeric/vector.h"

class TablaFgn;

// The FGN spectral density's aliasing sum Σ_k |λ + 2πk|^−(2H+1): cut at |k| ≤ 4 (the
// historical density, biased by the terms left out) or summed whole (Σ_{k≥5} by ColaFgn).
// The values are those of the field RGDensidad.
enum class SumaDensidad { kTruncada = 0, kExacta = 1 };

// Σ_{k≥5} [(2πk − λ)^ex + (2πk + λ)^ex] for 0 < λ ≤ π and ex < −1: the pairs k = 5..9
// summed, the rest by the Euler–Maclaurin formula from k = 10 (the integral, half the first
// term and the Bernoulli terms B2..B10), within 1e-14 of the sum over the whole density.
double ColaFgn(double lambda, double ex);

// H minimising Whittle's objective over [0.4999, 1.0001] and its 95 % interval
// H ± 1.96·√(V/n'), V = VarianzaWhittleFgn(H), given as the figure "V".
// Status: 1 fewer than 100 samples; 18 constant series; 25 every ordinate used is zero.
// `suma` chooses the density (the truncated one unless asked).
Estimacion HurstWhittleFgn(const Vector& serie, SumaDensidad suma = SumaDensidad::kTruncada);
// The same with the frequency tables of the series' length given (TablaFgn(m, n') with
// n' = LongitudTransformable(n), m = (n' - 1) / 2), for callers that estimate many series
// of one length; nullptr builds them.
Estimacion HurstWhittleFgn(const Vector& serie, const std::shared_ptr<const TablaFgn>& tabla,
                           SumaDensidad suma = SumaDensidad::kTruncada);

// FGN spectral density at the frequencies lambda (nine terms k = −4..4 of the aliasing
// sum, or the whole sum), divided by θ = exp((2/N)·Σ ln f). Returns f*; the first form
// leaves θ in theta.
Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N, double& theta,
                   SumaDensidad suma = SumaDensidad::kTruncada);
Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N,
                   SumaDensidad suma = SumaDensidad::kTruncada);

// Asymptotic variance factor of the estimate at H (Var(H) ≈ V/n'), from the numerical
// derivative of ln f* on the 4999 frequencies of a nominal length 10000.
double VarianzaWhittleFgn(double H, SumaDensidad suma = SumaDensidad::kTruncada);

// What the objective needs of the frequencies alone, computed once: 1 − cos λ_j and the
// nine logarithms ln|λ_j|, ln|λ_j − 2πk|, ln|λ_j + 2πk|, k = 1..4, kept exactly in compact
// form. Objectives at the same frequencies can share one table.
class TablaFgn {
 public:
  static constexpr int kTerminos = 9;
  explicit TablaFgn(const Vector& lambda);
  // The Fourier frequencies λ_j = 2πj/n', j = 1..m.
  TablaFgn(std::uint32_t m, std::uint32_t nPrima);
  std::uint32_t Frecuencias() const { return unoMenosCos_.Longitud(); }
  const SucesionCompacta& UnoMenosCos() const { return unoMenosCos_; }
  // Term t: ln|λ| for t = 0, ln|λ − 2πk| for t = 2k − 1, ln|λ + 2πk| for t = 2k.
  const SucesionCompacta& Logaritmo(int t) const { return logs_[t]; }

 private:
  template <class Frecuencia>
  void Construir(std::uint32_t m, Frecuencia frecuencia);

  SucesionCompacta unoMenosCos_;
  std::array<SucesionCompacta, kTerminos> logs_;
};

// Whittle objective Σ_j I(j)/f*(λ_j; H) with θ taken over the given frequencies for the
// nominal length N. Everything that does not depend on H is computed once, here; an
// evaluation runs on all threads and adds the terms in frequency order, so its value does
// not depend on their number.
class ObjetivoWhittleFgn {
 public:
  ObjetivoWhittleFgn(const Vector& I, const Vector& lambda, std::uint32_t N,
                     SumaDensidad suma = SumaDensidad::kTruncada);
  // The ordinates I(1..m) at the frequencies of the table (m = tabla->Frecuencias()), the
  // first m elements of I (which may hold more: they are read where they are).
  ObjetivoWhittleFgn(std::shared_ptr<const Vector> I, std::shared_ptr<const TablaFgn> tabla,
                     std::uint32_t N, SumaDensidad suma = SumaDensidad::kTruncada);
  double operator()(double H) const;

 private:
  double dosSobreN_;
  SumaDensidad suma_;
  std::shared_ptr<const Vector> I_;
  std::shared_ptr<const TablaFgn> tabla_;
};
