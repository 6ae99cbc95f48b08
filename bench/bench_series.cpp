// Writes and loads a sample file of 10,000,000 samples (about 100 MB) in the temporary
// folder and reports the times. Usage: bench_series [samples] [folder]
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "app/series.h"
#include "numeric/estadistica.h"

namespace {

double Segundos(std::chrono::steady_clock::time_point desde) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t n = argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10))
                                   : 10000000u;
  const std::filesystem::path carpeta =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
  const std::string ruta =
      (carpeta / ("fenwa_bench_series_" + std::to_string(::getpid()) + ".sam")).string();

  // Rates with 6 significant digits, about 10 bytes per line once written.
  Vector v(n);
  std::uint64_t s = 88172645463325252ull;
  for (std::uint32_t i = 1; i <= n; ++i) {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    v[i] = static_cast<double>(100000 + s % 900000ull) / 1e7;
  }

  std::string mensaje;
  auto t0 = std::chrono::steady_clock::now();
  if (!WriteSampleFile(v, ruta, mensaje)) {
    std::fprintf(stderr, "%s\n", mensaje.c_str());
    return 1;
  }
  const double escritura = Segundos(t0);
  const auto bytes = std::filesystem::file_size(ruta);

  double mejor = 1e300;
  std::uint32_t leidas = 0;
  for (int rep = 0; rep < 3; ++rep) {
    t0 = std::chrono::steady_clock::now();
    const Vector w = ReadSampleFile(ruta, mensaje);
    const double t = Segundos(t0);
    if (t < mejor) mejor = t;
    leidas = w.Longitud();
    if (rep == 0 && (leidas != n || std::fabs(w(n) - v(n)) > 5e-6 * v(n))) {
      std::fprintf(stderr, "lectura incorrecta: %u muestras\n", leidas);
      std::filesystem::remove(ruta);
      return 1;
    }
  }
  std::filesystem::remove(ruta);

  t0 = std::chrono::steady_clock::now();
  const Vector a = Agregar(v, 10);
  const double agregar = Segundos(t0);

  const double mb = static_cast<double>(bytes) / 1e6;
  std::printf("samples            %u\n", n);
  std::printf("file size          %.1f MB\n", mb);
  std::printf("write              %.3f s (%.0f MB/s)\n", escritura, mb / escritura);
  std::printf("load (best of 3)   %.3f s (%.0f MB/s, %.1f ns/sample)\n", mejor, mb / mejor,
              1e9 * mejor / n);
  std::printf("Agregar(v, 10)     %.3f s\n", agregar);
  return a.Longitud() == n / 10 ? 0 : 1;
}
