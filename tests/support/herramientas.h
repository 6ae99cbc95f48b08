// The tools the tests share: deterministic noise, series as Vector, files read whole and
// sample files read without the process locale, and the folders they come from.
//
// Every number here is the same on any platform and compiler: the uniform deviates come
// from a 64-bit linear congruential generator of our own, the normal ones from the
// Box-Muller transform of fgn.h (std::mt19937_64), never from a std:: distribution.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "numeric/vector.h"
#include "tests/support/fgn.h"

namespace prueba {

// Uniform deviates of a linear congruential generator modulo 2^64 (Knuth's MMIX
// multiplier and increment), from a fixed seed unless another is given.
class Congruencial {
 public:
  static constexpr std::uint64_t kSemilla = 12345;

  explicit Congruencial(std::uint64_t semilla = kSemilla) : estado_(semilla) {}

  // The next 64 bits; the high ones are the most random.
  std::uint64_t Bits() {
    estado_ = estado_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return estado_;
  }
  // Uniform in [0, 1), with 53 random bits.
  double Uniforme() { return static_cast<double>(Bits() >> 11) * 0x1.0p-53; }
  // Uniform in [a, b).
  double Uniforme(double a, double b) { return a + (b - a) * Uniforme(); }
  // An integer in [0, n), n > 0.
  std::uint64_t Entero(std::uint64_t n) { return (Bits() >> 32) % n; }

 private:
  std::uint64_t estado_;
};

inline Vector AVector(const std::vector<double>& v) {
  Vector r(static_cast<std::uint32_t>(v.size()));
  std::copy(v.begin(), v.end(), r.begin());
  return r;
}

inline std::vector<double> Copia(const Vector& v) { return {v.begin(), v.end()}; }

// The vector (x1, ..., xn).
inline Vector V(std::initializer_list<double> xs) { return AVector(std::vector<double>(xs)); }

// n samples uniform in [a, b).
inline Vector RuidoUniforme(std::uint32_t n, double a = 0.0, double b = 1.0,
                            std::uint64_t semilla = Congruencial::kSemilla) {
  Congruencial g(semilla);
  Vector v(n);
  for (double& x : v) x = g.Uniforme(a, b);
  return v;
}

// n independent standard normal samples (those of RuidoBlanco).
inline Vector RuidoGaussiano(std::uint32_t n, std::uint64_t semilla = Congruencial::kSemilla) {
  return AVector(RuidoBlanco(n, semilla));
}

// The period-2 series a, b, a, b, ... of n samples.
inline Vector Alterna(std::uint32_t n, double a, double b) {
  Vector v(n);
  for (std::uint32_t i = 0; i < n; ++i) v.Datos()[i] = i % 2 ? b : a;
  return v;
}

// n samples of exact fractional Gaussian noise of parameter H (GenerarFgn).
inline Vector Fgn(std::uint32_t n, double H, std::uint64_t semilla) {
  return AVector(GenerarFgn(n, H, semilla));
}

// The bytes of a file; empty when it cannot be read.
inline std::string LeerFichero(const std::filesystem::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// The numbers of a sample file (separated by blanks, a point as decimal separator), read
// with from_chars whatever the locale. Empty when the file is missing or malformed.
inline std::vector<double> LeerMuestras(const std::filesystem::path& ruta) {
  const std::string texto = LeerFichero(ruta);
  std::vector<double> v;
  const char* p = texto.data();
  const char* fin = p + texto.size();
  while (p < fin) {
    while (p < fin && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t')) ++p;
    if (p >= fin) break;
    double x = 0.0;
    const auto [q, ec] = std::from_chars(p, fin, x);
    if (ec != std::errc()) return {};
    v.push_back(x);
    p = q;
  }
  return v;
}

// The folder of the reference series (FENWA_DATA_DIR; empty when it is not set).
inline std::string DirectorioDatos() {
  const char* d = std::getenv("FENWA_DATA_DIR");
  return d ? std::string(d) : std::string();
}

#ifdef FENWA_SOURCE_DIR
// A file of the example series of the source tree.
inline std::string Ejemplo(const std::string& fichero) {
  return std::string(FENWA_SOURCE_DIR) + "/examples/" + fichero;
}
#endif

inline double DiferenciaRelativa(double a, double b) {
  const double escala = std::max(std::fabs(a), std::fabs(b));
  return escala == 0.0 ? 0.0 : std::fabs(a - b) / escala;
}

}  // namespace prueba
