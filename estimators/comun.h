// estimators/: one file per Hurst estimator, pure functions over numeric/ (no Qt).
//
// Helpers shared by the estimators: the checks they make before computing, the Fourier
// frequencies of the frequency-domain methods and the common end of the log-log fits.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "estimators/estado.h"
#include "estimators/estimacion.h"
#include "numeric/regresion.h"
#include "numeric/vector.h"

// True when every sample has the same value (an empty or one-sample series counts as
// constant): such a series has no Hurst parameter and every estimator refuses it.
inline bool SerieConstante(const Vector& serie) {
  const std::uint32_t n = serie.Longitud();
  if (n < 2) return true;
  const double* x = serie.Datos();
  const double primero = x[0];
  for (std::uint32_t i = 1; i < n; ++i) {
    if (!(x[i] == primero)) return false;
  }
  return true;
}

// True when x holds at least two different values, the condition for a least-squares
// straight line through the points to be determined.
inline bool DosAbscisasDistintas(const Vector& x) {
  const std::uint32_t n = x.Longitud();
  if (n < 2) return false;
  const double* p = x.Datos();
  for (std::uint32_t i = 1; i < n; ++i) {
    if (p[i] != p[0]) return true;
  }
  return false;
}

// True when the samples the periodogram uses, 1..LongitudTransformable(n), all have the
// same value (in particular when the whole series is constant).
bool SerieAnalizadaConstante(const Vector& serie);

// The positive Fourier frequencies λ_j = 2πj/n', j = 1..m; the periodogram ordinates at
// them are OrdenadasPeriodograma(serie, m).
Vector FrecuenciasDeFourier(std::uint32_t nPrima, std::uint32_t m);

// True when every one of I[0..m-1] is exactly zero (a flat Whittle objective).
bool OrdenadasTodasNulas(const double* I, std::size_t m);

// The Whittle estimators' ordinates: those of the m = (n' − 1)/2 positive Fourier
// frequencies of the transformed length n' (into nPrima), as the first m elements of I
// (OrdenadasPeriodogramaSinCopia: it may hold more), as the part [0, hastaProgreso] of the
// progress. Returns 25 when every one of those m is zero, else 0.
int OrdenadasWhittle(const Vector& serie, double hastaProgreso,
                     std::shared_ptr<const Vector>& I, std::uint32_t& nPrima);

// The scales of the methods that sample them logarithmically (DFA box sizes, Higuchi lags):
// inicio, then s <- max(s + 1, floor(s * 10^(1/porDecada))), while s <= limite. porDecada is
// assumed to be 1..20.
std::vector<std::uint32_t> EscalasLogaritmicas(std::uint64_t inicio, std::uint64_t limite,
                                               std::int32_t porDecada);

// The common end of the log-log methods: fits the straight line through (x, y) and turns
// its slope into H with deH; on success the estimate holds H and the points. Status 24 for
// fewer than two distinct abscissas and 26 for a non-finite H.
template <class DePendiente>
Estimacion AjustarRectaLogLog(Vector& x, Vector& y, DePendiente deH) {
  if (!DosAbscisasDistintas(x)) return kEstadoAjusteSingular;
  const Vector c = AjustePolinomio(x, y, 1);
  const double h = deH(c(2));
  if (!std::isfinite(h)) return kEstadoResultadoNoFinito;
  Estimacion e;
  e.valor = h;
  e.Puntos(std::move(x), std::move(y));
  return e;
}
