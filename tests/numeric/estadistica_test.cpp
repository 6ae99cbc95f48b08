#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <vector>

#include "numeric/autocorrelacion.h"
#include "numeric/error.h"
#include "numeric/estadistica.h"
#include "support/error_numerico.h"
#include "support/herramientas.h"

namespace {

using prueba::V;
using prueba::Copia;

// The full text of a library fault.
std::string Fatal(FalloEjecucion codigo) {
  return std::string("error en tiempo de ejecución: ") + MensajeErrorEjecucion(codigo);
}

TEST(Estadistica, SumaExtremosMedia) {
  const Vector v = V({3, 7, 7, 1});
  EXPECT_EQ(Suma(v), 18.0);
  EXPECT_EQ(Suma(Vector()), 0.0);
  EXPECT_EQ(Maximo(v), 7.0);
  EXPECT_EQ(Minimo(v), 1.0);
  EXPECT_EQ(Media(v), 4.5);
  EXPECT_EQ(Maximo(V({-2})), -2.0);
}

TEST(Estadistica, VarianzaDivideEntreNMenosUno) {
  EXPECT_DOUBLE_EQ(Varianza(V({1, 2, 3, 4})), 5.0 / 3.0);
  EXPECT_EQ(Varianza(V({2, 2, 2})), 0.0);
  // Same rounding as the element-wise definition Suma(pow(v - media, 2)) / (n - 1).
  const Vector x = V({0.1, 0.7, 1e3, -3.3, 2.25, 9e-4});
  const double esperado = Suma(pow(x - Media(x), 2.0)) / 5.0;
  EXPECT_EQ(Varianza(x), esperado);
}

// The mean and variance of {1, 2, 3, 4}·2^k at every magnitude: the true values 2.5·2^k and
// (5/3)·2^2k when they are doubles (subnormal included), a refusal when they are not; and
// the same bits as Media and Varianza for an ordinary series.
TEST(Estadistica, MediaYVarianzaDeCualquierMagnitud) {
  struct Caso {
    int k;
    bool media, varianza;  // representable
  };
  const Caso casos[] = {
      {0, true, true},      {300, true, true},     {511, true, true},   {512, true, false},
      {1020, true, false},  {-300, true, true},    {-530, true, true},  {-540, true, false},
      {-1000, true, false}, {-1073, true, false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "k = " << c.k);
    const Vector v = V({std::ldexp(1.0, c.k), std::ldexp(2.0, c.k), std::ldexp(3.0, c.k),
                        std::ldexp(4.0, c.k)});
    const int e = ExponenteDeEscala(v);
    const Vector escalada = e != 0 ? EscalarPotenciaDeDos(v, e) : v;
    const Estadistico media = MediaDeEscalada(escalada, e);
    const Estadistico varianza = VarianzaDeEscalada(escalada, e);
    EXPECT_EQ(media.representable, c.media);
    EXPECT_EQ(varianza.representable, c.varianza);
    if (c.media) {
      EXPECT_EQ(media.valor, std::ldexp(2.5, c.k));
    }
    if (c.varianza) {
      EXPECT_EQ(varianza.valor, std::ldexp(Varianza(V({1, 2, 3, 4})), 2 * c.k));
    } else {
      EXPECT_TRUE(c.k > 0 ? std::isinf(varianza.valor) : varianza.valor == 0.0);
    }
  }
  const Vector x = V({0.1, 0.7, 1e3, -3.3, 2.25, 9e-4});
  ASSERT_EQ(ExponenteDeEscala(x), 0);
  EXPECT_EQ(MediaDeEscalada(x, 0).valor, Media(x));
  EXPECT_EQ(VarianzaDeEscalada(x, 0).valor, Varianza(x));
  // A mean that is not zero but below the smallest double.
  const Vector diminuta = V({std::numeric_limits<double>::denorm_min(), 0.0});
  const int e = ExponenteDeEscala(diminuta);
  EXPECT_FALSE(MediaDeEscalada(EscalarPotenciaDeDos(diminuta, e), e).representable);
  // Values near the largest double, whose plain sum overflows.
  const Vector grandes = V({1e307, 1.5e307, 1.7e308, 1.7e308});
  const int eg = ExponenteDeEscala(grandes);
  const Estadistico m = MediaDeEscalada(EscalarPotenciaDeDos(grandes, eg), eg);
  EXPECT_TRUE(m.representable);
  EXPECT_DOUBLE_EQ(m.valor, 9.125e307);
}

TEST(Estadistica, SumaAcumulada) {
  EXPECT_EQ(Copia(SumaAcumulada(V({1, 2, 3, -6}))), (std::vector<double>{1, 3, 6, 0}));
  EXPECT_EQ(Copia(SumaAcumulada(V({5}))), (std::vector<double>{5}));
}

TEST(Estadistica, Agregar) {
  Vector diez(10);
  for (std::uint32_t i = 1; i <= 10; ++i) diez[i] = i;
  struct Caso {
    std::uint32_t m;
    std::vector<double> esperado;
  };
  const Caso casos[] = {
      {3, {2, 5, 8}},  // sample 10 does not fill a block
      {11, {}},
      {10, {5.5}},
      {1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {4, {2.5, 6.5}},
  };
  for (const Caso& c : casos) EXPECT_EQ(Copia(Agregar(diez, c.m)), c.esperado) << "m = " << c.m;
  EXPECT_EQ(Agregar(Vector(), 3).Longitud(), 0u);
  // Block sums are Agregar(v, m) * m.
  EXPECT_EQ(Copia(Agregar(diez, 5) * 5.0), (std::vector<double>{15, 40}));
}

// Several levels in one pass give each level's means and sum as MediasDeBloques does, bit
// for bit: blocks within a stretch of the pass, across two or more, ending on a stretch
// boundary or just past it, a level of the whole series and one longer than it.
TEST(Estadistica, MediasDeBloquesVariasComoUnaAUna) {
  const Vector serie = prueba::RuidoGaussiano(100003, 7) * 1e3 + 5.0;
  const std::vector<std::uint32_t> niveles = {1, 2, 7, 10, 4096, 16383, 16384, 16385,
                                              40000, 100003, 100004};
  std::vector<std::vector<double>> medias;
  std::vector<double> sumas;
  MediasDeBloquesVarias(serie, niveles, medias, sumas);
  ASSERT_EQ(medias.size(), niveles.size());
  ASSERT_EQ(sumas.size(), niveles.size());
  for (std::size_t l = 0; l < niveles.size(); ++l) {
    SCOPED_TRACE(niveles[l]);
    std::vector<double> esperadas;
    const double suma = MediasDeBloques(serie, niveles[l], esperadas);
    EXPECT_EQ(medias[l], esperadas);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(sumas[l]), std::bit_cast<std::uint64_t>(suma));
  }
}

TEST(Estadistica, AutocorrelacionEmpiezaEnUnoYUsaLaMediaGlobal) {
  const Vector x = V({1, 3, 2, 5, 4});
  // mean 3, deviations -2 0 -1 2 1; sums by lag: 10, 0, 1, -4, -2.
  const std::vector<double> s = {10, 0, 1, -4, -2};
  const Vector sesgada = Autocorrelacion(x, 5, 1);
  const Vector insesgada = Autocorrelacion(x, 5, 0);
  ASSERT_EQ(sesgada.Longitud(), 5u);
  ASSERT_EQ(insesgada.Longitud(), 5u);
  EXPECT_EQ(sesgada(1), 1.0);
  EXPECT_EQ(insesgada(1), 1.0);
  for (std::uint32_t r = 0; r < 5; ++r) {
    EXPECT_DOUBLE_EQ(sesgada(r + 1), (s[r] / 5.0) / (10.0 / 5.0)) << r;
    EXPECT_DOUBLE_EQ(insesgada(r + 1), (s[r] / (5.0 - r)) / (10.0 / 5.0)) << r;
    // Biased and unbiased differ only by the factor (n - r) / n.
    EXPECT_DOUBLE_EQ(sesgada(r + 1), insesgada(r + 1) * (5.0 - r) / 5.0) << r;
  }
  // With puntos = n the last element comes from a single product: (-2)(1) / 1 / 2.
  EXPECT_DOUBLE_EQ(insesgada(5), -1.0);
  // Fewer lags give the prefix.
  const Vector tres = Autocorrelacion(x, 3, 1);
  EXPECT_EQ(Copia(tres), std::vector<double>(sesgada.begin(), sesgada.begin() + 3));
}

TEST(Estadistica, AutocorrelacionDeUnaSenoideAlterna) {
  // Alternating series: lag r has correlation (-1)^r (n - r) / n (biased) or (-1)^r.
  const Vector x = prueba::Alterna(100, 1.0, -1.0);
  const Vector b = Autocorrelacion(x, 10, 1);
  const Vector u = Autocorrelacion(x, 10, 0);
  for (std::uint32_t r = 0; r < 10; ++r) {
    const double signo = (r % 2) ? -1.0 : 1.0;
    EXPECT_NEAR(u(r + 1), signo, 1e-15);
    EXPECT_NEAR(b(r + 1), signo * (100.0 - r) / 100.0, 1e-15);
  }
}

TEST(Estadistica, AutocorrelacionComoLaDefinicion) {
  // Literal definition: element-wise products of subvectors, summed in increasing j.
  Vector x(257);
  prueba::Congruencial g;
  for (std::uint32_t i = 1; i <= 257; ++i) {
    x[i] = g.Uniforme() + 0.25 * (i % 7);
  }
  const std::uint32_t n = x.Longitud();
  const double media = Media(x);
  for (int sesgada : {1, 0}) {
    const Vector a = Autocorrelacion(x, n, sesgada);
    Vector esperado(n);
    for (std::uint32_t r = 0; r < n; ++r) {
      const Vector p = (x.SubVector(1, n - r) - media) * (x.SubVector(1 + r, n) - media);
      esperado[r + 1] = Suma(p) / (sesgada ? n : n - r);
    }
    esperado /= esperado(1);
    ASSERT_EQ(a.Longitud(), n);
    for (std::uint32_t k = 1; k <= n; ++k) ASSERT_EQ(a(k), esperado(k)) << k << " " << sesgada;
  }
}

TEST(Estadistica, Rampa) {
  struct Caso {
    std::int32_t inicio, salto, fin;
    std::vector<double> esperado;
  };
  const Caso casos[] = {
      {1, 1, 5, {1, 2, 3, 4, 5}},
      {1, 3, 3, {1}},
      {2, 2, 9, {2, 4, 6, 8}},
      {-3, 2, 1, {-3, -1, 1}},
      {7, 1, 7, {7}},
      {2147483646, 1, 2147483647, {2147483646, 2147483647}},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(Copia(Rampa(c.inicio, c.salto, c.fin)), c.esperado)
        << c.inicio << " " << c.salto << " " << c.fin;
}

TEST(Estadistica, CodigosDeError) {
  const Vector x = V({1, 2, 3});
  const struct {
    const char* que;
    std::function<void()> accion;
    FalloEjecucion codigo;
  } casos[] = {
      {"Rampa(1, 3, 2)", [] { Rampa(1, 3, 2); }, kFalloExtremosRampa},
      {"Rampa(5, 0, 9)", [] { Rampa(5, 0, 9); }, kFalloSaltoRampa},
      {"Rampa(5, -1, 9)", [] { Rampa(5, -1, 9); }, kFalloSaltoRampa},
      {"Rampa(1, 1, 0)", [] { Rampa(1, 1, 0); }, kFalloExtremosRampa},
      // No overflow near the top of the range: still the span check.
      {"Rampa(max, 2, max)", [] { Rampa(2147483647, 2, 2147483647); }, kFalloExtremosRampa},
      {"Agregar(x, 0)", [&] { Agregar(x, 0); }, kFalloNivelAgregacion},
      {"Autocorrelacion(x, 0)", [&] { Autocorrelacion(x, 0, 1); }, kFalloPuntosAutocorrelacion},
      {"Autocorrelacion(x, 4)", [&] { Autocorrelacion(x, 4, 0); }, kFalloPuntosAutocorrelacion},
      {"Maximo(vacio)", [] { Maximo(Vector()); }, kFalloIndiceVector},
      {"Minimo(vacio)", [] { Minimo(Vector()); }, kFalloIndiceVector},
      {"SumaAcumulada(vacio)", [] { SumaAcumulada(Vector()); }, kFalloIndiceVector},
  };
  for (const auto& c : casos) {
    const prueba::Fallo f = prueba::FalloNumerico(c.accion);
    EXPECT_EQ(f.codigo, c.codigo) << c.que;
    EXPECT_EQ(f.texto, Fatal(c.codigo)) << c.que;
  }
}

}  // namespace
