// What every method of the method table promises, checked for each of them through the
// analysis driver: too short and constant series are refused with the method's own message
// and leave every output untouched; the number of threads changes nothing; H and P do not
// depend on the scale (nor, where stated, on a shift) of the series; on fractional Gaussian
// noise every estimate of H is near the noise's H, with the interval and chart its row says.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/analisis.h"
#include "app/metodos.h"
#include "estimators/estado.h"
#include "numeric/paralelo.h"
#include "support/carpeta_prueba.h"
#include "support/dialogos_falsos.h"
#include "support/herramientas.h"

namespace {

using ::testing::ElementsAre;

// One method with the fields it is run with: every row of the table with what makes it
// accept the contract's series, and the variants of a row that run another estimator.
struct Caso {
  std::string metodo;
  std::string etiqueta;  // the method, and the variant when there is one
  std::vector<std::pair<const char*, const char*>> campos;
};

// A case is shown by its label.
void PrintTo(const Caso& c, std::ostream* os) { *os << c.etiqueta; }

// The fields a row needs on the contract's series (T0 has no time scales by default).
const std::map<std::string, std::vector<std::pair<const char*, const char*>>>& CamposBase() {
  static const std::map<std::string, std::vector<std::pair<const char*, const char*>>> campos = {
      {"T0 (IDC)", {{campo::EInicial, "0.01"}, {campo::EFinal, "1"}}},
  };
  return campos;
}

std::vector<Caso> Casos() {
  std::vector<Caso> casos;
  for (const DefinicionMetodo& m : TablaMetodos()) {
    if (std::string(m.nombre) == metodo::kNinguno) continue;
    const auto base = CamposBase().find(m.nombre);
    casos.push_back({m.nombre, m.nombre,
                     base == CamposBase().end() ? decltype(Caso::campos){} : base->second});
  }
  const std::vector<Caso> variantes = {
      {"Varianza", "Varianza con comprobación lineal", {{campo::ChLineal, "1"}}},
      {"Varianza Difer.", "Varianza Difer. con los mismos", {{campo::ChMismos, "1"}}},
      {"Whittle Agregado", "Whittle Agregado exacta", {{campo::RGDensidad, "1"}}},
      {"Whittle Estándar", "Whittle Estándar exacta", {{campo::RGDensidad, "1"}}},
      {"Whittle Estándar", "Whittle Estándar FARIMA",
       {{campo::RGModelo, "1"}, {campo::EOrdenp, "1"}, {campo::EOrdenq, "0"}}},
  };
  casos.insert(casos.end(), variantes.begin(), variantes.end());
  return casos;
}

// How far the value (and interval, and coefficients) may move when the series is scaled
// by a positive constant or shifted by a constant: 0 is bit for bit, negative is not
// invariant. T0 (IDC) is left out: it is in the units of the counts, and a shift of a count
// series is no count series.
struct Invariancia {
  double escala;
  double desplazamiento;
};

const std::map<std::string, Invariancia>& Tolerancias() {
  // Measured on the contract's series, with a margin of ten or more. The log-log fits move
  // by the rounding of their logarithms; the Whittle intervals and P by that of sums over
  // the periodogram and the blocks; FARIMA by the stopping rule of its simplex, which
  // measures the objective, and a shift leaves it bit for bit.
  static const std::map<std::string, Invariancia> tabla = {
      {"DFA", {1e-13, 1e-13}},
      {"GPH", {1e-14, 1e-14}},
      {"Higuchi", {1e-13, 1e-12}},
      {"Momentos Absolutos", {1e-13, 1e-12}},
      {"Ondículas", {1e-12, 1e-14}},
      {"Periodograma", {1e-12, 1e-14}},
      {"R/S", {1e-13, 1e-12}},
      {"Test T", {1e-6, 1e-6}},
      {"Varianza", {1e-13, 1e-12}},
      {"Varianza con comprobación lineal", {1e-13, 1e-12}},
      {"Varianza Difer.", {1e-13, 1e-13}},
      {"Varianza Difer. con los mismos", {1e-13, 1e-12}},
      {"Whittle Agregado", {1e-7, 1e-7}},
      {"Whittle Agregado exacta", {1e-7, 1e-7}},
      {"Whittle Estándar", {1e-7, 1e-7}},
      {"Whittle Estándar exacta", {1e-7, 1e-7}},
      {"Whittle Estándar FARIMA", {1e-3, 0}},
      {"Whittle Local", {1e-10, 1e-9}},
  };
  return tabla;
}

// The test name of a case: its label in ASCII letters and digits.
std::string NombreDe(const ::testing::TestParamInfo<Caso>& info) {
  std::string nombre;
  const std::string& e = info.param.etiqueta;
  for (std::size_t i = 0; i < e.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(e[i]);
    if (std::isalnum(c)) {
      nombre += static_cast<char>(c);
    } else if (c == 0xC3 && i + 1 < e.size()) {  // á é í ó ú ñ
      const std::string acentos = "\xA1\xA9\xAD\xB3\xBA\xB1", llanas = "aeioun";
      const std::size_t k = acentos.find(e[++i]);
      nombre += k == std::string::npos ? '_' : llanas[k];
    } else if (!nombre.empty() && nombre.back() != '_') {
      nombre += '_';
    }
  }
  while (!nombre.empty() && nombre.back() == '_') nombre.pop_back();
  return nombre;
}

constexpr std::uint32_t kMuestras = 4096;

// The contract's series: FGN of H = 0.8, and for T0 counts of events (positive integers)
// made from it.
Vector Serie(const Caso& c, std::uint32_t n = kMuestras) {
  Vector x = prueba::Fgn(n, 0.8, 7);
  if (c.metodo == "T0 (IDC)") {
    for (double& v : x) v = std::max(0.0, std::round(20.0 + 5.0 * v));
  }
  return x;
}

// Everything an analysis hands out, to compare two of them bit for bit.
struct Informe {
  std::vector<std::string> lineas;
  std::vector<double> numeros;
  std::vector<std::string> graficas;

  bool operator==(const Informe&) const = default;
};

void Anadir(std::vector<double>& v, const std::optional<double>& x) {
  v.push_back(x.has_value() ? 1.0 : 0.0);
  if (x) v.push_back(*x);
}

void Anadir(std::vector<double>& v, const std::optional<std::vector<double>>& x) {
  v.push_back(x.has_value() ? static_cast<double>(x->size()) : -1.0);
  if (x) v.insert(v.end(), x->begin(), x->end());
}

class ContratoTest : public ::testing::TestWithParam<Caso>,
                     protected BancoAnalisis,
                     protected CarpetaDePrueba {
 protected:
  ContratoTest() : CarpetaDePrueba("contrato") {
    sel.metodo = GetParam().metodo;
    for (const auto& [clave, valor] : GetParam().campos) par[clave] = valor;
  }

  Informe Recoger(const ResultadoAnalisis& r) const {
    Informe i;
    i.lineas = log.Lineas();
    i.numeros = {static_cast<double>(r.fin), static_cast<double>(r.estado)};
    for (const auto& x : {r.valor, r.icBajo, r.icAlto, r.media, r.varianza}) Anadir(i.numeros, x);
    for (const auto& x : {r.x, r.y, r.autocorrelacion}) Anadir(i.numeros, x);
    i.numeros.insert(i.numeros.end(), r.coeficientes.begin(), r.coeficientes.end());
    i.numeros.push_back(r.constante.value_or(-1));
    for (const GraficaGrabadora* g : {&plot1, &plot2}) {
      i.graficas.insert(i.graficas.end(), g->ops.begin(), g->ops.end());
      for (const auto& p : g->puntos) i.numeros.insert(i.numeros.end(), {p.x, p.y});
    }
    return i;
  }
};

// A series one sample too short for every method, and a constant one: refused by the method itself with
// the status every estimator gives them (not by the driver's checks that follow it), its
// message shown once; the log keeps only the header lines, in grey, and the commands of
// the report before; no value, chart, prompt or file.
TEST_P(ContratoTest, SerieCortaOConstanteSeRechazaSinTocarNada) {
  sel.media = sel.varianza = sel.autocorrelacion = true;
  par[campo::ChGuardar] = "1";
  const std::string atc = (dir_ / "s.atc").string();
  PreguntaFija acepta(atc);
  struct Rechazo {
    const char* que;
    Vector serie;
    int estado;
  };
  const Rechazo rechazos[] = {{"corta", prueba::RuidoUniforme(99, 1.0, 2.0), kEstadoSerieCorta},
                              {"constante", Vector(kMuestras, 5.0), kEstadoSerieConstante}};
  for (const auto& [que, serie, estado] : rechazos) {
    SCOPED_TRACE(que);
    SeleccionAnalisis ninguno;
    Driver().Analizar("previa", serie, ninguno, par, marcas);
    const ComandosResultados comandos = log.Comandos();
    ASSERT_EQ(comandos, (ComandosResultados{true, true, true, true, true}));
    mensajes = {};
    const ResultadoAnalisis r = Analizar("s", serie, &acepta);
    EXPECT_EQ(r.fin, ResultadoAnalisis::Fin::Estado);
    EXPECT_EQ(r.estado, estado);
    EXPECT_FALSE(r.mensaje.empty());
    EXPECT_EQ(r.mensaje, MensajeEstado(estado));
    EXPECT_THAT(mensajes.textos, ElementsAre(r.mensaje));
    EXPECT_THAT(mensajes.tipos, ElementsAre(TipoMensaje::Aviso));
    EXPECT_THAT(log.Lineas(),
                ElementsAre("Nombre: s", "Longitud: " + std::to_string(serie.Longitud())));
    EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
    EXPECT_EQ(log.ResultsBaseName(), "s");
    EXPECT_EQ(log.Comandos(), comandos);
    EXPECT_FALSE(r.valor || r.icBajo || r.icAlto || r.constante || r.x || r.y || r.media ||
                 r.varianza || r.autocorrelacion);
    EXPECT_TRUE(r.coeficientes.empty());
    EXPECT_TRUE(r.aviso.empty());
    EXPECT_TRUE(plot1.ops.empty());
    EXPECT_TRUE(plot2.ops.empty());
    EXPECT_TRUE(acepta.titulos.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
    EXPECT_FALSE(hooks.Ocupado());
  }
}

// One thread and three give the same report, values, charts and autocorrelation, bit for
// bit, on a series long enough for two pieces or more in every parallel loop of the
// estimators (8192 frequencies a piece, blocks, box sizes).
TEST_P(ContratoTest, LosHilosNoCambianNada) {
  sel.autocorrelacion = true;
  par[campo::ChGuardar] = "0";
  const Vector serie = Serie(GetParam(), 40000);
  std::vector<Informe> informes;
  for (const unsigned hilos : {1u, 3u}) {
    HilosDeEsteHilo fijados(hilos);
    plot1 = {};
    plot2 = {};
    const ResultadoAnalisis r = Analizar("s", serie);
    ASSERT_TRUE(r.Todo()) << r.mensaje;
    informes.push_back(Recoger(r));
  }
  EXPECT_EQ(informes[1].lineas, informes[0].lineas);
  EXPECT_EQ(informes[1].graficas, informes[0].graficas);
  EXPECT_TRUE(informes[1].numeros == informes[0].numeros);
}

// The value, its interval and the model's coefficients of the series scaled by positive
// constants (powers of two, others, and magnitudes whose sums of squares would over- or
// underflow) and shifted by constants, against those of the series itself, within the
// method's tolerance.
TEST_P(ContratoTest, EscalaYDesplazamientoNoCambianElValor) {
  const auto tolerancia = Tolerancias().find(GetParam().etiqueta);
  if (tolerancia == Tolerancias().end()) GTEST_SKIP() << "depende de la escala";
  SinExtras();
  const Vector serie = Serie(GetParam());
  const ResultadoAnalisis base = Analizar("s", serie);
  ASSERT_TRUE(base.Todo()) << base.mensaje;
  struct Transformacion {
    const char* que;
    double factor, suma, tolerancia;
  };
  const Invariancia& t = tolerancia->second;
  const Transformacion transformaciones[] = {
      {"x 3,5", 3.5, 0.0, t.escala},       {"x 2^-20", 0x1.0p-20, 0.0, t.escala},
      {"x 2^20", 0x1.0p20, 0.0, t.escala}, {"x 1e300", 1e300, 0.0, t.escala},
      {"x 1e-300", 1e-300, 0.0, t.escala}, {"+ 3", 1.0, 3.0, t.desplazamiento},
      {"- 250", 1.0, -250.0, t.desplazamiento},
  };
  for (const Transformacion& tr : transformaciones) {
    if (tr.tolerancia < 0) continue;
    SCOPED_TRACE(tr.que);
    Vector otra = serie;
    for (double& v : otra) v = v * tr.factor + tr.suma;
    const ResultadoAnalisis r = Analizar("s", otra);
    ASSERT_TRUE(r.Todo()) << r.mensaje;
    EXPECT_NEAR(*r.valor, *base.valor, tr.tolerancia);
    ASSERT_EQ(r.icBajo.has_value(), base.icBajo.has_value());
    if (base.icBajo) {
      EXPECT_NEAR(*r.icBajo, *base.icBajo, tr.tolerancia);
      EXPECT_NEAR(*r.icAlto, *base.icAlto, tr.tolerancia);
    }
    ASSERT_EQ(r.coeficientes.size(), base.coeficientes.size());
    for (std::size_t i = 0; i < r.coeficientes.size(); ++i)
      EXPECT_NEAR(r.coeficientes[i], base.coeficientes[i], tr.tolerancia) << i;
    EXPECT_EQ(r.constante, base.constante);
  }
}

// On FGN of H = 0.8 every estimate of H lies in a sane band, with an interval around it
// when its row gives one and chart points when its row draws; the other methods give a
// finite value.
TEST_P(ContratoTest, FgnDaUnaHSensataConLoQueDiceSuFila) {
  SinExtras();
  const DefinicionMetodo& fila = *BuscarMetodo(GetParam().metodo);
  const ResultadoAnalisis r = Analizar("s", Serie(GetParam()));
  ASSERT_TRUE(r.Todo()) << r.mensaje;
  ASSERT_TRUE(r.valor.has_value());
  EXPECT_TRUE(std::isfinite(*r.valor));
  EXPECT_GE(log.Lineas().size(), 4u);
  if (fila.daH) {
    EXPECT_GT(*r.valor, 0.6);
    EXPECT_LT(*r.valor, 1.0);
  }
  EXPECT_EQ(r.icBajo.has_value(), fila.intervalo);
  EXPECT_EQ(r.icAlto.has_value(), fila.intervalo);
  if (r.icBajo && r.icAlto) {
    EXPECT_LT(*r.icBajo, *r.valor);
    EXPECT_GT(*r.icAlto, *r.valor);
  }
  ASSERT_EQ(r.x.has_value(), fila.Dibuja());
  ASSERT_EQ(r.y.has_value(), fila.Dibuja());
  if (r.x) {
    EXPECT_GE(r.x->size(), 2u);
    EXPECT_EQ(r.x->size(), r.y->size());
    EXPECT_FALSE(plot1.ops.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(CadaMetodo, ContratoTest, ::testing::ValuesIn(Casos()), NombreDe);

// The tolerance table names every case whose value is scale-free and no other.
TEST(Contrato, ToleranciasDeCadaMetodoLibreDeEscala) {
  std::vector<std::string> esperadas, tabla;
  for (const Caso& c : Casos()) {
    const DefinicionMetodo& fila = *BuscarMetodo(c.metodo);
    if (fila.libreDeEscala) esperadas.push_back(c.etiqueta);
  }
  for (const auto& [etiqueta, tolerancia] : Tolerancias()) tabla.push_back(etiqueta);
  std::sort(esperadas.begin(), esperadas.end());
  EXPECT_EQ(tabla, esperadas);
}

}  // namespace
