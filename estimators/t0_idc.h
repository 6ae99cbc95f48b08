// Fractal onset time T0 from the index of dispersion for counts (IDC).
#pragma once

#include <cstdint>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Each sample counts the events of one interval of tInicial seconds. For K time scales
// from tInicial to tFinal (puntosDecada per decade, re-anchored at every full decade)
// computes IDC(T) = variance / mean of the counts over intervals of T seconds and fits
// log10 |IDC - 1| ~ c1 + c2 log10 T; T0 = 10^(-c1 / c2) seconds.
// Returns the status (estimators/estado.h), tested in this order:
//   1 n < 100; 5 puntosDecada outside 1..20; 14 tInicial <= 0 or tFinal <= 0;
//   15 tFinal < tInicial, or n < 10 floor(tFinal / tInicial);
//   18 constant series; 24 all scales equal (no line can be fitted);
//   23 a non-positive mean count; 22 an IDC exactly 1; 26 non-finite T0.
// On status 0: T0, ejeX (log10 of each scale in seconds) and ejeY (log10 |IDC - 1|).
Estimacion T0IDC(const Vector& serie, std::int32_t puntosDecada, double tInicial,
                 double tFinal);
