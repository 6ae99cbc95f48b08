// Whole-program tests of "fenwa-cli generar": its forms and refusals, and the same file for
// the same seed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "programa.h"
#include "support/carpeta_prueba.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class CliGenerarTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  CliGenerarTest() : CarpetaDePrueba("cligen") {}
};

TEST_F(CliGenerarTest, FormasYRechazos) {
  struct Caso {
    std::vector<std::string> argumentos;
    int estado;
    int lineas;            // lines on standard output, -1 = not checked
    const char* mensaje;   // part of standard output (help) or standard error
  };
  const Caso casos[] = {
      {{"generar", "--help"}, 0, -1, "Uso: fenwa-cli generar MODELO [OPCIONES] -o FICHERO"},
      {{"generar", "fgn", "-H", "0.8", "-n", "5", "--semilla", "7", "-o", "-"}, 0, 5, ""},
      {{"generar", "farima", "-d", "0,3", "--phi", "0.5", "--theta", "-0.2", "-n", "3", "-o",
        "-"},
       0, 3, ""},
      {{"generar", "ruido", "--longitud=2", "--media=10", "--desviacion=2", "-o", "-"}, 0, 2, ""},
      {{"generar"}, 1, 0, "falta el modelo"},
      {{"generar", "browniano", "-o", "-"}, 1, 0, "modelo desconocido: 'browniano'"},
      {{"generar", "fgn", "-n", "10"}, 1, 0, "falta el fichero de salida"},
      {{"generar", "fgn", "-d", "0.3", "-o", "-"}, 1, 0, "-d no se aplica al modelo fgn"},
      {{"generar", "fgn", "-H"}, 1, 0, "falta el valor de la opción -H"},
      {{"generar", "fgn", "-H", "1.5", "-o", "-"}, 1, 0,
       "El parámetro H debe estar comprendido entre 0 y 1 (sin incluirlos)"},
      {{"generar", "farima", "--phi", "1", "-o", "-"}, 1, 0, "coeficiente AR"},
      {{"generar", "fgn", "-n", "2147483648", "-o", "-"}, 1, 0, "demasiado larga"},
      // Series that doubles cannot hold are refused, and no file is written (x.sam below).
      {{"generar", "fgn", "-n", "2000000000", "-o", "x.sam"}, 1, 0,
       "la longitud máxima de este modelo es 1062882001"},
      {{"generar", "ruido", "-n", "4294967296", "-o", "x.sam"}, 1, 0,
       "la longitud máxima de este modelo es 4294967295"},
      {{"generar", "fgn", "--desviacion", "5e307", "-o", "x.sam"}, 2, 0, "no es un número finito"},
      {{"generar", "ruido", "--desviacion", "1e308", "-o", "x.sam"}, 2, 0,
       "no es un número finito"},
      {{"generar", "ruido", "--media", "1e20", "-o", "x.sam"}, 2, 0,
       "todas las muestras valen lo mismo"},
      {{"generar", "fgn", "--desviacion", "1e-310", "-o", "x.sam"}, 1, 0,
       "el menor número normal"},
      // A large MA coefficient does not overflow the filter.
      {{"generar", "farima", "--theta", "1e308", "-n", "3", "-o", "-"}, 0, 3, ""},
      {{"generar", "fgn", "-n", "5", "-o", "no/existe/x.sam"}, 1, 0,
       "No puedo guardar el fichero 'no/existe/x.sam': no existe la carpeta"},
      {{"generar", "ruido", "-n", "100000", "-o", "/dev/full"}, 1, 0,
       "No puedo guardar el fichero '/dev/full': disco lleno"},
      {{"--help"}, 0, -1, "fenwa-cli generar MODELO [OPCIONES] -o FICHERO"},
  };
  for (const Caso& c : casos) {
    const std::string orden = ::testing::PrintToString(c.argumentos);
    const Ejecucion e = Ejecutar(c.argumentos, dir_.string());
    EXPECT_EQ(e.estado, c.estado) << orden << "\n" << e.errores;
    if (c.lineas >= 0) {
      EXPECT_EQ(e.Lineas().size(), static_cast<std::size_t>(c.lineas)) << orden;
    }
    EXPECT_THAT(c.estado == 0 ? e.salida : e.errores, HasSubstr(c.mensaje)) << orden;
    if (c.lineas > 0) {
      EXPECT_THAT(e.salida, Not(HasSubstr("nan"))) << orden;
      EXPECT_THAT(e.salida, Not(HasSubstr("inf"))) << orden;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "x.sam"));
}

// The same seed writes the same bytes, to a file or to standard output; another seed does
// not; the file analyses like any other.
TEST_F(CliGenerarTest, MismaSemillaMismoFichero) {
  const std::vector<std::string> base = {"generar", "fgn", "-H", "0.7", "-n", "4097"};
  auto con = [&](std::vector<std::string> extra) {
    std::vector<std::string> a = base;
    a.insert(a.end(), extra.begin(), extra.end());
    return Ejecutar(a, dir_.string());
  };
  ASSERT_EQ(con({"--semilla", "11", "-o", "a.sam"}).estado, 0);
  ASSERT_EQ(con({"--semilla", "11", "-o", "b.sam"}).estado, 0);
  ASSERT_EQ(con({"--semilla", "12", "-o", "c.sam"}).estado, 0);
  const Ejecucion salida = con({"--semilla", "11", "-o", "-"});
  ASSERT_EQ(salida.estado, 0);
  const std::string a = Contenido("a.sam");
  EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), 4097);
  EXPECT_EQ(a, Contenido("b.sam"));
  EXPECT_EQ(a, salida.salida);
  EXPECT_NE(a, Contenido("c.sam"));

  const Ejecucion analisis = Ejecutar({"-m", "Whittle Estándar", "--json", "a.sam"}, dir_.string());
  EXPECT_EQ(analisis.estado, 0) << analisis.errores;
  const Json j = LeerJson(analisis.salida);
  EXPECT_EQ(j["longitud"].numero, 4097);
  EXPECT_NEAR(j["valor"].numero, 0.7, 0.06);
}

// Interrupted while it generates, the tool leaves the file it was to replace as it was and
// no temporary file beside it.
TEST_F(CliGenerarTest, InterrumpidoNoDejaNada) {
  Fichero("x.sam", "viejo\n");
  const pid_t hijo = ::fork();
  ASSERT_GE(hijo, 0);
  if (hijo == 0) {
    const std::string programa = RutaPrograma();
    if (::chdir(dir_.c_str()) == 0) {
      ::execl(programa.c_str(), "fenwa-cli", "generar", "fgn", "-n", "30000000", "-o", "x.sam",
              static_cast<char*>(nullptr));
    }
    ::_exit(127);
  }
  // The temporary file appears as soon as the output is opened, before the generation.
  auto nombres = [&] {
    std::vector<std::string> n;
    for (const auto& f : std::filesystem::directory_iterator(dir_)) n.push_back(f.path().filename().string());
    std::sort(n.begin(), n.end());
    return n;
  };
  for (int espera = 0; espera < 3000 && nombres().size() < 2; ++espera) ::usleep(10000);
  EXPECT_EQ(nombres().size(), 2u);
  ::kill(hijo, SIGINT);
  int estado = 0;
  ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
  EXPECT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGINT) << estado;
  EXPECT_EQ(nombres(), std::vector<std::string>{"x.sam"});
  EXPECT_EQ(Contenido("x.sam"), "viejo\n");
}

}  // namespace
