// The fast spectral densities and Whittle objectives against literal evaluations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <locale>

#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "frecuencia_comun.h"

namespace {

using namespace frecuencia;

void Informar(const char* que, double diferencia) {
  std::cout.imbue(std::locale::classic());
  std::cout << "[diferencia máxima] " << que << ": " << diferencia << '\n';
}

const double kHs[] = {0.4999, 0.52, 0.6, 0.7, 0.8, 0.9, 0.97, 1.0001};

TEST(FrecuenciaObjetivos, DensidadFgnCoincideConLaLiteral) {
  const Vector lambda = Rampa(1, 1, 499) * kDosPi / 1000u;
  double peor = 0.0;
  for (const double H : kHs) {
    double theta = 0.0, thetaLiteral = 0.0;
    const Vector f = DensidadFgn(H, lambda, 1000, theta);
    const Vector g = DensidadFgnLiteral(H, lambda, 1000, &thetaLiteral);
    peor = std::max(peor, DiferenciaRelativa(theta, thetaLiteral));
    for (std::uint32_t j = 1; j <= lambda.Longitud(); ++j)
      peor = std::max(peor, DiferenciaRelativa(f(j), g(j)));
  }
  Informar("DensidadFgn", peor);
  EXPECT_LE(peor, 1e-14);
}

TEST(FrecuenciaObjetivos, ObjetivoWhittleFgnCoincideConElLiteral) {
  double peor = 0.0;
  for (const std::uint64_t semilla : {1u, 2u}) {
    const Vector serie = Fgn(4000, 0.75, semilla);
    const Espectro e = EspectroLiteral(serie, (4000 - 1) / 2);
    const ObjetivoWhittleFgn objetivo(e.I, e.lambda, e.nPrima);
    for (const double H : kHs)
      peor = std::max(peor, DiferenciaRelativa(objetivo(H), ObjetivoFgnLiteral(H, e.I, e.lambda, e.nPrima)));
  }
  Informar("ObjetivoWhittleFgn", peor);
  EXPECT_LE(peor, 1e-12);
}

TEST(FrecuenciaObjetivos, VarianzaWhittleFgnCoincideConLaLiteral) {
  double peor = 0.0;
  for (const double H : {0.5, 0.6, 0.7, 0.8, 0.9, 1.0})
    peor = std::max(peor, DiferenciaRelativa(VarianzaWhittleFgn(H), VarianzaFgnLiteral(H)));
  Informar("VarianzaWhittleFgn", peor);
  EXPECT_LE(peor, 1e-12);
}

TEST(FrecuenciaObjetivos, ObjetivoWhittleLocalCoincideConElLiteral) {
  double peor = 0.0;
  const Vector serie = Fgn(4000, 0.8, 3);
  const Espectro e = EspectroLiteral(serie, 4000 / 4);
  const ObjetivoWhittleLocal objetivo(e.I, e.lambda);
  for (const double H : kHs) {
    const double rapido = objetivo(H);
    const double literal = ObjetivoLocalLiteral(H, e.I, e.lambda);
    // R is a difference of two terms and can be near zero: measure against the terms.
    const double m = e.lambda.Longitud();
    const double escala = std::fabs(std::log(Suma(e.I / pow(e.lambda, 1 - 2 * H)) / m)) +
                          std::fabs((2 * H - 1) * Suma(log(e.lambda)) / m);
    peor = std::max(peor, std::fabs(rapido - literal) / escala);
  }
  Informar("ObjetivoWhittleLocal", peor);
  EXPECT_LE(peor, 1e-12);
}

struct CasoFarima {
  int p, q;
  std::vector<double> eta;
};

const CasoFarima kCasosFarima[] = {
    {0, 0, {0.4999}},           {0, 0, {0.83}},
    {1, 0, {0.7, -0.4}},        {1, 0, {0.62, 0.3}},
    {0, 1, {0.9, 0.5}},         {0, 1, {0.55, -0.8}},
    {1, 1, {0.75, -0.5, 0.2}},  {1, 1, {0.6, 0.35, -0.35}},
    {2, 1, {0.7, -0.3, 0.1, 0.4}},  // orders above 1 through the matrix form
    {0, 2, {0.65, 0.2, -0.1}},
};

TEST(FrecuenciaObjetivos, DensidadFarimaCoincideConLaLiteral) {
  const Vector lambda = Rampa(1, 1, 999) * kDosPi / 2000u;
  double peor = 0.0;
  for (const CasoFarima& c : kCasosFarima) {
    const Vector eta = AVector(c.eta);
    const Vector f = DensidadFarima(eta, c.p, c.q, lambda);
    const Vector g = DensidadFarimaLiteral(eta, c.p, c.q, lambda);
    ASSERT_EQ(f.Longitud(), g.Longitud());
    for (std::uint32_t j = 1; j <= f.Longitud(); ++j)
      peor = std::max(peor, DiferenciaRelativa(f(j), g(j)));
  }
  Informar("DensidadFarima", peor);
  EXPECT_LE(peor, 1e-14);
}

TEST(FrecuenciaObjetivos, ObjetivoWhittleFarimaCoincideConElLiteral) {
  const Vector serie = Fgn(3000, 0.7, 4);
  const Espectro e = EspectroLiteral(serie, (3000 - 1) / 2);
  double peor = 0.0;
  for (const CasoFarima& c : kCasosFarima) {
    const ObjetivoWhittleFarima objetivo(c.p, c.q, e.I, e.lambda);
    const Vector eta = AVector(c.eta);
    peor = std::max(peor, DiferenciaRelativa(objetivo(eta),
                                             ObjetivoFarimaLiteral(eta, c.p, c.q, e.I, e.lambda)));
  }
  Informar("ObjetivoWhittleFarima", peor);
  EXPECT_LE(peor, 1e-12);
}

TEST(FrecuenciaObjetivos, CovarianzaWhittleFarimaCoincideConLaLiteral) {
  double peor = 0.0;
  for (const CasoFarima& c : kCasosFarima) {
    if (c.p > 1 || c.q > 1) continue;
    const Vector eta = AVector(c.eta);
    const Matrix C = CovarianzaWhittleFarima(eta, c.p, c.q);
    const Matrix D = CovarianzaFarimaLiteral(eta, c.p, c.q);
    for (std::uint32_t i = 1; i <= C.Filas(); ++i)
      for (std::uint32_t j = 1; j <= C.Columnas(); ++j)
        peor = std::max(peor, DiferenciaRelativa(C(i, j), D(i, j)));
  }
  Informar("CovarianzaWhittleFarima", peor);
  EXPECT_LE(peor, 1e-12);
}

// At H = 0.5 the density is K·(1 − cos λ)·Σ|λ + 2πk|^(−2) with K = 1/π: 1/(2π) near the
// origin, about 5 % lower at π because the sum stops at |k| = 4.
TEST(FrecuenciaObjetivos, DensidadFgnDelRuidoBlanco) {
  const Vector lambda = Rampa(1, 1, 499) * kDosPi / 1000u;
  double theta = 0.0;
  const Vector f = DensidadFgn(0.5, lambda, 1000, theta);
  const double uno = 1 / kDosPi;
  EXPECT_NEAR(f(1) * theta, uno, 1e-5 * uno);
  const double alFinal = f(499) * theta / uno;
  EXPECT_GT(alFinal, 0.93);
  EXPECT_LT(alFinal, 0.97);
  for (const double v : f) EXPECT_NEAR(v, 1.0, 0.03);
}

// For λ → 0, f ~ λ^(1 − 2H)·(1 + Σψ)²/(1 + Σφ)².
TEST(FrecuenciaObjetivos, DensidadFarimaCercaDelOrigen) {
  const Vector eta = AVector({0.8, -0.5, 0.3});
  const Vector lambda = AVector({1e-6});
  const double esperado = std::pow(1e-6, 1 - 2 * 0.8) * (1.3 * 1.3) / (0.5 * 0.5);
  EXPECT_NEAR(DensidadFarima(eta, 1, 1, lambda)(1) / esperado, 1.0, 1e-6);
}

}  // namespace

// The whole aliasing sum Σ_k |λ + 2πk|^−(2H+1): the nine terms |k| ≤ 4 plus ColaFgn,
// against λ^e + (2π)^e [ζ(−e, 1 − λ/2π) + ζ(−e, 1 + λ/2π)] (Hurwitz zeta, 40 digits).
TEST(FrecuenciaObjetivos, SumaExactaDeLaDensidadFgn) {
  struct Caso {
    double H, lambda, suma;
  };
  const Caso casos[] = {
      {0.4999, 0.1, 100.03737406752706824},   {0.4999, 3.141592653589793, 0.25007419645429126244},
      {0.6, 1, 1.0557830032708055975},        {0.6, 3, 0.18912457693985301646},
      {0.8, 0.1, 398.12914642671258105},      {0.8, 2, 0.19737024429791997256},
      {0.9, 3.141592653589793, 0.086610560822517375768},
      {1.0001, 1, 1.0110405662058771328},     {1.0001, 3, 0.06862153145295260535},
  };
  for (const Caso& c : casos) {
    const double e = -(2 * c.H + 1);
    double suma = std::pow(c.lambda, e);
    for (int k = 1; k <= 4; ++k)
      suma += std::pow(kDosPi * k - c.lambda, e) + std::pow(kDosPi * k + c.lambda, e);
    EXPECT_NEAR((suma + ColaFgn(c.lambda, e)) / c.suma, 1.0, 1e-13) << c.H << " " << c.lambda;
  }
}

// The exact objective takes λ back from the table's logarithms: it must still be the sum
// of I/f* with f* the exact density at the same frequencies.
TEST(FrecuenciaObjetivos, ObjetivoConDensidadExactaCoincideConLaDensidad) {
  const Vector serie = Fgn(4000, 0.75, 3);
  const Espectro e = EspectroLiteral(serie, (4000 - 1) / 2);
  const ObjetivoWhittleFgn objetivo(e.I, e.lambda, e.nPrima, SumaDensidad::kExacta);
  for (const double H : {0.4999, 0.6, 0.8, 0.97}) {
    const Vector f = DensidadFgn(H, e.lambda, e.nPrima, SumaDensidad::kExacta);
    double literal = 0.0;
    for (std::uint32_t j = 1; j <= e.lambda.Longitud(); ++j) literal += e.I(j) / f(j);
    EXPECT_LE(DiferenciaRelativa(objetivo(H), literal), 1e-12) << H;
  }
}
