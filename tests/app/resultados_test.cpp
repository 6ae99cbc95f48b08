#include "app/resultados.h"
#include "support/carpeta_prueba.h"
#include "support/herramientas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

using prueba::LeerFichero;

// Runs in its own folder, the current one while the test runs.
class ResultadosTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  ResultadosTest() : CarpetaDePrueba("rsl"), anterior_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_);
  }
  ~ResultadosTest() override { std::filesystem::current_path(anterior_); }
  std::filesystem::path anterior_;
};

TEST(Latin1, Conversion) {
  EXPECT_EQ(ALatin1("Parámetro"), "Par\xE1metro");
  EXPECT_EQ(ALatin1("nº ñ Ñ é"), "n\xBA \xF1 \xD1 \xE9");
  EXPECT_EQ(ALatin1("abc"), "abc");
  EXPECT_EQ(ALatin1("\xE2\x82\xAC"), "?");  // euro sign is outside Latin-1
  EXPECT_EQ(ALatin1("a\xFF" "b"), "a?b");   // malformed byte
}

TEST_F(ResultadosTest, FicheroRslCrLfLatin1) {
  const std::vector<std::string> lineas = {"Nombre: traza1", "Longitud: 100",
                                           "Parámetro Hurst H = 0.7", ""};
  ASSERT_EQ(EscribirRsl(lineas, "a.rsl"), "");
  EXPECT_EQ(LeerFichero("a.rsl"),
            "Nombre: traza1\r\nLongitud: 100\r\nPar\xE1metro Hurst H = 0.7\r\n\r\n");
  ASSERT_EQ(EscribirRsl({}, "vacio.rsl"), "");
  EXPECT_EQ(LeerFichero("vacio.rsl"), "");
}

TEST_F(ResultadosTest, FicheroQueNoPuedeCrearse) {
  EXPECT_EQ(EscribirRsl({"x"}, "no/existe/a.rsl"),
            "No puedo guardar el fichero\n'no/existe/a.rsl': no existe la carpeta");
}

TEST_F(ResultadosTest, EstadosDeLosComandos) {
  RegistroResultados log;
  EXPECT_EQ(log.Comandos(), ComandosResultados{});
  EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
  EXPECT_EQ(log.TextoColor(), ColorTexto::TextoVentana);
  log.SetResultsBaseName("traza1");
  log.Anadir("Nombre: traza1");
  log.Anadir("Longitud: 100");
  log.FijarColores(ColorFondo::Ventana, ColorTexto::TextoVentana);
  log.HabilitarComandos();
  EXPECT_EQ(log.Comandos(), (ComandosResultados{true, true, true, true, true}));
  EXPECT_EQ(log.Texto(), "Nombre: traza1\nLongitud: 100");

  // "G&uardar resultado análisis": traza1.rsl in the current folder, then disabled.
  ASSERT_EQ(log.GuardarResultado(), "");
  EXPECT_EQ(LeerFichero("traza1.rsl"), "Nombre: traza1\r\nLongitud: 100\r\n");
  EXPECT_EQ(log.Comandos(), (ComandosResultados{true, true, false, true, false}));

  // "Guardar &resultado como..." changes no state.
  ASSERT_EQ(log.GuardarResultadoComo("otro.txt"), "");
  EXPECT_EQ(LeerFichero("otro.txt"), "Nombre: traza1\r\nLongitud: 100\r\n");
  EXPECT_EQ(log.Comandos(), (ComandosResultados{true, true, false, true, false}));

  // "&Borrar resultados": empty, grey background, text colour kept, all disabled.
  log.BorrarResultados();
  EXPECT_TRUE(log.Lineas().empty());
  EXPECT_EQ(log.Fondo(), ColorFondo::Gris);
  EXPECT_EQ(log.TextoColor(), ColorTexto::TextoVentana);
  EXPECT_EQ(log.Comandos(), ComandosResultados{});
}

TEST_F(ResultadosTest, GuardarFallidoNoCambiaEstado) {
  RegistroResultados log;
  log.SetResultsBaseName("sub/traza");  // no such folder
  log.Anadir("x");
  log.HabilitarComandos();
  EXPECT_EQ(log.GuardarResultado(), "No puedo guardar el fichero\n'sub/traza.rsl': no existe la carpeta");
  EXPECT_TRUE(log.Comandos().guardar);
  EXPECT_TRUE(log.Comandos().sbGuardarResult);
}

class VistaGrabadora : public DestinoResultados {
 public:
  void Vaciar() override { eventos += "C;"; }
  void Anadir(const std::string& l) override { eventos += "A:" + l + ";"; }
  void FijarColores(ColorFondo f, ColorTexto t) override {
    eventos += std::string("K") + (f == ColorFondo::Gris ? "g" : "w") +
               (t == ColorTexto::Gris ? "g" : "t") + ";";
  }
  std::string eventos;
};

TEST(ResultsLogVista, ReenviaLosCambios) {
  RegistroResultados log;
  VistaGrabadora vista;
  log.FijarVista(&vista);
  log.Vaciar();
  log.FijarColores(ColorFondo::Gris, ColorTexto::Gris);
  log.Anadir("uno");
  log.BorrarResultados();
  EXPECT_EQ(vista.eventos, "C;Kgg;A:uno;C;Kgg;");
}

}  // namespace
