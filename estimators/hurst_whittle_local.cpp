#include "estimators/hurst_whittle_local.h"

#include <cmath>
#include <functional>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/constantes.h"
#include "numeric/fft.h"
#include "numeric/minimizacion.h"

namespace {

constexpr double kHMinima = 0.4999;
constexpr double kHMaxima = 1.0001;
constexpr double kTolerancia = 0.000001;
constexpr std::uint32_t kNVarianza = 10000;
constexpr std::int32_t kFrecuenciasVarianza = 4999;
constexpr double kDelta = 0.000000001;
constexpr double kFactorIntervalo = 1.96;

}  // namespace

double VarianzaWhittleLocal(double H) {
  double D = 0.0;
  for (std::int32_t j = 1; j <= kFrecuenciasVarianza; ++j) {
    const double lambda = static_cast<double>(j) * kDosPi / kNVarianza;
    const double f0 = std::pow(lambda, 1 - 2 * H);
    const double f1 = std::pow(lambda, 1 - 2 * (H + kDelta));
    const double s = std::log(f1 / f0) / kDelta;
    D += s * s;
  }
  D = D * (2.0 / kNVarianza);
  return 2 / D;
}

ObjetivoWhittleLocal::ObjetivoWhittleLocal(const Vector& I, const Vector& lambda)
    : m_(lambda.Longitud()), sumaLog_(0.0), logLambda_(m_) {
  if (I.Longitud() < m_) ErrorEjecucion(2);
  I_.assign(I.begin(), I.begin() + m_);
  const double* l = lambda.Datos();
  for (std::size_t j = 0; j < m_; ++j) {
    logLambda_[j] = std::log(l[j]);
    sumaLog_ += logLambda_[j];
  }
}

double ObjetivoWhittleLocal::operator()(double H) const {
  // λ^(1 − 2H) as exp((1 − 2H)·ln λ) with ln λ computed once.
  const double ex = 1 - 2 * H;
  const double* I = I_.data();
  const double* L = logLambda_.data();
  double suma = 0.0;
  for (std::size_t j = 0; j < m_; ++j) suma += I[j] / std::exp(ex * L[j]);
  const double m = static_cast<double>(m_);
  return std::log(suma / m) - (2 * H - 1) * sumaLog_ / m;
}

int HurstWhittleLocal(const Vector& serie, std::uint32_t factor, double& H,
                      double& inferior, double& superior) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (static_cast<std::int32_t>(factor) < 2) return kEstadoFactorLocal;
  // The guard uses the length before the transform shortens it.
  if (n / factor < 100) return kEstadoFactorLocal;
  if (SerieAnalizadaConstante(serie)) return kEstadoSerieConstante;

  std::uint32_t nPrima = 0;
  const Vector periodograma = CalcularPeriodograma(serie, nPrima);
  const std::uint32_t m = nPrima / factor;
  Vector lambda, I;
  FrecuenciasDeFourier(periodograma, nPrima, m, lambda, I);
  if (OrdenadasTodasNulas(I)) return kEstadoPeriodogramaNulo;

  const ObjetivoWhittleLocal objetivo(I, lambda);
  const double h = MinUnaVble(std::cref(objetivo), kHMinima, kHMaxima, kTolerancia);
  const double e = std::sqrt(VarianzaWhittleLocal(h) / nPrima) * kFactorIntervalo;
  H = h;
  inferior = h - e;
  superior = h + e;
  return kEstadoOk;
}
