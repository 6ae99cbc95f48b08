#include "numeric/minimizacion.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "numeric/error.h"
#include "numeric/progreso.h"

namespace {

// Golden-section fraction (3 - √5)/2.
inline double Cgold() { return (3.0 - std::sqrt(5.0)) / 2.0; }

// 2^-26: keeps the tolerance positive at x = 0.
constexpr double kZeps = 1.490116119384766e-8;
constexpr int kMaxIteracionesBrent = 500;

// Progress of a search that ends when a measure of its size falls from `inicial` to
// `final`: the fraction of the way in logarithmic scale, which grows steadily as the
// search closes in. Each evaluation of the objective runs inside the part between the
// current fraction and an eighth of what is left, so the objective's own progress shows
// without ever going back.
class ProgresoBusqueda {
 public:
  ProgresoBusqueda() : observado_(ProgresoObservado()) {}
  void Medida(double inicial, double actual, double final_) {
    if (!observado_ || !(inicial > final_) || !(actual > 0) || !(final_ > 0)) return;
    const double f = std::log(inicial / actual) / std::log(inicial / final_);
    if (f > fraccion_) fraccion_ = f < 1.0 ? f : 1.0;
    Avance(fraccion_);
  }
  void Terminar() {
    if (observado_) Avance(1.0);
  }
  template <class F, class X>
  double Evaluar(const F& f, const X& x) {
    if (!observado_) return f(x);
    const double hasta = fraccion_ + (1.0 - fraccion_) / 8.0;
    TramoProgreso tramo(fraccion_, hasta);
    const double y = f(x);
    fraccion_ = hasta;
    return y;
  }

 private:
  bool observado_;
  double fraccion_ = 0.0;
};

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
  ProgresoBusqueda progreso;
  const double ancho0 = hi - lo;
  double x = lo + Cgold() * (hi - lo);
  double w = x, v = x;
  double fx = progreso.Evaluar(f, x);
  double fw = fx, fv = fx;
  double d = 0.0, e = 0.0;

  for (int iter = 1; iter <= kMaxIteracionesBrent; ++iter) {
    const double xm = (lo + hi) / 2.0;
    const double tol1 = tol * std::fabs(x) + kZeps;
    const double tol2 = 2.0 * tol1;
    if (std::fabs(x - xm) <= tol2 - (hi - lo) / 2.0) {
      progreso.Terminar();
      return x;
    }
    // The search stops when the bracket is about 4·tol1 wide.
    progreso.Medida(ancho0, hi - lo, 4.0 * tol1);

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
    const double fu = progreso.Evaluar(f, u);

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
  ErrorEjecucion(kFalloIteracionesMinUnaVble);
}

bool MinimoVariasVbles(const FuncionObjetivo& f, const Vector& x0, double tolx, double tolf,
                       Vector& mejor) {
  const std::uint32_t N = x0.Longitud();
  Matrix P(N + 1, N);
  Vector y(N + 1);
  {
    // The starting simplex: x0 and, per coordinate, x0 with that coordinate 5 % larger
    // (0.025 when it is zero).
    TramoProgreso tramo(0.0, 0.05);
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
  }
  TramoProgreso tramo(0.05, 1.0);
  std::int32_t nfunk = 0;
  const bool convergido = AmoebaAcotada(P, y, tolx, tolf, f, nfunk);
  mejor = P.Fila(1);
  return convergido;
}

Vector MinVariasVbles(const FuncionObjetivo& f, const Vector& x0, double tolx, double tolf) {
  Vector mejor;
  if (!MinimoVariasVbles(f, x0, tolx, tolf, mejor)) ErrorEjecucion(kFalloIteracionesAmoeba);
  return mejor;
}

void Amoeba(Matrix& P, Vector& y, double tolx, double tolf, const FuncionObjetivo& f,
            std::int32_t& nfunk) {
  if (!AmoebaAcotada(P, y, tolx, tolf, f, nfunk)) ErrorEjecucion(kFalloIteracionesAmoeba);
}

bool AmoebaAcotada(Matrix& P, Vector& y, double tolx, double tolf,
                   const FuncionObjetivo& objetivo, std::int32_t& nfunk) {
  const std::uint32_t mpts = y.Longitud();
  const std::uint32_t N = mpts - 1;
  const std::int32_t nmax = 200 * static_cast<std::int32_t>(N);
  Vector psum = SumasColumnas(P);
  nfunk = 0;
  ProgresoBusqueda progreso;
  const FuncionObjetivo f = [&](const Vector& x) { return progreso.Evaluar(objetivo, x); };
  double spreadF0 = -1.0, spreadX0 = -1.0;

  std::uint32_t ilo, ihi, inhi;
  bool convergido = true;
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
    if (nfunk >= nmax) {
      convergido = false;
      break;
    }
    // Progress: the slower of the two spreads on its way down to its tolerance.
    if (spreadF0 < 0) {
      spreadF0 = spreadF;
      spreadX0 = spreadX;
    }
    const double fraccionF = spreadF <= tolf ? 1.0 : std::log(spreadF0 / spreadF) / std::log(spreadF0 / tolf);
    const double fraccionX = spreadX <= tolx ? 1.0 : std::log(spreadX0 / spreadX) / std::log(spreadX0 / tolx);
    progreso.Medida(1.0, std::exp(-std::min(fraccionF, fraccionX)), std::exp(-1.0));
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
  if (convergido) progreso.Terminar();
  return convergido;
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
