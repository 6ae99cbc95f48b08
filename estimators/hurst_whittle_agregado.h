// Aggregated Whittle estimator: Whittle FGN on the block means of the series.
#pragma once

#include <cstdint>

#include "estimators/hurst_whittle_fgn.h"
#include "estimators/estimacion.h"
#include "numeric/vector.h"

// HurstWhittleFgn applied to Agregar(serie, nivel).
// Status: 1 fewer than 100 samples; 13 nivel < 1 or n div nivel < 100; 18 constant
// series (or constant aggregated series); 25 every ordinate used is zero.
Estimacion HurstWhittleAgregado(const Vector& serie, std::uint32_t nivel,
                                SumaDensidad suma = SumaDensidad::kTruncada);
