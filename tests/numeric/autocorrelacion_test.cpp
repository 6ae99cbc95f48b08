#include "numeric/autocorrelacion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "numeric/estadistica.h"
#include "support/herramientas.h"

namespace {

enum class Tipo { Ruido, MediaGrande, Ar1, Tendencia, Entera };

Vector Serie(std::uint32_t n, Tipo tipo, unsigned semilla) {
  prueba::Normal z(semilla);
  prueba::Congruencial g(semilla);
  Vector v(n);
  double ar = 0.0;
  for (std::uint32_t i = 1; i <= n; ++i) {
    switch (tipo) {
      case Tipo::Ruido:
        v[i] = z();
        break;
      case Tipo::MediaGrande:  // counts around a large level: the mean must cancel well
        v[i] = 1.0e6 + 10.0 * z();
        break;
      case Tipo::Ar1:
        ar = 0.95 * ar + z();
        v[i] = ar;
        break;
      case Tipo::Tendencia:
        v[i] = 0.001 * i + z();
        break;
      case Tipo::Entera:
        v[i] = static_cast<double>(g.Entero(50));
        break;
    }
  }
  return v;
}

// Largest difference; NaN in both at the same place counts as equal, NaN in one only as
// infinitely different.
double MayorDiferencia(const Vector& a, const Vector& b) {
  double m = 0.0;
  for (std::uint32_t i = 1; i <= a.Longitud(); ++i) {
    if (std::isnan(a(i)) && std::isnan(b(i))) continue;
    const double d = std::fabs(a(i) - b(i));
    m = std::isnan(d) ? INFINITY : std::max(m, d);
  }
  return m;
}

TEST(AutocorrelacionRapida, IgualALasSumasDirectas) {
  struct Caso {
    std::uint32_t n, puntos;
    Tipo tipo;
  };
  const Caso casos[] = {
      {1, 1, Tipo::Ruido},  // one sample: no deviation, 0/0 in both
      {2, 2, Tipo::Ruido},          {3, 2, Tipo::Ar1},
      {100, 100, Tipo::Ruido},    {100, 10, Tipo::MediaGrande}, {1000, 1000, Tipo::Ar1},
      {1019, 1019, Tipo::Entera}, {1019, 300, Tipo::Tendencia}, {4097, 4097, Tipo::MediaGrande},
      {7919, 7919, Tipo::Ar1},    {20000, 20000, Tipo::Ruido},  {30011, 30011, Tipo::Ar1},
      {65536, 2000, Tipo::MediaGrande},
  };
  for (const Caso& c : casos) {
    const Vector v = Serie(c.n, c.tipo, c.n);
    for (int sesgada : {1, 0}) {
      const Vector directa = AutocorrelacionDirecta(v, c.puntos, sesgada);
      const Vector rapida = AutocorrelacionRapida(v, c.puntos, sesgada);
      ASSERT_EQ(rapida.Longitud(), c.puntos);
      if (c.n > 1) {
        EXPECT_EQ(rapida(1), 1.0);
      }
      EXPECT_LT(MayorDiferencia(directa, rapida), 1e-12)
          << "n = " << c.n << " puntos = " << c.puntos << " sesgada = " << sesgada;
    }
  }
}

TEST(AutocorrelacionRapida, SerieConstanteComoLasSumasDirectas) {
  // Zero deviations: both give 0/0 at every lag.
  const Vector v(500, 4.0);
  const Vector directa = AutocorrelacionDirecta(v, 500, 1);
  const Vector rapida = AutocorrelacionRapida(v, 500, 1);
  for (std::uint32_t i = 1; i <= 500; ++i) {
    EXPECT_TRUE(std::isnan(directa(i)));
    EXPECT_TRUE(std::isnan(rapida(i)));
  }
}

TEST(AutocorrelacionRapida, LongitudDeRelleno) {
  struct Caso {
    std::uint32_t n;
    std::int32_t L;
  };
  const Caso casos[] = {{1, 1},         {2, 3},          {3, 5},         {4, 8},
                        {1000, 2000},   {1019, 2048},    {1001, 2025},   {1000000, 2000000},
                        {999983, 2000000}, {500001, 1012500}};
  for (const Caso& c : casos) EXPECT_EQ(LongitudRellenoAutocorrelacion(c.n), c.L) << c.n;
}

TEST(AutocorrelacionRapida, EligeLoMasBarato) {
  EXPECT_FALSE(ConvieneAutocorrelacionRapida(100, 10));
  EXPECT_FALSE(ConvieneAutocorrelacionRapida(1000000, 5));
  EXPECT_FALSE(ConvieneAutocorrelacionRapida(1, 1));
  EXPECT_FALSE(ConvieneAutocorrelacionRapida(1000, 0));
  EXPECT_FALSE(ConvieneAutocorrelacionRapida(1000, 1001));
  EXPECT_FALSE(ConvieneAutocorrelacionRapida(1000, 1000));  // cheaper, but quick either way
  EXPECT_TRUE(ConvieneAutocorrelacionRapida(10000, 10000));
  EXPECT_FALSE(ConvieneAutocorrelacionRapida(10000, 500));
  EXPECT_TRUE(ConvieneAutocorrelacionRapida(1000000, 1000));
  EXPECT_TRUE(ConvieneAutocorrelacionRapida(1000000, 1000000));
}

TEST(Autocorrelacion, UsaLaViaRapidaConElMismoResultado) {
  // Through the public entry point: a case that takes the transforms and one that does not.
  const Vector v = Serie(5000, Tipo::Ar1, 9);
  ASSERT_TRUE(ConvieneAutocorrelacionRapida(5000, 5000));
  EXPECT_LT(MayorDiferencia(Autocorrelacion(v, 5000, 0), AutocorrelacionDirecta(v, 5000, 0)),
            1e-12);
  ASSERT_FALSE(ConvieneAutocorrelacionRapida(5000, 3));
  const Vector corta = Autocorrelacion(v, 3, 1);
  const Vector directa = AutocorrelacionDirecta(v, 3, 1);
  for (std::uint32_t i = 1; i <= 3; ++i) EXPECT_EQ(corta(i), directa(i));
}

}  // namespace
