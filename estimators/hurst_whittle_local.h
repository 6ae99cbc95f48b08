// Local Whittle (semiparametric) estimator of H over the lowest n'/factor frequencies.
#pragma once

#include <cstdint>
#include <vector>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// H minimising the concentrated local Whittle objective over [0.4999, 1.0001] using the
// m = n' div factor lowest Fourier frequencies, and its 95 % interval H ± 1.96·√(1/(4m))
// from the estimate's asymptotic variance 1/(4m). The interval ignores the estimator's
// bias, which grows with m where the spectrum departs from the power law (small factors).
// Status: 1 fewer than 100 samples; 12 factor < 2 (as a signed number) or
// n div factor < 100; 18 constant series; 25 every ordinate used is zero.
Estimacion HurstWhittleLocal(const Vector& serie, std::uint32_t factor);

// R(H) = ln(Σ I(j)·λ_j^(2H − 1) / m) − (2H − 1)·Σ ln λ_j / m, with ln λ_j computed once.
// An evaluation runs on all threads and adds the terms in frequency order, so its value
// does not depend on their number.
class ObjetivoWhittleLocal {
 public:
  ObjetivoWhittleLocal(const Vector& I, const Vector& lambda);
  // The ordinates I(1..m) at the Fourier frequencies λ_j = 2πj/n', j = 1..Longitud(I).
  ObjetivoWhittleLocal(Vector I, std::uint32_t nPrima);
  double operator()(double H) const;

 private:
  template <class Frecuencia>
  void Preparar(Frecuencia frecuencia);

  std::size_t m_;
  double sumaLog_;  // Σ ln λ_j
  Vector I_;
  std::vector<double> logLambda_;
};
