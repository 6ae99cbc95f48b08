#include "estimators/hurst_whittle_local.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/constantes.h"
#include "numeric/fft.h"
#include "numeric/minimizacion.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"
#include "numeric/vectorial.h"

namespace {

constexpr double kHMinima = 0.4999;
constexpr double kHMaxima = 1.0001;
constexpr double kTolerancia = 0.000001;
constexpr double kFactorIntervalo = kCuantilNormal975Redondeado;

}  // namespace

namespace {

// Frequencies per piece of the objective's parallel loops.
constexpr std::size_t kPorPieza = 8192;

}  // namespace

template <class Frecuencia>
void ObjetivoWhittleLocal::Preparar(Frecuencia frecuencia) {
  ParaCadaPieza(NumeroDePiezas(m_, kPorPieza), [&](std::size_t pieza) {
    const std::size_t desde = pieza * kPorPieza;
    const std::size_t hasta = std::min(m_, desde + kPorPieza);
    for (std::size_t j = desde; j < hasta; ++j) logLambda_[j] = frecuencia(j);
    Logaritmos(logLambda_.data() + desde, logLambda_.data() + desde, hasta - desde);
  });
  for (std::size_t j = 0; j < m_; ++j) sumaLog_ += logLambda_[j];
}

ObjetivoWhittleLocal::ObjetivoWhittleLocal(const Vector& I, const Vector& lambda)
    : m_(lambda.Longitud()), sumaLog_(0.0), logLambda_(m_) {
  if (I.Longitud() < m_) ErrorEjecucion(kFalloLongitudesDistintas);
  I_ = m_ ? I.SubVector(1, static_cast<std::uint32_t>(m_)) : Vector();
  const double* l = lambda.Datos();
  Preparar([l](std::size_t j) { return l[j]; });
}

ObjetivoWhittleLocal::ObjetivoWhittleLocal(Vector I, std::uint32_t nPrima)
    : m_(I.Longitud()), sumaLog_(0.0), I_(std::move(I)), logLambda_(m_) {
  // As FrecuenciasDeFourier computes them.
  Preparar([nPrima](std::size_t j) { return static_cast<double>(j + 1) * kDosPi / nPrima; });
}

double ObjetivoWhittleLocal::operator()(double H) const {
  // λ^(1 − 2H) as exp((1 − 2H)·ln λ) with ln λ computed once.
  const double ex = 1 - 2 * H;
  const double* I = I_.Datos();
  const double* L = logLambda_.data();
  const double suma = SumasEnOrden<1>(m_, kPorPieza, [](std::size_t) {}, [=](std::size_t j) {
                        return std::array<double, 1>{I[j] / std::exp(ex * L[j])};
                      })[0];
  const double m = static_cast<double>(m_);
  return std::log(suma / m) - (2 * H - 1) * sumaLog_ / m;
}

Estimacion HurstWhittleLocal(const Vector& serie, std::uint32_t factor) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (static_cast<std::int32_t>(factor) < 2) return kEstadoFactorLocal;
  // The guard uses the length before the transform shortens it.
  if (n / factor < 100) return kEstadoFactorLocal;
  if (SerieAnalizadaConstante(serie)) return kEstadoSerieConstante;

  const auto nPrima = static_cast<std::uint32_t>(LongitudTransformable(static_cast<std::int32_t>(n)));
  const std::uint32_t m = nPrima / factor;
  Vector I;
  {
    TramoProgreso tramo(0.0, 0.6);
    I = OrdenadasPeriodograma(serie, m);
  }
  if (OrdenadasTodasNulas(I.Datos(), I.Longitud())) return kEstadoPeriodogramaNulo;

  double h;
  {
    TramoProgreso tramo(0.6, 1.0);
    const ObjetivoWhittleLocal objetivo(std::move(I), nPrima);
    h = MinUnaVble(std::cref(objetivo), kHMinima, kHMaxima, kTolerancia);
  }
  // Asymptotic variance of the estimate over m frequencies: 1/(4m).
  const double e = std::sqrt(1.0 / (4.0 * m)) * kFactorIntervalo;
  Estimacion resultado;
  resultado.ValorConIntervalo(h, e);
  return resultado;
}
