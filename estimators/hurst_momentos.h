// Hurst parameter from the absolute moments of the aggregated series.
#pragma once

#include <cstdint>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// For the aggregation levels m of the aggregated-variance method (NivelesAgregacion,
// estimators/hurst_varianza.h) takes AM(m) = (1/M) * sum over k = 1..M of
// |X(m)(k) - mean|, X(m)(k) the mean of block k of m samples (M = n div m, the trailing
// incomplete block dropped, as Agregar does) and mean that of the whole series, and fits
// a straight line to (log10 m, log10 AM(m)); H = 1 + slope.
// Returns the status (estimators/estado.h), tested in this order, the variance method's:
//   1 n < 100; 5 puntosDecada outside 1..20; 9 minM = 0; 8 minMuestras < 10;
//   2 fewer than 5 levels; 18 constant series; 38 AM(m) = 0 at some level;
//   26 non-finite slope.
// On status 0: H, ejeX (log10 m) and ejeY (log10 AM(m)).
Estimacion HurstMomentosAbsolutos(const Vector& serie, std::int32_t puntosDecada,
                                  std::uint32_t minM, std::int32_t minMuestras);
