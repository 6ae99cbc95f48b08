// Shared by the benchmarks: the best time of several runs, and a series of counts.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <functional>

#include "numeric/constantes.h"
#include "numeric/vector.h"

struct Tiempo {
  double pared = 1e300;  // best elapsed time, seconds
  double cpu = 1e300;    // best processor time of the process, seconds
};

// Best elapsed and best processor time of several runs: on a shared machine the elapsed
// time also counts the waits for a core, the processor time does not.
inline Tiempo Mejor(int veces, const std::function<void()>& f) {
  Tiempo mejor;
  for (int i = 0; i < veces; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    const std::clock_t c0 = std::clock();
    f();
    const double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    mejor.pared = std::min(mejor.pared, t);
    mejor.cpu = std::min(mejor.cpu, cpu);
  }
  return mejor;
}

// Counts around 50 with a standard deviation of 5 (xorshift and Box-Muller).
inline Vector SerieDeCuentas(std::uint32_t n) {
  Vector v(n);
  std::uint64_t s = 88172645463325252ull;
  auto uniforme = [&s]() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return (static_cast<double>(s >> 11) + 1.0) * 0x1.0p-53;
  };
  for (std::uint32_t i = 1; i <= n; ++i) {
    const double r = std::sqrt(-2.0 * std::log(uniforme()));
    v[i] = 50.0 + 5.0 * r * std::cos(kDosPi * uniforme());
  }
  return v;
}
