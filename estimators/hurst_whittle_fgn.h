// Whittle estimator of H under the fractional Gaussian noise model.
#pragma once

#include <cstdint>
#include <vector>

#include "numeric/vector.h"

// H minimising Whittle's objective over [0.4999, 1.0001] and its 95 % interval
// H ± 1.96·√(V/n'), V = VarianzaWhittleFgn(H). The second form also returns V.
// Outputs are written only when the status is 0.
// Status: 1 fewer than 100 samples; 18 constant series; 25 every ordinate used is zero.
int HurstWhittleFgn(const Vector& serie, double& H, double& inferior, double& superior);
int HurstWhittleFgn(const Vector& serie, double& H, double& inferior, double& superior,
                    double& V);

// FGN spectral density at the frequencies lambda (nine terms k = −4..4 of the aliasing
// sum), divided by θ = exp((2/N)·Σ ln f). Returns f*; the first form leaves θ in theta.
Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N, double& theta);
Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N);

// Asymptotic variance factor of the estimate at H (Var(H) ≈ V/n'), from the numerical
// derivative of ln f* on the 4999 frequencies of a nominal length 10000.
double VarianzaWhittleFgn(double H);

// Whittle objective Σ_j I(j)/f*(λ_j; H) with θ taken over the given frequencies for the
// nominal length N. Everything that does not depend on H is computed once, here.
class ObjetivoWhittleFgn {
 public:
  ObjetivoWhittleFgn(const Vector& I, const Vector& lambda, std::uint32_t N);
  double operator()(double H) const;

 private:
  std::size_t m_;
  double dosSobreN_;
  std::vector<double> I_;
  std::vector<double> unoMenosCos_;  // 1 − cos λ_j
  std::vector<double> logs_;         // 9 per frequency: ln|λ|, ln|λ ∓ 2πk|, k = 1..4
};
