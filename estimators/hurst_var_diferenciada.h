// Hurst parameter from the differences of the aggregated variance between levels.
#pragma once

#include <cstdint>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Builds the levels m(1..K) and variances V(m(j)) exactly as HurstVarianza, then fits a
// straight line to (log10 m(j), log10 |V(m(j + 1)) - V(m(j))|) for j = 1..K - 1;
// H = 1 + slope / 2.
// Returns the status (estimators/estado.h), tested in this order:
//   1 n < 100; 5 puntosDecada outside 1..20; 9 minM = 0; 8 minMuestras < 10;
//   2 fewer than 6 levels; 18 constant series; 21 two equal consecutive variances;
//   26 non-finite slope.
// On status 0: H and the points (ejeX, ejeY).
Estimacion HurstVarDiferenciada(const Vector& serie, std::int32_t puntosDecada,
                                std::uint32_t minM, std::int32_t minMuestras);
