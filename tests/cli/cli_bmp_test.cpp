// fenwa-cli --bmp / --bmp-auto: the charts as the charts window shows them, as BMP files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "programa.h"
#include "support/carpeta_prueba.h"
#include "support/herramientas.h"

namespace {

using ::testing::HasSubstr;

// A 24-bit uncompressed BMP read by hand (rows bottom-up, padded to 4 bytes).
struct Bmp {
  int ancho = 0, alto = 0, bits = 0;
  std::vector<std::uint8_t> datos;
  std::uint32_t inicio = 0;
  // Colour at (x, y), y from the top, as 0xRRGGBB.
  std::uint32_t Pixel(int x, int y) const {
    const std::size_t fila = (static_cast<std::size_t>(ancho) * 3 + 3) / 4 * 4;
    const std::size_t p = inicio + fila * static_cast<std::size_t>(alto - 1 - y) + 3 * x;
    return (std::uint32_t(datos[p + 2]) << 16) | (std::uint32_t(datos[p + 1]) << 8) | datos[p];
  }
  int Cuenta(std::uint32_t color) const {
    int n = 0;
    for (int y = 0; y < alto; ++y)
      for (int x = 0; x < ancho; ++x) n += Pixel(x, y) == color;
    return n;
  }
};

std::uint32_t U32(const std::vector<std::uint8_t>& d, std::size_t p) {
  return d[p] | (d[p + 1] << 8) | (d[p + 2] << 16) | (std::uint32_t(d[p + 3]) << 24);
}

bool LeerBmp(const std::string& ruta, Bmp& b) {
  std::ifstream f(ruta, std::ios::binary);
  if (!f) return false;
  b.datos.assign(std::istreambuf_iterator<char>(f), {});
  if (b.datos.size() < 54 || b.datos[0] != 'B' || b.datos[1] != 'M') return false;
  b.inicio = U32(b.datos, 10);
  b.ancho = static_cast<int>(U32(b.datos, 18));
  b.alto = static_cast<int>(U32(b.datos, 22));
  b.bits = b.datos[28] | (b.datos[29] << 8);
  return b.bits == 24 && U32(b.datos, 30) == 0;
}

class CliBmpTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  CliBmpTest() : CarpetaDePrueba("clibmp") {}
};

using prueba::Ejemplo;

constexpr std::uint32_t kNegro = 0x000000, kBlanco = 0xFFFFFF, kAmarillo = 0xFFFF00;

TEST_F(CliBmpTest, AyudaNombraLasOpciones) {
  const Ejecucion e = Ejecutar({"--help"});
  EXPECT_THAT(e.salida, HasSubstr("--bmp RUTA"));
  EXPECT_THAT(e.salida, HasSubstr("--bmp-auto RUTA"));
}

TEST_F(CliBmpTest, GraficasDelMetodoYDeLaAutocorrelacion) {
  const std::string metodo = (dir_ / "{nombre}-metodo").string();
  const std::string autoc = (dir_ / "auto.v2.BMP").string();
  const Ejecucion e = Ejecutar({"-m", "R/S", "--autocorrelacion", "-p", "EPuntos=50", "--bmp",
                                metodo, "--bmp-auto", autoc, Ejemplo("NileMin.sam")});
  ASSERT_EQ(e.estado, 0) << e.errores;

  Bmp m, a;
  ASSERT_TRUE(LeerBmp((dir_ / "NileMin-metodo.bmp").string(), m));
  ASSERT_TRUE(LeerBmp((dir_ / "auto.bmp").string(), a));  // name up to the first "."
  EXPECT_FALSE(std::filesystem::exists(dir_ / "auto.v2.BMP"));
  for (const Bmp* b : {&m, &a}) {
    // The size of the charts window's charts, black margins and background.
    EXPECT_EQ(b->ancho, 414);
    EXPECT_EQ(b->alto, 329);
    EXPECT_EQ(b->Pixel(2, 2), kNegro);
    EXPECT_TRUE(b->Pixel(200, 150) == kNegro || b->Pixel(200, 150) == kAmarillo);
    // White scales: the data-area border at (LRim, TRim) = (50, 30).
    EXPECT_EQ(b->Pixel(50, 30), kBlanco);
    EXPECT_EQ(b->Pixel(394, 289), kBlanco);  // (Width - RRim, Height - BRim)
  }
  // Yellow data: the R/S marks (plus signs) and the regression line; the lag curve.
  EXPECT_GT(m.Cuenta(kAmarillo), 100);
  EXPECT_GT(a.Cuenta(kAmarillo), 100);
}

}  // namespace
