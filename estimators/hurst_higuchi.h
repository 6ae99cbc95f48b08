// Hurst parameter by Higuchi's method (fractal dimension of the profile's curve).
#pragma once

#include <cstdint>
#include <vector>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Profile Y(i) = sum over t <= i of (x(t) - mean of the series), i = 1..N (N = n). For
// each lag k (RetardosHiguchi) and m = 1..k, with M = (N - m) div k segments:
//   L_m(k) = (sum over i = 1..M of |Y(m + ik) - Y(m + (i - 1)k)|) * (N - 1) / (M k) / k,
// L(k) = mean of L_m(k) over the m with M > 0. D = -slope of the least-squares straight
// line through (log10 k, log10 L(k)); H = 2 - D. The sums over i run in index order for
// each m; all m of a lag are swept together, so the cost is O(N) per lag.
// retardoMaximo 0 takes min(n div 10, 10000).
// Returns the status (estimators/estado.h), tested in this order:
//   1 n < 100; 39 retardoMaximo != 0 and < 10; 5 retardosDecada outside 1..20;
//   41 k_max >= n; 40 fewer than 3 lags; 18 constant series;
//   42 L(k) = 0 for some lag; 26 non-finite slope.
// On status 0: H, ejeX (log10 k), ejeY (log10 L(k)) and the figure "retardo máximo", the
// k_max in effect (automatic or given).
Estimacion HurstHiguchi(const Vector& serie, std::int32_t retardoMaximo,
                        std::int32_t retardosDecada);

// The lags up to kMax, increasing: k = 1, then k <- max(k + 1, floor(k * 10^(1/retardosDecada)))
// while k <= kMax. retardosDecada is assumed to be 1..20.
std::vector<std::uint32_t> RetardosHiguchi(std::uint32_t kMax, std::int32_t retardosDecada);
