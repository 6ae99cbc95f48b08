// Linear solver (Gauss-Jordan with full pivoting), least-squares polynomial fit, matrix
// inverse and the curvature test of a log-log curve.
#pragma once

#include "numeric/vector.h"

// Solves a * x = b in place: afterwards b holds x and a the inverse of the matrix passed
// in. n is Longitud(b); a needs at least n rows and columns. Singular matrix: error 7.
void Gaussj(Matrix& a, Vector& b);

// Unweighted least-squares fit of y ~ c(1) + c(2) x + ... + c(grado + 1) x^grado by the
// normal equations over the Longitud(x) points. Returns the grado + 1 coefficients.
// Singular system (e.g. all x equal): error 7; y shorter than x: error 0.
Vector AjustePolinomio(const Vector& x, const Vector& y, int grado);

// Inverse of a square matrix through Gaussj. Singular matrix: error 7.
Matrix Inversa(const Matrix& m);

// Decides whether the curve (x, y) is a straight line by fitting a parabola
// y ~ c(1) + c(2) x + c(3) x^2: the curve is bent (esRecta = 0) exactly when
// c(3) > 0, c(2) < 0 and |c(2) / c(3)| < umbral; otherwise esRecta = 1.
// Returns kLinealHecho when done, kLinealLongitudesDistintas when the lengths differ,
// kLinealPocosPuntos with fewer than 5 points; esRecta is written only when done. The
// numbers are the estimator statuses of the same meaning (estimators/estado.h checks it),
// so the callers hand them on as they are.
inline constexpr int kLinealHecho = 0;
inline constexpr int kLinealPocosPuntos = 2;
inline constexpr int kLinealLongitudesDistintas = 3;
int ComprobarLineal(const Vector& x, const Vector& y, float umbral, int& esRecta);
