// Aggregated Whittle estimator: Whittle FGN on the block means of the series.
#pragma once

#include <cstdint>

#include "estimators/hurst_whittle_fgn.h"
#include "numeric/vector.h"

// HurstWhittleFgn applied to Agregar(serie, nivel). Outputs written only on status 0.
// Status: 1 fewer than 100 samples; 13 nivel < 1 or n div nivel < 100; 18 constant
// series (or constant aggregated series); 25 every ordinate used is zero.
int HurstWhittleAgregado(const Vector& serie, std::uint32_t nivel, double& H,
                         double& inferior, double& superior,
                         SumaDensidad suma = SumaDensidad::kTruncada);
