// Whole-program tests of "fenwa-cli contar" and of the analysis straight from a capture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "programa.h"
#include "support/capturas_prueba.h"
#include "support/carpeta_prueba.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace pc = prueba_capturas;

class CliContarTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  CliContarTest() : CarpetaDePrueba("clicontar"), paquetes_(pc::Paquetes(3000, 21)) {
    Fichero("traza.pcap", pc::Pcap(paquetes_, true, false));
    Fichero("traza.pcapng.gz", pc::Gzip(pc::Pcapng(paquetes_, false)));
    Fichero("serie.sam", "1\n2\n3\n");
    Fichero("cortada.pcap", pc::Pcap(paquetes_, false, true).substr(0, 5000));
  }
  std::vector<std::string> Ficheros() const {
    std::vector<std::string> v;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    return v;
  }
  static std::string Texto(const std::vector<std::uint64_t>& cuentas) {
    std::string t;
    for (std::uint64_t c : cuentas) t += std::to_string(c) + "\n";
    return t;
  }
  std::vector<pc::Paquete> paquetes_;
};

TEST_F(CliContarTest, FormasYRechazos) {
  struct Caso {
    std::vector<std::string> argumentos;
    int estado;
    const char* mensaje;  // part of standard output (help) or standard error
  };
  const Caso casos[] = {
      {{"contar", "--help"}, 0, "Uso: fenwa-cli contar CAPTURA... --intervalo W"},
      {{"contar", "traza.pcap", "--intervalo", "10ms"}, 0, "paquetes leídos: 3000; contados: "},
      {{"contar", "traza.pcap", "--intervalo=0.01", "--filtro", "tcp", "-o", "-"}, 0, "descartados por el filtro: "},
      {{"contar", "traza.pcap", "--intervalo", "10ms"}, 0, "de 10ms desde el origen 2023-11-14 22:13:20.00 UTC"},
      {{"contar", "traza.pcap", "--intervalo", "10ms"}, 0, "queda incompleto y se ha descartado"},
      {{"contar", "cortada.pcap", "--intervalo", "10ms"}, 0, "fenwa-cli: aviso: La captura 'cortada.pcap' está cortada"},
      {{"contar", "--intervalo", "10ms"}, 1, "no se ha indicado ninguna captura"},
      {{"contar", "traza.pcap"}, 1, "falta la anchura de los intervalos (--intervalo W"},
      {{"contar", "traza.pcap", "--intervalo", "10xs"}, 1, "el intervalo '10xs' no es válido"},
      {{"contar", "traza.pcap", "--intervalo", "10ms", "--formato", "binario"}, 1, "el formato debe ser texto"},
      {{"contar", "traza.pcap", "--intervalo", "10ms", "--filtro", "tcp and"}, 1, "no es válido para la captura"},
      {{"contar", "serie.sam", "--intervalo", "10ms"}, 1, "léala con --formato texto"},
      {{"contar", "no_existe.pcap", "--intervalo", "10ms"}, 1, "No puedo leer el fichero 'no_existe.pcap': no existe"},
      {{"contar", "traza.pcap", "--intervalo", "10ms", "--rapido"}, 1, "opción desconocida para contar: --rapido"},
      {{"-m", "R/S", "traza.pcap"}, 1, "'traza.pcap' es una captura de paquetes, no un fichero de muestras: "
                                       "indique la anchura de los intervalos en que contarla con --intervalo W"},
      {{"-m", "R/S", "traza.pcapng.gz"}, 1, "es una captura de paquetes"},
      {{"-m", "R/S", "--bytes", "serie.sam"}, 1, "--bytes solo se aplica a capturas, con --intervalo"},
      {{"-m", "R/S", "--intervalo", "10ms", "serie.sam"}, 1, "no es una captura pcap ni pcapng"},
      {{"--help"}, 0, "fenwa-cli contar CAPTURA... --intervalo W"},
  };
  for (const Caso& c : casos) {
    const std::string orden = ::testing::PrintToString(c.argumentos);
    const Ejecucion e = Ejecutar(c.argumentos, dir_.string());
    EXPECT_EQ(e.estado, c.estado) << orden << "\n" << e.errores;
    EXPECT_THAT(c.argumentos.back() == "--help" ? e.salida : e.errores, HasSubstr(c.mensaje)) << orden;
  }
}

// The counts of the rule, to a file through a temporary one; a refused run leaves nothing
// and an existing file as it was.
TEST_F(CliContarTest, FicheroCompletoONada) {
  const Ejecucion e = Ejecutar({"contar", "traza.pcapng.gz", "traza.pcap", "--intervalo", "1ms", "--bytes", "--filtro",
                                "udp", "-o", "cuentas.sam"},
                               dir_.string());
  ASSERT_EQ(e.estado, 0) << e.errores;
  EXPECT_EQ(e.salida, "");
  std::vector<pc::Paquete> dos = paquetes_;
  dos.insert(dos.end(), paquetes_.begin(), paquetes_.end());
  const pc::Esperado esperado = pc::Contar(dos, 1'000'000, true, [](const pc::Paquete& p) { return !p.tcp; });
  EXPECT_EQ(Contenido("cuentas.sam"), Texto(esperado.cuentas));
  EXPECT_THAT(e.errores, HasSubstr("paquetes leídos: 6000; contados: " +
                                   std::to_string(6000 - esperado.filtrados - esperado.fuera) +
                                   "; descartados por el filtro: " + std::to_string(esperado.filtrados) +
                                   "; fuera de los intervalos: " + std::to_string(esperado.fuera)));
  EXPECT_THAT(e.errores, HasSubstr("intervalos: " + std::to_string(esperado.cuentas.size()) + " de 1ms"));

  const Ejecucion salida = Ejecutar({"contar", "traza.pcap", "--intervalo", "1ms", "-o", "-"}, dir_.string());
  EXPECT_EQ(salida.salida, Texto(pc::Contar(paquetes_, 1'000'000, false, [](const pc::Paquete&) { return true; }).cuentas));

  const std::vector<std::string> antes = Ficheros();
  for (const char* filtro : {"tcp and", "tcp"}) {
    const Ejecucion mal = Ejecutar({"contar", "traza.pcap", std::string(filtro) == "tcp" ? "serie.sam" : "traza.pcap",
                                    "--intervalo", "1ms", "--filtro", filtro, "-o", "cuentas.sam"},
                                   dir_.string());
    EXPECT_EQ(mal.estado, 1) << filtro;
    EXPECT_EQ(Contenido("cuentas.sam"), Texto(esperado.cuentas)) << filtro;
    const Ejecucion nuevo = Ejecutar({"contar", "traza.pcap", "--intervalo", "1ms", "--filtro", filtro,
                                      "--intervalo", "1ns", "-o", "nuevo.sam"},
                                     dir_.string());
    EXPECT_EQ(nuevo.estado, 1) << filtro;
  }
  EXPECT_EQ(Ficheros(), antes);
  EXPECT_EQ(Ejecutar({"contar", "traza.pcap", "--intervalo", "1ms", "-o", "/dev/null"}, dir_.string()).estado, 0);
  const Ejecucion carpeta = Ejecutar({"contar", "traza.pcap", "--intervalo", "1ms", "-o", "no/hay/x.sam"}, dir_.string());
  EXPECT_EQ(carpeta.estado, 1);
  EXPECT_THAT(carpeta.errores, HasSubstr("No puedo guardar el fichero 'no/hay/x.sam': no existe la carpeta"));
}

// Analysing a capture is analysing its counts: the same report and JSON, under the name
// BASE_paquetes_W or BASE_bytes_W.
TEST_F(CliContarTest, AnalisisComoDeSusCuentas) {
  struct Caso {
    std::vector<std::string> opciones;
    const char* nombre;
  };
  const Caso casos[] = {
      {{"--intervalo", "10ms"}, "traza_paquetes_10ms"},
      {{"--intervalo", "0.0005", "--bytes", "--filtro", "tcp"}, "traza_bytes_500us"},
  };
  for (const Caso& c : casos) {
    std::vector<std::string> contar = {"contar", "traza.pcap", "-o", std::string(c.nombre) + ".sam"};
    contar.insert(contar.end(), c.opciones.begin(), c.opciones.end());
    ASSERT_EQ(Ejecutar(contar, dir_.string()).estado, 0) << c.nombre;
    for (const char* formato : {"--json", "--separador=,"}) {
      std::vector<std::string> directo = {"-m", "R/S", formato, "traza.pcap", "traza.pcapng.gz"};
      directo.insert(directo.end(), c.opciones.begin(), c.opciones.end());
      const Ejecucion d = Ejecutar(directo, dir_.string());
      ASSERT_EQ(d.estado, 0) << c.nombre << d.errores;
      const Ejecucion f = Ejecutar({"-m", "R/S", formato, std::string(c.nombre) + ".sam"}, dir_.string());
      ASSERT_EQ(f.estado, 0) << f.errores;
      const std::vector<std::string> lineas = d.Lineas();
      const std::string una = std::string(formato) == "--json" ? lineas.at(0) + "\n"
                                                               : d.salida.substr(0, d.salida.find("\n\n") + 1);
      EXPECT_EQ(una, f.salida) << c.nombre;
      EXPECT_THAT(d.salida, HasSubstr(std::string(c.nombre))) << c.nombre;
      EXPECT_THAT(d.salida, Not(HasSubstr("traza.pcap"))) << c.nombre;
    }
  }
}

}  // namespace
