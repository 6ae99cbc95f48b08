// Detrended fluctuation analysis: box sizes, the fluctuation against closed forms and a
// literal box-by-box least-squares reference, and the refusals in their order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "estimators/estado.h"
#include "estimators/hurst_dfa.h"
#include "numeric/regresion.h"
#include "tests/support/herramientas.h"

namespace {

using prueba::RuidoGaussiano;

struct CasoTamanos {
  std::uint32_t n;
  int cajaMinima;
  int cajasDecada;
  std::vector<std::uint32_t> tamanos;
};

TEST(DfaTamanos, SucesionHastaLaCuartaParte) {
  const CasoTamanos casos[] = {
      {1000, 10, 10, {10, 12, 15, 18, 22, 27, 33, 41, 51, 64, 80, 100, 125, 157, 197, 248}},
      // floor(s * 10^(1/20)) stays at s below 9: the sizes then go up one by one.
      {100, 3, 20, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 21, 23, 25}},
      {4000, 10, 1, {10, 100, 1000}},  // n div 4 = 1000 is still a size
      {3999, 10, 1, {10, 100}},
      {100, 26, 10, {}},
  };
  for (const CasoTamanos& c : casos) {
    EXPECT_EQ(TamanosCajaDfa(c.n, c.cajaMinima, c.cajasDecada), c.tamanos) << c.n;
  }
}

struct CasoEstadoDfa {
  const char* nombre;
  std::uint32_t n;
  int orden, cajaMinima, cajasDecada;
  int serie;  // 0 noise, 1 constant, 2 the value 129 then 1s (linear profile)
  int esperado;
};

TEST(HurstDfa, EstadosEnSuOrden) {
  const CasoEstadoDfa casos[] = {
      {"corta_antes_que_orden", 99, 0, 0, 0, 1, kEstadoSerieCorta},
      {"orden0_antes_que_caja", 100, 0, 0, 0, 1, kEstadoOrdenDfa},
      {"orden4", 1000, 4, 10, 10, 0, kEstadoOrdenDfa},
      {"caja_menor_que_orden_mas_2", 1000, 2, 3, 0, 1, kEstadoCajaMinima},
      {"caja_negativa", 1000, 1, -5, 10, 0, kEstadoCajaMinima},
      {"decada0_antes_que_tamanos", 100, 1, 26, 0, 1, kEstadoPuntosDecada},
      {"decada21", 1000, 3, 5, 21, 0, kEstadoPuntosDecada},
      {"dos_tamanos_antes_que_constante", 3999, 1, 10, 1, 1, kEstadoPocasCajas},
      {"caja_enorme", 1000, 1, 2147483647, 10, 0, kEstadoPocasCajas},
      {"constante", 4000, 1, 10, 1, 1, kEstadoSerieConstante},
      // 129 then 1s: x - mean = 127, -1, -1, ..., the profile is a straight line.
      {"perfil_recto_orden1", 128, 1, 3, 10, 2, kEstadoFluctuacionNula},
      {"perfil_recto_orden3", 128, 3, 5, 10, 2, kEstadoFluctuacionNula},
      {"tres_tamanos", 4000, 1, 10, 1, 0, kEstadoOk},
      {"n100", 100, 1, 3, 20, 0, kEstadoOk},
  };
  for (const CasoEstadoDfa& c : casos) {
    SCOPED_TRACE(c.nombre);
    Vector x = c.serie == 1 ? Vector(c.n, 2.5) : RuidoGaussiano(c.n, 41);
    if (c.serie == 2) {
      x = Vector(c.n, 1.0);
      x[1] = 129.0;
    }
    const Estimacion e = HurstDfa(x, c.orden, c.cajaMinima, c.cajasDecada);
    EXPECT_EQ(e.estado, c.esperado);
    if (e.Exito()) {
      EXPECT_EQ(e.ejeX.Longitud(), TamanosCajaDfa(c.n, c.cajaMinima, c.cajasDecada).size());
    }
  }
}

// x(t) = t^q makes the profile a polynomial of degree q + 1 with leading coefficient
// 1/(q + 1): what a fit of degree q leaves in every box is that coefficient times the
// discrete orthogonal polynomial of degree q + 1, whose sum of squares over s points is
// s (s^2 - 1)...(s^2 - (q + 1)^2) (q + 1)!^4 / ((2q + 2)! (2q + 3)!).
// The profile of t^3 reaches 1e8 against an F(s) near 0.3: the rounding of the box values
// alone is worth 1e-11 in log10 F there.
TEST(HurstDfa, FluctuacionDeUnaPotenciaEnFormaCerrada) {
  const double constante[] = {1.0 / 180, 1.0 / 2800, 1.0 / 44100};
  const double tolerancia[] = {1e-13, 1e-12, 1e-10};
  for (int q = 1; q <= 3; ++q) {
    SCOPED_TRACE(q);
    const std::uint32_t n = 150;
    Vector x(n);
    for (std::uint32_t t = 1; t <= n; ++t) x[t] = std::pow(static_cast<double>(t), q);
    const Estimacion e = HurstDfa(x, q, q + 2, 10);
    ASSERT_EQ(e.estado, kEstadoOk);
    const Vector& ejeX = e.ejeX;
    const Vector& ejeY = e.ejeY;
    const std::vector<std::uint32_t> tamanos = TamanosCajaDfa(n, q + 2, 10);
    ASSERT_EQ(ejeY.Longitud(), tamanos.size());
    for (std::uint32_t j = 0; j < tamanos.size(); ++j) {
      const double s = tamanos[j];
      double producto = constante[q - 1];
      for (int k = 1; k <= q + 1; ++k) producto *= s * s - k * k;
      const double F = std::sqrt(producto) / (q + 1);
      EXPECT_EQ(ejeX(j + 1), std::log10(s));
      EXPECT_NEAR(ejeY(j + 1), std::log10(F), tolerancia[q - 1]) << "s " << s;
    }
  }
}

// F(s) by the definition, box by box: the profile as a running sum, every box of the
// start and of the end fitted by AjustePolinomio on the abscissa 1..s, residuals summed.
std::vector<double> Log10FLiteral(const Vector& x, int q, const std::vector<std::uint32_t>& tamanos) {
  const std::uint32_t n = x.Longitud();
  double media = 0;
  for (std::uint32_t t = 1; t <= n; ++t) media += x(t);
  media /= n;
  std::vector<double> Y(n + 1, 0.0);
  for (std::uint32_t i = 1; i <= n; ++i) Y[i] = Y[i - 1] + (x(i) - media);
  std::vector<double> resultado;
  for (const std::uint32_t s : tamanos) {
    const std::uint32_t K = n / s;
    std::vector<std::uint32_t> primeros;  // first point of each of the 2K boxes
    for (std::uint32_t v = 1; v <= K; ++v) primeros.push_back((v - 1) * s + 1);
    for (std::uint32_t v = 1; v <= K; ++v) primeros.push_back(n - v * s + 1);
    double suma = 0;
    for (const std::uint32_t p : primeros) {
      Vector abscisa(s), caja(s);
      for (std::uint32_t j = 1; j <= s; ++j) {
        abscisa[j] = j;
        caja[j] = Y[p + j - 1];
      }
      const Vector c = AjustePolinomio(abscisa, caja, q);
      double residuos = 0;
      for (std::uint32_t j = 1; j <= s; ++j) {
        double ajuste = 0;
        for (int k = q; k >= 0; --k) ajuste = ajuste * j + c(k + 1);
        residuos += (caja[j] - ajuste) * (caja[j] - ajuste);
      }
      suma += residuos / s;
    }
    resultado.push_back(std::log10(std::sqrt(suma / (2.0 * K))));
  }
  return resultado;
}

TEST(HurstDfa, CoincideConElAjustePorCajasLiteral) {
  struct Caso {
    std::uint32_t n;
    int q, cajaMinima, cajasDecada;
  };
  // 1003 leaves 3 points outside the start boxes of size 10, so start and end differ.
  const Caso casos[] = {{1003, 1, 10, 10}, {1003, 2, 4, 20}, {1003, 3, 5, 10}, {400, 1, 3, 5}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "n " << c.n << " q " << c.q);
    const Vector x = prueba::Fgn(c.n, 0.8, 42) + 3.0;
    const Estimacion e = HurstDfa(x, c.q, c.cajaMinima, c.cajasDecada);
    ASSERT_EQ(e.estado, kEstadoOk);
    const Vector& ejeY = e.ejeY;
    const std::vector<std::uint32_t> tamanos = TamanosCajaDfa(c.n, c.cajaMinima, c.cajasDecada);
    const std::vector<double> referencia = Log10FLiteral(x, c.q, tamanos);
    ASSERT_EQ(ejeY.Longitud(), referencia.size());
    Vector y(ejeY.Longitud());
    for (std::uint32_t j = 0; j < referencia.size(); ++j) {
      EXPECT_NEAR(ejeY(j + 1), referencia[j], 1e-11) << "s " << tamanos[j];
      y[j + 1] = referencia[j];
    }
    EXPECT_NEAR(e.valor, AjustePolinomio(e.ejeX, y, 1)(2), 1e-10);
  }
}

}  // namespace
