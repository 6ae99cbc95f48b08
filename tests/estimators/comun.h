// Helpers shared by the estimator tests: seeded series, sample files of the data folder
// and relative differences.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/vector.h"
#include "tests/support/fgn.h"

namespace estimadores {


inline Vector AVector(const std::vector<double>& v) {
  Vector r(static_cast<std::uint32_t>(v.size()));
  for (std::size_t i = 0; i < v.size(); ++i) r.Datos()[i] = v[i];
  return r;
}

inline Vector Ruido(std::size_t n, std::uint64_t semilla) {
  return AVector(prueba::RuidoBlanco(n, semilla));
}

inline Vector Fgn(std::size_t n, double H, std::uint64_t semilla) {
  return AVector(prueba::GenerarFgn(n, H, semilla));
}

inline std::vector<double> Copia(const Vector& v) { return {v.begin(), v.end()}; }

// Reads a sample file (numbers separated by blanks, point as decimal separator) with
// from_chars, independent of the process locale. Empty when the file is missing.
inline std::vector<double> LeerMuestras(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::vector<double> v;
  if (!f) return v;
  std::stringstream ss;
  ss << f.rdbuf();
  const std::string texto = ss.str();
  const char* p = texto.data();
  const char* fin = p + texto.size();
  while (p < fin) {
    while (p < fin && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t')) ++p;
    if (p >= fin) break;
    double x = 0.0;
    auto [q, ec] = std::from_chars(p, fin, x);
    if (ec != std::errc()) return {};
    v.push_back(x);
    p = q;
  }
  return v;
}

inline std::string DirectorioDatos() {
  const char* d = std::getenv("FENWA_DATA_DIR");
  return d ? std::string(d) : std::string();
}

inline double DiferenciaRelativa(double a, double b) {
  const double escala = std::max(std::fabs(a), std::fabs(b));
  return escala == 0.0 ? 0.0 : std::fabs(a - b) / escala;
}

}  // namespace estimadores
