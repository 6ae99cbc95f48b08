// Whole-program tests: the built fenwa-cli on the example series and on generated files.
#include <gmock/gmock.h>
#include <charconv>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/analisis.h"
#include "app/formato.h"
#include "app/metodos.h"
#include "app/series.h"
#include "chart/plot_model.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "programa.h"
#include "support/carpeta_prueba.h"
#include "support/herramientas.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using prueba::Ejemplo;

class CliTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  CliTest() : CarpetaDePrueba("clitest") {}

  // n samples of deterministic noise, one per line.
  std::string Ruido(const std::string& nombre, int n) {
    std::string t;
    prueba::Congruencial g(99);
    for (int i = 0; i < n; ++i) t += std::to_string(1 + g.Entero(1000)) + "\n";
    return Fichero(nombre, t);
  }
};

TEST_F(CliTest, AyudaEnEspanol) {
  const Ejecucion e = Ejecutar({"--help"});
  EXPECT_EQ(e.estado, 0);
  EXPECT_THAT(e.salida, HasSubstr("Uso: fenwa-cli [OPCIONES] FICHERO..."));
  EXPECT_THAT(e.salida, HasSubstr("--metodo NOMBRE"));
  EXPECT_THAT(e.salida, HasSubstr("Estacion.EBloques"));
  EXPECT_THAT(e.salida, HasSubstr("--grf-auto RUTA"));
  EXPECT_THAT(e.errores, IsEmpty());
}

TEST_F(CliTest, ErroresDeUso) {
  const std::string f = Ruido("a.sam", 10);
  const std::vector<std::vector<std::string>> casos = {
      {},
      {"--no-existe", f},
      {"-m", "Hurst", f},
      {"-m", "r/s", f},
      {"-p", "Desconocido=1", f},
      {"-p", "EMind", f},
      {"-p", "ChLineal=2", f},
      {"--separador", ";", f},
      {"--json=1", f},
      {f, "-m"},
      {"-j", "0", f},
      {"--trabajos", "dos", f},
      {"--hilos", "-1", f},
      {"--progreso=1", f},
  };
  for (const auto& args : casos) {
    const Ejecucion e = Ejecutar(args);
    EXPECT_EQ(e.estado, 1) << ::testing::PrintToString(args);
    EXPECT_THAT(e.salida, IsEmpty());
    EXPECT_THAT(e.errores, HasSubstr("fenwa-cli: "));
  }
}

// FENWA_HILOS is read as --hilos is: a bad value is the same usage error, for the analysis
// and for generar; empty, it is as if it were not set.
TEST_F(CliTest, VariableDeHilosComoLaOpcion) {
  const std::string f = Ruido("a.sam", 200);
  struct Caso {
    const char* valor;
    int estado;
  };
  const Caso casos[] = {{"abc", 1}, {"0", 1}, {"300", 1}, {"2x", 1}, {"2", 0}, {"", 0}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.valor);
    ::setenv("FENWA_HILOS", c.valor, 1);
    const Ejecucion analisis = Ejecutar({"-m", "R/S", f});
    const Ejecucion generar = Ejecutar({"generar", "fgn", "-n", "5", "-o", "-"});
    const Ejecucion opcion = Ejecutar({"--hilos", c.valor, "-m", "R/S", f});
    ::unsetenv("FENWA_HILOS");
    EXPECT_EQ(analisis.estado, c.estado);
    EXPECT_EQ(generar.estado, c.estado);
    if (c.estado != 0) {
      const std::string mensaje =
          "debe ser un entero entre 1 y 256 y no '" + std::string(c.valor) + "'";
      EXPECT_THAT(analisis.errores, HasSubstr("el valor de FENWA_HILOS " + mensaje));
      EXPECT_THAT(generar.errores, HasSubstr("el valor de FENWA_HILOS " + mensaje));
      EXPECT_THAT(opcion.errores, HasSubstr("el valor de --hilos " + mensaje));
      EXPECT_EQ(opcion.estado, 1);
    }
  }
}

TEST_F(CliTest, NingunoConMediaYVarianza) {
  const std::string f = Fichero("traza.1.sam", "1\n2 3\n4");
  Ejecucion e = Ejecutar({f});
  EXPECT_EQ(e.estado, 0);
  EXPECT_EQ(e.salida, "Nombre: traza.1\nLongitud: 4\nMedia = 2.5\nVarianza = 1.667\n");
  EXPECT_THAT(e.errores, IsEmpty());

  e = Ejecutar({"--separador", ",", "--metodo=Ninguno", f});
  EXPECT_EQ(e.salida, "Nombre: traza.1\nLongitud: 4\nMedia = 2,5\nVarianza = 1,667\n");

  e = Ejecutar({"--sin-media", "--sin-varianza", f});
  EXPECT_EQ(e.salida, "Nombre: traza.1\nLongitud: 4\n");
}

TEST_F(CliTest, FechaYCreditos) {
  const std::string f = Fichero("x.sam", "1 2");
  const Ejecucion e = Ejecutar({"--sin-media", "--sin-varianza", "--fecha", "--creditos", f});
  ASSERT_EQ(e.Lineas().size(), 4u);
  EXPECT_THAT(e.Lineas()[2], ::testing::MatchesRegex("Análisis realizado el día .+ a las .+ horas"));
  EXPECT_EQ(e.Lineas()[3], kLineaCreditos);
}

TEST_F(CliTest, VariosFicherosSeparadosPorUnaLineaVacia) {
  const std::string a = Fichero("a.sam", "1 2"), b = Fichero("b.txt", "3 5");
  const Ejecucion e = Ejecutar({"--sin-varianza", a, b});
  EXPECT_EQ(e.estado, 0);
  EXPECT_EQ(e.salida, "Nombre: a\nLongitud: 2\nMedia = 1.5\n\nNombre: b\nLongitud: 2\nMedia = 4\n");
}

TEST_F(CliTest, FicherosIlegiblesOMalFormados) {
  const std::string bueno = Fichero("bueno.sam", "1 2");
  const std::string malo = Fichero("malo.sam", "1,5\n2,5\n");
  const std::string falta = (dir_ / "no_existe.sam").string();
  const Ejecucion e = Ejecutar({"--sin-media", "--sin-varianza", falta, malo, bueno});
  EXPECT_EQ(e.estado, 1);
  EXPECT_EQ(e.salida, "Nombre: bueno\nLongitud: 2\n");
  EXPECT_THAT(e.errores, HasSubstr("No puedo leer el fichero\n'" + falta + "'"));
  EXPECT_THAT(e.errores, HasSubstr("El fichero '" + malo + "' no tiene el formato adecuado"));
}

// "-" reads the standard input, a pipe or a redirected file: the series is "entrada" and
// its report the file's. A pipe is refused at its first bad token, though its writer would
// go on for ever.
TEST_F(CliTest, EntradaEstandar) {
  const std::string nile = "'" + Ejemplo("NileMin.sam") + "'";
  std::vector<std::string> esperado = Ejecutar({"-m", "R/S", Ejemplo("NileMin.sam")}).Lineas();
  ASSERT_FALSE(esperado.empty());
  esperado[0] = "Nombre: entrada";
  for (const std::string& antes : {"cat " + nile + " |", "<" + nile}) {
    const Ejecucion e = Ejecutar({"-m", "R/S", "-"}, "", antes);
    EXPECT_EQ(e.estado, 0) << antes << e.errores;
    EXPECT_EQ(e.Lineas(), esperado) << antes;
  }
  const Ejecucion e = Ejecutar({"-"}, "", "(printf '1 2\\n3 abc '; yes 5) | timeout 60");
  EXPECT_EQ(e.estado, 1);
  EXPECT_EQ(e.errores, "fenwa-cli: El fichero '-' no tiene el formato adecuado\nlínea 2: «abc»\n");
}

// A file that cannot be read (missing or malformed) ends the run with 1 even when another
// file's analysis is refused (2), whichever of the two comes first.
TEST_F(CliTest, IlegibleYRechazadoSalenConUnoEnCualquierOrden) {
  const std::string corta = Ruido("corta.sam", 99);
  const std::string falta = (dir_ / "no_existe.sam").string();
  const std::string malo = Fichero("malo.sam", "1,5\n2,5\n");
  const std::vector<std::vector<std::string>> ordenes = {
      {falta, corta}, {corta, falta}, {malo, corta}, {corta, malo}};
  for (const auto& ficheros : ordenes) {
    std::vector<std::string> args = {"-m", "R/S"};
    args.insert(args.end(), ficheros.begin(), ficheros.end());
    const Ejecucion e = Ejecutar(args);
    EXPECT_EQ(e.estado, 1) << ::testing::PrintToString(ficheros);
    EXPECT_THAT(e.errores, HasSubstr("La longitud de la serie debe ser mayor o igual que 100"));
  }
}

TEST_F(CliTest, AnalisisRechazado) {
  const std::string f = Ruido("corta.sam", 99);
  Ejecucion e = Ejecutar({"-m", "R/S", f});
  EXPECT_EQ(e.estado, 2);
  EXPECT_EQ(e.salida, "Nombre: corta\nLongitud: 99\n");
  EXPECT_THAT(e.errores, HasSubstr("La longitud de la serie debe ser mayor o igual que 100"));

  e = Ejecutar({"-m", "R/S", "--json", f});
  EXPECT_EQ(e.estado, 2);
  ASSERT_EQ(e.Lineas().size(), 1u);
  const Json j = LeerJson(e.Lineas()[0]);
  EXPECT_EQ(j["estado"].numero, 1);
  EXPECT_EQ(j["mensaje"].texto, "La longitud de la serie debe ser mayor o igual que 100");
  EXPECT_TRUE(j["valor"].EsNulo());
  EXPECT_TRUE(j["media"].EsNulo());
  ASSERT_EQ(j["informe"].lista.size(), 2u);
  EXPECT_EQ(j["informe"].lista[1].texto, "Longitud: 99");
}

// A refusal that is not a parameter's: a FARIMA(1, d, 1) minimum outside the model's
// region (FGN of H = 0.6 over 300 samples) and a fault of the numerical library (the
// chi-squared probability of Test T over 1001 blocks, where T/2 is close to its degrees of
// freedom over 2 and the series of Gser does not converge in its iterations). Each has its
// own status, exit 2, and its message once.
struct CasoRechazoPropio {
  int n;
  double H;
  unsigned semilla;
  std::vector<std::string> opciones;
  int estado;
  std::string mensaje;
};

TEST_F(CliTest, RechazosConSuPropioEstado) {
  const CasoRechazoPropio casos[] = {
      {300, 0.6, 11,
       {"-m", "Whittle Estándar", "-p", "RGModelo=1", "-p", "EOrdenp=1", "-p", "EOrdenq=1"},
       kEstadoFarimaFueraDeRegion, MensajeEstado(kEstadoFarimaFueraDeRegion)},
      {100100, 0.6, 4, {"-m", "Test T", "-p", "Estacion.EBloques=1001"}, kEstadoErrorNumerico,
       "error en tiempo de ejecución: número máximo de iteraciones superado en función Gcf o en "
       "Gser"},
  };
  for (const CasoRechazoPropio& c : casos) {
    SCOPED_TRACE(c.opciones[1]);
    std::string texto;
    for (const double v : prueba::GenerarFgn(c.n, c.H, c.semilla)) texto += FormatoG(v) + "\n";
    const std::string f = Fichero("r.sam", texto);
    std::vector<std::string> argumentos = c.opciones;
    argumentos.push_back("--json");
    argumentos.push_back(f);
    const Ejecucion e = Ejecutar(argumentos);
    EXPECT_EQ(e.estado, 2);
    ASSERT_EQ(e.Lineas().size(), 1u);
    const Json j = LeerJson(e.Lineas()[0]);
    EXPECT_EQ(j["estado"].numero, c.estado);
    EXPECT_EQ(j["mensaje"].texto, c.mensaje);
    EXPECT_TRUE(j["valor"].EsNulo());
    EXPECT_EQ(e.errores, "fenwa-cli: " + f + ": " + c.mensaje + "\n");  // once
  }
}

// -m Todos: one JSON object per file with a "metodos" list, each entry with the keys of a
// single analysis.
TEST_F(CliTest, TodosLosMetodosEnJson) {
  const Ejecucion e = Ejecutar({"-m", "Todos", "--json", Ejemplo("NileMin.sam")});
  EXPECT_EQ(e.estado, 0) << e.errores;
  ASSERT_EQ(e.Lineas().size(), 1u);
  const Json j = LeerJson(e.Lineas()[0]);
  EXPECT_EQ(j["metodo"].texto, "Todos");
  std::size_t conH = 0;
  for (const DefinicionMetodo& m : TablaMetodos()) conH += m.daH ? 1 : 0;
  ASSERT_EQ(j["metodos"].lista.size(), conH);
  for (const Json& m : j["metodos"].lista) {
    const DefinicionMetodo* d = BuscarMetodo(m["metodo"].texto);
    ASSERT_NE(d, nullptr) << m["metodo"].texto;
    EXPECT_EQ(m["estado"].numero == 0, m["mensaje"].EsNulo());
    EXPECT_EQ(m["estado"].numero == 0, !m["valor"].EsNulo());
    EXPECT_EQ(!m["ic"].EsNulo(), m["estado"].numero == 0 && d->intervalo);
  }
  EXPECT_THAT(Ejecutar({"--help"}).salida, HasSubstr("\"Todos\""));
}

// --csv writes the results the JSON output gives: one row per method of -m Todos with the
// same numbers to the digit (17 significant ones, a point), the status and the message;
// one row for any other method, including a refused one. A path that cannot be written is
// a failed write (status 1) that leaves nothing behind.
TEST_F(CliTest, CsvCoincideConElJson) {
  // Splits a CSV text into rows of fields (quoted fields may hold commas, quotes and line
  // breaks).
  const auto leerCsv = [](const std::string& texto) {
    std::vector<std::vector<std::string>> filas(1, std::vector<std::string>(1));
    bool comillas = false;
    for (std::size_t i = 0; i < texto.size(); ++i) {
      const char c = texto[i];
      if (comillas) {
        if (c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') {
          filas.back().back() += '"';
          ++i;
        } else if (c == '"') {
          comillas = false;
        } else {
          filas.back().back() += c;
        }
      } else if (c == '"') {
        comillas = true;
      } else if (c == ',') {
        filas.back().emplace_back();
      } else if (c == '\n') {
        filas.emplace_back(1);
      } else {
        filas.back().back() += c;
      }
    }
    if (filas.back().size() == 1 && filas.back()[0].empty()) filas.pop_back();
    return filas;
  };
  const auto numero = [](const Json& j) {
    if (j.EsNulo()) return std::string();
    char b[40];
    const auto r = std::to_chars(b, b + sizeof b, j.numero, std::chars_format::general, 17);
    return std::string(b, r.ptr);
  };
  struct Caso {
    std::vector<std::string> argumentos;
    std::size_t filas;
  };
  std::size_t conH = 0;
  for (const DefinicionMetodo& m : TablaMetodos()) conH += m.daH ? 1 : 0;
  const std::string corta = Ruido("corta.sam", 50);
  const Caso casos[] = {
      {{"-m", "Todos", Ejemplo("NileMin.sam")}, conH},
      {{"-m", "Whittle Local", Ejemplo("NileMin.sam")}, 1},
      {{"-m", "R/S", corta}, 1},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.argumentos[1]);
    std::vector<std::string> conJson = c.argumentos, conCsv = c.argumentos;
    conJson.insert(conJson.begin(), "--json");
    const std::string ruta = (dir_ / "r.csv").string();
    conCsv.insert(conCsv.begin(), {"--csv", ruta});
    const Ejecucion json = Ejecutar(conJson), csv = Ejecutar(conCsv);
    EXPECT_EQ(csv.estado, json.estado);
    const Json j = LeerJson(json.Lineas().at(0));
    std::vector<Json> esperados;
    if (c.filas == 1) {
      esperados.push_back(j);
    } else {
      esperados = j["metodos"].lista;
    }
    const auto filas = leerCsv(Contenido("r.csv"));
    ASSERT_EQ(filas.size(), c.filas + 1);
    EXPECT_EQ(filas[0], (std::vector<std::string>{"metodo", "valor", "inferior", "superior",
                                                   "estado", "mensaje"}));
    for (std::size_t i = 0; i < c.filas; ++i) {
      const Json& e = esperados[i];
      const std::vector<std::string>& f = filas[i + 1];
      ASSERT_EQ(f.size(), 6u);
      EXPECT_EQ(f[0], c.filas == 1 ? c.argumentos[1] : e["metodo"].texto);
      EXPECT_EQ(f[1], numero(e["valor"]));
      EXPECT_EQ(f[2], e["ic"].EsNulo() ? "" : numero(e["ic"].lista.at(0)));
      EXPECT_EQ(f[3], e["ic"].EsNulo() ? "" : numero(e["ic"].lista.at(1)));
      EXPECT_EQ(f[4], numero(e["estado"]));
      EXPECT_EQ(f[5], e["mensaje"].EsNulo() ? "" : e["mensaje"].texto);
    }
  }
  const std::string carpeta = (dir_ / "carpeta").string();
  std::filesystem::create_directory(carpeta);
  const Ejecucion e = Ejecutar({"-m", "R/S", "--csv", carpeta, Ejemplo("NileMin.sam")});
  EXPECT_EQ(e.estado, 1);
  EXPECT_THAT(e.errores, HasSubstr("No puedo guardar el fichero\n'" + carpeta + "': es una carpeta"));
  EXPECT_TRUE(std::filesystem::is_directory(carpeta));
  std::size_t ficheros = 0;
  for (const auto& entrada : std::filesystem::directory_iterator(dir_)) {
    (void)entrada;
    ++ficheros;
  }
  EXPECT_EQ(ficheros, 3u);  // corta.sam, r.csv and the folder: no temporary file left
  EXPECT_THAT(Ejecutar({"--help"}).salida, HasSubstr("--csv RUTA"));
}

TEST_F(CliTest, ErrorDeConversion) {
  const std::string f = Ruido("s.sam", 1000);
  const Ejecucion e = Ejecutar({"-m", "R/S", "-p", "EMind=1O", f});
  EXPECT_EQ(e.estado, 2);
  EXPECT_THAT(e.errores, HasSubstr("'1O' no es un número entero válido"));
  EXPECT_EQ(e.salida, "Nombre: s\nLongitud: 1000\n");
  // In JSON the failure has a status of its own, never 0.
  const Ejecucion j = Ejecutar({"-m", "R/S", "-p", "EMind=1O", "--json", f});
  EXPECT_EQ(j.estado, 2);
  const Json o = LeerJson(j.Lineas().at(0));
  EXPECT_EQ(o["estado"].numero, kEstadoConversion);
  EXPECT_EQ(o["mensaje"].texto, "'1O' no es un número entero válido");
}

// Decimal fields given with a comma read as with a point: the same report, the same echo.
TEST_F(CliTest, CamposDecimalesConComa) {
  struct Caso {
    const char* metodo;
    const char* fichero;
    const char* coma;
    const char* punto;
    const char* eco;
  };
  const Caso casos[] = {
      {"Test T", "ethernetTraffic.sam", "ESigni=0,1", "ESigni=0.1", "Significancia: 0.1"},
      {"Periodograma", "NileMin.sam", "CBPorcentaje=2,5", "CBPorcentaje=2.5",
       "Porcentaje de frecuencias: 2.5"},
      {"T0 (IDC)", "ethernetTraffic.sam", "EInicial=0,01", "EInicial=0.01",
       "Escala de tiempos inicial: 0.01 seg."},
  };
  for (const Caso& c : casos) {
    const Ejecucion coma =
        Ejecutar({"-m", c.metodo, "-p", c.coma, "-p", "EFinal=1", Ejemplo(c.fichero)});
    const Ejecucion punto =
        Ejecutar({"-m", c.metodo, "-p", c.punto, "-p", "EFinal=1", Ejemplo(c.fichero)});
    EXPECT_EQ(coma.estado, 0) << c.coma << coma.errores;
    EXPECT_EQ(coma.salida, punto.salida) << c.coma;
    EXPECT_THAT(coma.salida, HasSubstr(c.eco)) << c.coma;
  }
}

TEST_F(CliTest, UnFicheroRechazadoYOtroBueno) {
  const Ejecucion e =
      Ejecutar({"-m", "R/S", "--sin-media", Ruido("c.sam", 50), Ruido("l.sam", 1000)});
  EXPECT_EQ(e.estado, 2);
  EXPECT_THAT(e.salida, HasSubstr("Nombre: c\nLongitud: 50\n\nNombre: l\n"));
}

TEST_F(CliTest, JsonDeNinguno) {
  const std::string f = Fichero("t.sam", "0.1 0.2 0.7");
  const Ejecucion e = Ejecutar({"--json", f});
  EXPECT_EQ(e.estado, 0);
  ASSERT_EQ(e.Lineas().size(), 1u);
  const Json j = LeerJson(e.Lineas()[0]);
  EXPECT_EQ(j["nombre"].texto, "t");
  EXPECT_EQ(j["longitud"].numero, 3);
  EXPECT_EQ(j["metodo"].texto, "Ninguno");
  EXPECT_EQ(j["estado"].numero, 0);
  EXPECT_TRUE(j["mensaje"].EsNulo());
  for (const char* clave : {"valor", "ic", "coeficientes", "constante", "x", "y"}) {
    EXPECT_TRUE(j[clave].EsNulo()) << clave;
  }
  // 17 significant digits: the exact doubles come back.
  std::string m;
  const Vector v = ReadSampleFile(f, m);
  EXPECT_EQ(j["media"].numero, Media(v));
  EXPECT_EQ(j["varianza"].numero, Varianza(v));
  ASSERT_EQ(j["informe"].lista.size(), 4u);
  EXPECT_EQ(j["informe"].lista[2].texto, "Media = 0.3333");
}

// One row per method: options, file and the expected report after the two header lines
// and before the statistics; '#' stands for a number in the report's format. Where H is
// outside [0, 1] the warning line follows.
struct CasoMetodo {
  std::string metodo;
  std::string fichero;
  std::vector<std::string> parametros;
  std::vector<std::string> lineas;
  bool aviso = false;
};

std::string Patron(const std::string& linea) {
  std::string r;
  for (char c : linea) {
    if (c == '#') {
      r += "(-?[0-9]+(\\.[0-9]+)?(E-?[0-9]+)?|INF|-INF|NAN)";
    } else if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) {
      r += '\\';
      r += c;
    } else {
      r += c;
    }
  }
  return r;
}

const std::vector<CasoMetodo>& CasosMetodo() {
  static const std::vector<CasoMetodo> casos = {
      {"DFA", "ethernetTraffic.sam", {"EOrdenDFA=2"},
       {"Parámetro Hurst: H = #", "Método DFA. Parámetros:", "      Orden de la tendencia: 2",
        "      Caja mínima: 10", "      Cajas por década: 10"}},
      {"GPH", "videoVBR.sam", {"EExponenteGPH=0.6"},
       {"Parámetro Hurst: H = #", "Intervalo de confianza (95%): [#; #]",
        "Método GPH. Parámetros:", "      Exponente del ancho de banda: 0.6",
        "      Frecuencias usadas: 63"},
       true},  // H = 1.034
      {"Ondículas", "ethernetTraffic.sam", {"EMomentosOnd=2"},
       {"Parámetro Hurst: H = #", "Intervalo de confianza (95%): [#; #]",
        "Método de ondículas (Abry-Veitch). Parámetros:",
        "      Momentos nulos de la ondícula: 2", "      Octavas: 3 a 9"}},
      {"Higuchi", "NileMin.sam", {},
       {"Parámetro Hurst: H = #", "Método de Higuchi. Parámetros:", "      Retardo máximo: 66",
        "      Retardos por década: 10"}},
      {"Momentos Absolutos", "videoVBR.sam", {"EMinmMom=2"},
       {"Parámetro Hurst: H = #", "Método de los momentos absolutos. Parámetros:",
        "      Mínimo valor de 'm': 2", "      Mínimo nº de muestras para la varianza: 20",
        "      Puntos por década: 6"}},
      {"Periodograma", "NileMin.sam", {"CBPorcentaje=10"},
       {"Parámetro Hurst H = #", "Método del periodograma. Parámetros:",
        "      Porcentaje de frecuencias: 10"},
       true},  // H = 1.061
      {"R/S", "NileMin.sam", {},
       {"Parámetro Hurst H = #", "Método R/S. Parámetros:", "      Mínimo valor de 'd': 10",
        "      Mínimo nº de muestras R/S: 4", "      Número de bloques: 8",
        "      Puntos por década: 6"}},
      {"T0 (IDC)", "ethernetTraffic.sam", {"EInicial=0.01", "EFinal=1"},
       {"Tiempo de comienzo fractal : T0 = # seg.", "Método de IDC (T0). Parámetros:",
        "      Escala de tiempos inicial: 0.01 seg.", "      Escala de tiempos final: 1 seg.",
        "      Puntos por década: 2"}},
      {"Test T", "ethernetTraffic.sam", {"Estacion.EBloques=4", "ESigni=0.1"},
       {"Probabilidad: P = #    Parámetro Hurst (no )?constante",
        "Test de estacionariedad. Parámetros:", "      Número de bloques: 4",
        "      Significancia: 0.1"}},
      {"Varianza", "ethernetTraffic.sam", {"ChLineal=1"},
       {"Parámetro Hurst H = #", "Método de la varianza. Parámetros:",
        "      Mínimo valor de 'm': 10", "      Mínimo nº de muestras para la varianza: 20",
        "      Puntos por década: 6", "La gráfica log10 \\(Var.\\) vs log10 \\(m\\) .*"}},
      {"Varianza Difer.", "NileMin.sam", {"ChMismos=1", "EMinm=2"},
       {"Parámetro Hurst H = #", "Método de la varianza diferenciada. Parámetros:",
        "      Mínimo valor de 'm': 2", "      Mínimo nº de muestras para la varianza: 20",
        "      Puntos por década: 6"}},
      {"Whittle Agregado", "ethernetTraffic.sam", {"CBNivel=10"},
       {"Parámetro Hurst: H = #", "Intervalo de confianza (95%): [#; #]",
        "Método de Whittle agregado. Parámetros:", "      Nivel de agregación: 10"}},
      {"Whittle Estándar", "NileMin.sam", {},
       {"Parámetro Hurst: H = #", "Intervalo de confianza (95%): [#; #]",
        "Método de Whittle estándar. Modelo FGN"}},
      {"Whittle Estándar", "NileMin.sam", {"RGModelo=1", "EOrdenp=1", "EOrdenq=0"},
       {"Parámetro Hurst: H = #", "Intervalo de confianza (95%): [#; #]",
        "Parámetros AR: #  ", "Parámetros MA: ", "Método de Whittle estándar. Modelo FARIMA"}},
      {"Whittle Local", "videoVBR.sam", {"CBFactor=8"},
       {"Parámetro Hurst: H = #", "Intervalo de confianza (95%): [#; #]",
        "Método de Whittle local. Parámetros:", "      Factor m: 8"},
       true},  // H = 1.0001, the search's upper end
  };
  return casos;
}

class MetodoTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(MetodoTest, InformeYJsonConcuerdan) {
  const CasoMetodo& c = CasosMetodo()[GetParam()];
  std::vector<std::string> args = {"-m", c.metodo};
  for (const std::string& p : c.parametros) {
    args.push_back("-p");
    args.push_back(p);
  }
  args.push_back(Ejemplo(c.fichero));
  const Ejecucion texto = Ejecutar(args);
  ASSERT_EQ(texto.estado, 0) << texto.errores;
  EXPECT_THAT(texto.errores, IsEmpty());
  const std::vector<std::string> lineas = texto.Lineas();
  ASSERT_EQ(lineas.size(), c.lineas.size() + 4 + (c.aviso ? 1 : 0)) << texto.salida;
  if (c.aviso) {
    EXPECT_EQ(lineas[c.lineas.size() + 2], AvisoH(2.0));
  }
  EXPECT_EQ(lineas[0], "Nombre: " + NombreSerieDeRuta(c.fichero));
  // Literal regex text in the expectations ("\\(") is kept; everything else is escaped.
  for (std::size_t i = 0; i < c.lineas.size(); ++i) {
    const std::string& esperada = c.lineas[i];
    const bool esRegex = esperada.find("\\(") != std::string::npos ||
                         esperada.find("(no )?") != std::string::npos;
    std::string patron;
    if (esRegex) {
      // Only '#' is expanded; the rest already is a regular expression.
      for (char ch : esperada) patron += ch == '#' ? Patron("#") : std::string(1, ch);
    } else {
      patron = Patron(esperada);
    }
    EXPECT_TRUE(std::regex_match(lineas[i + 2], std::regex(patron)))
        << "line " << i + 2 << ": '" << lineas[i + 2] << "' vs " << patron;
  }
  EXPECT_EQ(lineas[lineas.size() - 2].rfind("Media = ", 0), 0u);
  EXPECT_EQ(lineas.back().rfind("Varianza = ", 0), 0u);

  args.push_back("--json");
  const Ejecucion json = Ejecutar(args);
  ASSERT_EQ(json.estado, 0);
  const Json j = LeerJson(json.salida.substr(0, json.salida.size() - 1));
  EXPECT_EQ(j["metodo"].texto, c.metodo);
  EXPECT_EQ(j.objeto.count("aviso"), c.aviso ? 1u : 0u);
  ASSERT_EQ(j["informe"].lista.size(), lineas.size());
  for (std::size_t i = 0; i < lineas.size(); ++i) EXPECT_EQ(j["informe"].lista[i].texto, lineas[i]);
  // The first result line shows the value in the report's format.
  ASSERT_FALSE(j["valor"].EsNulo());
  EXPECT_THAT(lineas[2], HasSubstr("= " + FormatoF(j["valor"].numero)));
  const bool dibuja = BuscarMetodo(c.metodo)->Dibuja();
  EXPECT_EQ(!j["x"].EsNulo(), dibuja);
  EXPECT_EQ(!j["y"].EsNulo(), dibuja);
  if (dibuja) {
    EXPECT_EQ(j["x"].lista.size(), j["y"].lista.size());
  }
  const bool intervalo = BuscarMetodo(c.metodo)->intervalo;
  EXPECT_EQ(!j["ic"].EsNulo(), intervalo);
  if (intervalo) {
    ASSERT_EQ(j["ic"].lista.size(), 2u);
    std::string ic = "[";
    ic += FormatoF(j["ic"].lista[0].numero);
    ic += "; ";
    ic += FormatoF(j["ic"].lista[1].numero);
    ic += "]";
    EXPECT_THAT(lineas[3], HasSubstr(ic));
  }
  EXPECT_EQ(!j["constante"].EsNulo(), c.metodo == "Test T");
  const bool farima = c.parametros.size() > 1 && c.parametros[0] == "RGModelo=1";
  EXPECT_EQ(!j["coeficientes"].EsNulo(), farima);
  if (farima) {
    ASSERT_EQ(j["coeficientes"].lista.size(), 2u);
    EXPECT_EQ(j["coeficientes"].lista[0].numero, j["valor"].numero);
  }
}

INSTANTIATE_TEST_SUITE_P(CadaMetodo, MetodoTest,
                         ::testing::Range<std::size_t>(0, CasosMetodo().size()));

TEST_F(CliTest, ExportacionDeLaAutocorrelacion) {
  const std::string f = Ruido("serie.sam", 300);
  const std::string atc = (dir_ / "{nombre}.atc").string();
  const std::string esperado = (dir_ / "serie.atc").string();
  Ejecucion e = Ejecutar({"--autocorrelacion", "--sin-media", "--sin-varianza", "--atc", atc, f});
  EXPECT_EQ(e.estado, 0);
  EXPECT_THAT(e.Lineas(), ElementsAre("Nombre: serie", "Longitud: 300",
                                      "Autocorrelación sesgada (100 puntos) en fichero " +
                                          esperado));
  std::string m;
  const Vector r = ReadSampleFile(esperado, m);
  ASSERT_EQ(r.Longitud(), 100u) << m;
  EXPECT_EQ(r(1), 1.0);

  // Without --atc the save is cancelled: no file line.
  e = Ejecutar({"--autocorrelacion", "--sin-media", "--sin-varianza", f});
  EXPECT_THAT(e.Lineas(), ElementsAre("Nombre: serie", "Longitud: 300"));

  // Unbiased, the whole series.
  e = Ejecutar({"--autocorrelacion", "--sin-media", "--sin-varianza", "-p", "RGSesgo=1", "-p",
                "ChLongitud=1", "--atc", atc, f});
  EXPECT_EQ(e.Lineas().back(),
            "Autocorrelación insesgada (300 puntos) en fichero " + esperado);

  // Too many points: status 255.
  e = Ejecutar({"--autocorrelacion", "-p", "EPuntos=301", f});
  EXPECT_EQ(e.estado, 2);
  EXPECT_THAT(e.errores, HasSubstr("La longitud de la autocorrelación debe ser mayor\nque 0"));
}

TEST_F(CliTest, GraficasEnFormatoPropio) {
  const std::string f = Ejemplo("NileMin.sam");
  const std::string grf = (dir_ / "metodo.grf").string();
  const std::string grfAuto = (dir_ / "auto.grf").string();
  const Ejecucion e = Ejecutar({"-m", "R/S", "--autocorrelacion", "-p", "EPuntos=50", "--json",
                                "--grf", grf, "--grf-auto", grfAuto, f});
  ASSERT_EQ(e.estado, 0) << e.errores;
  const Json j = LeerJson(e.salida.substr(0, e.salida.size() - 1));
  const std::size_t n = j["x"].lista.size();

  TPlotModel metodo;
  ASSERT_TRUE(metodo.LoadFromFile(grf, false));
  ASSERT_EQ(metodo.ItemCount(), 2 + n);
  EXPECT_EQ(metodo.Item(0).Kind(), tkMoveTo);
  EXPECT_EQ(metodo.Item(1).Kind(), tkLineto);
  EXPECT_EQ(metodo.Item(1).ClassNum(), 1);
  EXPECT_EQ(metodo.Item(2).Kind(), tkMarkAt);
  EXPECT_EQ(metodo.Item(2).MarkType(), 3);
  EXPECT_EQ(metodo.Item(2).ClassNum(), 0);
  EXPECT_EQ(metodo.Item(2).Color(), clYellow);  // the charts window's data colour
  EXPECT_EQ(metodo.Item(2).X1(), j["x"].lista[0].numero);
  EXPECT_EQ(metodo.Item(2).Y1(), j["y"].lista[0].numero);

  TPlotModel autoc;
  ASSERT_TRUE(autoc.LoadFromFile(grfAuto, false));
  ASSERT_EQ(autoc.ItemCount(), 50u);
  EXPECT_EQ(autoc.Item(0).Kind(), tkMoveTo);
  EXPECT_EQ(autoc.Item(0).Y1(), 1.0);
  EXPECT_EQ(autoc.Item(49).X1(), 49.0);
}

}  // namespace

namespace {

// Several files at a time: the same output, messages, exit status and chart files as one
// after another, including when two files write to the same chart file.
TEST_F(CliTest, VariosFicherosALaVezComoDeUnoEnUno) {
  std::vector<std::string> ficheros;
  for (const char* nombre : {"r0.sam", "r1.sam", "r2.sam", "r3.sam", "r4.sam"})
    ficheros.push_back(Ruido(nombre, 800 + 700 * static_cast<int>(ficheros.size())));
  ficheros.insert(ficheros.begin() + 2, (dir_ / "no_existe.sam").string());
  ficheros.insert(ficheros.begin() + 4, Fichero("corta.sam", "1 2 3"));
  const std::string grf = (dir_ / "{nombre}.grf").string();
  const std::string unico = (dir_ / "todas.grf").string();
  const std::vector<std::vector<std::string>> casos = {
      {"-m", "Whittle Local"},
      {"--json", "-m", "Test T", "-p", "Estacion.EBloques=4"},
      {"-m", "R/S", "--grf", grf},
      {"-m", "Periodograma", "--grf", unico},
  };
  for (const auto& opciones : casos) {
    std::vector<Ejecucion> e;
    std::vector<std::string> graficas;
    for (const char* j : {"1", "3"}) {
      std::vector<std::string> args = {"-j", j};
      args.insert(args.end(), opciones.begin(), opciones.end());
      args.insert(args.end(), ficheros.begin(), ficheros.end());
      e.push_back(Ejecutar(args));
      std::string contenido;
      for (const auto& entrada : std::filesystem::directory_iterator(dir_)) {
        if (entrada.path().extension() != ".grf") continue;
        std::ifstream g(entrada.path(), std::ios::binary);
        contenido += entrada.path().filename().string() +
                     std::string(std::istreambuf_iterator<char>(g), {});
        std::filesystem::remove(entrada.path());
      }
      graficas.push_back(contenido);
    }
    const std::string que = ::testing::PrintToString(opciones);
    EXPECT_EQ(e[0].estado, 1) << que;  // the missing file
    EXPECT_EQ(e[1].estado, e[0].estado) << que;
    EXPECT_EQ(e[1].salida, e[0].salida) << que;
    EXPECT_EQ(e[1].errores, e[0].errores) << que;
    EXPECT_EQ(graficas[1], graficas[0]) << que;
  }
}

// Progress goes to standard error only when asked for away from a terminal, and changes
// nothing else.
TEST_F(CliTest, Progreso) {
  const std::string f = Ruido("serie.sam", 20000);
  const Ejecucion sin = Ejecutar({"--json", "-m", "Whittle Estándar", f});
  ASSERT_EQ(sin.estado, 0);
  EXPECT_THAT(sin.errores, IsEmpty());
  const Ejecucion con = Ejecutar({"--progreso", "--json", "-m", "Whittle Estándar", f});
  EXPECT_EQ(con.salida, sin.salida);
  EXPECT_THAT(con.errores, HasSubstr("fenwa-cli: " + f + ": analizando"));
  EXPECT_THAT(Ejecutar({"--sin-progreso", "--json", "-m", "Whittle Estándar", f}).errores,
              IsEmpty());
}

TEST_F(CliTest, JsonEscapaSaltosYComillas) {
  const std::string f = Fichero("con \"comillas\"\ty.sam", "1 2 3");
  const Ejecucion e = Ejecutar({"--json", "--autocorrelacion", f});
  EXPECT_EQ(e.estado, 2);
  ASSERT_EQ(e.Lineas().size(), 1u);
  const Json j = LeerJson(e.Lineas()[0]);
  EXPECT_EQ(j["nombre"].texto, "con \"comillas\"\ty");
  EXPECT_EQ(j["estado"].numero, 255);
  EXPECT_EQ(j["mensaje"].texto,
            "La longitud de la autocorrelación debe ser mayor\nque 0 y menor o igual que la "
            "longitud de la serie");
  EXPECT_EQ(j["informe"].lista[0].texto, "Nombre: con \"comillas\"\ty");
  EXPECT_EQ(e.Lineas()[0].find('\t'), std::string::npos);  // escaped as \t
}

// Values near the largest double: the mean is right although the plain sum overflows; a
// variance beyond the largest double is null, with its status and message, exit 2, and the
// line stays valid JSON.
TEST_F(CliTest, JsonConVarianzaNoRepresentable) {
  struct Caso {
    const char* muestras;
    double media;
  };
  const Caso casos[] = {{"1.7e308 1.6e308", 1.65e308}, {"1.7e308 -1.7e308", 0.0}};
  for (const Caso& c : casos) {
    const Ejecucion e = Ejecutar({"--json", Fichero("enorme.sam", c.muestras)});
    EXPECT_EQ(e.estado, 2) << c.muestras;
    ASSERT_EQ(e.Lineas().size(), 1u) << c.muestras;
    Json j;
    ASSERT_NO_THROW(j = LeerJson(e.Lineas()[0])) << e.Lineas()[0];
    EXPECT_DOUBLE_EQ(j["media"].numero, c.media) << c.muestras;
    EXPECT_TRUE(j["varianza"].EsNulo()) << c.muestras;
    EXPECT_EQ(j["estado"].numero, kEstadoVarianzaDesborda);
    EXPECT_EQ(j["mensaje"].texto, MensajeEstado(kEstadoVarianzaDesborda));
    EXPECT_THAT(e.errores, HasSubstr("no puede representarse"));
  }
}

// An estimate of H outside [0, 1] (the wavelets on a sine give 3.1) brings the key "aviso"
// with the report's warning, at the top and in the comparison's entry; an estimate inside
// [0, 1] has no such key. The exit stays 0: the value is the regression's.
TEST_F(CliTest, JsonConAvisoDeHFueraDeCeroUno) {
  std::string texto;
  for (int i = 0; i < 1000; ++i) texto += FormatoG(std::sin(i / 10.0)) + "\n";
  const std::string f = Fichero("seno.sam", texto);
  const std::pair<const char*, bool> casos[] = {{"Ondículas", true}, {"Varianza", false}};
  for (const auto& [metodo, aviso] : casos) {
    const Ejecucion e = Ejecutar({"-m", metodo, "--json", f});
    EXPECT_EQ(e.estado, 0) << metodo;
    const Json j = LeerJson(e.Lineas().at(0));
    EXPECT_EQ(j.objeto.count("aviso"), aviso ? 1u : 0u) << metodo;
    if (aviso) {
      EXPECT_THAT(j["aviso"].texto, HasSubstr("fuera del intervalo [0, 1]"));
      const std::vector<Json>& informe = j["informe"].lista;
      EXPECT_EQ(std::count_if(informe.begin(), informe.end(),
                              [&](const Json& l) { return l.texto == j["aviso"].texto; }),
                1);
    }
  }
  const Json todos = LeerJson(Ejecutar({"-m", "Todos", "--json", f}).Lineas().at(0));
  EXPECT_THAT(todos["aviso"].texto, HasSubstr("Ondículas"));
  for (const Json& m : todos["metodos"].lista) {
    const double h = m["valor"].numero;
    EXPECT_EQ(m.objeto.count("aviso"), (h < 0 || h > 1) ? 1u : 0u) << m["metodo"].texto;
  }
}

// -m Todos with no estimate from any method: exit 2 and a status of its own.
TEST_F(CliTest, TodosSinNingunaEstimacion) {
  const Ejecucion e = Ejecutar({"-m", "Todos", "--json", Fichero("dos.sam", "1 2")});
  EXPECT_EQ(e.estado, 2);
  const Json j = LeerJson(e.Lineas().at(0));
  EXPECT_EQ(j["estado"].numero, kEstadoNingunaEstimacion);
  EXPECT_EQ(j["mensaje"].texto, MensajeEstado(kEstadoNingunaEstimacion));
  EXPECT_FALSE(j["metodos"].lista.empty());
  for (const Json& m : j["metodos"].lista) EXPECT_EQ(m["estado"].numero, 1);
}

TEST_F(CliTest, VariosObjetosJsonUnoPorLinea) {
  const Ejecucion e = Ejecutar({"--json", Fichero("a.sam", "1 2"), Fichero("b.sam", "3 4 5")});
  EXPECT_EQ(e.estado, 0);
  ASSERT_EQ(e.Lineas().size(), 2u);
  EXPECT_EQ(LeerJson(e.Lineas()[0])["nombre"].texto, "a");
  EXPECT_EQ(LeerJson(e.Lineas()[1])["longitud"].numero, 3);
}

}  // namespace
