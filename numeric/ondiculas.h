// Daubechies extremal-phase (minimum-phase) orthonormal scaling filters.
#pragma once

#include <span>

// Largest number of vanishing moments tabulated.
inline constexpr int kMaxMomentosNulos = 10;

// The scaling (low-pass) filter h[0..2N-1] of the Daubechies wavelet with N vanishing
// moments, 1 <= N <= 10 (error 0 otherwise), in the usual order, the one of Daubechies'
// tables: N = 1 gives (1, 1)/√2, N = 2 gives (1+√3, 3+√3, 3−√3, 1−√3)/(4√2) and N = 3
// starts with 0.33267055295008263. Normalised so that Σh = √2 and Σh² = 1. The values
// are the exact filters (computed by spectral factorisation to 60 digits) rounded to
// the nearest double.
std::span<const double> FiltroDaubechies(int momentos);
