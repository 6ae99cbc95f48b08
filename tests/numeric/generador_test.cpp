// The synthetic series generator: second-order structure of what it produces (sample
// autocovariance against the model's, averaged over seeds), the pieces of its recipe that
// fix the samples for a seed, and its refusals.
#include "numeric/generador.h"

#include "numeric/progreso.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// FARIMA(1, d, 1) autocovariance of the unit-variance X filtered by (1 + θB)/(1 − φB), by
// brute force: γU(h) = Σ_l φ^|l|·ρ(h + l)/(1 − φ²), γY(k) = (1 + θ²)γU(k) + θ(γU(k−1) + γU(k+1)).
double AutocovarianzaFarimaDirecta(double d, double phi, double theta, int k) {
  const int L = 4000;
  std::vector<double> rho(static_cast<std::size_t>(L + k + 2));
  AutocorrelacionFarima(d, rho.size(), rho.data());
  auto gammaU = [&](int h) {
    double s = 0.0;
    for (int l = -L; l <= L; ++l) s += std::pow(phi, std::abs(l)) * rho[std::abs(h + l)];
    return s / (1.0 - phi * phi);
  };
  return (1.0 + theta * theta) * gammaU(k) + theta * (gammaU(k - 1) + gammaU(k + 1));
}

struct CasoCovarianza {
  const char* nombre;
  ModeloGenerador modelo;
  double H, d, phi, theta;
  std::uint64_t n;
  int semillas;
};

// Theoretical autocovariance of the case at lag k for unit standard deviation.
double Teorica(const CasoCovarianza& c, int k) {
  switch (c.modelo) {
    case ModeloGenerador::Fgn: return AutocovarianzaFgn(c.H, static_cast<std::uint64_t>(k));
    case ModeloGenerador::Ruido: return k == 0 ? 1.0 : 0.0;
    case ModeloGenerador::Farima:
      return AutocovarianzaFarimaDirecta(c.d, c.phi, c.theta, k) /
             AutocovarianzaFarimaDirecta(c.d, c.phi, c.theta, 0);
  }
  return 0.0;
}

// Mean over seeds of the zero-mean sample autocovariance Σ x(t)x(t+k)/(n − k) (the mean is
// known, so this estimate is unbiased) must lie within 4 standard errors of the model's,
// the standard error being the spread over the seeds divided by √seeds. Lengths 2, 3, a prime
// and 2^k + 1 stand beside long series: with enough seeds they check the embedding exactly
// where its size rule has edge cases.
TEST(Generador, AutocovarianzaMuestralCoincideConLaDelModelo) {
  const CasoCovarianza casos[] = {
      {"fgn H=0.8", ModeloGenerador::Fgn, 0.8, 0, 0, 0, 50000, 32},
      {"fgn H=0.3", ModeloGenerador::Fgn, 0.3, 0, 0, 0, 50000, 32},
      {"fgn H=0.95", ModeloGenerador::Fgn, 0.95, 0, 0, 0, 50000, 32},
      {"farima(0,0.3,0)", ModeloGenerador::Farima, 0, 0.3, 0, 0, 50000, 32},
      {"farima(0,-0.3,0)", ModeloGenerador::Farima, 0, -0.3, 0, 0, 50000, 32},
      {"farima(1,0.2,1)", ModeloGenerador::Farima, 0, 0.2, 0.6, -0.3, 50000, 32},
      {"ruido", ModeloGenerador::Ruido, 0, 0, 0, 0, 50000, 8},
      {"fgn n=2", ModeloGenerador::Fgn, 0.9, 0, 0, 0, 2, 20000},
      {"fgn n=3", ModeloGenerador::Fgn, 0.2, 0, 0, 0, 3, 20000},
      {"fgn n=101", ModeloGenerador::Fgn, 0.7, 0, 0, 0, 101, 2000},
      {"farima n=1025", ModeloGenerador::Farima, 0, 0.4, 0, 0, 1025, 400},
  };
  const int retardos[] = {0, 1, 2, 3, 5, 10, 20, 50, 100, 1000};
  for (const CasoCovarianza& c : casos) {
    ParametrosGenerador p;
    p.modelo = c.modelo;
    p.H = c.H;
    p.d = c.d;
    p.phi = c.phi;
    p.theta = c.theta;
    p.n = c.n;
    std::vector<double> suma(std::size(retardos)), suma2(std::size(retardos));
    for (int s = 0; s < c.semillas; ++s) {
      p.semilla = 1000 + static_cast<std::uint64_t>(s);
      Vector x;
      ASSERT_EQ(GenerarSerie(p, x), kGeneradorOk) << c.nombre;
      ASSERT_EQ(x.Longitud(), c.n) << c.nombre;
      const double* v = x.Datos();
      for (std::size_t r = 0; r < std::size(retardos); ++r) {
        const auto k = static_cast<std::uint64_t>(retardos[r]);
        if (k >= c.n) continue;
        double g = 0.0;
        for (std::uint64_t t = 0; t + k < c.n; ++t) g += v[t] * v[t + k];
        g /= static_cast<double>(c.n - k);
        suma[r] += g;
        suma2[r] += g * g;
      }
    }
    for (std::size_t r = 0; r < std::size(retardos); ++r) {
      const int k = retardos[r];
      if (static_cast<std::uint64_t>(k) >= c.n) continue;
      const double media = suma[r] / c.semillas;
      const double varianza = (suma2[r] - c.semillas * media * media) / (c.semillas - 1);
      const double error = std::sqrt(std::max(varianza, 0.0) / c.semillas);
      EXPECT_NEAR(media, Teorica(c, k), 4.0 * error + 1e-12) << c.nombre << ", retardo " << k;
    }
  }
}

// The recipe fixes the samples for a seed: the embedding size rule, the first normal
// deviates and a few samples of each model (the reference values were produced by this
// recipe; a change in any of its steps changes them).
TEST(Generador, LaRecetaFijaLasMuestras) {
  const std::pair<std::uint64_t, std::uint64_t> tamanos[] = {
      {2, 2}, {3, 4}, {4, 6}, {7, 12}, {1025, 2048}, {10007, 20250}, {10000000, 20000000}};
  for (const auto& [N, m] : tamanos) EXPECT_EQ(TamanoInmersion(N), m) << "N = " << N;

  NormalPortable z(1);
  const double primeras[] = {-0x1.42c3b2b72217p-5, -0x1.8c1da014dda08p-2, -0x1.fdd85e535a47ap-3,
                            0x1.5fa75918ca312p-1};
  for (double esperada : primeras) EXPECT_EQ(z(), esperada);

  struct Caso {
    ModeloGenerador modelo;
    double H, d, phi, theta;
    double muestras[3];
  };
  const Caso casos[] = {
      {ModeloGenerador::Fgn, 0.8, 0, 0, 0, {5.7375063042666703, 3.916378096768431, 3.1098736371979778}},
      {ModeloGenerador::Farima, 0, 0.3, 0.5, -0.2, {5.5105613406728748, 3.4786537137264437, 3.5448879071726251}},
      {ModeloGenerador::Ruido, 0, 0, 0, 0, {3.0548742446962507, 4.2096982634154188, 7.4727451607133126}},
  };
  for (const Caso& c : casos) {
    ParametrosGenerador p;
    p.modelo = c.modelo;
    p.H = c.H;
    p.d = c.d;
    p.phi = c.phi;
    p.theta = c.theta;
    p.n = 1000;
    p.media = 5.0;
    p.desviacion = 2.0;
    p.semilla = 7;
    Vector x;
    ASSERT_EQ(GenerarSerie(p, x), kGeneradorOk);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(x(static_cast<std::uint32_t>(1 + 333 * i)), c.muestras[i], 1e-12);
  }
}

// Normal deviates: the logarithm against the library's and the distribution function at a
// few points over a million draws (binomial standard error below 5e-4).
TEST(Generador, DesviacionesNormales) {
  for (double x : {1e-300, 4.9e-324, 1e-5, 0.1, 0.5, 0.7071, 0.9999999, 1.0, 1.0000001, 1.5,
                   1.99999, 2.0, 3.0, 1e10, 1e300})
    EXPECT_NEAR(LogPortable(x), std::log(x), 4e-16 * std::max(1.0, std::fabs(std::log(x))))
        << x;

  NormalPortable z(42);
  const double puntos[] = {-3.0, -2.0, -1.0, -0.5, 0.0, 0.5, 1.0, 2.0, 3.0};
  std::vector<int> debajo(std::size(puntos));
  const int n = 1000000;
  for (int i = 0; i < n; ++i) {
    const double v = z();
    for (std::size_t j = 0; j < std::size(puntos); ++j) debajo[j] += v < puntos[j];
  }
  for (std::size_t j = 0; j < std::size(puntos); ++j) {
    const double phi = 0.5 * std::erfc(-puntos[j] / std::sqrt(2.0));
    EXPECT_NEAR(static_cast<double>(debajo[j]) / n, phi, 2e-3) << puntos[j];
  }
}

// The FGN autocovariance against the direct formula in long double at lags where that is
// still accurate to 1e-14, and far out against its asymptote.
TEST(Generador, AutocovarianzaFgnSinCancelacion) {
  for (double H : {0.05, 0.3, 0.5, 0.7, 0.9, 0.99}) {
    for (std::uint64_t k : {1, 2, 3, 10, 100}) {
      const long double a = 2.0L * H, kk = k;
      const long double directa =
          0.5L * (std::pow(kk + 1, a) - 2 * std::pow(kk, a) + std::pow(kk - 1, a));
      EXPECT_NEAR(AutocovarianzaFgn(H, k), static_cast<double>(directa),
                  1e-13 * std::fabs(static_cast<double>(directa)) + 1e-17)
          << "H = " << H << ", k = " << k;
    }
  }
  EXPECT_EQ(AutocovarianzaFgn(0.5, 1000000), 0.0);
  // Far out the autocovariance follows H(2H − 1)k^{2H − 2}.
  EXPECT_NEAR(AutocovarianzaFgn(0.8, 10000000) / (0.8 * 0.6 * std::pow(1e7, -0.4)), 1.0, 1e-12);
}

// The FARIMA variance in closed form for ARMA(1, 1) (d = 0), a cancelling filter (θ = −φ)
// and against the brute-force sum.
TEST(Generador, VarianzaFarima) {
  EXPECT_NEAR(VarianzaFarima(0.0, 0.5, 0.4), (1 + 0.16 + 2 * 0.5 * 0.4) / 0.75, 1e-14);
  EXPECT_NEAR(VarianzaFarima(0.0, -0.9, 0.0), 1 / 0.19, 1e-12);
  EXPECT_NEAR(VarianzaFarima(0.35, 0.7, -0.7), 1.0, 1e-12);
  for (double d : {-0.4, 0.1, 0.45})
    for (double phi : {-0.6, 0.0, 0.8})
      for (double theta : {-1.0, 0.5, 2.0})
        EXPECT_NEAR(VarianzaFarima(d, phi, theta),
                    AutocovarianzaFarimaDirecta(d, phi, theta, 0),
                    1e-9 * AutocovarianzaFarimaDirecta(d, phi, theta, 0))
            << d << " " << phi << " " << theta;
  EXPECT_EQ(CalentamientoFarima(0.0, 0.0), 0u);
  EXPECT_EQ(CalentamientoFarima(0.0, 0.5), 1000u);
  EXPECT_EQ(CalentamientoFarima(-0.5, 0.0), 1000u);
  EXPECT_EQ(CalentamientoFarima(0.999, 0.0), 19990u);  // ⌈20/−ln 0.999⌉ = ⌈19989.997⌉
}

// Each bad parameter is refused with its own status and a message, and nothing is written.
TEST(Generador, ParametrosRechazados) {
  struct Caso {
    const char* nombre;
    void (*cambiar)(ParametrosGenerador&);
    int estado;
  };
  constexpr double sNan = std::numeric_limits<double>::quiet_NaN();
  const Caso casos[] = {
      {"H = 0", [](ParametrosGenerador& p) { p.H = 0.0; }, kGeneradorH},
      {"H = 1", [](ParametrosGenerador& p) { p.H = 1.0; }, kGeneradorH},
      {"H NaN", [](ParametrosGenerador& p) { p.H = sNan; }, kGeneradorH},
      {"n = 1", [](ParametrosGenerador& p) { p.n = 1; }, kGeneradorLongitud},
      {"n = 0 ruido", [](ParametrosGenerador& p) { p.modelo = ModeloGenerador::Ruido; p.n = 0; },
       kGeneradorLongitud},
      {"d = 0.5", [](ParametrosGenerador& p) { p.modelo = ModeloGenerador::Farima; p.d = 0.5; },
       kGeneradorD},
      {"d = -0.5", [](ParametrosGenerador& p) { p.modelo = ModeloGenerador::Farima; p.d = -0.5; },
       kGeneradorD},
      {"phi = 1", [](ParametrosGenerador& p) { p.modelo = ModeloGenerador::Farima; p.phi = 1.0; },
       kGeneradorPhi},
      {"phi = -1.5",
       [](ParametrosGenerador& p) { p.modelo = ModeloGenerador::Farima; p.phi = -1.5; },
       kGeneradorPhi},
      {"theta inf",
       [](ParametrosGenerador& p) { p.modelo = ModeloGenerador::Farima; p.theta = HUGE_VAL; },
       kGeneradorTheta},
      {"media NaN", [](ParametrosGenerador& p) { p.media = sNan; }, kGeneradorMedia},
      {"desviacion 0", [](ParametrosGenerador& p) { p.desviacion = 0.0; }, kGeneradorDesviacion},
      {"desviacion subnormal", [](ParametrosGenerador& p) { p.desviacion = 0x1p-1023; },
       kGeneradorDesviacionMinima},
      {"n = 2^32", [](ParametrosGenerador& p) { p.n = std::uint64_t{1} << 32; },
       kGeneradorDemasiadoLarga},
      {"n = 2^31 fgn", [](ParametrosGenerador& p) { p.n = std::uint64_t{1} << 31; },
       kGeneradorDemasiadoLarga},
      {"phi near 1",
       [](ParametrosGenerador& p) {
         p.modelo = ModeloGenerador::Farima;
         p.phi = 1.0 - 1e-12;
       },
       kGeneradorDemasiadoLarga},
  };
  for (const Caso& c : casos) {
    ParametrosGenerador p;
    c.cambiar(p);
    EXPECT_EQ(ValidarGenerador(p), c.estado) << c.nombre;
    Vector x(3, 7.0);
    EXPECT_EQ(GenerarSerie(p, x), c.estado) << c.nombre;
    EXPECT_EQ(x.Longitud(), 3u) << c.nombre;
    EXPECT_FALSE(MensajeGenerador(c.estado).empty()) << c.nombre;
  }
  // The largest length of each model is accepted and one more is refused.
  const std::pair<ModeloGenerador, double> modelos[] = {
      {ModeloGenerador::Fgn, 0.0},      {ModeloGenerador::Farima, 0.0},
      {ModeloGenerador::Farima, 0.5},   {ModeloGenerador::Farima, 0.999},
      {ModeloGenerador::Ruido, 0.0}};
  for (const auto& [modelo, phi] : modelos) {
    ParametrosGenerador p;
    p.modelo = modelo;
    p.phi = phi;
    p.n = LongitudMaximaGenerador(p);
    SCOPED_TRACE(testing::Message() << "modelo " << static_cast<int>(modelo) << ", phi " << phi);
    EXPECT_EQ(ValidarGenerador(p), kGeneradorOk);
    ++p.n;
    EXPECT_EQ(ValidarGenerador(p), kGeneradorDemasiadoLarga);
    EXPECT_THAT(MensajeGenerador(kGeneradorDemasiadoLarga, p),
                testing::HasSubstr("es " + std::to_string(p.n - 1)));
  }
  // The other models' parameters are not looked at.
  ParametrosGenerador ruido;
  ruido.modelo = ModeloGenerador::Ruido;
  ruido.H = 7.0;
  ruido.d = 7.0;
  EXPECT_EQ(ValidarGenerador(ruido), kGeneradorOk);
}

// Series that doubles cannot hold are refused with nothing written; a large MA coefficient
// is not one of them: its filter runs scaled, and as θ grows the series tends to the AR
// series of the same deviates one sample behind.
TEST(Generador, SeriesNoRepresentables) {
  struct Caso {
    ModeloGenerador modelo;
    double media, desviacion;
    int estado;
  };
  const Caso casos[] = {
      {ModeloGenerador::Ruido, 0.0, 1e308, kGeneradorNoFinita},
      {ModeloGenerador::Fgn, 0.0, 5e307, kGeneradorNoFinita},
      {ModeloGenerador::Farima, 1.7e308, 1e307, kGeneradorNoFinita},
      {ModeloGenerador::Fgn, 1e20, 1.0, kGeneradorConstante},
      {ModeloGenerador::Ruido, 0.0, 1e307, kGeneradorOk},
      {ModeloGenerador::Ruido, 0.0, 0x1p-1022, kGeneradorOk},
  };
  for (const Caso& c : casos) {
    ParametrosGenerador p;
    p.modelo = c.modelo;
    p.media = c.media;
    p.desviacion = c.desviacion;
    p.n = 1000;
    SCOPED_TRACE(testing::Message() << "media " << c.media << ", desviacion " << c.desviacion);
    Vector x(3, 7.0);
    ASSERT_EQ(GenerarSerie(p, x), c.estado);
    if (c.estado != kGeneradorOk) {
      EXPECT_EQ(x.Longitud(), 3u);
      EXPECT_FALSE(MensajeGenerador(c.estado).empty());
    } else {
      for (double v : x) ASSERT_TRUE(std::isfinite(v));
    }
  }

  ParametrosGenerador p;
  p.modelo = ModeloGenerador::Farima;
  p.phi = 0.5;
  p.n = 1000;
  Vector ar;
  ASSERT_EQ(GenerarSerie(p, ar), kGeneradorOk);
  for (double theta : {1e155, -1e308, 1.7e308}) {
    p.theta = theta;
    Vector x;
    ASSERT_EQ(GenerarSerie(p, x), kGeneradorOk) << theta;
    const double signo = theta > 0 ? 1.0 : -1.0;
    for (std::uint32_t i = 2; i <= 1000; ++i) ASSERT_NEAR(x(i), signo * ar(i - 1), 1e-12) << theta;
  }
  // The scaled variance is the variance scaled exactly.
  for (double theta : {-3.0, 1.5, 1e6})
    EXPECT_EQ(VarianzaFarima(0.3, 0.5, theta, 4), std::ldexp(VarianzaFarima(0.3, 0.5, theta), -8));
}

// In blocks the series is the same, bit for bit, as whole, for every model and across block
// boundaries; a series that cannot be represented hands out nothing; a false from the
// receiver stops the generation.
TEST(Generador, EnBloquesComoEntera) {
  struct Caso {
    ModeloGenerador modelo;
    double phi, theta, media, desviacion;
    std::uint64_t n;
    int estado;
  };
  const Caso casos[] = {
      {ModeloGenerador::Fgn, 0, 0, 5, 2, 200003, kGeneradorOk},
      {ModeloGenerador::Farima, 0.5, 1e155, 0, 1, 70000, kGeneradorOk},
      {ModeloGenerador::Ruido, 0, 0, 0, 1, 131073, kGeneradorOk},
      {ModeloGenerador::Fgn, 0, 0, 0.0, 5e307, 1000, kGeneradorNoFinita},
      {ModeloGenerador::Ruido, 0, 0, 1e20, 1.0, 1000, kGeneradorConstante},
  };
  for (const Caso& c : casos) {
    ParametrosGenerador p;
    p.modelo = c.modelo;
    p.phi = c.phi;
    p.theta = c.theta;
    p.media = c.media;
    p.desviacion = c.desviacion;
    p.n = c.n;
    SCOPED_TRACE(testing::Message() << "modelo " << static_cast<int>(c.modelo) << ", n " << c.n);
    Vector entera;
    ASSERT_EQ(GenerarSerie(p, entera), c.estado);
    std::vector<double> bloques;
    std::size_t entregas = 0;
    EXPECT_EQ(GenerarSerieEnBloques(p, [&](const double* x, std::size_t k) {
                ++entregas;
                bloques.insert(bloques.end(), x, x + k);
                return true;
              }),
              c.estado);
    EXPECT_EQ(bloques, std::vector<double>(entera.begin(), entera.end()));
    if (c.estado != kGeneradorOk) continue;
    EXPECT_EQ(entregas, (c.n + 65535) / 65536);
    entregas = 0;
    EXPECT_EQ(GenerarSerieEnBloques(p, [&](const double*, std::size_t) { return ++entregas > 1; }),
              kGeneradorOk);
    EXPECT_EQ(entregas, 1u);
  }
}

// An autocovariance whose circulant has a negative eigenvalue (1 + 1.8·cos(2πk/8) at k = 4)
// is refused before any deviate is drawn; a valid one of the same shape is accepted.
TEST(Generador, AutovalorNegativoSeRechaza) {
  for (const auto& [rho, estado] : {std::pair{0.9, kGeneradorAutovalorNegativo},
                                    std::pair{0.5, kGeneradorOk}}) {
    double x[8] = {1.0, rho, 0.0, 0.0, 0.0}, re[8], im[8];
    NormalPortable normal(3), referencia(3);
    EXPECT_EQ(InmersionCirculante(4, x, re, im, normal), estado) << rho;
    if (estado != kGeneradorOk) {
      EXPECT_EQ(normal(), referencia());
    }
  }
}

// In a child: limits the address space to 1 GB and asks for 10^8 samples of FGN (about
// 5.6 GB of work storage); 0 when that is refused as lack of memory with nothing written.
int GeneraConPocaMemoria() {
  const rlimit limite{1u << 30, 1u << 30};
  setrlimit(RLIMIT_AS, &limite);
  ParametrosGenerador p;
  p.n = 100000000;
  Vector x;
  return GenerarSerie(p, x) == kGeneradorSinMemoria && x.Longitud() == 0 ? 0 : 1;
}

// A length whose work storage the address space cannot hold is refused instead of ending in
// the program's out-of-memory handler (run in a child with a 1 GB address-space limit).
TEST(Generador, SinMemoriaSeRechaza) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs an unlimited address space";
#else
  EXPECT_EXIT(std::exit(GeneraConPocaMemoria()), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace

namespace {

// Every model reports its progress up to the end and, cancelled, stops with Cancelado at
// its next check with the output untouched: cancelled from the start and, for FGN (the
// longest work), cancelled by another thread once a tenth of the work is done: the fraction
// then stays well short of the end, so the stop came at once rather than at the end.
TEST(Generador, ProgresoYCancelacion) {
  struct Caso {
    const char* nombre;
    ModeloGenerador modelo;
    double phi;
  };
  for (const Caso& c : {Caso{"fgn", ModeloGenerador::Fgn, 0.0},
                        Caso{"farima", ModeloGenerador::Farima, 0.5},
                        Caso{"ruido", ModeloGenerador::Ruido, 0.0}}) {
    SCOPED_TRACE(c.nombre);
    ParametrosGenerador p;
    p.modelo = c.modelo;
    p.phi = c.phi;
    p.n = 1u << 20;
    {
      ControlProgreso control;
      Vector salida;
      {
        ProgresoInstalado instalado(control);
        ASSERT_EQ(GenerarSerie(p, salida), kGeneradorOk);
      }
      EXPECT_GE(control.Fraccion(), 0.95);
      EXPECT_LE(control.Fraccion(), 1.0);
    }
    {
      ControlProgreso control;
      control.Cancelar();
      Vector salida(3);
      ProgresoInstalado instalado(control);
      EXPECT_THROW(GenerarSerie(p, salida), Cancelado);
      EXPECT_EQ(salida.Longitud(), 3u);
    }
    if (c.modelo == ModeloGenerador::Fgn) {
      ControlProgreso control;
      std::atomic<bool> fin{false};
      std::thread vigia([&] {
        while (!fin.load() && control.Fraccion() < 0.1) std::this_thread::yield();
        control.Cancelar();
      });
      Vector salida;
      {
        ProgresoInstalado instalado(control);
        EXPECT_THROW(GenerarSerie(p, salida), Cancelado);
      }
      fin = true;
      vigia.join();
      EXPECT_EQ(salida.Longitud(), 0u);
      EXPECT_LT(control.Fraccion(), 0.7);
    }
  }
}

}  // namespace
