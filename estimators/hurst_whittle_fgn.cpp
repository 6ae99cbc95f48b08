#include "estimators/hurst_whittle_fgn.h"

#include <cmath>
#include <functional>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/constantes.h"
#include "numeric/especiales.h"
#include "numeric/fft.h"
#include "numeric/minimizacion.h"

namespace {

constexpr long double kUnoSobrePi = 0.31830988618379068395L;
constexpr double kHMinima = 0.4999;
constexpr double kHMaxima = 1.0001;
constexpr double kTolerancia = 0.0001;
constexpr std::uint32_t kNVarianza = 10000;
constexpr std::int32_t kFrecuenciasVarianza = 4999;
constexpr double kDelta = 0.000000001;
constexpr double kFactorIntervalo = 1.96;
constexpr int kTerminos = 9;  // ln|λ|, then ln|λ − 2πk|, ln|λ + 2πk| for k = 1..4

// K(H) = Γ(2H + 1)·sin(πH)/π, the product formed in extended precision.
double ConstanteK(double H) {
  return static_cast<double>(static_cast<long double>(Gamma(2 * H + 1)) *
                             static_cast<long double>(std::sin(kPi * H)) * kUnoSobrePi);
}

// Unnormalised density at one frequency: (1 − cos λ)·K·Σ_{k=−4}^{4} |λ + 2πk|^ex, the k = 0
// term formed from both sides and halved, the pairs added in order of k.
double DensidadSinNormalizar(double lambda, double ex, double K) {
  double suma = 0.0;
  for (int k = 0; k <= 4; ++k) {
    const double J = static_cast<double>(k) * kDosPi;
    double s = std::pow(std::fabs(lambda - J), ex) + std::pow(std::fabs(lambda + J), ex);
    if (k == 0) s = s * 0.5;
    suma = (k == 0) ? s : suma + s;
  }
  return suma * ((1 - std::cos(lambda)) * K);
}

}  // namespace

Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N, double& theta) {
  const std::uint32_t m = lambda.Longitud();
  const double ex = -(2 * H + 1);
  const double K = ConstanteK(H);
  Vector f(m);
  const double* l = lambda.Datos();
  double* pf = f.Datos();
  double sumaLog = 0.0;
  for (std::uint32_t j = 0; j < m; ++j) {
    pf[j] = DensidadSinNormalizar(l[j], ex, K);
    sumaLog += std::log(pf[j]);
  }
  theta = std::exp((2.0 / N) * sumaLog);
  for (std::uint32_t j = 0; j < m; ++j) pf[j] = pf[j] / theta;
  return f;
}

Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N) {
  double theta = 0.0;
  return DensidadFgn(H, lambda, N, theta);
}

double VarianzaWhittleFgn(double H) {
  Vector lambda(kFrecuenciasVarianza);
  for (std::int32_t j = 1; j <= kFrecuenciasVarianza; ++j)
    lambda.Datos()[j - 1] = static_cast<double>(j) * kDosPi / kNVarianza;
  const Vector f0 = DensidadFgn(H, lambda, kNVarianza);
  const Vector f1 = DensidadFgn(H + kDelta, lambda, kNVarianza);
  double D = 0.0;
  for (std::int32_t j = 0; j < kFrecuenciasVarianza; ++j) {
    const double s = std::log(f1.Datos()[j] / f0.Datos()[j]) / kDelta;
    D += s * s;
  }
  D = D * (2.0 / kNVarianza);
  return 2 / D;
}

ObjetivoWhittleFgn::ObjetivoWhittleFgn(const Vector& I, const Vector& lambda, std::uint32_t N)
    : m_(lambda.Longitud()),
      dosSobreN_(2.0 / N),
      unoMenosCos_(m_),
      logs_(m_ * kTerminos) {
  if (I.Longitud() < m_) ErrorEjecucion(2);
  I_.assign(I.begin(), I.begin() + m_);
  const double* l = lambda.Datos();
  for (std::size_t j = 0; j < m_; ++j) {
    unoMenosCos_[j] = 1 - std::cos(l[j]);
    double* L = &logs_[j * kTerminos];
    L[0] = std::log(std::fabs(l[j]));
    for (int k = 1; k <= 4; ++k) {
      const double J = static_cast<double>(k) * kDosPi;
      L[2 * k - 1] = std::log(std::fabs(l[j] - J));
      L[2 * k] = std::log(std::fabs(l[j] + J));
    }
  }
}

double ObjetivoWhittleFgn::operator()(double H) const {
  // |x|^ex as exp(ex·ln|x|) with the logarithms computed once; θ and the quotient sum
  // are accumulated in the same pass, Σ I/(f/θ) = θ·Σ I/f.
  const double ex = -(2 * H + 1);
  const double K = ConstanteK(H);
  const double* L = logs_.data();
  const double* I = I_.data();
  const double* c = unoMenosCos_.data();
  double sumaLog = 0.0;
  double sumaCociente = 0.0;
  for (std::size_t j = 0; j < m_; ++j, L += kTerminos) {
    double suma = std::exp(ex * L[0]);
    suma = suma + (std::exp(ex * L[1]) + std::exp(ex * L[2]));
    suma = suma + (std::exp(ex * L[3]) + std::exp(ex * L[4]));
    suma = suma + (std::exp(ex * L[5]) + std::exp(ex * L[6]));
    suma = suma + (std::exp(ex * L[7]) + std::exp(ex * L[8]));
    const double f = suma * (c[j] * K);
    sumaLog += std::log(f);
    sumaCociente += I[j] / f;
  }
  return std::exp(dosSobreN_ * sumaLog) * sumaCociente;
}

int HurstWhittleFgn(const Vector& serie, double& H, double& inferior, double& superior,
                    double& V) {
  if (serie.Longitud() < 100) return kEstadoSerieCorta;
  if (SerieAnalizadaConstante(serie)) return kEstadoSerieConstante;

  std::uint32_t nPrima = 0;
  const Vector periodograma = CalcularPeriodograma(serie, nPrima);
  const std::uint32_t m = (nPrima - 1) / 2;
  Vector lambda, I;
  FrecuenciasDeFourier(periodograma, nPrima, m, lambda, I);
  if (OrdenadasTodasNulas(I)) return kEstadoPeriodogramaNulo;

  const ObjetivoWhittleFgn objetivo(I, lambda, nPrima);
  const double h = MinUnaVble(std::cref(objetivo), kHMinima, kHMaxima, kTolerancia);
  const double v = VarianzaWhittleFgn(h);
  const double e = std::sqrt(v / nPrima) * kFactorIntervalo;
  H = h;
  inferior = h - e;
  superior = h + e;
  V = v;
  return kEstadoOk;
}

int HurstWhittleFgn(const Vector& serie, double& H, double& inferior, double& superior) {
  double V = 0.0;
  return HurstWhittleFgn(serie, H, inferior, superior, V);
}
