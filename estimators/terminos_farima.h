// The terms of the FARIMA(p, d, q) Whittle objective for orders p, q in {0, 1}, on the
// processor's widest vectors (chosen when the program runs, as in numeric/vectorial.h).
#pragma once

#include <cstddef>

// t[i] = I[i] / ((B / A)·t[i]) for i = 0..n-1, with A = (1 + φ·c[i])² + (φ·s[i])² (1 when
// p = 0) and B the same with ψ (1 when q = 0), each operation rounded as written: the same
// values, bit for bit, as that expression on doubles. c and s (cos λ and sin λ) are read
// only when p or q is 1.
void TerminosFarima(int p, int q, double phi, double psi, const double* c, const double* s,
                    const double* I, double* t, std::size_t n);
