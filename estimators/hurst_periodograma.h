// Periodogram estimator of H: slope of log10 I against log10 λ over the lowest frequencies.
#pragma once

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Fits log10 I(λ_j) against log10 λ_j, j = 1..m, with m = floor(porcentaje·(n' − 1)·0.005)
// (porcentaje per cent of the positive Fourier frequencies of the transformed length n'),
// and returns H = (1 − slope)/2 with the log-log points, in increasing frequency.
// Status, checked in this order: 1 fewer than 100 samples; 10 porcentaje > 20 or not a
// number; 2 fewer than 5 frequencies; 18 constant series; 25 a zero ordinate among those
// used.
Estimacion HurstPeriodograma(const Vector& serie, float porcentaje);
