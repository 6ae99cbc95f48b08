// Hurst parameter by rescaled-range (R/S) analysis.
#pragma once

#include <cstdint>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Computes R/S on blocks of several lengths d (block starts n div bloques apart) and
// fits a straight line to all the points (log10 d, log10 R/S); H is its slope.
// Lags: minD..9 one by one when minD < 10, then from max(10, minD) multiplying by
// 10^(1/puntosDecada) while a lag still yields at least minMuestras blocks.
// Returns the status (estimators/estado.h), tested in this order:
//   1 n < 100; 4 bloques outside 2..15; 5 puntosDecada outside 1..20; 7 minD < 2;
//   6 minMuestras < 1; 2 fewer than 5 lags kept; 18 constant series;
//   19 a block of constant values (zero standard deviation); 26 non-finite slope.
// On status 0: H, ejeX (log10 d of every R/S value) and ejeY (log10 R/S).
Estimacion HurstRS(const Vector& serie, std::int32_t puntosDecada, std::int32_t bloques,
                   std::uint32_t minD, std::int32_t minMuestras);
