// Times the transform at n = 2^20, 10^6 and 999,983 (a prime, shortened to 999,936) and,
// when FFTW is available, FFTW's complex transform of the same transformed length in the
// same run. Reports the best of several repetitions and the ratio to FFTW.
// Usage: bench_fft [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "numeric/fft.h"

#ifdef FENWA_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

double Segundos(std::chrono::steady_clock::time_point desde) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

// Best times of a and b over interleaved repetitions, so that a busy machine slows both.
template <typename FA, typename FB>
void MejoresTiempos(int repeticiones, FA&& a, FB&& b, double& ta, double& tb) {
  ta = tb = 1e300;
  for (int r = 0; r < repeticiones; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    a();
    ta = std::min(ta, Segundos(t0));
    t0 = std::chrono::steady_clock::now();
    b();
    tb = std::min(tb, Segundos(t0));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int repeticiones = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  std::printf("%-10s %-10s %-30s %12s %12s %8s\n", "n", "n'", "factors", "Fft ms", "FFTW ms",
              "ratio");
  for (std::int32_t n : {1 << 20, 1000000, 999983, 1 << 16, 100000}) {
    std::mt19937_64 gen(42);
    std::normal_distribution<double> z;
    std::vector<double> x(n), re(n), im(n);
    for (double& v : x) v = z(gen);

    const std::int32_t np = LongitudTransformable(n);
    const ListaFactores lista = FactorizarLongitud(np);
    char factores[64] = "";
    int usado = 0;
    for (int i = 0; i < lista.cuenta && usado < 60; ++i)
      usado += std::snprintf(factores + usado, sizeof factores - usado, i ? "·%d" : "%d",
                             lista.factor[i]);

    Fft(n, x.data(), re.data(), im.data());  // warm-up
    auto fenwa = [&] { Fft(n, x.data(), re.data(), im.data()); };
    double tFenwa = 0.0, tFftw = 0.0;
#ifdef FENWA_HAVE_FFTW
    fftw_complex* in = fftw_alloc_complex(np);
    fftw_complex* out = fftw_alloc_complex(np);
    fftw_plan plan = fftw_plan_dft_1d(np, in, out, FFTW_FORWARD, FFTW_MEASURE);
    for (std::int32_t k = 0; k < np; ++k) {
      in[k][0] = x[k];
      in[k][1] = 0.0;
    }
    fftw_execute(plan);
    // Same result up to rounding: check the largest difference once.
    double mayor = 0.0, dif = 0.0;
    for (std::int32_t k = 0; k < np; ++k) {
      mayor = std::max(mayor, std::abs(out[k][0]) + std::abs(out[k][1]));
      dif = std::max(dif, std::abs(out[k][0] - re[k]) + std::abs(out[k][1] - im[k]));
    }
    MejoresTiempos(repeticiones, fenwa, [&] { fftw_execute(plan); }, tFenwa, tFftw);
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
    std::printf("%-10d %-10d %-30s %12.2f %12.2f %8.2f   (max diff/max |Y| %.1e)\n", n, np,
                factores, tFenwa * 1e3, tFftw * 1e3, tFenwa / tFftw, dif / mayor);
#else
    MejoresTiempos(repeticiones, fenwa, [] {}, tFenwa, tFftw);
    std::printf("%-10d %-10d %-30s %12.2f %12s %8s\n", n, np, factores, tFenwa * 1e3, "-", "-");
#endif
  }
  return 0;
}
