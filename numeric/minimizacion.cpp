#include "numeric/minimizacion.h"

#include <cmath>
#include <utility>

#include "numeric/error.h"

namespace {

// Golden-section fraction (3 - √5)/2.
inline double Cgold() { return (3.0 - std::sqrt(5.0)) / 2.0; }

// 2^-26: keeps the tolerance positive at x = 0.
constexpr double kZeps = 1.490116119384766e-8;
constexpr int kMaxIteracionesBrent = 500;

Vector SumasColumnas(const Matrix& P) {
  Vector psum(P.Columnas());
  for (std::uint32_t j = 1; j <= P.Columnas(); ++j) {
    double suma = 0.0;
    for (std::uint32_t i = 1; i <= P.Filas(); ++i) suma += P(i, j);
    psum[j] = suma;
  }
  return psum;
}

}  // namespace

double MinUnaVble(const FuncionObjetivoUnaVble& f, double a, double b, double tol) {
  double lo, hi;
  if (a > b) {
    lo = b;
    hi = a;
  } else {
    lo = a;
    hi = b;
  }
  double x = lo + Cgold() * (hi - lo);
  double w = x, v = x;
  double fx = f(x);
  double fw = fx, fv = fx;
  double d = 0.0, e = 0.0;

  for (int iter = 1; iter <= kMaxIteracionesBrent; ++iter) {
    const double xm = (lo + hi) / 2.0;
    const double tol1 = tol * std::fabs(x) + kZeps;
    const double tol2 = 2.0 * tol1;
    if (std::fabs(x - xm) <= tol2 - (hi - lo) / 2.0) return x;

    bool parabola = false;
    if (std::fabs(e) > tol1) {
      // Parabola through x, w and v.
      const double r = (x - w) * (fx - fv);
      double q = (x - v) * (fx - fw);
      double p = (x - v) * q - (x - w) * r;
      q = 2.0 * (q - r);
      if (q > 0.0) p = -p;
      q = std::fabs(q);
      const double etemp = e;
      e = d;
      if (std::fabs(p) < std::fabs(q * etemp / 2.0) && q * (lo - x) < p && p < q * (hi - x)) {
        parabola = true;
        d = p / q;
        const double u = x + d;
        if (u - lo < tol2 || hi - u < tol2) d = xm - x >= 0.0 ? tol1 : -tol1;
      }
    }
    if (!parabola) {
      e = x >= xm ? lo - x : hi - x;
      d = Cgold() * e;
    }

    double u;
    if (std::fabs(d) >= tol1)
      u = x + d;
    else
      u = d >= 0.0 ? x + tol1 : x - tol1;
    const double fu = f(u);

    if (fu <= fx) {
      if (u >= x)
        lo = x;
      else
        hi = x;
      v = w;
      fv = fw;
      w = x;
      fw = fx;
      x = u;
      fx = fu;
    } else {
      if (u < x)
        lo = u;
      else
        hi = u;
      if (fu <= fw || w == x) {
        v = w;
        fv = fw;
        w = u;
        fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u;
        fv = fu;
      }
    }
  }
  ErrorEjecucion(12);
}

Vector MinVariasVbles(const FuncionObjetivo& f, const Vector& x0, double tolx, double tolf) {
  const std::uint32_t N = x0.Longitud();
  Matrix P(N + 1, N);
  Vector y(N + 1);
  P.PonerFila(1, x0);
  y = f(x0);
  for (std::uint32_t k = 1; k <= N; ++k) {
    Vector xt = x0;
    if (xt(k) != 0.0)
      xt[k] = 1.05 * xt(k);
    else
      xt[k] = 0.025;
    y[k + 1] = f(xt);
    P.PonerFila(k + 1, xt);
  }
  std::int32_t nfunk = 0;
  Amoeba(P, y, tolx, tolf, f, nfunk);
  return P.Fila(1);
}

void Amoeba(Matrix& P, Vector& y, double tolx, double tolf, const FuncionObjetivo& f,
            std::int32_t& nfunk) {
  const std::uint32_t mpts = y.Longitud();
  const std::uint32_t N = mpts - 1;
  const std::int32_t nmax = 200 * static_cast<std::int32_t>(N);
  Vector psum = SumasColumnas(P);
  nfunk = 0;

  std::uint32_t ilo, ihi, inhi;
  for (;;) {
    // Best (ilo), worst (ihi) and next-worst (inhi) vertices.
    ilo = 1;
    if (y(2) >= y(1)) {
      ihi = 2;
      inhi = 1;
    } else {
      ihi = 1;
      inhi = 2;
    }
    for (std::uint32_t i = 1; i <= mpts; ++i) {
      if (y(i) <= y(ilo)) ilo = i;
      if (y(i) > y(ihi)) {
        inhi = ihi;
        ihi = i;
      } else if (y(i) > y(inhi) && i != ihi) {
        inhi = i;
      }
    }

    const double spreadF = std::fabs(y(ihi) - y(ilo));
    double spreadX = 0.0;
    for (std::uint32_t j = 1; j <= N; ++j) {
      const double dx = std::fabs(P(ihi, j) - P(ilo, j));
      if (dx > spreadX) spreadX = dx;
    }
    if (spreadX <= tolx && spreadF <= tolf) break;
    if (nfunk >= nmax) ErrorEjecucion(11);
    nfunk += 2;

    double ytry = ProbarVertice(P, y, psum, f, ihi, -1.0);  // reflection
    if (ytry <= y(ilo)) {
      ProbarVertice(P, y, psum, f, ihi, 2.0);  // expansion
    } else if (ytry >= y(inhi)) {
      const double ysave = y(ihi);
      ytry = ProbarVertice(P, y, psum, f, ihi, 0.5);  // contraction
      if (ytry >= ysave) {
        // Shrink every vertex halfway towards the best one.
        for (std::uint32_t i = 1; i <= mpts; ++i) {
          if (i == ilo) continue;
          for (std::uint32_t j = 1; j <= N; ++j) {
            psum[j] = (P(i, j) + P(ilo, j)) / 2.0;
            P(i, j) = psum(j);
          }
          y[i] = f(psum);
        }
        nfunk += static_cast<std::int32_t>(N);
        psum = SumasColumnas(P);
      }
    } else {
      nfunk -= 1;
    }
  }

  std::swap(y[1], y[ilo]);
  for (std::uint32_t j = 1; j <= N; ++j) std::swap(P(1, j), P(ilo, j));
}

double ProbarVertice(Matrix& P, Vector& y, Vector& psum, const FuncionObjetivo& f,
                     std::uint32_t ihi, double fac) {
  const std::uint32_t N = psum.Longitud();
  const double fac1 = (1.0 - fac) / N;
  const double fac2 = fac1 - fac;
  Vector ptry(N);
  for (std::uint32_t j = 1; j <= N; ++j) ptry[j] = psum(j) * fac1 - P(ihi, j) * fac2;
  const double ytry = f(ptry);
  if (ytry < y(ihi)) {
    y[ihi] = ytry;
    for (std::uint32_t j = 1; j <= N; ++j) {
      psum[j] += ptry(j) - P(ihi, j);
      P(ihi, j) = ptry(j);
    }
  }
  return ytry;
}
