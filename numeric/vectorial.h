// Exponentials, logarithms and squares of whole arrays on the widest vectors the processor has.
//
// The code is compiled for several instruction sets (x86-64: from the SSE2 baseline to
// AVX2 and AVX-512) and the best one the processor supports is chosen when the program
// runs (Highway's dynamic dispatch). Each value depends only on its own argument, never on
// its place in the array nor on the array's length. Arguments outside a vector routine's
// range are given to the standard library's function.
#pragma once

#include <cstddef>

// y[i] = exp(a·x[i]) for i = 0..n-1, the product rounded to double as `a * x[i]` is
// (arguments outside 2^−54 <= |a·x| < 512, infinities and NaN go to std::exp);
// y may be x. The values are those of std::exp of the GNU C library, bit for bit: its
// algorithm on vectors, with fused multiply-adds where the processor has them, as the
// library's own variant for such processors uses them, and none elsewhere.
void ExpEscalada(double a, const double* x, double* y, std::size_t n);

// y[i] = ln x[i] for i = 0..n-1; y may be x. The values are those of std::log of the GNU C
// library, bit for bit: its algorithm on vectors on the instruction sets with fused
// multiply-adds, std::log itself on the others and for arguments that are not positive
// normal numbers.
void Logaritmos(const double* x, double* y, std::size_t n);

// y[i] = (pow(a[i], 2.0) + pow(b[i], 2.0)) / divisor for i = 0..n-1, with the values of
// std::pow of the GNU C library, bit for bit (x·x on vectors wherever that is sure to be
// them); y may be a or b.
void SumaDeCuadrados(const double* a, const double* b, double divisor, double* y,
                     std::size_t n);
