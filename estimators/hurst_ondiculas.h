// Wavelet estimator of H (Abry and Veitch): the slope of the log2 energy of the wavelet
// details across octaves, fitted by weighted least squares.
#pragma once

#include <cstdint>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// With h the Daubechies extremal-phase scaling filter of N = momentos vanishing moments
// (numeric/ondiculas.h), L = 2N and g[l] = (−1)^l·h[L−1−l]: a_0 = x − mean (n_0 = n);
// while n_{j−1} >= L, octave j has n_j = floor((n_{j−1} − L)/2) + 1 coefficients
// a_j[k] = Σ_l h[l]·a_{j−1}[2k+l], d_j[k] = Σ_l g[l]·a_{j−1}[2k+l] (no wrap, no
// padding). μ_j = Σ_k d_j[k]² / n_j; y_j = log2 μ_j − γ_j with
// γ_j = ψ(n_j/2)/ln 2 − log2(n_j/2) and σ_j² = ψ′(n_j/2)/(ln 2)². Weighted least squares
// of y_j on j over j = j1..j2 with weights 1/σ_j² gives the slope α, the intercept b and
// Var(α) = S0/Δ; H = (α + 1)/2, and the 95 % interval is H ± 1.959963984540054·√Var(α)/2.
// octavaFinal = 0 takes j2 = the largest octave with n_j >= 4; an explicit j2 beyond the
// last octave computed is lowered to that octave.
// Status, checked in this order: 1 fewer than 100 samples; 29 momentos outside 1..10;
// 30 octavaInicial < 1; 31 octavaFinal != 0 and octavaFinal < octavaInicial + 2;
// 32 fewer than 3 octaves in [j1, j2] (j2 as used); 18 constant series; 33 μ_j = 0 for
// some j in [j1, j2]; 26 non-finite H (an energy that overflows).
// On status 0: H, the interval, the figure "octava final" = the j2 used, ejeX = j and
// ejeY = y_j for j = j1..j2, and ajusteY = b + α·j at each of them.
Estimacion HurstOndiculas(const Vector& serie, std::int32_t momentos,
                          std::int32_t octavaInicial, std::int32_t octavaFinal);
