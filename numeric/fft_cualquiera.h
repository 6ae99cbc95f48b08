// The lowest terms of the discrete Fourier transform of real samples at exactly their
// length, for any length (the mixed-radix transform shortens lengths with a prime factor
// above 37).
#pragma once

#include <cstdint>

// re[k] + i·im[k] = Σ_{t=0}^{n−1} x[t]·e^{−2πi·tk/n} for k = 0..m−1, unscaled, with
// 1 <= m <= n (error 0 otherwise, and when n + m exceeds 2^30). re and im hold at least
// m doubles and must not alias x.
// When every prime factor of n is at most 37 this is FftPrecisa at n. Otherwise it is
// Bluestein's chirp-z transform: with w_t = e^{−iπt²/n}, the terms are
// w_k·Σ_t (x[t]·w_t)·conj(w_{k−t}), a linear convolution computed circularly by
// FftPrecisa at the smallest length M = 2^a·3^b·5^c >= n + m − 1 (six real transforms:
// two per complex one). The chirp angles are π·(t² mod 2n)/n, reduced exactly in
// integers, and the powers e^{−2πi·r/(2n)} come from two directly evaluated tables, so
// the error stays near 1e-14 of the largest term at any n.
// Work storage is allocated per call; concurrent calls are safe.
void DftPrimerasFrecuencias(std::int32_t n, const double* x, std::int32_t m, double* re,
                            double* im);

// The same for the samples x[t] − media, without a centred copy where it can: an even
// length the mixed-radix transform takes comes from the half-length transform
// (PrimerosTerminosDeReal), with the mean subtracted as the samples are read; other lengths
// centre a copy, over which the transform's imaginary part goes when the mixed-radix
// transform takes the length.
void DftPrimerasFrecuenciasCentradas(std::int32_t n, const double* x, double media,
                                     std::int32_t m, double* re, double* im);

// The smallest number of the form 2^a·3^b·5^c that is at least n (1 for n <= 1).
std::int64_t LongitudSuave(std::int64_t n);
