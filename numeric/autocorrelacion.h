// Normalised autocorrelation of a series, by direct sums or through zero-padded Fourier
// transforms, whichever is cheaper.
//
// With transforms, the lag sums s(r) = Σ_j (x(j) - mean)·(x(j + r) - mean) of every lag come from one
// transform of the padded deviations and one of their squared magnitudes, at a cost of
// order L·log L for a padded length L >= 2n - 1, instead of n per lag. The normalisation is
// that of AutocorrelacionDirecta, whose results these equal to about 1e-12.
#pragma once

#include <cstdint>

#include "numeric/vector.h"

// Normalised autocorrelation at lags 0 .. puntos - 1 (element 1 is lag 0 and equals 1).
// sesgada != 0 divides the lag-r sum by n (biased), sesgada == 0 by n - r (unbiased).
// puntos = 0 or puntos > n: error kFalloPuntosAutocorrelacion.
Vector Autocorrelacion(const Vector& v, std::uint32_t puntos, int sesgada);

// The same by the direct O(n * puntos) sums, without the argument check; the reference
// against which faster methods are measured. Requires 1 <= puntos <= n.
Vector AutocorrelacionDirecta(const Vector& v, std::uint32_t puntos, int sesgada);

// Whether the transforms are worth it for puntos lags of n samples: they must be cheaper
// than the direct sums, and the direct sums long enough (about ten million terms) for the
// difference to matter.
bool ConvieneAutocorrelacionRapida(std::uint32_t n, std::uint32_t puntos);

// Padded length used for n samples: the smallest L >= 2n - 1 whose prime factors are all
// 2, 3 or 5 (1 for n <= 1).
std::int32_t LongitudRellenoAutocorrelacion(std::uint32_t n);

// Normalised autocorrelation at lags 0 .. puntos - 1 as AutocorrelacionDirecta computes it
// (sesgada != 0 divides by n, otherwise by n - r; element 1 is 1). Requires
// 1 <= puntos <= n and 2n - 1 <= 2^30.
Vector AutocorrelacionRapida(const Vector& v, std::uint32_t puntos, int sesgada);
