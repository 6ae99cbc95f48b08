#include "app/analisis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "app/metodos.h"
#include "app/series.h"
#include "estimators/estado.h"
#include "support/dialogos_falsos.h"
#include "numeric/error.h"
#include "numeric/progreso.h"
#include "support/carpeta_prueba.h"
#include "support/herramientas.h"

namespace {

using prueba::V;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

// Deterministic positive noise.
Vector Ruido(std::uint32_t n) { return prueba::RuidoUniforme(n, 1.0, 2.0); }

const char* const kNumero = "-?[0-9.]+(E-?[0-9]+)?";

class DriverTest : public ::testing::Test, public BancoAnalisis {};

TEST_F(DriverTest, NingunoConMediaYVarianza) {
  Vector serie(4);
  serie[1] = 1;
  serie[2] = 2;
  serie[3] = 3;
  serie[4] = 4;
  const ResultadoAnalisis r = Analizar("traza1", serie);
  EXPECT_TRUE(r.Exito());
  EXPECT_THAT(log.Lineas(),
              ElementsAre("Nombre: traza1", "Longitud: 4", "Media = 2.5", "Varianza = 1.667",
                          "Análisis realizado el día 08/12/2026 a las 10:11:12 horas",
                          "Créditos de prueba"));
  EXPECT_EQ(log.Fondo(), ColorFondo::Ventana);
  EXPECT_EQ(log.TextoColor(), ColorTexto::TextoVentana);
  EXPECT_EQ(log.Comandos(), (ComandosResultados{true, true, true, true, true}));
  EXPECT_EQ(log.ResultsBaseName(), "traza1");
  EXPECT_TRUE(mensajes.textos.empty());
  EXPECT_TRUE(plot1.ops.empty());
  EXPECT_EQ(r.media, 2.5);
  EXPECT_FALSE(r.valor.has_value());
  EXPECT_EQ(hooks.eventos, 1);
  EXPECT_FALSE(hooks.Ocupado());
}

TEST_F(DriverTest, NingunoSinNadaMarcado) {
  SinExtras();
  const ResultadoAnalisis r = Analizar("s", Ruido(10));
  EXPECT_TRUE(r.Exito());
  EXPECT_THAT(log.Lineas(), ElementsAre("Nombre: s", "Longitud: 10"));
  EXPECT_EQ(log.Fondo(), ColorFondo::Ventana);
  EXPECT_EQ(log.TextoColor(), ColorTexto::TextoVentana);
  EXPECT_EQ(log.Comandos(), (ComandosResultados{true, true, true, true, true}));
}

TEST_F(DriverTest, SeparadorDecimalDelInforme) {
  SinExtras();
  sel.media = true;
  Vector serie(2);
  serie[1] = 0;
  serie[2] = 1;
  Analizador d = Driver();
  d.Entorno().separador = ',';
  d.Analizar("s", serie, sel, par, marcas);
  EXPECT_EQ(log.Lineas().back(), "Media = 0,5");
}

TEST_F(DriverTest, FalloSinInformePrevioDejaComandosDeshabilitados) {
  sel.metodo = "R/S";
  Analizar("corta", Ruido(50));
  EXPECT_EQ(log.Comandos(), ComandosResultados{});
}

TEST_F(DriverTest, Estado255ConservaLasLineasDelMetodo) {
  for (const char* puntos : {"0", "1001", "-5"}) {
    sel.metodo = "R/S";
    sel.autocorrelacion = true;
    par[campo::EPuntos] = puntos;
    plot1.ops.clear();
    mensajes.textos.clear();
    const ResultadoAnalisis r = Analizar("s", Ruido(1000));
    EXPECT_EQ(r.estado, kEstadoLongitudAutocorrelacion) << puntos;
    EXPECT_THAT(mensajes.textos,
                ElementsAre("La longitud de la autocorrelación debe ser mayor\nque 0 y menor o "
                            "igual que la longitud de la serie"));
    ASSERT_EQ(log.Lineas().size(), 8u);
    EXPECT_THAT(log.Lineas()[2], StartsWith("Parámetro Hurst H = "));
    EXPECT_EQ(log.Lineas()[7], "      Puntos por década: 6");
    EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
    EXPECT_FALSE(plot1.ops.empty());  // the method chart was filled before the check
    EXPECT_TRUE(plot2.ops.empty());
    EXPECT_TRUE(pregunta.titulos.empty());
  }
}

TEST_F(DriverTest, LongitudDeLaSerieIgnoraEPuntos) {
  SinExtras();
  sel.autocorrelacion = true;
  par[campo::EPuntos] = "0";
  par[campo::ChLongitud] = "1";
  par[campo::ChGuardar] = "0";
  const ResultadoAnalisis r = Analizar("s", Ruido(30));
  EXPECT_TRUE(r.Exito());
  ASSERT_TRUE(r.autocorrelacion.has_value());
  EXPECT_EQ(r.autocorrelacion->size(), 30u);
  // Lags 0..29 as a polyline.
  ASSERT_EQ(plot2.ops.size(), 32u);
  EXPECT_EQ(plot2.ops.front(), "clear");
  EXPECT_EQ(plot2.ops[1], "move");
  EXPECT_EQ(plot2.ops.back(), "auto2");
  EXPECT_EQ(plot2.puntos.front().x, 0.0);
  EXPECT_EQ(plot2.puntos.front().y, 1.0);
  EXPECT_EQ(plot2.puntos.back().x, 29.0);
}

// A constant series has no autocorrelation (every lag is 0/0): the analysis stops with a
// message instead of saving or drawing NaNs; without a file or chart nothing is refused.
TEST_F(DriverTest, AutocorrelacionDeSerieConstante) {
  struct Caso {
    bool guardar, grafica;
    int estado;
  };
  for (const Caso c : {Caso{true, false, kEstadoAutocorrelacionConstante},
                       Caso{false, true, kEstadoAutocorrelacionConstante},
                       Caso{false, false, kEstadoOk}}) {
    SinExtras();
    sel.media = true;
    sel.autocorrelacion = true;
    par[campo::ChGuardar] = c.guardar ? "1" : "0";
    marcas.graficaAuto = c.grafica;
    plot2.ops.clear();
    mensajes.textos.clear();
    const ResultadoAnalisis r = Analizar("plana", Vector(200, 5.0));
    EXPECT_EQ(r.estado, c.estado);
    EXPECT_TRUE(plot2.ops.empty());
    EXPECT_TRUE(pregunta.titulos.empty());
    if (c.estado != kEstadoOk) {
      EXPECT_THAT(mensajes.textos,
                  ElementsAre("La serie es constante: su autocorrelación no está definida"));
      EXPECT_EQ(log.Lineas().size(), 2u);
      EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
    } else {
      EXPECT_EQ(log.Lineas().back(), "Media = 5");
    }
  }
}

// The mean and variance of series near the ends of the double range: right where the true
// value is a double, refused with a line, a message and a status where it is not, the rest
// of the report standing.
TEST_F(DriverTest, MediaYVarianzaEnLosExtremos) {
  struct Caso {
    std::vector<double> serie;
    const char* media;     // the report's lines
    const char* varianza;
    int estado;
  };
  const Caso casos[] = {
      {{1e307, 1.5e307, 1.7e308, 1.7e308}, "Media = 9.125E307",
       "Varianza: sin resultado (La varianza de la serie no puede representarse: es mayor que el "
       "mayor número finito (1.8e308))",
       kEstadoVarianzaDesborda},
      {{1e-300, 2e-300, 3e-300}, "Media = 2E-300",
       "Varianza: sin resultado (La varianza de la serie no puede representarse: no es nula, pero "
       "es menor que el menor número positivo (4.9e-324))",
       kEstadoVarianzaSubdesborda},
      {{1e-160, 2e-160, 3e-160}, "Media = 2E-160", "Varianza = 1E-320", kEstadoOk},
      {{1e150, 3e150}, "Media = 2E150", "Varianza = 2E300", kEstadoOk},
      {{4.9e-324, 0.0}, "Media: sin resultado (La media de la serie no puede representarse: no es "
                        "nula, pero su valor absoluto es menor que el menor número positivo "
                        "(4.9e-324))",
       "Varianza: sin resultado (La varianza de la serie no puede representarse: no es nula, pero "
       "es menor que el menor número positivo (4.9e-324))",
       kEstadoMediaNoRepresentable},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.media);
    SinExtras();
    sel.media = sel.varianza = true;
    mensajes.textos.clear();
    Vector v(static_cast<std::uint32_t>(c.serie.size()));
    std::copy(c.serie.begin(), c.serie.end(), v.begin());
    const ResultadoAnalisis r = Analizar("s", v);
    EXPECT_TRUE(r.Exito());
    EXPECT_EQ(r.estado, c.estado);
    EXPECT_EQ(r.Todo(), c.estado == kEstadoOk);
    EXPECT_EQ(r.mensaje, c.estado == kEstadoOk ? "" : MensajeEstado(c.estado));
    EXPECT_EQ(mensajes.textos.empty(), c.estado == kEstadoOk);
    EXPECT_THAT(log.Lineas(),
                ElementsAre("Nombre: s", "Longitud: " + std::to_string(c.serie.size()), c.media,
                            c.varianza));
    EXPECT_EQ(r.media.has_value(), std::string(c.media).rfind("Media =", 0) == 0);
    EXPECT_EQ(r.varianza.has_value(), std::string(c.varianza).rfind("Varianza =", 0) == 0);
  }
}

// A sine is no long-memory process: some methods give H outside [0, 1]. The value stays,
// with a warning line after the method's lines; the comparison names every such method in
// one warning after its lines. A method whose H is in [0, 1], and T0 and P, have none.
TEST_F(DriverTest, AvisoDeHFueraDeCeroUno) {
  Vector seno(1000);
  for (std::uint32_t i = 0; i < 1000; ++i) seno.Datos()[i] = std::sin(i / 10.0);
  struct Caso {
    const char* metodo;
    bool aviso;
  };
  const Caso casos[] = {{metodo::kOndiculas, true},  // H = 3.136
                        {metodo::kGph, true},        // H = −0.049
                        {metodo::kVarianza, false},  // H = 0.4379
                        {metodo::kTestT, false}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.metodo);
    SinExtras();
    sel.metodo = c.metodo;
    const ResultadoAnalisis r = Analizar("seno", seno);
    ASSERT_TRUE(r.Todo()) << r.mensaje;
    EXPECT_EQ(r.aviso, c.aviso ? AvisoH(*r.valor) : "");
    EXPECT_EQ(log.Lineas().back() == r.aviso, c.aviso);
    if (c.aviso) {
      EXPECT_THAT(r.aviso, StartsWith("Aviso: H fuera del intervalo [0, 1]. La serie no se "
                                      "comporta como un proceso estacionario"));
    }
  }
  SinExtras();
  sel.metodo = metodo::kTodos;
  const ResultadoAnalisis r = Analizar("seno", seno);
  std::vector<std::string> fuera;
  for (const auto& m : r.metodos) {
    EXPECT_EQ(m.aviso.empty(), *m.valor >= 0 && *m.valor <= 1) << m.metodo;
    if (!m.aviso.empty()) fuera.push_back(m.metodo);
  }
  ASSERT_GE(fuera.size(), 2u);
  EXPECT_THAT(r.aviso, HasSubstr("con " + fuera[0] + ", "));
  EXPECT_THAT(r.aviso, HasSubstr(" y " + fuera.back() + ". La serie no se comporta"));
  EXPECT_EQ(log.Lineas().back(), r.aviso);
  EXPECT_EQ(AvisoH(0.0), "");
  EXPECT_EQ(AvisoH(1.0), "");
  EXPECT_NE(AvisoH(std::nextafter(1.0, 2.0)), "");
  EXPECT_NE(AvisoH(-1e-300), "");
}

TEST_F(DriverTest, AutocorrelacionSinFicheroNiGraficaNoSeCalcula) {
  SinExtras();
  sel.autocorrelacion = true;
  par[campo::ChGuardar] = "0";
  marcas.graficaAuto = false;
  const ResultadoAnalisis r = Analizar("s", Ruido(200));
  EXPECT_TRUE(r.Exito());
  EXPECT_FALSE(r.autocorrelacion.has_value());
  EXPECT_TRUE(plot2.ops.empty());
  EXPECT_TRUE(pregunta.titulos.empty());
  EXPECT_THAT(log.Lineas(), ElementsAre("Nombre: s", "Longitud: 200"));
}

TEST_F(DriverTest, AutocorrelacionSoloParaElFichero) {
  SinExtras();
  sel.autocorrelacion = true;
  marcas.graficaAuto = false;
  const ResultadoAnalisis r = Analizar("s", Ruido(200));
  EXPECT_TRUE(r.autocorrelacion.has_value());
  EXPECT_TRUE(plot2.ops.empty());
  EXPECT_THAT(pregunta.titulos, ElementsAre("Guardar autocorrelación como"));
  EXPECT_THAT(pregunta.propuestos, ElementsAre("s.atc"));
}

class ExportacionTest : public DriverTest, protected CarpetaDePrueba {
 protected:
  ExportacionTest() : CarpetaDePrueba("atc") {}
};

TEST_F(ExportacionTest, GuardaElFicheroYAnotaLaLinea) {
  sel.autocorrelacion = true;
  sel.media = sel.varianza = false;
  const std::string ruta = (dir_ / "traza1.atc").string();
  PreguntaFija acepta(ruta);
  const ResultadoAnalisis r = Analizar("traza1", Ruido(300), &acepta);
  EXPECT_TRUE(r.Exito());
  EXPECT_THAT(acepta.propuestos, ElementsAre("traza1.atc"));
  ASSERT_EQ(log.Lineas().size(), 5u);
  EXPECT_EQ(log.Lineas()[2], "Autocorrelación sesgada (100 puntos) en fichero " + ruta);
  EXPECT_THAT(log.Lineas()[3], StartsWith("Análisis realizado el día"));
  std::string mensaje;
  const Vector leida = ReadSampleFile(ruta, mensaje);
  ASSERT_EQ(leida.Longitud(), 100u) << mensaje;
  EXPECT_EQ(leida(1), 1.0);
  EXPECT_NEAR(leida(2), (*r.autocorrelacion)[1], 1e-5);
  EXPECT_FALSE(plot2.ops.empty());
}

TEST_F(ExportacionTest, Insesgada) {
  SinExtras();
  sel.autocorrelacion = true;
  par[campo::RGSesgo] = "1";
  par[campo::EPuntos] = "7";
  const std::string ruta = (dir_ / "x.atc").string();
  PreguntaFija acepta(ruta);
  Analizar("x", Ruido(300), &acepta);
  EXPECT_EQ(log.Lineas().back(), "Autocorrelación insesgada (7 puntos) en fichero " + ruta);
}

TEST_F(ExportacionTest, CancelarNoEscribeNiAnota) {
  sel.autocorrelacion = true;
  sel.media = sel.varianza = false;
  PreguntaFija cancela(std::nullopt);
  Analizar("traza1", Ruido(300), &cancela);
  EXPECT_EQ(cancela.titulos.size(), 1u);
  ASSERT_EQ(log.Lineas().size(), 4u);
  EXPECT_THAT(log.Lineas()[2], StartsWith("Análisis realizado el día"));
  EXPECT_EQ(log.Lineas()[3], "Créditos de prueba");
  EXPECT_FALSE(plot2.ops.empty());  // the chart is still drawn
}

TEST_F(ExportacionTest, FalloDeEscrituraMuestraMensajeYAnotaLaLinea) {
  SinExtras();
  sel.autocorrelacion = true;
  const std::string ruta = (dir_ / "no" / "existe.atc").string();
  PreguntaFija acepta(ruta);
  const ResultadoAnalisis r = Analizar("s", Ruido(300), &acepta);
  EXPECT_TRUE(r.Exito());
  EXPECT_TRUE(r.escrituraFallida);
  EXPECT_THAT(mensajes.textos,
              ElementsAre("No puedo guardar el fichero\n'" + ruta + "': no existe la carpeta"));
  EXPECT_EQ(log.Lineas().back(), "Autocorrelación sesgada (100 puntos) en fichero " + ruta);
}

TEST_F(DriverTest, ErrorDeConversionDetieneElAnalisis) {
  sel.metodo = "R/S";
  par[campo::EMind] = "1O";
  const ResultadoAnalisis r = Analizar("s", Ruido(1000));
  EXPECT_EQ(r.fin, ResultadoAnalisis::Fin::Conversion);
  EXPECT_THAT(mensajes.textos, ElementsAre("'1O' no es un número entero válido"));
  EXPECT_EQ(mensajes.tipos[0], TipoMensaje::Error);
  EXPECT_THAT(log.Lineas(), ElementsAre("Nombre: s", "Longitud: 1000"));
  EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
  EXPECT_EQ(log.Comandos(), ComandosResultados{});
  EXPECT_FALSE(hooks.Ocupado());
}

TEST_F(DriverTest, ErrorDeConversionEnEPuntos) {
  SinExtras();
  sel.autocorrelacion = true;
  par[campo::EPuntos] = "diez";
  const ResultadoAnalisis r = Analizar("s", Ruido(300));
  EXPECT_EQ(r.fin, ResultadoAnalisis::Fin::Conversion);
  EXPECT_THAT(mensajes.textos, ElementsAre("'diez' no es un número entero válido"));
}

// A chart whose range fit reports a library fault, to reach the driver's handler.
class GraficaQueFalla : public GraficaGrabadora {
 public:
  void AutoRange(double) override { ErrorEjecucion(kFalloMatrizSingular); }
};

TEST_F(DriverTest, FalloNumericoTerminaElAnalisisConSuMensaje) {
  sel.metodo = "R/S";
  GraficaQueFalla falla;
  Analizador d = Driver();
  d.Entorno().graficaMetodo = &falla;
  const ResultadoAnalisis r = d.Analizar("s", Ruido(1000), sel, par, marcas);
  EXPECT_EQ(r.fin, ResultadoAnalisis::Fin::ErrorNumerico);
  EXPECT_EQ(r.estado, kEstadoErrorNumerico);
  EXPECT_EQ(r.mensaje, TextoErrorEjecucion(kFalloMatrizSingular));
  ASSERT_EQ(mensajes.textos.size(), 1u);
  EXPECT_THAT(mensajes.textos[0], StartsWith("error en tiempo de ejecución: "));
  EXPECT_EQ(mensajes.textos[0], TextoErrorEjecucion(kFalloMatrizSingular));
  EXPECT_EQ(log.Lineas().size(), 8u);  // what was written stays
  EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
  EXPECT_EQ(log.Comandos(), ComandosResultados{});
}

// A cancelled computation leaves no half result: the header lines and "Análisis cancelado"
// in the normal colours, the commands as they were, no chart, no message, no file.
TEST_F(DriverTest, CancelarEnElMetodoDejaLasCabeceras) {
  sel.metodo = "Whittle Estándar";
  sel.autocorrelacion = true;
  ControlProgreso control;
  control.Cancelar();
  {
    ProgresoInstalado instalado(control);
    EXPECT_EQ(Analizar("s", Ruido(1000)).fin, ResultadoAnalisis::Fin::Cancelado);
  }
  EXPECT_THAT(log.Lineas(), ElementsAre("Nombre: s", "Longitud: 1000", "Análisis cancelado"));
  EXPECT_EQ(log.Fondo(), ColorFondo::Ventana);
  EXPECT_EQ(log.Comandos(), ComandosResultados{});
  EXPECT_TRUE(plot1.ops.empty());
  EXPECT_TRUE(plot2.ops.empty());
  EXPECT_TRUE(mensajes.textos.empty());
  EXPECT_FALSE(hooks.Ocupado());
}

// Hooks that cancel the second long computation of an analysis (the statistics, after the
// method's estimate), as the user pressing "Cancelar" while the autocorrelation runs.
class HooksQueCancelan : public HooksFijos {
 public:
  void Calcular(const std::function<void()>& calculo) override {
    if (++llamadas == 2) control.Cancelar();
    ProgresoInstalado instalado(control);
    calculo();
    ComprobarCancelacion();  // a request that came after the last check still counts
  }
  ControlProgreso control;
  int llamadas = 0;
};

TEST_F(DriverTest, CancelarEnLaAutocorrelacionNoTocaGraficasNiFicheros) {
  sel.metodo = "R/S";
  sel.autocorrelacion = true;
  HooksQueCancelan cancela;
  PreguntaFija acepta((std::filesystem::temp_directory_path() / "no_debe_existir.atc").string());
  Analizador d = Driver(&acepta);
  d.Entorno().hooks = &cancela;
  const ResultadoAnalisis r = d.Analizar("s", Ruido(2000), sel, par, marcas);
  EXPECT_EQ(r.fin, ResultadoAnalisis::Fin::Cancelado);
  EXPECT_EQ(cancela.llamadas, 2);
  EXPECT_THAT(log.Lineas(), ElementsAre("Nombre: s", "Longitud: 2000", "Análisis cancelado"));
  EXPECT_EQ(log.Fondo(), ColorFondo::Ventana);
  EXPECT_TRUE(plot1.ops.empty());
  EXPECT_TRUE(plot2.ops.empty());
  EXPECT_TRUE(acepta.titulos.empty());
  EXPECT_TRUE(mensajes.textos.empty());
}

TEST_F(DriverTest, RSInformeYGrafica) {
  SinExtras();
  sel.metodo = "R/S";
  const ResultadoAnalisis r = Analizar("s", Ruido(1000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  ASSERT_EQ(log.Lineas().size(), 8u);
  EXPECT_THAT(log.Lineas()[2], MatchesRegex(std::string("Parámetro Hurst H = ") + kNumero));
  EXPECT_THAT(std::vector<std::string>(log.Lineas().begin() + 3, log.Lineas().end()),
              ElementsAre("Método R/S. Parámetros:", "      Mínimo valor de 'd': 10",
                          "      Mínimo nº de muestras R/S: 4", "      Número de bloques: 8",
                          "      Puntos por década: 6"));
  EXPECT_EQ(log.Lineas()[2], "Parámetro Hurst H = " + FormatoF(*r.valor));
  ASSERT_TRUE(r.x.has_value());
  const std::size_t n = r.x->size();
  ASSERT_EQ(plot1.ops.size(), 7 + n);
  EXPECT_THAT(std::vector<std::string>(plot1.ops.begin(), plot1.ops.begin() + 7),
              ElementsAre("clear", "x:log10 (d)", "y:log10 (R/S)", "move", "line", "class1",
                          "mark3"));
  EXPECT_EQ(plot1.ops.back(), "auto2");
  // The regression line runs from the first to the last abscissa.
  EXPECT_EQ(plot1.puntos[0].x, r.x->front());
  EXPECT_EQ(plot1.puntos[1].x, r.x->back());
  EXPECT_EQ(plot1.puntos[2].x, (*r.x)[0]);
  EXPECT_EQ(plot1.puntos[2].y, (*r.y)[0]);
}

TEST_F(DriverTest, GraficaMetodoDesmarcadaNoTocaLaGrafica) {
  SinExtras();
  sel.metodo = "Varianza";
  marcas.graficaMetodo = false;
  const ResultadoAnalisis r = Analizar("s", Ruido(1000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  EXPECT_TRUE(plot1.ops.empty());
  EXPECT_EQ(log.Lineas().size(), 7u);
}

TEST_F(DriverTest, VarianzaConComprobacionLineal) {
  SinExtras();
  sel.metodo = "Varianza";
  par[campo::ChLineal] = "1";
  const ResultadoAnalisis r = Analizar("s", Ruido(2000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  ASSERT_EQ(log.Lineas().size(), 8u);
  EXPECT_EQ(log.Lineas()[3], "Método de la varianza. Parámetros:");
  EXPECT_EQ(log.Lineas()[5], "      Mínimo nº de muestras para la varianza: 20");
  EXPECT_THAT(log.Lineas()[7], StartsWith("La gráfica log10 (Var.) vs log10 (m) "));
  EXPECT_EQ(plot1.ops[1], "x:log10 (m)");
  EXPECT_EQ(plot1.ops[2], "y:log10 (Varianza)");
  EXPECT_EQ(plot1.ops[6], "mark17");
}

TEST_F(DriverTest, VarianzaDiferenciadaConLosMismosParametros) {
  SinExtras();
  sel.metodo = "Varianza Difer.";
  par[campo::ChMismos] = "1";
  par[campo::EMinm] = "3";
  par[campo::EMinVar] = "15";
  par[campo::EDecadaVar] = "8";
  par[campo::EMinmDif] = "no se lee";
  const ResultadoAnalisis r = Analizar("s", Ruido(4000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  EXPECT_THAT(std::vector<std::string>(log.Lineas().begin() + 3, log.Lineas().end()),
              ElementsAre("Método de la varianza diferenciada. Parámetros:",
                          "      Mínimo valor de 'm': 3",
                          "      Mínimo nº de muestras para la varianza: 15",
                          "      Puntos por década: 8"));
  EXPECT_EQ(plot1.ops[2], "y:log10 (Varianza diferenciada)");
}

TEST_F(DriverTest, VarianzaDiferenciadaConSusParametros) {
  SinExtras();
  sel.metodo = "Varianza Difer.";
  const ResultadoAnalisis r = Analizar("s", Ruido(4000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  EXPECT_EQ(log.Lineas()[4], "      Mínimo valor de 'm': 5");
}

TEST_F(DriverTest, PeriodogramaRepiteElPorcentaje) {
  SinExtras();
  sel.metodo = "Periodograma";
  par[campo::CBPorcentaje] = "0.1";
  const ResultadoAnalisis r = Analizar("s", Ruido(20000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  EXPECT_THAT(std::vector<std::string>(log.Lineas().begin() + 3, log.Lineas().end()),
              ElementsAre("Método del periodograma. Parámetros:",
                          "      Porcentaje de frecuencias: 0.1"));
  EXPECT_EQ(plot1.ops[1], "x:log10 (frecuencia)");
  EXPECT_EQ(plot1.ops[6], "mark0");
}

TEST_F(DriverTest, PeriodogramaFueraDeRango) {
  sel.metodo = "Periodograma";
  par[campo::CBPorcentaje] = "25";
  const ResultadoAnalisis r = Analizar("s", Ruido(2000));
  EXPECT_EQ(r.estado, kEstadoPorcentaje);
  EXPECT_THAT(log.Lineas(), ElementsAre("Nombre: s", "Longitud: 2000"));
}

TEST_F(DriverTest, WhittleFgn) {
  SinExtras();
  sel.metodo = "Whittle Estándar";
  const ResultadoAnalisis r = Analizar("s", Ruido(1000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  ASSERT_EQ(log.Lineas().size(), 5u);
  EXPECT_EQ(log.Lineas()[2], "Parámetro Hurst: H = " + FormatoF(*r.valor));
  EXPECT_EQ(log.Lineas()[3], "Intervalo de confianza (95%): [" + FormatoF(*r.icBajo) + "; " +
                                 FormatoF(*r.icAlto) + "]");
  EXPECT_EQ(log.Lineas()[4], "Método de Whittle estándar. Modelo FGN");
  EXPECT_TRUE(plot1.ops.empty());
}

TEST_F(DriverTest, FarimaSinOrdenes) {
  SinExtras();
  sel.metodo = "Whittle Estándar";
  par[campo::RGModelo] = "1";
  const ResultadoAnalisis r = Analizar("s", Ruido(1000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  ASSERT_EQ(log.Lineas().size(), 7u);
  EXPECT_EQ(log.Lineas()[4], "Parámetros AR: ");
  EXPECT_EQ(log.Lineas()[5], "Parámetros MA: ");
  EXPECT_EQ(log.Lineas()[6], "Método de Whittle estándar. Modelo FARIMA");
  EXPECT_EQ(r.coeficientes.size(), 1u);
  EXPECT_EQ(*r.valor, r.coeficientes[0]);
}

TEST_F(DriverTest, FarimaConOrdenes) {
  SinExtras();
  sel.metodo = "Whittle Estándar";
  par[campo::RGModelo] = "1";
  par[campo::EOrdenp] = "1";
  par[campo::EOrdenq] = "1";
  const ResultadoAnalisis r = Analizar("s", Ruido(1000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  ASSERT_EQ(r.coeficientes.size(), 3u);
  EXPECT_EQ(log.Lineas()[4], "Parámetros AR: " + FormatoF(r.coeficientes[1]) + "  ");
  EXPECT_EQ(log.Lineas()[5], "Parámetros MA: " + FormatoF(r.coeficientes[2]) + "  ");
}

TEST_F(DriverTest, FarimaOrdenFueraDeRango) {
  sel.metodo = "Whittle Estándar";
  par[campo::RGModelo] = "1";
  par[campo::EOrdenp] = "2";
  EXPECT_EQ(Analizar("s", Ruido(1000)).estado, kEstadoOrdenesFarima);
}

TEST_F(DriverTest, WhittleAgregadoYLocal) {
  SinExtras();
  sel.metodo = "Whittle Agregado";
  ResultadoAnalisis r = Analizar("s", Ruido(2000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  EXPECT_THAT(std::vector<std::string>(log.Lineas().begin() + 4, log.Lineas().end()),
              ElementsAre("Método de Whittle agregado. Parámetros:",
                          "      Nivel de agregación: 10"));
  sel.metodo = "Whittle Local";
  r = Analizar("s", Ruido(2000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  EXPECT_THAT(std::vector<std::string>(log.Lineas().begin() + 4, log.Lineas().end()),
              ElementsAre("Método de Whittle local. Parámetros:", "      Factor m: 4"));
  EXPECT_TRUE(r.icBajo.has_value());
}

TEST_F(DriverTest, NivelNegativoSeRechazaConSuMensaje) {
  sel.metodo = "Whittle Agregado";
  par[campo::CBNivel] = "-1";
  EXPECT_EQ(Analizar("s", Ruido(2000)).estado, kEstadoNivelAgregado);
  sel.metodo = "Whittle Local";
  par[campo::CBFactor] = "-4";
  EXPECT_EQ(Analizar("s", Ruido(2000)).estado, kEstadoFactorLocal);
}

TEST_F(DriverTest, MinimosNegativosSeRechazanConSuMensaje) {
  sel.metodo = "R/S";
  par[campo::EMind] = "-3";
  EXPECT_EQ(Analizar("s", Ruido(1000)).estado, kEstadoMinD);
  sel.metodo = "Varianza";
  par[campo::EMinm] = "-1";
  EXPECT_EQ(Analizar("s", Ruido(1000)).estado, kEstadoMinM);
}

TEST_F(DriverTest, TestT) {
  SinExtras();
  sel.metodo = "Test T";
  const ResultadoAnalisis r = Analizar("s", Ruido(2000));
  ASSERT_TRUE(r.Exito()) << r.mensaje;
  ASSERT_TRUE(r.constante.has_value());
  const std::string veredicto = *r.constante == 1 ? "constante" : "no constante";
  EXPECT_THAT(std::vector<std::string>(log.Lineas().begin() + 2, log.Lineas().end()),
              ElementsAre("Probabilidad: P = " + FormatoF(*r.valor) + "    Parámetro Hurst " +
                              veredicto,
                          "Test de estacionariedad. Parámetros:",
                          "      Número de bloques: 10", "      Significancia: 0.05"));
}

TEST_F(DriverTest, TestTLeeLosBloquesDeSuDialogo) {
  sel.metodo = "Test T";
  par[campo::EBloques] = "basura";  // the R/S field is not read
  par[campo::EstacionEBloques] = "30";      // 2000 / 30 < 100 samples per block
  EXPECT_EQ(Analizar("s", Ruido(2000)).estado, kEstadoBloquesTestT);
}

// A decimal field that is not a whole decimal number stops the analysis as an integer
// field does, with its own status, whatever the method.
TEST_F(DriverTest, CampoDecimalNoNumericoDetieneElAnalisis) {
  const std::pair<const char*, const char*> casos[] = {{"T0 (IDC)", campo::EInicial},
                                                       {"Test T", campo::ESigni},
                                                       {"Periodograma", campo::CBPorcentaje},
                                                       {"GPH", campo::EExponenteGPH}};
  for (const auto& [metodo, clave] : casos) {
    for (const char* texto : {"abc", "5abc", "0x10"}) {
      SCOPED_TRACE(std::string(metodo) + " " + texto);
      AnalysisParameters p;
      par = p;
      par[campo::EFinal] = "1";
      par[clave] = texto;
      sel.metodo = metodo;
      mensajes.textos.clear();
      const ResultadoAnalisis r = Analizar("s", Ruido(1000));
      EXPECT_EQ(r.fin, ResultadoAnalisis::Fin::Conversion);
      EXPECT_EQ(r.estado, kEstadoConversionDecimal);
      EXPECT_THAT(mensajes.textos,
                  ElementsAre("'" + std::string(texto) + "' no es un número decimal válido"));
    }
  }
}

TEST_F(DriverTest, T0Informe) {
  SinExtras();
  sel.metodo = "T0 (IDC)";
  par[campo::EInicial] = "0.01";
  par[campo::EFinal] = "1";
  const ResultadoAnalisis r = Analizar("s", Ruido(5000));
  if (!r.Exito()) GTEST_SKIP() << "the estimator refuses this series: " << r.mensaje;
  EXPECT_THAT(log.Lineas()[2], StartsWith("Tiempo de comienzo fractal : T0 = "));
  EXPECT_THAT(std::vector<std::string>(log.Lineas().begin() + 3, log.Lineas().end()),
              ElementsAre("Método de IDC (T0). Parámetros:",
                          "      Escala de tiempos inicial: 0.01 seg.",
                          "      Escala de tiempos final: 1 seg.",
                          "      Puntos por década: 2"));
  EXPECT_EQ(plot1.ops[1], "x:log10 t (segs)");
  EXPECT_EQ(plot1.ops[2], "y:log10 (IDC-1)");
}

TEST_F(DriverTest, MetodoDesconocidoNoHaceNada) {
  SinExtras();
  sel.metodo = "r/s";
  EXPECT_TRUE(Analizar("s", Ruido(1000)).Exito());
  EXPECT_EQ(log.Lineas().size(), 2u);
}

TEST_F(DriverTest, MensajeVacioParaCodigosDesconocidos) {
  Analizador d = Driver();
  d.ShowStatusMessage(99);
  EXPECT_THAT(mensajes.textos, ElementsAre(""));
}

TEST_F(DriverTest, AnalizaLaSerieActualDelAlmacen) {
  SinExtras();
  SeriesStore almacen;
  Analizador d = Driver();
  EXPECT_EQ(d.Analizar(almacen, sel, par, marcas).fin, ResultadoAnalisis::Fin::SinSerie);
  EXPECT_TRUE(log.Lineas().empty());
  almacen.Add("a", Ruido(5));
  almacen.Add("b", Ruido(7));
  almacen.SetCurrentSlot(0);
  EXPECT_TRUE(d.Analizar(almacen, sel, par, marcas).Exito());
  EXPECT_THAT(log.Lineas(), ElementsAre("Nombre: a", "Longitud: 5"));
}

TEST(GraficaMetodo, TitulosSoloParaMetodosConocidos) {
  GraficaGrabadora g;
  Vector x(2), y(2);
  x[1] = 0;
  x[2] = 1;
  y[1] = 1;
  y[2] = 3;
  RellenarGraficaMetodo(g, x, y, "Otro");
  EXPECT_THAT(g.ops, ElementsAre("clear", "move", "line", "class1", "mark17", "mark17", "auto2"));
  EXPECT_EQ(g.puntos[0].y, 1.0);
  EXPECT_EQ(g.puntos[1].y, 3.0);
}

TEST(Metodos, ListaOrdenada) {
  EXPECT_THAT(NombresMetodos(), ElementsAre("DFA", "GPH", "Higuchi", "Momentos Absolutos",
                                    "Ninguno", "Ondículas", "Periodograma", "R/S", "T0 (IDC)", "Test T",
                                    "Varianza", "Varianza Difer.", "Whittle Agregado",
                                    "Whittle Estándar", "Whittle Local"));
}

}  // namespace

namespace {

TEST_F(ExportacionTest, GuardarComoTrasUnFalloEscribeLasLineasDeCabecera) {
  SinExtras();
  sel.media = true;
  ASSERT_TRUE(Analizar("buena", Ruido(10)).Exito());
  sel.metodo = "R/S";
  ASSERT_FALSE(Analizar("corta", Ruido(20)).Exito());
  EXPECT_TRUE(log.Comandos().guardarComo);
  const std::string ruta = (dir_ / "r.rsl").string();
  ASSERT_EQ(log.GuardarResultadoComo(ruta), "");
  EXPECT_EQ(prueba::LeerFichero(ruta), "Nombre: corta\r\nLongitud: 20\r\n");
}

}  // namespace

namespace {

// The comparison runs every method that yields H, each guarded: a refusal (Varianza with
// a huge minimum m), a conversion error (Higuchi) and a library fault (FARIMA(1, d, 1) on
// white noise) stay in their own lines while the other methods still give H. The log
// then takes the usual statistics and the colours of a successful analysis.
TEST_F(DriverTest, ComparacionDeMetodosSobreviveAFallosAislados) {
  SinExtras();
  sel.media = true;
  sel.metodo = metodo::kTodos;
  par[campo::EMinm] = "100000";
  par[campo::EKMax] = "x";
  par[campo::RGModelo] = "1";
  par[campo::EOrdenp] = "1";
  par[campo::EOrdenq] = "1";
  const ResultadoAnalisis r = Analizar("s", prueba::RuidoGaussiano(1000, 17));
  ASSERT_TRUE(r.Exito());
  std::vector<std::string> nombres;
  for (const DefinicionMetodo& m : TablaMetodos())
    if (m.daH) nombres.push_back(m.nombre);
  ASSERT_EQ(r.metodos.size(), nombres.size());
  // Header, the table's title and column line, one line per method, the line on the
  // methods left out, the statistics' label and the mean.
  ASSERT_EQ(log.Lineas().size(), nombres.size() + 7);
  EXPECT_EQ(log.Lineas()[3].rfind("Método ", 0), 0u);
  for (std::size_t i = 0; i < nombres.size(); ++i) {
    const ResultadoAnalisis::MetodoComparado& m = r.metodos[i];
    SCOPED_TRACE(nombres[i]);
    EXPECT_EQ(m.metodo, nombres[i]);
    const std::string& linea = log.Lineas()[i + 4];
    EXPECT_EQ(linea.rfind(nombres[i] + " ", 0), 0u);
    const bool falla = nombres[i] == "Varianza" || nombres[i] == "Higuchi" ||
                       nombres[i] == "Whittle Estándar";
    EXPECT_EQ(m.valor.has_value(), !falla);
    EXPECT_EQ(m.mensaje.empty(), !falla);
    if (falla) {
      EXPECT_THAT(linea, HasSubstr("sin resultado ("));
    } else {
      EXPECT_THAT(linea, MatchesRegex(".* [0-9]\\.[0-9]{4} .*(correcto|sin IC)"));
    }
  }
  EXPECT_THAT(log.Lineas()[nombres.size() + 4],
              HasSubstr("Whittle Estándar se aplica con el modelo FARIMA"));
  EXPECT_EQ(log.Lineas()[nombres.size() + 5], "Estadísticos de la serie:");
  const auto fila = [&r](const std::string& n) {
    return *std::find_if(r.metodos.begin(), r.metodos.end(),
                         [&n](const auto& m) { return m.metodo == n; });
  };
  EXPECT_EQ(fila("Varianza").estado, kEstadoPocosPuntos);
  EXPECT_EQ(fila("Higuchi").mensaje, "'x' no es un número entero válido");
  EXPECT_EQ(fila("Higuchi").estado, kEstadoConversion);
  EXPECT_NE(fila("Whittle Estándar").estado, kEstadoOk);
  EXPECT_TRUE(fila("Whittle Local").icBajo.has_value());
  EXPECT_EQ(log.Lineas().back().rfind("Media = ", 0), 0u);
  EXPECT_EQ(log.Fondo(), ColorFondo::Ventana);
  EXPECT_TRUE(log.Comandos().guardar);
  EXPECT_TRUE(mensajes.textos.empty());
  // The chart (app/comparacion.h): one circle per estimate, one name per method.
  const auto cuenta = [&](const std::string& op) {
    return std::count(plot1.ops.begin(), plot1.ops.end(), op);
  };
  EXPECT_EQ(cuenta("mark17"), static_cast<long>(nombres.size()) - 3);
  EXPECT_EQ(cuenta("label1:Whittle Local"), 1);
  EXPECT_EQ(cuenta("label3:s (1000 muestras)"), 1);
  EXPECT_EQ(plot1.ops.back(), "auto2");
}

// When no method gives an estimate (too short a series, a constant one) the comparison is
// a refusal of its own: its lines stay as the reasons, no statistics, no chart.
TEST_F(DriverTest, ComparacionSinNingunaEstimacionSeRechaza) {
  const std::pair<const char*, Vector> casos[] = {{"dos muestras", V({1.0, 2.0})},
                                                  {"constante", Vector(300, 3.0)}};
  for (const auto& [que, serie] : casos) {
    SCOPED_TRACE(que);
    sel.metodo = metodo::kTodos;
    sel.media = true;
    mensajes.textos.clear();
    plot1.ops.clear();
    const ResultadoAnalisis r = Analizar("s", serie);
    EXPECT_EQ(r.fin, ResultadoAnalisis::Fin::Estado);
    EXPECT_EQ(r.estado, kEstadoNingunaEstimacion);
    EXPECT_THAT(mensajes.textos, ElementsAre(MensajeEstado(kEstadoNingunaEstimacion)));
    ASSERT_FALSE(r.metodos.empty());
    for (const auto& m : r.metodos) EXPECT_NE(m.estado, kEstadoOk) << m.metodo;
    // Name and length, the table's title, header and rows, the line on the methods left out.
    EXPECT_EQ(log.Lineas().size(), r.metodos.size() + 5);
    EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
    EXPECT_FALSE(r.media.has_value());
    EXPECT_TRUE(plot1.ops.empty());
  }
}

}  // namespace
