// GPH estimator of H (Geweke and Porter-Hudak): log-periodogram regression over the
// lowest Fourier frequencies.
#pragma once

#include <cstdint>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// m = min(floor(n^exponente + 1e-9), (n − 1) div 2) frequencies λ_j = 2πj/n, j = 1..m,
// of the full series (any n: no shortening); I(λ_j) = |Σ_t (x(t) − mean)·e^{−iλ_j·t}|²
// / (2πn). The ordinary least-squares line of ln I(λ_j) on X_j = −ln(4·sin²(λ_j/2)) has
// slope d̂ and intercept c; H = d̂ + 0.5, and the 95 % interval is
// H ± 1.959963984540054·π/√(24m).
// Status, checked in this order: 1 fewer than 100 samples; 43 exponente outside
// 0.3..0.9 (NaN too); 2 m < 5; 18 constant series; 25 a zero ordinate I(λ_j);
// 26 non-finite H.
// On status 0: H, the interval, the figure "frecuencias" = m, ejeX = log10 λ_j,
// ejeY = log10 I(λ_j) and ajusteY = (c + d̂·X_j)/ln 10, in increasing frequency.
Estimacion HurstGph(const Vector& serie, double exponente);

// The number of frequencies m above for n samples (0 for n < 2).
std::uint32_t FrecuenciasGph(std::uint32_t n, double exponente);
