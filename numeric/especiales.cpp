#include "numeric/especiales.h"

#include <cmath>
#include <limits>

#include "numeric/error.h"

namespace {

// Lanczos series of ln Γ(x): returns ln(√(2π)·ser/x) and tmp, with Γ(x) = e^(that − tmp).
void SerieLanczos(double x, double& logSerie, double& tmp) {
  static constexpr double cof[6] = {76.18009172947146,     -86.50532032941678,
                                    24.01409824083091,     -1.231739572450155,
                                    0.001208650973866179,  -5.395239384953e-06};
  tmp = (x + 5.5) - (x + 0.5) * std::log(x + 5.5);
  double ser = 1.000000000190015;
  double y = x;
  for (int j = 0; j < 6; ++j) {
    y = y + 1.0;
    ser = ser + cof[j] / y;
  }
  logSerie = std::log(2.5066282746310007 * ser / x);
}

constexpr int kMaxIteraciones = 100;
constexpr double kEps = 3e-7;
constexpr double kFpMin = 1e-30;

}  // namespace

double Gamma(double x) {
  double logSerie, tmp;
  SerieLanczos(x, logSerie, tmp);
  return std::exp(logSerie - tmp);
}

double LnGamma(double x) {
  // Where Γ(x) is representable take the logarithm of the very value Gamma gives, so the
  // incomplete gamma function keeps its values there; beyond, stay in log form.
  const double g = Gamma(x);
  if (std::isfinite(g) && g > 0.0) return std::log(g);
  double logSerie, tmp;
  SerieLanczos(x, logSerie, tmp);
  return logSerie - tmp;
}

void Gser(double& gamser, double a, double x, double& gln) {
  gln = LnGamma(a);
  if (x <= 0.0) {
    if (x < 0.0) ErrorEjecucion(kFalloGserNegativo);
    gamser = 0.0;
    return;
  }
  double ap = a;
  double sum = 1.0 / a;
  double del = sum;
  for (int n = 1; n <= kMaxIteraciones; ++n) {
    ap += 1.0;
    del *= x / ap;
    sum += del;
    if (std::fabs(del) < std::fabs(sum) * kEps) {
      gamser = sum * std::exp(-x + a * std::log(x) - gln);
      return;
    }
  }
  ErrorEjecucion(kFalloIteracionesGamma);
}

void Gcf(double& gammcf, double a, double x, double& gln) {
  gln = LnGamma(a);
  double b = x + 1.0 - a;
  double c = 1.0 / kFpMin;
  double d = 1.0 / b;
  double h = d;
  int i = 1;
  for (; i <= kMaxIteraciones; ++i) {
    const double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < kFpMin) d = kFpMin;
    c = b + an / c;
    if (std::fabs(c) < kFpMin) c = kFpMin;
    d = 1.0 / d;
    const double del = d * c;
    h *= del;
    if (std::fabs(del - 1.0) < kEps) break;
  }
  if (i > kMaxIteraciones) ErrorEjecucion(kFalloIteracionesGamma);
  gammcf = std::exp(-x + a * std::log(x) - gln) * h;
}

double Gammp(double a, double x) {
  if (x < 0.0 || a <= 0.0) ErrorEjecucion(kFalloArgumentosGammp);
  double resultado, gln;
  if (x < a + 1.0) {
    Gser(resultado, a, x, gln);
    return resultado;
  }
  Gcf(resultado, a, x, gln);
  return 1.0 - resultado;
}

double ProbChi2(double chi2, double nu) { return Gammp(nu * 0.5, chi2 * 0.5); }

namespace {

// Below this the recurrences move the argument up before the asymptotic series is summed.
constexpr double kInicioAsintotico = 10.0;

// B_2k for k = 1..9, the Bernoulli numbers of the asymptotic series.
constexpr double kBernoulli[9] = {1.0 / 6.0,     -1.0 / 30.0,  1.0 / 42.0,
                                  -1.0 / 30.0,   5.0 / 66.0,   -691.0 / 2730.0,
                                  7.0 / 6.0,     -3617.0 / 510.0, 43867.0 / 798.0};

// The positive zero of ψ split into a double and the rest, and the Taylor coefficients
// of ψ about it, c_k = (−1)^(k+1)·ζ(k + 1, x0), k = 1..10.
constexpr double kCeroDigammaAlto = 1.4616321449683622;
constexpr double kCeroDigammaBajo = 9.549995429965697715e-17;
constexpr double kTaylorCero[10] = {
    0.9676722454476211704274448,   -0.4427631689835921060928653,
    0.2584997609556510106244014,   -0.1639427054424065275042513,
    0.1078240506912623657571829,   -0.07219956125645471092612178,
    0.04880428816414310722509253,  -0.0331611264748473592922584,
    0.02259764823221810465962483,  -0.01542476590494895913880032};
// Half-width of the interval about x0 where the Taylor series is used: beyond it |ψ| >
// 0.015, so the rounding of the recurrence stays far below 1e-12 of the value.
constexpr double kRadioCero = 1.0 / 64.0;

}  // namespace

double Digamma(double x) {
  if (!(x > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  const double t = (x - kCeroDigammaAlto) - kCeroDigammaBajo;
  if (std::fabs(t) <= kRadioCero) {
    double p = 0.0;
    for (int k = 9; k >= 0; --k) p = p * t + kTaylorCero[k];
    return p * t;
  }
  double inversas = 0.0;
  while (x < kInicioAsintotico) {
    inversas += 1.0 / x;
    x += 1.0;
  }
  // ψ(x) ~ ln x − 1/(2x) − Σ B_2k / (2k·x^2k); the terms past k = 7 are below 1e-17.
  const double x2 = 1.0 / (x * x);
  double serie = 0.0;
  for (int k = 7; k >= 1; --k) serie = (serie + kBernoulli[k - 1] / (2 * k)) * x2;
  return std::log(x) - 0.5 / x - serie - inversas;
}

double Trigamma(double x) {
  if (!(x > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  double inversas = 0.0;
  while (x < kInicioAsintotico) {
    inversas += 1.0 / (x * x);
    x += 1.0;
  }
  // ψ′(x) ~ 1/x + 1/(2x²) + Σ B_2k / x^(2k+1); the terms past k = 9 are below 1e-19.
  const double x2 = 1.0 / (x * x);
  double serie = 0.0;
  for (int k = 9; k >= 1; --k) serie = (serie + kBernoulli[k - 1]) * x2;
  return (1.0 + 0.5 / x + serie) / x + inversas;
}
