#include "estimators/hurst_whittle_fgn.h"

#include <cmath>
#include <functional>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/constantes.h"
#include "numeric/especiales.h"
#include "numeric/fft.h"
#include "numeric/minimizacion.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"
#include "numeric/vectorial.h"

namespace {

constexpr long double kUnoSobrePi = 0.31830988618379068395L;
constexpr double kHMinima = 0.4999;
constexpr double kHMaxima = 1.0001;
constexpr double kTolerancia = 0.0001;
constexpr std::uint32_t kNVarianza = 10000;
constexpr std::int32_t kFrecuenciasVarianza = 4999;
constexpr double kDelta = 0.000000001;
constexpr double kFactorIntervalo = kCuantilNormal975Redondeado;

// K(H) = Γ(2H + 1)·sin(πH)/π, the product formed in extended precision.
double ConstanteK(double H) {
  return static_cast<double>(static_cast<long double>(Gamma(2 * H + 1)) *
                             static_cast<long double>(std::sin(kPi * H)) * kUnoSobrePi);
}

// Unnormalised density at one frequency: (1 − cos λ)·K·Σ_{k=−4}^{4} |λ + 2πk|^ex, the k = 0
// term formed from both sides and halved, the pairs added in order of k; the whole sum
// adds ColaFgn last.
double DensidadSinNormalizar(double lambda, double ex, double K, SumaDensidad tipo) {
  double suma = 0.0;
  for (int k = 0; k <= 4; ++k) {
    const double J = static_cast<double>(k) * kDosPi;
    double s = std::pow(std::fabs(lambda - J), ex) + std::pow(std::fabs(lambda + J), ex);
    if (k == 0) s = s * 0.5;
    suma = (k == 0) ? s : suma + s;
  }
  if (tipo == SumaDensidad::kExacta) suma = suma + ColaFgn(std::fabs(lambda), ex);
  return suma * ((1 - std::cos(lambda)) * K);
}

// B_2j / (2j)! for j = 1..5.
constexpr double kBernoulli[] = {1.0 / 12, -1.0 / 720, 1.0 / 30240, -1.0 / 1209600,
                                 1.0 / 47900160};
constexpr int kPrimerTerminoCola = 5;
constexpr int kInicioEulerMaclaurin = 10;

// Σ_{k≥M} g(k) for g(x) = (2πx + c)^ex by Euler–Maclaurin: with a = 2πM + c,
//   a^(ex+1) / (−(ex+1)·2π) + a^ex / 2 − Σ_j B_2j/(2j)! · g^(2j−1)(M),
// g^(r)(M) = ex (ex − 1)…(ex − r + 1)·(2π/a)^r·a^ex.
double ColaEulerMaclaurin(double c, double ex) {
  const double a = kDosPi * kInicioEulerMaclaurin + c;
  const double p = std::pow(a, ex);
  double suma = p * a / (-(ex + 1) * kDosPi) + p / 2;
  const double r = kDosPi / a;
  double derivada = ex * r * p;  // g'(M)
  for (int j = 0; j < 5; ++j) {
    suma -= kBernoulli[j] * derivada;
    const int orden = 2 * j + 1;
    derivada *= (ex - orden) * (ex - orden - 1) * r * r;
  }
  return suma;
}

}  // namespace

double ColaFgn(double lambda, double ex) {
  double suma = 0.0;
  for (int k = kPrimerTerminoCola; k < kInicioEulerMaclaurin; ++k) {
    const double J = static_cast<double>(k) * kDosPi;
    suma += std::pow(J - lambda, ex) + std::pow(J + lambda, ex);
  }
  return suma + (ColaEulerMaclaurin(-lambda, ex) + ColaEulerMaclaurin(lambda, ex));
}

Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N, double& theta,
                   SumaDensidad tipo) {
  const std::uint32_t m = lambda.Longitud();
  const double ex = -(2 * H + 1);
  const double K = ConstanteK(H);
  Vector f(m);
  const double* l = lambda.Datos();
  double* pf = f.Datos();
  double sumaLog = 0.0;
  for (std::uint32_t j = 0; j < m; ++j) {
    pf[j] = DensidadSinNormalizar(l[j], ex, K, tipo);
    sumaLog += std::log(pf[j]);
  }
  theta = std::exp((2.0 / N) * sumaLog);
  for (std::uint32_t j = 0; j < m; ++j) pf[j] = pf[j] / theta;
  return f;
}

Vector DensidadFgn(double H, const Vector& lambda, std::uint32_t N, SumaDensidad tipo) {
  double theta = 0.0;
  return DensidadFgn(H, lambda, N, theta, tipo);
}

double VarianzaWhittleFgn(double H, SumaDensidad tipo) {
  Vector lambda(kFrecuenciasVarianza);
  for (std::int32_t j = 1; j <= kFrecuenciasVarianza; ++j)
    lambda.Datos()[j - 1] = static_cast<double>(j) * kDosPi / kNVarianza;
  const Vector f0 = DensidadFgn(H, lambda, kNVarianza, tipo);
  const Vector f1 = DensidadFgn(H + kDelta, lambda, kNVarianza, tipo);
  double D = 0.0;
  for (std::int32_t j = 0; j < kFrecuenciasVarianza; ++j) {
    const double s = std::log(f1.Datos()[j] / f0.Datos()[j]) / kDelta;
    D += s * s;
  }
  D = D * (2.0 / kNVarianza);
  return 2 / D;
}

template <class Frecuencia>
void TablaFgn::Construir(std::uint32_t m, Frecuencia frecuencia) {
  {
    TramoProgreso tramo(0.0, 1.0 / (kTerminos + 1));
    unoMenosCos_ = SucesionCompacta(m, [&](std::uint32_t desde, std::uint32_t cuantos, double* v) {
      for (std::uint32_t t = 0; t < cuantos; ++t) v[t] = 1 - std::cos(frecuencia(desde + t));
    });
  }
  for (int termino = 0; termino < kTerminos; ++termino) {
    TramoProgreso tramo((termino + 1.0) / (kTerminos + 1), (termino + 2.0) / (kTerminos + 1));
    // ln|λ| for term 0; ln|λ − 2πk| and ln|λ + 2πk| for terms 2k − 1 and 2k.
    const int k = (termino + 1) / 2;
    const double J = static_cast<double>(k) * kDosPi;
    const bool resta = termino % 2 == 1;
    logs_[termino] = SucesionCompacta(m, [&](std::uint32_t desde, std::uint32_t cuantos, double* v) {
      for (std::uint32_t t = 0; t < cuantos; ++t) {
        const double l = frecuencia(desde + t);
        v[t] = termino == 0 ? std::fabs(l) : std::fabs(resta ? l - J : l + J);
      }
      Logaritmos(v, v, cuantos);
    });
  }
}

TablaFgn::TablaFgn(const Vector& lambda) {
  const double* l = lambda.Datos();
  Construir(lambda.Longitud(), [l](std::uint32_t j) { return l[j]; });
}

TablaFgn::TablaFgn(std::uint32_t m, std::uint32_t nPrima) {
  // As FrecuenciasDeFourier computes them, so that the logarithms are the same.
  Construir(m, [nPrima](std::uint32_t j) {
    return static_cast<double>(j + 1) * kDosPi / nPrima;
  });
}

namespace {

// Per-thread storage of one block of frequencies during an evaluation: the table's values
// read back, the logarithms then replaced by the powers, and the tail of the whole sum.
struct BloqueFgn {
  double unoMenosCos[SucesionCompacta::kBloque];
  double potencias[TablaFgn::kTerminos][SucesionCompacta::kBloque];
  double cola[SucesionCompacta::kBloque];
};

thread_local std::unique_ptr<BloqueFgn> bloqueFgn;

}  // namespace

ObjetivoWhittleFgn::ObjetivoWhittleFgn(const Vector& I, const Vector& lambda, std::uint32_t N,
                                       SumaDensidad suma)
    : dosSobreN_(2.0 / N), suma_(suma) {
  if (I.Longitud() < lambda.Longitud()) ErrorEjecucion(kFalloLongitudesDistintas);
  I_ = std::make_shared<const Vector>(lambda.Longitud() ? I.SubVector(1, lambda.Longitud())
                                                         : Vector());
  tabla_ = std::make_shared<const TablaFgn>(lambda);
}

ObjetivoWhittleFgn::ObjetivoWhittleFgn(std::shared_ptr<const Vector> I,
                                       std::shared_ptr<const TablaFgn> tabla, std::uint32_t N,
                                       SumaDensidad suma)
    : dosSobreN_(2.0 / N), suma_(suma), I_(std::move(I)), tabla_(std::move(tabla)) {
  if (I_->Longitud() < tabla_->Frecuencias()) ErrorEjecucion(kFalloLongitudesDistintas);
}

double ObjetivoWhittleFgn::operator()(double H) const {
  // |x|^ex as exp(ex·ln|x|) with the logarithms computed once, a block of frequencies at a
  // time on vectors; θ and the quotient sum are accumulated in the same pass,
  // Σ I/(f/θ) = θ·Σ I/f. Blocks are evaluated on all threads and their terms added in
  // frequency order.
  constexpr std::size_t kBloque = SucesionCompacta::kBloque;
  const double ex = -(2 * H + 1);
  const double K = ConstanteK(H);
  const TablaFgn& tabla = *tabla_;
  const double* I = I_->Datos();
  const bool exacta = suma_ == SumaDensidad::kExacta;
  const auto sumas = SumasDePiezasEnOrden<2>(
      tabla.Frecuencias(), kBloque, [&](std::size_t desde, std::size_t cuantos, double* t) {
        if (!bloqueFgn) bloqueFgn = std::make_unique<BloqueFgn>();
        BloqueFgn& b = *bloqueFgn;
        const auto bloque = static_cast<std::uint32_t>(desde / kBloque);
        tabla.UnoMenosCos().LeerBloque(bloque, b.unoMenosCos);
        for (int k = 0; k < TablaFgn::kTerminos; ++k)
          tabla.Logaritmo(k).LeerBloque(bloque, b.potencias[k]);
        // The tail is a small part of the sum: λ from its logarithm is exact enough.
        if (exacta)
          for (std::size_t j = 0; j < cuantos; ++j)
            b.cola[j] = ColaFgn(std::exp(b.potencias[0][j]), ex);
        for (int k = 0; k < TablaFgn::kTerminos; ++k)
          ExpEscalada(ex, b.potencias[k], b.potencias[k], cuantos);
        // f in the place of the quotients, which replace it once its logarithms are taken.
        double* const logF = t;
        double* const cociente = t + kBloque;
        const auto& p = b.potencias;
        for (std::size_t j = 0; j < cuantos; ++j) {
          double suma = p[0][j];
          suma = suma + (p[1][j] + p[2][j]);
          suma = suma + (p[3][j] + p[4][j]);
          suma = suma + (p[5][j] + p[6][j]);
          suma = suma + (p[7][j] + p[8][j]);
          if (exacta) suma = suma + b.cola[j];
          cociente[j] = suma * (b.unoMenosCos[j] * K);
        }
        Logaritmos(cociente, logF, cuantos);
        for (std::size_t j = 0; j < cuantos; ++j) cociente[j] = I[desde + j] / cociente[j];
      });
  const double sumaLog = sumas[0], sumaCociente = sumas[1];
  return std::exp(dosSobreN_ * sumaLog) * sumaCociente;
}

Estimacion HurstWhittleFgn(const Vector& serie, const std::shared_ptr<const TablaFgn>& tabla,
                           SumaDensidad suma) {
  if (serie.Longitud() < 100) return kEstadoSerieCorta;
  if (SerieAnalizadaConstante(serie)) return kEstadoSerieConstante;

  std::shared_ptr<const Vector> I;
  std::uint32_t nPrima = 0;
  if (OrdenadasWhittle(serie, 0.25, I, nPrima) != kEstadoOk) return kEstadoPeriodogramaNulo;
  const std::uint32_t m = (nPrima - 1) / 2;

  std::shared_ptr<const TablaFgn> frecuencias = tabla;
  if (!frecuencias) {
    TramoProgreso tramo(0.25, 0.35);
    frecuencias = std::make_shared<const TablaFgn>(m, nPrima);
  }
  if (frecuencias->Frecuencias() != m) ErrorEjecucion(kFalloLongitudesDistintas);
  double h;
  {
    TramoProgreso tramo(0.35, 0.99);
    const ObjetivoWhittleFgn objetivo(std::move(I), std::move(frecuencias), nPrima, suma);
    h = MinUnaVble(std::cref(objetivo), kHMinima, kHMaxima, kTolerancia);
  }
  const double v = VarianzaWhittleFgn(h, suma);
  const double e = std::sqrt(v / nPrima) * kFactorIntervalo;
  Estimacion resultado;
  resultado.ValorConIntervalo(h, e);
  resultado.cifras.push_back({cifra::kVarianzaWhittle, v});
  return resultado;
}

Estimacion HurstWhittleFgn(const Vector& serie, SumaDensidad suma) {
  return HurstWhittleFgn(serie, nullptr, suma);
}
