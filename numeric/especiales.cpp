#include "numeric/especiales.h"

#include <cmath>

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
    if (x < 0.0) ErrorEjecucion(9);
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
  ErrorEjecucion(8);
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
  if (i > kMaxIteraciones) ErrorEjecucion(8);
  gammcf = std::exp(-x + a * std::log(x) - gln) * h;
}

double Gammp(double a, double x) {
  if (x < 0.0 || a <= 0.0) ErrorEjecucion(10);
  double resultado, gln;
  if (x < a + 1.0) {
    Gser(resultado, a, x, gln);
    return resultado;
  }
  Gcf(resultado, a, x, gln);
  return 1.0 - resultado;
}

double ProbChi2(double chi2, double nu) { return Gammp(nu * 0.5, chi2 * 0.5); }
