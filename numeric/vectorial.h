// Exponentials of whole arrays on the widest vectors the processor has.
//
// The code is compiled for several instruction sets (x86-64: from the SSE2 baseline to
// AVX2 and AVX-512) and the best one the processor supports is chosen when the program
// runs (Highway's dynamic dispatch). Each value depends only on its own argument, never on
// its place in the array nor on the array's length. Arguments outside the vector
// routine's range (|x| < 2^−54 or >= 512, infinite or NaN) are given to std::exp.
#pragma once

#include <cstddef>

// y[i] = exp(a·x[i]) for i = 0..n-1, the product rounded to double as `a * x[i]` is;
// y may be x. The values are those of std::exp of the GNU C library, bit for bit: its
// algorithm on vectors, with fused multiply-adds where the processor has them, as the
// library's own variant for such processors uses them, and none elsewhere.
void ExpEscalada(double a, const double* x, double* y, std::size_t n);
