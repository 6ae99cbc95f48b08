// Helpers of the frequency-domain estimator tests: literal evaluations
// of the spectral densities and Whittle objectives written with whole-vector operations,
// step by step as the method defines them, against which the fast versions are compared.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/support/herramientas.h"
#include "numeric/constantes.h"
#include "numeric/especiales.h"
#include "numeric/estadistica.h"
#include "numeric/fft.h"
#include "numeric/minimizacion.h"
#include "numeric/regresion.h"
#include "numeric/vector.h"

namespace frecuencia {

using namespace prueba;

// Frequencies and ordinates as every estimator takes them, for a given n' and m.
struct Espectro {
  std::uint32_t nPrima = 0;
  Vector lambda;
  Vector I;
};

inline Espectro EspectroLiteral(const Vector& serie, std::uint32_t m) {
  Espectro e;
  const Vector I = CalcularPeriodograma(serie, e.nPrima);
  e.lambda = Rampa(1, 1, static_cast<std::int32_t>(m)) * kDosPi / e.nPrima;
  e.I = I.SubVector(2, m + 1);
  return e;
}

// FGN density normalised over lambda, with whole-vector operations per frequency.
inline Vector DensidadFgnLiteral(double H, const Vector& lambda, std::uint32_t N,
                                 double* thetaSalida = nullptr) {
  const double ex = -(2 * H + 1);
  const double K = static_cast<double>(static_cast<long double>(Gamma(2 * H + 1)) *
                                       static_cast<long double>(std::sin(3.141592653589793 * H)) *
                                       0.31830988618379068395L);
  const Vector J = Rampa(0, 1, 4) * kDosPi;
  Vector f(lambda.Longitud());
  for (std::uint32_t j = 1; j <= lambda.Longitud(); ++j) {
    Vector s = pow(fabs(lambda(j) - J), ex) + pow(fabs(lambda(j) + J), ex);
    s[1] = s(1) * 0.5;
    f[j] = Suma(s) * ((1 - std::cos(lambda(j))) * K);
  }
  const double theta = std::exp((2.0 / N) * Suma(log(f)));
  if (thetaSalida) *thetaSalida = theta;
  return f / theta;
}

inline double ObjetivoFgnLiteral(double H, const Vector& I, const Vector& lambda,
                                 std::uint32_t N) {
  return Suma(I / DensidadFgnLiteral(H, lambda, N));
}

inline double VarianzaFgnLiteral(double H) {
  const Vector lambda = Rampa(1, 1, 4999) * kDosPi / 10000u;
  const Vector f0 = DensidadFgnLiteral(H, lambda, 10000);
  const Vector f1 = DensidadFgnLiteral(H + 0.000000001, lambda, 10000);
  const Vector s = log(f1 / f0) / 0.000000001;
  const double D = Suma(s * s) * (2.0 / 10000u);
  return 2 / D;
}

inline double ObjetivoLocalLiteral(double H, const Vector& I, const Vector& lambda) {
  const double m = lambda.Longitud();
  return std::log(Suma(I / pow(lambda, 1 - 2 * H)) / m) - (2 * H - 1) * Suma(log(lambda)) / m;
}

// (1 + R)² + S² for the coefficients eta(primero .. primero + orden − 1).
inline Vector ModuloLiteral(const Vector& eta, std::uint32_t primero, int orden,
                            const Vector& lambda) {
  Vector A(lambda.Longitud(), 1.0);
  if (orden == 1) {
    const Vector R = eta(primero) * cos(lambda);
    const Vector S = eta(primero) * sin(lambda);
    A = pow(1.0 + R, 2.0) + pow(S, 2.0);
  } else if (orden > 1) {
    const Matrix Mk = ProductoExterior(Rampa(1, 1, orden), lambda);
    const Vector c = eta.SubVector(primero, primero + orden - 1);
    const Vector R = c * cos(Mk);
    const Vector S = c * sin(Mk);
    A = pow(1.0 + R, 2.0) + pow(S, 2.0);
  }
  return A;
}

inline Vector DensidadFarimaLiteral(const Vector& eta, int p, int q, const Vector& lambda) {
  const Vector A = ModuloLiteral(eta, 2, p, lambda);
  const Vector B = ModuloLiteral(eta, static_cast<std::uint32_t>(p) + 2, q, lambda);
  const Vector g = pow(2.0 * sin(lambda / 2.0), -2 * (eta(1) - 0.5));
  return (B / A) * g;
}

inline double ObjetivoFarimaLiteral(const Vector& eta, int p, int q, const Vector& I,
                                    const Vector& lambda) {
  return Suma(I / DensidadFarimaLiteral(eta, p, q, lambda));
}

inline Matrix CovarianzaFarimaLiteral(const Vector& eta, int p, int q) {
  const std::uint32_t K = eta.Longitud();
  const Vector lambda = Rampa(1, 1, 4999) * kDosPi / 10000u;
  const Vector f0 = DensidadFarimaLiteral(eta, p, q, lambda);
  Matrix L(K, 4999);
  for (std::uint32_t k = 1; k <= K; ++k) {
    Vector etak = eta;
    etak[k] = etak(k) + 0.000000001;
    L.PonerFila(k, log(DensidadFarimaLiteral(etak, p, q, lambda) / f0) / 0.000000001);
  }
  Matrix D(K, K);
  for (std::uint32_t i = 1; i <= K; ++i)
    for (std::uint32_t j = 1; j <= K; ++j) D(i, j) = Suma(L.Fila(j) * L.Fila(i)) * (2.0 / 10000u);
  return Inversa(D) * 2;
}

// The whole Whittle FGN estimate by the literal objective, for given n' and m.
struct EstimacionLiteral {
  double H = 0.0, inferior = 0.0, superior = 0.0, V = 0.0;
};

inline EstimacionLiteral WhittleFgnLiteral(const Vector& serie, std::uint32_t nPrimaEsperada,
                                           std::uint32_t m) {
  const Espectro e = EspectroLiteral(serie, m);
  EstimacionLiteral r;
  if (e.nPrima != nPrimaEsperada) return r;  // H = 0 makes the comparison fail
  r.H = MinUnaVble([&](double h) { return ObjetivoFgnLiteral(h, e.I, e.lambda, e.nPrima); },
                   0.4999, 1.0001, 0.0001);
  r.V = VarianzaFgnLiteral(r.H);
  const double ancho = std::sqrt(r.V / nPrimaEsperada) * 1.96;
  r.inferior = r.H - ancho;
  r.superior = r.H + ancho;
  return r;
}

}  // namespace frecuencia
