// Whittle estimator of H under the FARIMA(p, d, q) model, p and q in {0, 1}.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Minimises Whittle's objective over eta = (H, φ(1..p), ψ(1..q)) by the downhill simplex
// from (0.4999, 0, ..., 0); the 95 % interval of H uses C(1, 1) of
// CovarianzaWhittleFarima. The estimate's value is H; its figures are the orders "p" and
// "q", then φ and ψ as "AR1".."ARp" and "MA1".."MAq".
// Both polynomials carry a plus sign: X(t) + φ·X(t − 1) = ε(t) + ψ·ε(t − 1).
// When the simplex exhausts its budget it starts once more from its best vertex, with a
// fresh simplex built around it as the first one.
// Status: 1 fewer than 100 samples; 11 p or q outside 0..1; 18 constant series;
// 25 every ordinate used is zero; 44 the restarted simplex exhausted its budget too;
// 46 the minimum lies outside the stationary, invertible region.
// A singular covariance matrix (library error 7) goes through ErrorEjecucion.
Estimacion HurstWhittleFarima(const Vector& serie, int p, int q);

// True when eta lies in the model's stationary, invertible region: 0 < H < 1 (|d| < 0.5)
// and, for orders 0 or 1, every AR and MA coefficient of magnitude below 1 (the roots of
// 1 + φz and 1 + ψz outside the unit circle).
bool FarimaEstacionarioInvertible(const Vector& eta, int p, int q);

// f(λ; eta) = |1 + Σψ(k)e^{ikλ}|² / |1 + Σφ(k)e^{ikλ}|² · (2 sin(λ/2))^(−2(H − 0.5)),
// for any orders p, q >= 0 (Longitud(eta) >= p + q + 1).
Vector DensidadFarima(const Vector& eta, int p, int q, const Vector& lambda);

// (p + q + 1) × (p + q + 1) asymptotic covariance factor: Cov(eta) ≈ C/n'.
// Singular information matrix: error 7.
Matrix CovarianzaWhittleFarima(const Vector& eta, int p, int q);

// Whittle objective Σ_j I(j)/f(λ_j; eta). cos kλ, sin kλ and ln(2 sin(λ/2)) are computed
// once, here. An evaluation runs on all threads and adds the terms in frequency order, so
// its value does not depend on their number.
class ObjetivoWhittleFarima {
 public:
  ObjetivoWhittleFarima(int p, int q, const Vector& I, const Vector& lambda);
  // The ordinates I(1..m) at the Fourier frequencies λ_j = 2πj/n', j = 1..m: the first m
  // elements of I (which may hold more: they are read where they are).
  ObjetivoWhittleFarima(int p, int q, std::shared_ptr<const Vector> I, std::uint32_t m,
                        std::uint32_t nPrima);
  double operator()(const Vector& eta) const;

 private:
  template <class Frecuencia>
  void Preparar(Frecuencia frecuencia);

  int p_;
  int q_;
  std::size_t m_;
  std::shared_ptr<const Vector> I_;
  // Vectors rather than std::vector: their elements are not cleared on allocation, so the
  // parallel loop that fills them is the first to touch their pages, on all threads.
  Vector cos_;      // cos(k·λ_j), k = 1..max(p, q), frequency-major
  Vector sin_;      // sin(k·λ_j), same layout
  Vector log2Sin_;  // ln(2·sin(λ_j/2))
};
