#include "estimators/hurst_whittle_farima.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/terminos_farima.h"
#include "numeric/constantes.h"
#include "numeric/fft.h"
#include "numeric/minimizacion.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"
#include "numeric/vectorial.h"

namespace {

constexpr double kHInicial = 0.4999;
// The names of the figures φ(k) and ψ(k), k = 1..max order.
constexpr const char* kNombresAR[] = {cifra::kAR1};
constexpr const char* kNombresMA[] = {cifra::kMA1};
constexpr double kToleranciaX = 0.0001;
constexpr double kToleranciaF = 0.0001;
constexpr std::uint32_t kNCovarianza = 10000;
constexpr std::uint32_t kFrecuenciasCovarianza = 4999;
constexpr double kDelta = 0.000000001;
constexpr double kFactorIntervalo = kCuantilNormal975Redondeado;

// |1 + Σ c(k)·e^{ikλ}|² as (1 + R)² + S² for the coefficients c(1..orden), which start
// at eta(primero); 1 when there are none.
Vector ModuloCuadrado(const Vector& eta, std::uint32_t primero, int orden,
                      const Vector& lambda) {
  const std::uint32_t m = lambda.Longitud();
  Vector r(m, 1.0);
  if (orden <= 0) return r;
  const double* l = lambda.Datos();
  double* pr = r.Datos();
  for (std::uint32_t j = 0; j < m; ++j) {
    double R = 0.0, S = 0.0;
    if (orden == 1) {
      R = eta(primero) * std::cos(l[j]);
      S = eta(primero) * std::sin(l[j]);
    } else {
      for (int k = 1; k <= orden; ++k) {
        const double kl = l[j] * static_cast<double>(k);
        R += eta(primero + k - 1) * std::cos(kl);
        S += eta(primero + k - 1) * std::sin(kl);
      }
    }
    pr[j] = std::pow(1 + R, 2.0) + std::pow(S, 2.0);
  }
  return r;
}

}  // namespace

bool FarimaEstacionarioInvertible(const Vector& eta, int p, int q) {
  // |d| < 0.5 with d = H − 0.5; 1 + c·z has its root −1/c outside the unit circle when
  // |c| < 1. NaN fails every comparison and is outside too.
  if (!(eta(1) > 0.0 && eta(1) < 1.0)) return false;
  const std::uint32_t coeficientes = static_cast<std::uint32_t>(std::max(p, 0) + std::max(q, 0));
  for (std::uint32_t k = 2; k <= 1 + coeficientes; ++k) {
    if (!(std::fabs(eta(k)) < 1.0)) return false;
  }
  return true;
}

Vector DensidadFarima(const Vector& eta, int p, int q, const Vector& lambda) {
  const Vector A = ModuloCuadrado(eta, 2, p, lambda);
  const Vector B = ModuloCuadrado(eta, static_cast<std::uint32_t>(std::max(p, 0)) + 2, q, lambda);
  const std::uint32_t m = lambda.Longitud();
  const double ex = -2 * (eta(1) - 0.5);
  Vector f(m);
  const double* l = lambda.Datos();
  for (std::uint32_t j = 0; j < m; ++j) {
    const double g = std::pow(2 * std::sin(l[j] / 2), ex);
    f.Datos()[j] = (B.Datos()[j] / A.Datos()[j]) * g;
  }
  return f;
}

Matrix CovarianzaWhittleFarima(const Vector& eta, int p, int q) {
  const std::uint32_t K = eta.Longitud();
  Vector lambda(kFrecuenciasCovarianza);
  for (std::uint32_t j = 1; j <= kFrecuenciasCovarianza; ++j)
    lambda.Datos()[j - 1] = static_cast<double>(j) * kDosPi / kNCovarianza;
  const Vector f0 = DensidadFarima(eta, p, q, lambda);
  // Row k: numerical derivative of ln f with respect to eta(k).
  Matrix L(K, kFrecuenciasCovarianza);
  for (std::uint32_t k = 1; k <= K; ++k) {
    Vector etaK = eta;
    etaK[k] = etaK[k] + kDelta;
    const Vector fk = DensidadFarima(etaK, p, q, lambda);
    Vector fila(kFrecuenciasCovarianza);
    for (std::uint32_t j = 0; j < kFrecuenciasCovarianza; ++j)
      fila.Datos()[j] = std::log(fk.Datos()[j] / f0.Datos()[j]) / kDelta;
    L.PonerFila(k, fila);
  }
  Matrix D(K, K);
  for (std::uint32_t i = 1; i <= K; ++i) {
    const Vector fi = L.Fila(i);
    for (std::uint32_t j = 1; j <= K; ++j) {
      const Vector fj = L.Fila(j);
      double suma = 0.0;
      for (std::uint32_t t = 0; t < kFrecuenciasCovarianza; ++t)
        suma += fj.Datos()[t] * fi.Datos()[t];
      D(i, j) = suma * (2.0 / kNCovarianza);
    }
  }
  return Inversa(D) * 2;
}

namespace {

// Frequencies per piece of the objective's parallel loops.
constexpr std::size_t kPorPieza = 8192;

}  // namespace

template <class Frecuencia>
void ObjetivoWhittleFarima::Preparar(Frecuencia frecuencia) {
  const int orden = std::max({p_, q_, 0});
  cos_ = Vector(static_cast<std::uint32_t>(m_ * orden));
  sin_ = Vector(static_cast<std::uint32_t>(m_ * orden));
  double* const cosenos = cos_.Datos();
  double* const senos = sin_.Datos();
  double* const log2Sin = log2Sin_.Datos();
  ParaCadaPieza(NumeroDePiezas(m_, kPorPieza), [&](std::size_t pieza) {
    const std::size_t desde = pieza * kPorPieza;
    const std::size_t hasta = std::min(m_, desde + kPorPieza);
    for (std::size_t j = desde; j < hasta; ++j) {
      const double l = frecuencia(j);
      log2Sin[j] = 2 * std::sin(l / 2);  // its logarithm below
      for (int k = 1; k <= orden; ++k) {
        const double kl = k == 1 ? l : l * static_cast<double>(k);
        cosenos[j * orden + k - 1] = std::cos(kl);
        senos[j * orden + k - 1] = std::sin(kl);
      }
    }
    Logaritmos(log2Sin + desde, log2Sin + desde, hasta - desde);
  });
}

ObjetivoWhittleFarima::ObjetivoWhittleFarima(int p, int q, const Vector& I,
                                             const Vector& lambda)
    : p_(p), q_(q), m_(lambda.Longitud()), log2Sin_(static_cast<std::uint32_t>(m_)) {
  if (I.Longitud() < m_) ErrorEjecucion(kFalloLongitudesDistintas);
  I_ = std::make_shared<const Vector>(m_ ? I.SubVector(1, static_cast<std::uint32_t>(m_))
                                          : Vector());
  const double* l = lambda.Datos();
  Preparar([l](std::size_t j) { return l[j]; });
}

ObjetivoWhittleFarima::ObjetivoWhittleFarima(int p, int q, std::shared_ptr<const Vector> I,
                                             std::uint32_t m, std::uint32_t nPrima)
    : p_(p), q_(q), m_(m), I_(std::move(I)), log2Sin_(static_cast<std::uint32_t>(m_)) {
  if (I_->Longitud() < m_) ErrorEjecucion(kFalloLongitudesDistintas);
  // As FrecuenciasDeFourier computes them.
  Preparar([nPrima](std::size_t j) { return static_cast<double>(j + 1) * kDosPi / nPrima; });
}

double ObjetivoWhittleFarima::operator()(const Vector& eta) const {
  const int orden = std::max({p_, q_, 0});
  // The same index check as eta(p + q + 1), once, outside the loop.
  if (eta.Longitud() < static_cast<std::uint32_t>(1 + std::max(p_, 0) + std::max(q_, 0)))
    ErrorEjecucion(kFalloIndiceVector);
  const double ex = -2 * (eta(1) - 0.5);
  const double* phi = eta.Datos() + 1;
  const double* psi = eta.Datos() + 1 + std::max(p_, 0);
  const double* I = I_->Datos();
  const double* cosenos = cos_.Datos();
  const double* senos = sin_.Datos();
  const double* log2Sin = log2Sin_.Datos();
  const int p = p_, q = q_;
  // The powers (2 sin(λ/2))^ex of a piece on vectors first, in the place of its terms.
  const auto suma = SumasDePiezasEnOrden<1>(
      m_, kPorPieza, [=](std::size_t desde, std::size_t cuantos, double* t) {
        ExpEscalada(ex, log2Sin + desde, t, cuantos);
        if (p <= 1 && q <= 1) {
          const bool conSenos = orden > 0;
          TerminosFarima(p, q, p > 0 ? phi[0] : 0.0, q > 0 ? psi[0] : 0.0,
                         conSenos ? cosenos + desde : nullptr, conSenos ? senos + desde : nullptr,
                         I + desde, t, cuantos);
          return;
        }
        for (std::size_t i = 0; i < cuantos; ++i) {
          const std::size_t j = desde + i;
          const double* c = cosenos + j * orden;
          const double* s = senos + j * orden;
          // |1 + Σ coef(k)·e^{ikλ}|², 1 when there are no coefficients.
          const auto modulo = [c, s](const double* coef, int orden) {
            if (orden <= 0) return 1.0;
            double R = coef[0] * c[0], S = coef[0] * s[0];
            for (int k = 1; k < orden; ++k) {
              R += coef[k] * c[k];
              S += coef[k] * s[k];
            }
            return (1 + R) * (1 + R) + S * S;
          };
          const double A = modulo(phi, p), B = modulo(psi, q);
          const double f = (B / A) * t[i];
          t[i] = I[j] / f;
        }
      });
  return suma[0];
}

Estimacion HurstWhittleFarima(const Vector& serie, int p, int q) {
  if (serie.Longitud() < 100) return kEstadoSerieCorta;
  if (p < 0 || q < 0 || p > 1 || q > 1) return kEstadoOrdenesFarima;
  if (SerieAnalizadaConstante(serie)) return kEstadoSerieConstante;

  std::shared_ptr<const Vector> I;
  std::uint32_t nPrima = 0;
  if (OrdenadasWhittle(serie, 0.1, I, nPrima) != kEstadoOk) return kEstadoPeriodogramaNulo;

  Vector eta0(static_cast<std::uint32_t>(p + q + 1), 0.0);
  eta0[1] = kHInicial;
  Vector estimado;
  {
    TramoProgreso tramo(0.1, 0.99);
    const ObjetivoWhittleFarima objetivo(p, q, std::move(I), (nPrima - 1) / 2, nPrima);
    const FuncionObjetivo f = std::cref(objetivo);
    if (!MinimoVariasVbles(f, eta0, kToleranciaX, kToleranciaF, estimado)) {
      // Where the likelihood is flat along a ridge (the AR and MA factors nearly cancel)
      // the budget may run out: start once more from the best vertex.
      const Vector mejor = estimado;
      if (!MinimoVariasVbles(f, mejor, kToleranciaX, kToleranciaF, estimado))
        return kEstadoFarimaNoConverge;
    }
  }
  // The search is unconstrained: a minimum outside the model's region is no estimate.
  if (!FarimaEstacionarioInvertible(estimado, p, q)) return kEstadoFarimaFueraDeRegion;
  const Matrix C = CovarianzaWhittleFarima(estimado, p, q);
  const double e = std::sqrt(C(1, 1) / nPrima) * kFactorIntervalo;
  Estimacion resultado;
  resultado.ValorConIntervalo(estimado(1), e);
  resultado.cifras.push_back({cifra::kOrdenP, static_cast<double>(p)});
  resultado.cifras.push_back({cifra::kOrdenQ, static_cast<double>(q)});
  for (int k = 1; k <= p; ++k)
    resultado.cifras.push_back({kNombresAR[k - 1], estimado(static_cast<std::uint32_t>(k + 1))});
  for (int k = 1; k <= q; ++k)
    resultado.cifras.push_back(
        {kNombresMA[k - 1], estimado(static_cast<std::uint32_t>(p + k + 1))});
  return resultado;
}
