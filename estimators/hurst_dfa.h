// Hurst parameter by detrended fluctuation analysis (DFA).
#pragma once

#include <cstdint>
#include <vector>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// Profile Y(i) = sum over t <= i of (x(t) - mean of the series). For each box size s
// (TamanosCajaDfa) the K = n div s boxes of s points from the start and the K boxes from
// the end (2K boxes, also when s divides n): in each box the least-squares polynomial of
// degree `orden` is removed and F2 = (1/s) * sum of the squared residuals;
// F(s) = sqrt(mean of the 2K values of F2), the K start boxes first, then the K end boxes.
// H = slope of the least-squares straight line through (log10 s, log10 F(s)).
// Each box's residual follows from sums of one pass over the box (its values minus its
// first value, against the abscissa centred in the box, through the discrete orthogonal
// polynomials of that abscissa, whose norms depend only on s); a box the polynomial fits so
// closely that this difference would cancel is fitted again on Y minus its box mean and its
// residuals summed one by one, so that it loses no digits. The profile is read a stretch at
// a time by a group of box sizes, and the groups share the threads (numeric/paralelo.h).
// Returns the status (estimators/estado.h), tested in this order:
//   1 n < 100; 34 orden outside 1..3; 35 cajaMinima < orden + 2; 5 cajasDecada outside
//   1..20; 36 fewer than 3 box sizes; 18 constant series; 37 F(s) = 0 for some size;
//   26 non-finite slope.
// On status 0: H, ejeX (log10 s) and ejeY (log10 F(s)).
Estimacion HurstDfa(const Vector& serie, std::int32_t orden, std::int32_t cajaMinima,
                    std::int32_t cajasDecada);

// The box sizes for n samples, increasing: s = cajaMinima, then
// s <- max(s + 1, floor(s * 10^(1/cajasDecada))), while s <= n div 4. Parameters are
// assumed valid (cajaMinima >= 1, cajasDecada 1..20).
std::vector<std::uint32_t> TamanosCajaDfa(std::uint32_t n, std::int32_t cajaMinima,
                                          std::int32_t cajasDecada);
