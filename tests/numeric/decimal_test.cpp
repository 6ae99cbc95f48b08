// The short-number conversion takes the forms sample files are made of and gives the bits
// std::from_chars gives, whichever of its two ways (with room after the number or near the
// end of the text) converts it.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "numeric/decimal.h"

namespace {

// `texto` converted as a whole token followed by `relleno` line ends (the way with room
// needs 32 bytes from the start of the number): nothing when it is not taken whole.
std::optional<double> Rapido(const std::string& texto, std::size_t relleno) {
  const std::string b = texto + std::string(relleno, '\n');
  double v = 12345.0;
  const char* q = DecimalExacto(b.data(), b.data() + b.size(), v);
  if (q != b.data() + texto.size()) return std::nullopt;
  return v;
}

std::optional<double> General(const std::string& texto) {
  double v = 0;
  const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), v);
  if (r.ec != std::errc() || r.ptr != texto.data() + texto.size()) return std::nullopt;
  return v;
}

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// The text converted by both ways or by neither, with the bits of from_chars; whether it
// was taken.
bool Comprobar(const std::string& texto) {
  const std::optional<double> general = General(texto);
  const std::optional<double> cerca = Rapido(texto, 0), holgado = Rapido(texto, 40);
  EXPECT_EQ(cerca.has_value(), holgado.has_value()) << "«" << texto << "»";
  for (const std::optional<double>& rapido : {cerca, holgado}) {
    if (!rapido) continue;
    EXPECT_TRUE(general.has_value()) << "«" << texto << "»";
    if (general) {
      EXPECT_EQ(Bits(*rapido), Bits(*general)) << "«" << texto << "»";
    }
  }
  return cerca.has_value() && holgado.has_value();
}

TEST(CargaDecimal, FormasTomadasYDejadas) {
  const std::pair<const char*, bool> casos[] = {
      {"0", true},  {"-0", true},  {"0.0", true},  {"-0.000", true}, {"1.5", true},
      {"-1.62714", true}, {"0.387265", true}, {"00012.50", true}, {"1.2e-05", true},
      {"1.23457e+06", true}, {"1E+22", true}, {"1e-22", true}, {"-7E0", true},
      {"0e9999", true}, {"-0e-9999", true}, {"0.00000000000000000001", true},
      {"9007199254740992", true},        // 2^53
      {"0.1234567890123456", true},      // 16 decimals
      {"12345678.5", true},              // 8 integer digits
      {"1234567890.123456", true},       // 16 digits below 2^53
      {"123456789012345.6789", false},   // 19 digits above 2^53
      {"1e23", false}, {"1e-23", false},  // the power of ten is not exact
      {"9007199254740993", false},       // above 2^53
      {"12345678901234567890", false},   // 20 digits
      {"0.10000000000000000000001", false},
      {"1.", false}, {".5", false}, {"+1", false}, {"--1", false}, {"-", false}, {"", false},
      {"1e", false}, {"1e+", false}, {"1e99999", false}, {"0e12345", false},
      {"1.5x", false}, {"1e5.5", false}, {"1..5", false}, {"inf", false}, {"0x10", false},
  };
  for (const auto& [texto, tomado] : casos)
    EXPECT_EQ(Comprobar(texto), tomado) << "«" << texto << "»";
}

// Random doubles of every magnitude written in the usual notations, and random digit
// strings with long mantissas and exponents: whatever is taken has the bits of from_chars,
// and the 6-digit general notation that sample files are written in is always taken.
TEST(CargaDecimal, AleatoriosDeTodasLasMagnitudes) {
  std::mt19937_64 azar(20261210);
  std::uniform_int_distribution<int> cifras(0, 25), exponente(-40, 40), precision(0, 18);
  std::size_t tomados = 0, escritos = 0;
  char b[128];
  for (int i = 0; i < 60000; ++i) {
    // A finite double of any exponent, and one of moderate size.
    double x;
    do x = std::bit_cast<double>(azar()); while (!std::isfinite(x));
    const double moderado = std::ldexp(static_cast<double>(azar() >> 11), -53) *
                            std::pow(10.0, exponente(azar) / 3) * (azar() & 1 ? -1 : 1);
    for (const double v : {x, moderado}) {
      Comprobar(std::string(b, std::to_chars(b, b + sizeof b, v).ptr));
      const int p = precision(azar);
      for (const auto formato : {std::chars_format::general, std::chars_format::scientific,
                                 std::chars_format::fixed}) {
        if (formato == std::chars_format::fixed && !(std::fabs(v) < 1e25)) continue;
        const std::string t(b, std::to_chars(b, b + sizeof b, v, formato, p).ptr);
        Comprobar(t);
      }
    }
    // The file notation: taken whenever its power of ten is exact (6 digits of 1e-17 and
    // above).
    const std::string g(
        b, std::to_chars(b, b + sizeof b, moderado, std::chars_format::general, 6).ptr);
    const bool tomado = Comprobar(g);
    if (moderado == 0 || std::fabs(moderado) >= 1e-17) {
      ++escritos;
      tomados += tomado;
    }
    // Digits at random: sign, integer and decimal parts, exponent.
    std::string d = azar() & 1 ? "-" : "";
    for (int k = cifras(azar) + 1; k > 0; --k) d += static_cast<char>('0' + azar() % 10);
    if (azar() & 1) {
      d += '.';
      for (int k = cifras(azar) + 1; k > 0; --k) d += static_cast<char>('0' + azar() % 10);
    }
    if (azar() & 1) d += (azar() & 1 ? "e" : "E") + std::to_string(exponente(azar));
    Comprobar(d);
  }
  EXPECT_EQ(tomados, escritos);
}

}  // namespace
