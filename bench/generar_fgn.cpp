// Writes a sample file of exact fractional Gaussian noise (the tests' generator) for the
// benchmarks of long series; the files are large and stay out of the repository. Beyond
// 2^25 samples the generator's own transform is no longer accurate enough for its
// circulant embedding, so a longer series is made of independent exact pieces of 2^24
// samples (seeds semilla, semilla + 1, ...).
// Usage: generar_fgn RUTA [muestras=10000000] [H=0.8] [semilla=1]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/series.h"
#include "tests/support/fgn.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: generar_fgn RUTA [muestras] [H] [semilla]\n");
    return 1;
  }
  const std::string ruta = argv[1];
  const std::size_t n = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 10000000u;
  const double H = argc > 3 ? std::strtod(argv[3], nullptr) : 0.8;
  const std::uint64_t semilla = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 1u;
  if (n < 2 || n > 0xFFFFFFFFu) {
    std::fprintf(stderr, "generar_fgn: número de muestras no válido\n");
    return 1;
  }
  Vector v(static_cast<std::uint32_t>(n));
  const std::size_t pieza = n > (std::size_t{1} << 25) ? std::size_t{1} << 24 : n;
  for (std::size_t desde = 0; desde < n; desde += pieza) {
    const std::size_t cuantas = std::min(pieza, n - desde);
    const std::vector<double> x = prueba::GenerarFgn(cuantas, H, semilla + desde / pieza);
    std::copy(x.begin(), x.end(), v.begin() + desde);
  }
  std::string mensaje;
  if (!WriteSampleFile(v, ruta, mensaje)) {
    std::fprintf(stderr, "%s\n", mensaje.c_str());
    return 1;
  }
  return 0;
}
