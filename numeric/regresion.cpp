#include "numeric/regresion.h"

#include <cmath>
#include <utility>
#include <vector>

void Gaussj(Matrix& a, Vector& b) {
  const std::uint32_t n = b.Longitud();
  std::vector<std::uint32_t> indxc(n + 1), indxr(n + 1), ipiv(n + 1, 0);

  for (std::uint32_t i = 1; i <= n; ++i) {
    std::uint32_t irow = 0, icol = 0;
    double big = 0.0;
    for (std::uint32_t j = 1; j <= n; ++j) {
      if (ipiv[j] == 1) continue;
      for (std::uint32_t k = 1; k <= n; ++k) {
        if (ipiv[k] == 0) {
          // Greater-or-equal: among equal magnitudes the last one met becomes the pivot.
          if (std::fabs(a(j, k)) >= big) {
            big = std::fabs(a(j, k));
            irow = j;
            icol = k;
          }
        } else if (ipiv[k] > 1) {
          ErrorEjecucion(kFalloMatrizSingular);
        }
      }
    }
    // No candidate at all: only a NaN left in the remaining block (|NaN| >= 0 is false).
    if (irow == 0) ErrorEjecucion(kFalloMatrizSingular);
    ++ipiv[icol];
    if (irow != icol) {
      for (std::uint32_t l = 1; l <= n; ++l) std::swap(a(irow, l), a(icol, l));
      std::swap(b[irow], b[icol]);
    }
    indxr[i] = irow;
    indxc[i] = icol;
    if (a(icol, icol) == 0.0) ErrorEjecucion(kFalloMatrizSingular);
    const double pivinv = 1.0 / a(icol, icol);
    a(icol, icol) = 1.0;
    for (std::uint32_t l = 1; l <= n; ++l) a(icol, l) *= pivinv;
    b[icol] *= pivinv;
    for (std::uint32_t ll = 1; ll <= n; ++ll) {
      if (ll == icol) continue;
      const double dum = a(ll, icol);
      a(ll, icol) = 0.0;
      for (std::uint32_t l = 1; l <= n; ++l) a(ll, l) -= a(icol, l) * dum;
      b[ll] -= b[icol] * dum;
    }
  }
  for (std::uint32_t l = n; l >= 1; --l) {
    if (indxr[l] != indxc[l])
      for (std::uint32_t k = 1; k <= n; ++k) std::swap(a(k, indxr[l]), a(k, indxc[l]));
  }
}

Vector AjustePolinomio(const Vector& x, const Vector& y, int grado) {
  const std::uint32_t m = grado < 0 ? 0 : static_cast<std::uint32_t>(grado) + 1;
  Matrix alpha(m, m, 0.0);
  Vector beta(m, 0.0);
  Vector afunc(m);
  const std::uint32_t puntos = x.Longitud();
  for (std::uint32_t i = 1; i <= puntos; ++i) {
    if (m == 0) break;
    afunc[1] = 1.0;
    for (std::uint32_t j = 2; j <= m; ++j) afunc[j] = std::pow(x(i), static_cast<double>(j - 1));
    const double yi = y(i);  // error 0 when y is shorter than x
    for (std::uint32_t l = 1; l <= m; ++l) {
      const double wt = afunc(l);
      for (std::uint32_t k = 1; k <= l; ++k) alpha(l, k) += wt * afunc(k);
      beta[l] += yi * wt;
    }
  }
  for (std::uint32_t j = 2; j <= m; ++j)
    for (std::uint32_t k = 1; k < j; ++k) alpha(k, j) = alpha(j, k);
  Gaussj(alpha, beta);
  return beta;
}

Matrix Inversa(const Matrix& m) {
  Matrix copia(m);
  Vector b(copia.Filas(), 1.0);
  Gaussj(copia, b);
  return copia;
}

int ComprobarLineal(const Vector& x, const Vector& y, float umbral, int& esRecta) {
  if (x.Longitud() != y.Longitud()) return kLinealLongitudesDistintas;
  if (x.Longitud() < 5) return kLinealPocosPuntos;
  const Vector c = AjustePolinomio(x, y, 2);
  // On collinear points the fitted c(3) is rounding noise, and with a horizontal line
  // c(2) is noise too, so their ratio would decide at random. A quadratic term whose
  // effect over the whole range of x is negligible against the size of y counts as zero.
  double xmin = x(1), xmax = x(1), ymax = 0.0;
  for (std::uint32_t i = 1; i <= x.Longitud(); ++i) {
    xmin = std::fmin(xmin, x(i));
    xmax = std::fmax(xmax, x(i));
    ymax = std::fmax(ymax, std::fabs(y(i)));
  }
  const double rango = xmax - xmin;
  const bool despreciable = std::fabs(c(3)) * rango * rango <= 1e-9 * ymax;
  const bool curva =
      !despreciable && c(3) > 0.0 && c(2) < 0.0 && std::fabs(c(2) / c(3)) < umbral;
  esRecta = curva ? 0 : 1;
  return kLinealHecho;
}
