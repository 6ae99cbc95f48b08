// Minimisers: Brent's method in one variable and the Nelder-Mead downhill simplex.
//
// The objective is a callable; whatever data it needs travel inside it (captured by a
// lambda, for instance) and are handed through unchanged on every evaluation.
// An exhausted iteration budget is reported through ErrorEjecucion: code 12 for
// MinUnaVble, code 11 for Amoeba / MinVariasVbles.
#pragma once

#include <cstdint>
#include <functional>

#include "numeric/vector.h"

// Objective of one variable.
using FuncionObjetivoUnaVble = std::function<double(double)>;
// Objective of several variables; receives the trial point.
using FuncionObjetivo = std::function<double(const Vector&)>;

// Abscissa of the minimum of f on [a, b] (ends in either order) by Brent's method with
// relative tolerance tol; at most 500 iterations (error 12 otherwise).
double MinUnaVble(const FuncionObjetivoUnaVble& f, double a, double b, double tol);

// Best vertex found by the downhill simplex started around x0 (Longitud(x0) >= 1); tolx
// and tolf are absolute tolerances on the simplex size and on the objective spread.
Vector MinVariasVbles(const FuncionObjetivo& f, const Vector& x0, double tolx, double tolf);
// The same search, reporting an exhausted budget by returning false instead of raising
// error 11; `mejor` holds the best vertex found either way.
bool MinimoVariasVbles(const FuncionObjetivo& f, const Vector& x0, double tolx, double tolf,
                       Vector& mejor);

// Simplex iteration on the N + 1 vertices in the rows of P with values y (modified in
// place). On return row 1 of P is the best vertex, y(1) its value, and nfunk the number
// of counted evaluations. Budget 200·N evaluations (error 11 when exceeded).
void Amoeba(Matrix& P, Vector& y, double tolx, double tolf, const FuncionObjetivo& f,
            std::int32_t& nfunk);
// The same iteration returning false when the budget is exhausted (row 1 of P is then the
// best vertex found) instead of raising error 11.
bool AmoebaAcotada(Matrix& P, Vector& y, double tolx, double tolf, const FuncionObjetivo& f,
                   std::int32_t& nfunk);

// Tries the worst vertex ihi moved through the centroid of the others by the factor fac
// (-1 reflects, 2 expands, 0.5 contracts); keeps it when it improves y(ihi), updating P,
// y and the column sums psum. Returns the objective at the trial point.
double ProbarVertice(Matrix& P, Vector& y, Vector& psum, const FuncionObjetivo& f,
                     std::uint32_t ihi, double fac);
