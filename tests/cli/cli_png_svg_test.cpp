// fenwa-cli --png / --svg and their -auto forms: the charts as PNG files (the pixels of the
// bitmap) and as SVG documents (the same drawing as vectors, texts as text).
#include <QFile>
#include <QImage>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "programa.h"
#include "support/lector_svg.h"
#include "support/carpeta_prueba.h"

namespace {

using ::testing::HasSubstr;

class CliPngSvgTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  CliPngSvgTest() : CarpetaDePrueba("clipngsvg") {}
  QString Ruta(const std::string& nombre) const {
    return QString::fromStdString((dir_ / nombre).string());
  }
};

QByteArray Leer(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(CliPngSvgTest, AyudaNombraLasOpciones) {
  const Ejecucion e = Ejecutar({"--help"});
  for (const char* opcion : {"--png RUTA", "--png-auto RUTA", "--svg RUTA", "--svg-auto RUTA"})
    EXPECT_THAT(e.salida, HasSubstr(opcion));
}

TEST_F(CliPngSvgTest, GraficasDelMetodoYDeLaAutocorrelacion) {
  const std::string d = dir_.string() + "/";
  const Ejecucion e = Ejecutar(
      {"-m", "R/S", "--autocorrelacion", "-p", "EPuntos=50", "--bmp", d + "{nombre}",
       "--png", d + "{nombre}.v2.png", "--svg", d + "{nombre}.svg", "--png-auto", d + "auto.png",
       "--svg-auto", d + "auto.svg", std::string(FENWA_SOURCE_DIR) + "/examples/NileMin.sam"});
  ASSERT_EQ(e.estado, 0) << e.errores;

  // The PNG files, under the names given, hold exactly the pixels of the bitmap.
  const QImage bmp = QImage(Ruta("NileMin.bmp"), "BMP").convertToFormat(QImage::Format_RGB32);
  const QImage png = QImage(Ruta("NileMin.v2.png"), "PNG").convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), QSize(414, 329));
  EXPECT_EQ(png, bmp);
  EXPECT_EQ(QImage(Ruta("auto.png"), "PNG").size(), QSize(414, 329));

  // The SVG documents: well-formed, one yellow line per chart (the regression line, the
  // autocorrelation curve), the marks as filled shapes, the titles as texts.
  const prueba::DocumentoSvg metodo = prueba::LeerSvg(Leer(Ruta("NileMin.svg")));
  ASSERT_TRUE(metodo.error.isEmpty()) << metodo.error.toStdString();
  EXPECT_EQ(metodo.viewBox, "0 0 414 329");
  EXPECT_EQ(metodo.Trazados("#ffff00").size(), 1u);
  EXPECT_TRUE(metodo.Relleno("#ffff00"));
  const QStringList textos = metodo.Textos();
  for (const char* t : {"Método", "log10 (d)", "log10 (R/S)"})
    EXPECT_TRUE(textos.contains(QString::fromUtf8(t))) << t;
  const prueba::DocumentoSvg autoc = prueba::LeerSvg(Leer(Ruta("auto.svg")));
  ASSERT_TRUE(autoc.error.isEmpty()) << autoc.error.toStdString();
  const auto curva = autoc.Trazados("#ffff00");
  ASSERT_EQ(curva.size(), 1u);
  EXPECT_EQ(curva[0]->puntos.size(), 50);
  EXPECT_TRUE(autoc.Textos().contains(QStringLiteral("Autocorrelación")));
}

// A chart or autocorrelation file that cannot be written ends the run with 1 and one
// message naming the file and the cause; an existing file stays as it was, and nothing is
// left beside it.
TEST_F(CliPngSvgTest, FicherosQueNoPuedenEscribirse) {
  const std::string no = (dir_ / "no" / "g.x").string(), viejo = (dir_ / "viejo.x").string();
  // The shell's file size limit makes a write fail half way, as a disk that fills up.
  const std::string limite = "trap '' XFSZ; ulimit -f 8;";
  struct Caso {
    std::vector<std::string> opciones;
    std::string fichero, causa, antes;
  };
  const Caso casos[] = {
      {{"--png", no}, no, "no existe la carpeta", ""},
      {{"--svg-auto", no}, no, "no existe la carpeta", ""},
      {{"--grf", no}, no, "no existe la carpeta", ""},
      {{"--bmp", no}, (dir_ / "no" / "g.bmp").string(), "no existe la carpeta", ""},
      {{"--autocorrelacion", "--atc", no}, no, "no existe la carpeta", ""},
      {{"--png", "/dev/full"}, "/dev/full", "disco lleno", ""},
      {{"--svg", "/dev/full"}, "/dev/full", "disco lleno", ""},
      {{"--autocorrelacion", "--grf-auto", "/dev/full"}, "/dev/full", "disco lleno", ""},
      {{"--autocorrelacion", "--atc", "/dev/full"}, "/dev/full", "disco lleno", ""},
      {{"--png", viejo}, viejo, "fichero demasiado grande", limite},
      {{"--svg", viejo}, viejo, "fichero demasiado grande", limite},
  };
  for (const Caso& c : casos) {
    Fichero("viejo.x", "viejo");
    std::vector<std::string> argumentos = {"-m", "R/S"};
    argumentos.insert(argumentos.end(), c.opciones.begin(), c.opciones.end());
    argumentos.push_back(std::string(FENWA_SOURCE_DIR) + "/examples/NileMin.sam");
    const Ejecucion e = Ejecutar(argumentos, dir_.string(), c.antes);
    const std::string caso = ::testing::PrintToString(c.opciones);
    EXPECT_EQ(e.estado, 1) << caso;
    EXPECT_THAT(e.errores, HasSubstr(": No puedo guardar el fichero\n'" + c.fichero + "': " +
                                     c.causa + "\n"))
        << caso;
    EXPECT_EQ(Contenido("viejo.x"), "viejo") << caso;
    std::vector<std::string> nombres;
    for (const auto& f : std::filesystem::directory_iterator(dir_))
      nombres.push_back(f.path().filename().string());
    EXPECT_EQ(nombres, std::vector<std::string>{"viejo.x"}) << caso;
  }
}

}  // namespace
