#include "numeric/fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <thread>
#include <vector>

#include "support/herramientas.h"

namespace {

std::vector<std::int32_t> Lista(std::int32_t n) {
  const ListaFactores l = FactorizarLongitud(n);
  return std::vector<std::int32_t>(l.factor.begin(), l.factor.begin() + l.cuenta);
}

std::int32_t MayorFactorPrimo(std::int32_t n) {
  std::int32_t mayor = 1;
  for (std::int32_t p = 2; static_cast<std::int64_t>(p) * p <= n; ++p) {
    while (n % p == 0) {
      mayor = p;
      n /= p;
    }
  }
  return n > 1 ? std::max(mayor, n) : mayor;
}

// Direct DFT with exact angle reduction: cos/sin tabulated at 2πm/n, index jk mod n.
void DftDirecta(const std::vector<double>& x, std::vector<double>& re, std::vector<double>& im) {
  const std::size_t n = x.size();
  std::vector<double> c(n), s(n);
  for (std::size_t m = 0; m < n; ++m) {
    const double a = 2.0 * std::numbers::pi * static_cast<double>(m) / static_cast<double>(n);
    c[m] = std::cos(a);
    s[m] = std::sin(a);
  }
  re.assign(n, 0.0);
  im.assign(n, 0.0);
  for (std::size_t k = 0; k < n; ++k) {
    double sr = 0.0, si = 0.0;
    std::size_t m = 0;
    for (std::size_t j = 0; j < n; ++j) {
      sr += x[j] * c[m];
      si -= x[j] * s[m];
      m += k;
      if (m >= n) m -= n;
    }
    re[k] = sr;
    im[k] = si;
  }
}

std::vector<double> Aleatoria(std::size_t n, unsigned semilla) {
  prueba::Congruencial g(semilla);
  std::vector<double> x(n);
  for (double& v : x) v = g.Uniforme(-1.0, 1.0);
  return x;
}

// Largest difference between Fft and the direct DFT, relative to the largest magnitude.
double ErrorRelativo(std::int32_t n, unsigned semilla) {
  const std::vector<double> x = Aleatoria(static_cast<std::size_t>(n), semilla);
  std::vector<double> re(n), im(n), dr, di;
  EXPECT_EQ(Fft(n, x.data(), re.data(), im.data()), n);
  DftDirecta(x, dr, di);
  double mayor = 0.0, dif = 0.0;
  for (std::int32_t k = 0; k < n; ++k) {
    mayor = std::max(mayor, std::hypot(dr[k], di[k]));
    dif = std::max(dif, std::hypot(re[k] - dr[k], im[k] - di[k]));
  }
  return mayor > 0.0 ? dif / mayor : dif;
}

TEST(FactorizarLongitud, EjemplosDelOrdenDeRadices) {
  struct Caso {
    std::int32_t n;
    std::vector<std::int32_t> factores;
  };
  const Caso casos[] = {
      {1, {1}},
      {2, {2}},
      {16, {4, 4}},            // 8·2 becomes 4·4
      {1000, {10, 10, 10}},
      {1024, {8, 8, 4, 4}},
      {4096, {8, 8, 8, 8}},
      {480, {10, 4, 3, 4}},    // from 10, 8, 3, 2
      {12, {4, 3}},
      {2310, {10, 3, 7, 11}},
      {1015, {5, 7, 29}},
      {82, {2, 41}},
      {74, {2, 37}},
      {49, {7, 7}},
      {1018, {2, 509}},
      {1017, {3, 3, 113}},
      {1016, {8, 127}},
      {20, {10, 2}},            // a final 2 with no 8 before it stays
      {240, {10, 8, 3}},        // the last factor is 3: the 8 stays
      {7 * 7 * 11 * 2, {2, 7, 7, 11}},
      {2147483647, {2147483647}},
      {1162261467, std::vector<std::int32_t>(19, 3)},  // 3^19: the longest list
  };
  for (const Caso& c : casos) EXPECT_EQ(Lista(c.n), c.factores) << "n = " << c.n;
}

TEST(FactorizarLongitud, ProductoIgualALaLongitud) {
  for (std::int32_t n = 1; n <= 5000; ++n) {
    std::int64_t p = 1;
    for (std::int32_t f : Lista(n)) p *= f;
    ASSERT_EQ(p, n);
  }
}

TEST(Fft, LongitudAcortada) {
  struct Caso {
    std::int32_t n, nPrima;
  };
  const Caso casos[] = {{1, 1},       {2, 2},         {37, 37},       {41, 40},
                        {74, 74},     {82, 81},       {1000, 1000},   {1019, 1015},
                        {1018, 1015}, {1016, 1015},   {1015, 1015},   {999983, 999936}};
  for (const Caso& c : casos) {
    EXPECT_EQ(LongitudTransformable(c.n), c.nPrima) << "n = " << c.n;
    std::vector<double> x(c.n, 1.0), re(c.n, -7.0), im(c.n, -7.0);
    EXPECT_EQ(Fft(c.n, x.data(), re.data(), im.data()), c.nPrima) << "n = " << c.n;
    // Entries from n' on are left untouched.
    for (std::int32_t k = c.nPrima; k < c.n; ++k) {
      EXPECT_EQ(re[k], -7.0);
      EXPECT_EQ(im[k], -7.0);
    }
  }
}

TEST(Fft, AcortaAlMayorLargoConFactoresHasta37) {
  for (std::int32_t n = 1; n <= 3000; ++n) {
    const std::int32_t np = LongitudTransformable(n);
    ASSERT_LE(MayorFactorPrimo(np), 37) << n;
    for (std::int32_t m = np + 1; m <= n; ++m) ASSERT_GT(MayorFactorPrimo(m), 37) << n;
  }
}

TEST(Fft, IgualALaDftDirectaHasta2000) {
  int probadas = 0;
  for (std::int32_t n = 1; n <= 2000; ++n) {
    if (MayorFactorPrimo(n) > 37) continue;
    ++probadas;
    ASSERT_LT(ErrorRelativo(n, static_cast<unsigned>(n)), 1e-12) << "n = " << n;
  }
  EXPECT_EQ(probadas, 727);  // lengths up to 2000 without a prime factor above 37
}

TEST(Fft, IgualALaDftDirectaEnLongitudesMayores) {
  const std::int32_t longitudes[] = {2048, 2310, 4096, 5000, 6561, 8192, 9240,
                                     10000, 12005, 13 * 17 * 19 * 3, 16 * 27 * 5 * 7};
  for (std::int32_t n : longitudes)
    EXPECT_LT(ErrorRelativo(n, 99u), 1e-12) << "n = " << n;
}

// Largest difference on a sample of bins against a long-double direct sum, relative to
// the largest magnitude among them.
template <typename Transformada>
double ErrorEnMuestra(std::int32_t n, Transformada transformada) {
  const std::vector<double> x = Aleatoria(static_cast<std::size_t>(n), 7u);
  std::vector<double> re(n), im(n);
  transformada(n, x.data(), re.data(), im.data());
  std::vector<long double> c(n), s(n);
  for (std::int32_t m = 0; m < n; ++m) {
    const long double a = 2.0L * std::numbers::pi_v<long double> * m / n;
    c[m] = std::cos(a);
    s[m] = std::sin(a);
  }
  double mayor = 0.0, dif = 0.0;
  for (std::int32_t k = 0; k < n; k += n > 200000 ? 99991 : 997) {
    long double sr = 0.0L, si = 0.0L;
    std::int64_t m = 0;
    for (std::int32_t j = 0; j < n; ++j) {
      sr += x[j] * c[m];
      si -= x[j] * s[m];
      m += k;
      if (m >= n) m -= n;
    }
    mayor = std::max(mayor, std::hypot(static_cast<double>(sr), static_cast<double>(si)));
    dif = std::max(dif, std::hypot(re[k] - static_cast<double>(sr),
                                   im[k] - static_cast<double>(si)));
  }
  return dif / mayor;
}

const std::int32_t kLongitudesLargas[] = {29 * 31 * 37, 32768,  100000,  131072,
                                          3 * 7 * 11 * 13 * 17, 999936, 1 << 20, 1000000,
                                          37 * 37 * 37 * 2 * 5};

// The twiddles of Fft come from complex recurrences along each pass, whose rounding grows
// with the number of offsets, so the bound scales with the length (about 2e-12 at 1e5).
TEST(Fft, LongitudesLargasEnUnaMuestraDeFrecuencias) {
  for (std::int32_t n : kLongitudesLargas) {
    const double error = ErrorEnMuestra(n, [](std::int32_t m, const double* x, double* re,
                                              double* im) { ASSERT_EQ(Fft(m, x, re, im), m); });
    EXPECT_LT(error, 1e-16 * n) << "n = " << n;
  }
}

TEST(FftPrecisa, ExactaEnLongitudesLargas) {
  for (std::int32_t n : kLongitudesLargas) {
    const double error = ErrorEnMuestra(n, [](std::int32_t m, const double* x, double* re,
                                              double* im) { ASSERT_TRUE(FftPrecisa(m, x, re, im)); });
    EXPECT_LT(error, 1e-13) << "n = " << n;
  }
}

TEST(FftPrecisa, IgualALaDftDirectaEnLongitudesCortas) {
  for (std::int32_t n = 1; n <= 400; ++n) {
    if (MayorFactorPrimo(n) > 37) continue;
    const std::vector<double> x = Aleatoria(static_cast<std::size_t>(n), 3u);
    std::vector<double> re(n), im(n), dr, di;
    ASSERT_TRUE(FftPrecisa(n, x.data(), re.data(), im.data()));
    DftDirecta(x, dr, di);
    double mayor = 0.0, dif = 0.0;
    for (std::int32_t k = 0; k < n; ++k) {
      mayor = std::max(mayor, std::hypot(dr[k], di[k]));
      dif = std::max(dif, std::hypot(re[k] - dr[k], im[k] - di[k]));
    }
    ASSERT_LT(dif, 1e-13 * mayor) << n;
  }
}

TEST(FftPrecisa, RechazaLongitudesQueFftAcortaria) {
  std::vector<double> x(82, 1.0), re(82, -1.0), im(82, -1.0);
  EXPECT_FALSE(FftPrecisa(82, x.data(), re.data(), im.data()));
  EXPECT_FALSE(FftPrecisa(0, x.data(), re.data(), im.data()));
  EXPECT_EQ(re[0], -1.0);
  EXPECT_TRUE(FftPrecisa(81, x.data(), re.data(), im.data()));
  EXPECT_NEAR(re[0], 81.0, 1e-12);
}

TEST(Fft, SoloTransformaLasPrimerasMuestras) {
  // 1019 samples: the transform is that of the first 1015.
  const std::vector<double> x = Aleatoria(1019, 5);
  std::vector<double> re(1019), im(1019), re2(1015), im2(1015);
  ASSERT_EQ(Fft(1019, x.data(), re.data(), im.data()), 1015);
  ASSERT_EQ(Fft(1015, x.data(), re2.data(), im2.data()), 1015);
  for (int k = 0; k < 1015; ++k) {
    EXPECT_EQ(re[k], re2[k]);
    EXPECT_EQ(im[k], im2[k]);
  }
}

TEST(Fft, SimetriaConjugada) {
  for (std::int32_t n : {1000, 1015, 1024, 2310, 74, 81}) {
    const std::vector<double> x = Aleatoria(n, 11);
    std::vector<double> re(n), im(n);
    ASSERT_EQ(Fft(n, x.data(), re.data(), im.data()), n);
    double mayor = 0.0;
    for (int k = 0; k < n; ++k) mayor = std::max(mayor, std::hypot(re[k], im[k]));
    EXPECT_NEAR(im[0], 0.0, 1e-13 * mayor);
    for (int k = 1; k < n; ++k) {
      EXPECT_NEAR(re[k], re[n - k], 1e-13 * mayor) << n << " " << k;
      EXPECT_NEAR(im[k], -im[n - k], 1e-13 * mayor) << n << " " << k;
    }
  }
}

TEST(CalcularPeriodograma, SerieConstante) {
  for (std::uint32_t n : {100u, 1000u, 1019u}) {
    const Vector v(n, 3.5);
    std::uint32_t np = 0;
    const Vector I = CalcularPeriodograma(v, np);
    EXPECT_EQ(np, LongitudTransformable(static_cast<std::int32_t>(n)));
    ASSERT_EQ(I.Longitud(), np);
    const double esperado = np * 3.5 * 3.5 / (2.0 * std::numbers::pi);
    EXPECT_NEAR(I(1), esperado, 1e-12 * esperado);
    for (std::uint32_t k = 2; k <= np; ++k) EXPECT_NEAR(I(k), 0.0, 1e-20 * esperado * np);
  }
}

TEST(CalcularPeriodograma, PicoDeUnCoseno) {
  for (std::uint32_t n : {1000u, 1015u, 1024u, 1019u}) {
    const std::uint32_t np = static_cast<std::uint32_t>(LongitudTransformable(n));
    Vector v(n);
    for (std::uint32_t j = 0; j < n; ++j)
      v[j + 1] = std::cos(2.0 * std::numbers::pi * 5.0 * j / np);
    std::uint32_t nPrima = 0;
    const Vector I = CalcularPeriodograma(v, nPrima);
    ASSERT_EQ(nPrima, np);
    const double pico = np / (8.0 * std::numbers::pi);
    EXPECT_NEAR(I(6), pico, 1e-10 * pico);
    EXPECT_NEAR(I(np - 4), pico, 1e-10 * pico);
    for (std::uint32_t k = 1; k <= np; ++k) {
      if (k == 6 || k == np - 4) continue;
      EXPECT_LT(I(k), 1e-20 * pico) << k;
    }
  }
}

TEST(CalcularPeriodograma, EsElModuloAlCuadradoEntre2PiN) {
  const Vector v = prueba::RuidoGaussiano(82, 3);
  std::uint32_t np = 0;
  const Vector I = CalcularPeriodograma(v, np);
  ASSERT_EQ(np, 81u);
  std::vector<double> x(v.begin(), v.begin() + 81), dr, di;
  DftDirecta(x, dr, di);
  for (std::uint32_t k = 0; k < 81; ++k) {
    const double esperado = (dr[k] * dr[k] + di[k] * di[k]) / (2.0 * 81 * std::numbers::pi);
    EXPECT_NEAR(I(k + 1), esperado, 1e-12 * (1.0 + esperado));
  }
}

TEST(CalcularPeriodograma, UnaMuestra) {
  std::uint32_t np = 0;
  const Vector I = CalcularPeriodograma(Vector(1, 2.0), np);
  EXPECT_EQ(np, 1u);
  ASSERT_EQ(I.Longitud(), 1u);
  EXPECT_DOUBLE_EQ(I(1), 4.0 / (2.0 * std::numbers::pi));
}

// The samples may be given in im itself: the same transform, bit for bit, also on lengths
// long enough for the tiled digit reversal and its pieces, and on a shortened one.
TEST(Fft, MuestrasEnLaParteImaginaria) {
  for (const std::int32_t n : {1000, 1019, 2310 * 4, (1 << 17) + 3, 3 * 78125}) {
    const std::vector<double> x = Aleatoria(n, 5);
    const std::int32_t np = LongitudTransformable(n);
    std::vector<double> re(n), im(n), re2(n), im2;
    for (const bool precisa : {false, true}) {
      if (precisa && np != n) continue;
      im2 = x;
      if (precisa) {
        ASSERT_TRUE(FftPrecisa(n, x.data(), re.data(), im.data()));
        ASSERT_TRUE(FftPrecisa(n, im2.data(), re2.data(), im2.data()));
      } else {
        ASSERT_EQ(Fft(n, x.data(), re.data(), im.data()), np);
        ASSERT_EQ(Fft(n, im2.data(), re2.data(), im2.data()), np);
      }
      EXPECT_TRUE(std::equal(re.begin(), re.begin() + np, re2.begin())) << n;
      EXPECT_TRUE(std::equal(im.begin(), im.begin() + np, im2.begin())) << n;
    }
  }
}

TEST(Fft, HilosConcurrentesDanElMismoResultado) {
  // The work tables are per thread: two threads transforming at once agree with a
  // transform done alone.
  const std::vector<double> x = Aleatoria(2310 * 4, 21);
  const std::int32_t n = static_cast<std::int32_t>(x.size());
  std::vector<double> re(n), im(n);
  Fft(n, x.data(), re.data(), im.data());
  std::vector<double> r1(n), i1(n), r2(n), i2(n);
  auto tarea = [&](std::vector<double>& r, std::vector<double>& i) {
    for (int rep = 0; rep < 20; ++rep) Fft(n, x.data(), r.data(), i.data());
  };
  std::thread a(tarea, std::ref(r1), std::ref(i1));
  std::thread b(tarea, std::ref(r2), std::ref(i2));
  a.join();
  b.join();
  EXPECT_EQ(r1, re);
  EXPECT_EQ(i1, im);
  EXPECT_EQ(r2, re);
  EXPECT_EQ(i2, im);
}

}  // namespace

// With the transform of a shared, every request gets the ordinates it would get alone, bit
// for bit: from the kept ones (smaller m), from a new transform (larger m than kept), and
// for another series of the same length, which is not shared. Those handed without a copy
// start with the same values, and stay as they were when a larger request replaces the
// kept ones.
TEST(PeriodogramaCompartido, MismasOrdenadasQueSinCompartir) {
  const Vector a = prueba::RuidoGaussiano(1000, 1), b = prueba::RuidoGaussiano(1000, 2);
  struct Pedido {
    const Vector* serie;
    std::uint32_t m;
  };
  const Pedido pedidos[] = {{&a, 10}, {&a, 499}, {&a, 600}, {&a, 5}, {&b, 10}, {&a, 10}};
  PeriodogramaCompartido compartido(a);
  const std::shared_ptr<const Vector> primeras = OrdenadasPeriodogramaSinCopia(a, 10);
  const Vector copiaPrimeras = *primeras;
  EXPECT_EQ(OrdenadasPeriodogramaSinCopia(a, 499).get(), primeras.get());
  for (const Pedido& p : pedidos) {
    SCOPED_TRACE(p.m);
    const Vector esperadas = [&] {
      PeriodogramaCompartido aparte;  // one that shares nothing: a fresh transform
      return OrdenadasPeriodograma(*p.serie, p.m);
    }();
    const Vector dadas = OrdenadasPeriodograma(*p.serie, p.m);
    ASSERT_EQ(dadas.Longitud(), p.m);
    EXPECT_TRUE(std::equal(dadas.begin(), dadas.end(), esperadas.begin()));
    const std::shared_ptr<const Vector> sinCopia = OrdenadasPeriodogramaSinCopia(*p.serie, p.m);
    ASSERT_GE(sinCopia->Longitud(), p.m);
    EXPECT_TRUE(std::equal(esperadas.begin(), esperadas.end(), sinCopia->begin()));
  }
  EXPECT_TRUE(std::equal(copiaPrimeras.begin(), copiaPrimeras.end(), primeras->begin(),
                         primeras->end()));
}

// The ordinates of an even length come from the half-length transform of the samples paired
// as complex numbers; every m (below, at and above half the length) and every factorisation
// must give |X(k)|²/(2πn') of the accurate full transform; odd lengths take Fft.
TEST(OrdenadasPeriodograma, IgualesALasDeLaTransformadaPrecisa) {
  struct Caso {
    std::int32_t n;
    std::uint32_t m;
  };
  const Caso casos[] = {{2, 1},           {4, 1},         {4, 2},          {4, 3},
                        {6, 3},           {74, 36},       {74, 37},        {74, 73},
                        {1000, 499},      {1000, 500},    {1000, 999},     {1019, 507},
                        {1015, 507},      {2310, 1154},   {81, 40},        {2 * 37 * 37, 1000},
                        {131072, 65535},  {131072, 65536}, {2 * 999936, 999935}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.n);
    const std::vector<double> x = Aleatoria(static_cast<std::size_t>(c.n), 13u);
    Vector v(static_cast<std::uint32_t>(c.n));
    std::copy(x.begin(), x.end(), v.begin());
    const std::int32_t np = LongitudTransformable(c.n);
    std::vector<double> re(np), im(np);
    ASSERT_TRUE(FftPrecisa(np, x.data(), re.data(), im.data()));
    const Vector I = OrdenadasPeriodograma(v, c.m);
    ASSERT_EQ(I.Longitud(), c.m);
    double mayor = 0.0, dif = 0.0;
    for (std::uint32_t k = 1; k <= c.m; ++k) {
      const double esperada = (re[k] * re[k] + im[k] * im[k]) / (2.0 * std::numbers::pi * np);
      mayor = std::max(mayor, esperada);
      dif = std::max(dif, std::abs(I(k) - esperada));
    }
    // Odd lengths take Fft, whose recurrences bound it by about 1e-16·n' (see above); the
    // half-length transform of even ones is as accurate as FftPrecisa.
    EXPECT_LT(dif, (np % 2 == 0 ? 1e-13 : std::max(1e-13, 1e-16 * np)) * mayor)
        << "m = " << c.m;
  }
}

// The lowest terms of a real series from its half-length transform, with the offset taken
// off as the samples are read, against FftPrecisa of the offset series; the lengths and m it
// does not take leave the outputs as they were.
TEST(PrimerosTerminosDeReal, IgualesALaTransformadaPrecisaDeLaSerieDesplazada) {
  struct Caso {
    std::int32_t n, m;
    double resta;
    bool toma;
  };
  const Caso casos[] = {{2, 2, 0.0, true},       {4, 3, 0.5, true},       {74, 1, 0.0, true},
                        {74, 38, -3.0, true},    {1000, 11, 250.0, true}, {131072, 65537, 1.0, true},
                        {2 * 999936, 5000, 0.25, true},
                        {75, 10, 0.0, false},    {82, 10, 0.0, false},    {74, 39, 0.0, false},
                        {74, 0, 0.0, false}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.n);
    std::vector<double> x = Aleatoria(static_cast<std::size_t>(c.n), 17u);
    std::vector<double> re(c.m + 1, -7.0), im(c.m + 1, -7.0);
    ASSERT_EQ(PrimerosTerminosDeReal(c.n, x.data(), c.resta, c.m, re.data(), im.data()), c.toma);
    if (!c.toma) {
      EXPECT_EQ(re[0], -7.0);
      continue;
    }
    for (double& v : x) v -= c.resta;
    std::vector<double> er(c.n), ei(c.n);
    ASSERT_TRUE(FftPrecisa(c.n, x.data(), er.data(), ei.data()));
    double mayor = 0.0, dif = 0.0;
    for (std::int32_t k = 0; k < c.m; ++k) {
      mayor = std::max(mayor, std::hypot(er[k], ei[k]));
      dif = std::max(dif, std::hypot(re[k] - er[k], im[k] - ei[k]));
    }
    EXPECT_LT(dif, 1e-13 * mayor) << "m = " << c.m;
    EXPECT_EQ(re[c.m], -7.0);
  }
}
