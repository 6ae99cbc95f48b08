// Stationarity test: is H the same in k consecutive blocks of the series?
#pragma once

#include <cstdint>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Cuts the series into k blocks of L = n div k samples, estimates H and its variance
// factor V in each by Whittle FGN, and compares T = Σ L·(H(i) − Hm)²/V(i) with a
// chi-square of k − 1 degrees of freedom: the value P = 1 − ProbChi2(T, k − 1) and the
// figure "constante", 1 when P > alfa, else 0.
// Status: 1 fewer than 100 samples; 16 k < 2 or L < 100; 17 alfa outside [0, 1] or NaN;
// 18 the series or one of its blocks is constant; 25 a block whose ordinates are all zero.
Estimacion TestT(const Vector& serie, std::uint32_t k, double alfa);
