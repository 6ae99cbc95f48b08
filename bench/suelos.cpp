// The physical floors of the speed table, measured in the same run as the methods: one
// transform of the series (FENWA's complex one, the periodogram ordinates the estimators
// take from the half-length transform, and FFTW's real-to-complex one where FFTW is
// available) and one cumulative sum, at the length of a sample file.
// Usage: suelos FICHERO [repeticiones=3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "app/series.h"
#include "numeric/fft.h"

#ifdef FENWA_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

template <typename F>
double Mejor(int repeticiones, F&& f) {
  double mejor = 1e300;
  for (int r = 0; r < repeticiones; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    mejor = std::min(mejor,
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return mejor;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: suelos FICHERO [repeticiones]\n");
    return 1;
  }
  const int repeticiones = argc > 2 ? std::atoi(argv[2]) : 3;
  std::string mensaje;
  const Vector serie = ReadSampleFile(argv[1], mensaje);
  if (!mensaje.empty()) {
    std::fprintf(stderr, "%s\n", mensaje.c_str());
    return 1;
  }
  const std::size_t n = serie.Longitud();
  std::vector<double> re(n), im(n), suma(n);
  const double fft = Mejor(repeticiones, [&] {
    Fft(static_cast<std::int32_t>(n), serie.Datos(), re.data(), im.data());
  });
  const auto m = static_cast<std::uint32_t>(
      (LongitudTransformable(static_cast<std::int32_t>(n)) - 1) / 2);
  const double ordenadas = Mejor(repeticiones, [&] { OrdenadasPeriodograma(serie, m); });
  const double acumulada = Mejor(repeticiones, [&] {
    std::partial_sum(serie.begin(), serie.end(), suma.begin());
  });
  std::printf("%zu muestras, mejor de %d\n", n, repeticiones);
  std::printf("transformada de FENWA      %8.3f s\n", fft);
  std::printf("ordenadas del periodograma %8.3f s\n", ordenadas);
#ifdef FENWA_HAVE_FFTW
  {
    std::vector<double> x(serie.begin(), serie.end());
    fftw_complex* y = fftw_alloc_complex(n / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), x.data(), y, FFTW_ESTIMATE);
    const double real = Mejor(repeticiones, [&] { fftw_execute(plan); });
    fftw_destroy_plan(plan);
    fftw_free(y);
    std::printf("transformada real de FFTW  %8.3f s\n", real);
  }
#endif
  std::printf("suma acumulada             %8.3f s\n", acumulada);
  return 0;
}
