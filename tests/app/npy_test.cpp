// .npy series: every accepted type and byte order read to the same samples, the header
// written for float64, and the refusals with what is wrong.
#include "app/npy.h"
#include "app/series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

#include "support/carpeta_prueba.h"

namespace {

// A .npy file written byte by byte: version 1.0 header padded to 64 bytes, then `datos`.
std::string ContenidoNpy(const std::string& descr, const std::string& forma, const std::string& datos,
                int version = 1) {
  std::string dict = "{'descr': '" + descr + "', 'fortran_order': False, 'shape': " + forma + ", }";
  const std::size_t base = version == 1 ? 10 : 12;
  while ((base + dict.size() + 1) % 64) dict += ' ';
  dict += '\n';
  std::string s("\x93NUMPY", 6);
  s += static_cast<char>(version);
  s += '\0';
  for (std::size_t k = 0; k < (version == 1 ? 2u : 4u); ++k) s += static_cast<char>((dict.size() >> (8 * k)) & 0xff);
  return s + dict + datos;
}

template <class T>
std::string Bytes(std::initializer_list<T> valores, bool grande) {
  std::string s;
  for (const T v : valores) {
    char b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    if (grande) std::reverse(b, b + sizeof(T));
    s.append(b, sizeof(T));
  }
  return s;
}

class Npy : public CarpetaDePrueba, public ::testing::Test {
 protected:
  Npy() : CarpetaDePrueba("npy") {}
};

}  // namespace

TEST_F(Npy, CadaTipoYOrdenDeBytes) {
  struct Caso {
    std::string descr, datos;
    int version;
  };
  const Caso casos[] = {
      {"<f8", Bytes<double>({1.5, -2.25, 1e300}, false), 1},
      {">f8", Bytes<double>({1.5, -2.25, 1e300}, true), 2},
      {"<f4", Bytes<float>({1.5f, -2.25f, 3.0f}, false), 1},
      {">f4", Bytes<float>({1.5f, -2.25f, 3.0f}, true), 3},
      {"<i8", Bytes<std::int64_t>({2, -3, 9007199254740993}, false), 1},
      {">i4", Bytes<std::int32_t>({2, -3, 2147483647}, true), 1},
  };
  const double esperados[][3] = {{1.5, -2.25, 1e300}, {1.5, -2.25, 1e300}, {1.5, -2.25, 3.0},
                                 {1.5, -2.25, 3.0},   {2, -3, 9007199254740992.0}, {2, -3, 2147483647}};
  for (std::size_t i = 0; i < std::size(casos); ++i) {
    SCOPED_TRACE(casos[i].descr);
    const std::string ruta = Fichero("s" + std::to_string(i) + ".npy",
                                     ContenidoNpy(casos[i].descr, "(3,)", casos[i].datos, casos[i].version));
    EXPECT_TRUE(FicheroEsNpy(ruta));
    std::string mensaje = "x";
    const Vector v = LeerNpy(ruta, mensaje);
    EXPECT_EQ(mensaje, "");
    ASSERT_EQ(v.Longitud(), 3u);
    for (std::uint32_t k = 0; k < 3; ++k) EXPECT_EQ(v(k + 1), esperados[i][k]);
  }
  // The written header is one numpy reads: 64-byte aligned, version 1.0.
  const std::string c = CabeceraNpy(1000000);
  EXPECT_EQ(c.size() % 64, 0u);
  EXPECT_EQ(c.substr(0, 8), std::string("\x93NUMPY\x01\x00", 8));
  EXPECT_NE(c.find("'shape': (1000000,)"), std::string::npos);
  const std::string ruta = Fichero("escrita.npy", CabeceraNpy(2) + Bytes<double>({0.1, 7.0}, false));
  std::string mensaje;
  const Vector v = LeerNpy(ruta, mensaje);
  ASSERT_EQ(v.Longitud(), 2u);
  EXPECT_EQ(v(1), 0.1);
  // The series reader and writer take .npy by content and by name.
  Vector x(3);
  x[1] = 1e-300;
  x[2] = -0.5;
  x[3] = 12345.678901234567;
  const std::string serie = Fichero("serie.npy", "");
  ASSERT_TRUE(WriteSampleFile(x, serie, mensaje)) << mensaje;
  const Vector y = ReadSampleFile(serie, mensaje);
  ASSERT_EQ(y.Longitud(), 3u);
  for (std::uint32_t k = 1; k <= 3; ++k) EXPECT_EQ(y(k), x(k));  // every bit kept
  EXPECT_TRUE(RutaNpy("a/b.NPY"));
  EXPECT_FALSE(RutaNpy("a/b.sam"));
}

TEST_F(Npy, RechazosQueDicenQueFalla) {
  struct Caso {
    std::string contenido, detalle;
  };
  const Caso casos[] = {
      {ContenidoNpy("<c16", "(2,)", std::string(32, '\0')), "tipo '<c16'"},
      {ContenidoNpy("<f8", "(2, 2)", std::string(32, '\0')), "una sola dimensión"},
      {ContenidoNpy("<f8", "(3,)", Bytes<double>({1, 2}, false)), "anuncia 3 muestras"},
      {ContenidoNpy("<f8", "(1,)", Bytes<double>({1}, false)), "menos de dos muestras"},
      {ContenidoNpy("<f8", "(3,)", Bytes<double>({1, 2, std::nan("")}, false)), "la muestra 3 no es un número finito"},
      {std::string("\x93NUMPY\x01\x00\xff\x7f", 10), "incompleta"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.detalle);
    const std::string ruta = Fichero("malo.npy", c.contenido);
    std::string mensaje;
    EXPECT_EQ(LeerNpy(ruta, mensaje).Longitud(), 0u);
    EXPECT_EQ(mensaje.rfind("El fichero '" + ruta + "' no tiene el formato adecuado:\n", 0), 0u) << mensaje;
    EXPECT_NE(mensaje.find(c.detalle), std::string::npos) << mensaje;
  }
}
