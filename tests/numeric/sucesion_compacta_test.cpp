// Compact storage of smooth sequences: the values come back bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "numeric/sucesion_compacta.h"

namespace {

struct Caso {
  const char* nombre;
  std::uint32_t longitud;
  std::function<double(std::uint32_t)> valor;
  bool compacta;  // whether it must take well under the 8 bytes of a double per value
};

TEST(SucesionCompacta, DevuelveLosMismosBits) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Caso casos[] = {
      // Terms of the FGN objective at the Fourier frequencies of ten million samples.
      {"logaritmos", 500000,
       [](std::uint32_t j) { return std::log(6.283185307179586 - (j + 1) * 6.283185307179586 / 1e7); },
       true},
      {"coseno", 300000,
       [](std::uint32_t j) { return 1 - std::cos((j + 2500001) * 6.283185307179586 / 1e7); }, true},
      {"cruza el cero", 10000, [](std::uint32_t j) { return (static_cast<double>(j) - 5000.5) * 1e-3; }, false},
      {"aleatoria", 5000,
       [](std::uint32_t j) { return std::sin(j * 12.9898) * 43758.5453 - std::floor(std::sin(j * 12.9898) * 43758.5453); },
       false},
      {"especiales", 4100,
       [&](std::uint32_t j) {
         const double v[] = {0.0, -0.0, nan, inf, -inf, 5e-324, 1.0, -1e308};
         return v[j % 8];
       },
       false},
      {"vacia", 0, [](std::uint32_t) { return 1.0; }, false},
      {"un valor", 1, [](std::uint32_t) { return 3.5; }, false},
      {"dos valores", 2, [](std::uint32_t j) { return j + 0.25; }, false},
      {"un bloque justo", SucesionCompacta::kBloque, [](std::uint32_t j) { return j * 0.5; }, false},
      {"un bloque y uno suelto", SucesionCompacta::kBloque + 1, [](std::uint32_t j) { return j * 0.5; }, false},
  };
  for (const Caso& c : casos) {
    const SucesionCompacta s(c.longitud, [&](std::uint32_t desde, std::uint32_t cuantos, double* v) {
      for (std::uint32_t t = 0; t < cuantos; ++t) v[t] = c.valor(desde + t);
    });
    ASSERT_EQ(s.Longitud(), c.longitud) << c.nombre;
    std::vector<double> bloque(SucesionCompacta::kBloque);
    std::uint32_t j = 0;
    for (std::uint32_t b = 0; b < s.Bloques(); ++b) {
      s.LeerBloque(b, bloque.data());
      for (std::uint32_t t = 0; t < s.ValoresEnBloque(b); ++t, ++j)
        ASSERT_EQ(std::bit_cast<std::uint64_t>(bloque[t]), std::bit_cast<std::uint64_t>(c.valor(j)))
            << c.nombre << ", valor " << j;
    }
    EXPECT_EQ(j, c.longitud) << c.nombre;
    if (c.compacta) {
      EXPECT_LT(s.Memoria(), 3u * c.longitud) << c.nombre;
    }
  }
}

}  // namespace
