// Conversion of the short decimal numbers that fill most sample files, without the general
// algorithm: a number of at most 19 significant digits whose integer value w is at most 2^53
// and whose power of ten 10^e has |e| <= 22 is w * 10^e or w / 10^-e, both operands exact
// doubles, so a single correctly rounded operation gives the nearest double, the same bits
// as std::from_chars.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Converts, digit by digit, the number that starts at p (and ends at `fin` at the latest)
// when it is [-]digits[.digits][(e|E)[+|-]digits] (at least one digit on each side of the
// point, at most four exponent digits) within the limits above, and returns where it stops:
// the number is the whole token only when that is `fin` or a blank. Null, with `valor`
// untouched, for anything else, which the caller converts in the general way.
inline const char* DecimalExactoPorCifras(const char* p, const char* fin, double& valor) {
  static constexpr double kPotencias[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const auto cifra = [](char c) { return static_cast<unsigned>(c - '0'); };
  const bool negativo = p < fin && *p == '-';
  p += negativo;
  const char* const enteras = p;
  while (p < fin && *p == '0') ++p;  // leading zeros are not significant
  const char* primera = p;
  std::uint64_t w = 0;
  for (; p < fin && cifra(*p) < 10; ++p) w = w * 10 + cifra(*p);
  if (p == enteras) return nullptr;
  long significativas = p - primera;
  long exponente = 0;
  if (p < fin && *p == '.') {
    const char* const decimales = ++p;
    if (significativas == 0)
      while (p < fin && *p == '0') ++p;
    primera = p;
    for (; p < fin && cifra(*p) < 10; ++p) w = w * 10 + cifra(*p);
    if (p == decimales) return nullptr;
    significativas += p - primera;
    exponente = -(p - decimales);
  }
  // Past 19 digits w may have wrapped; the general conversion takes such a number.
  if (significativas > 19) return nullptr;
  if (p < fin && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool exponenteNegativo = p < fin && *p == '-';
    p += p < fin && (*p == '-' || *p == '+');
    const char* const cifras = p;
    long e = 0;
    for (; p < fin && cifra(*p) < 10 && p - cifras < 4; ++p) e = e * 10 + cifra(*p);
    if (p == cifras) return nullptr;
    exponente += exponenteNegativo ? -e : e;
  }
  // A digit here is a fifth one of the exponent.
  if (p < fin && cifra(*p) < 10) return nullptr;
  if (w == 0) {
    valor = negativo ? -0.0 : 0.0;
    return p;
  }
  if (w > (std::uint64_t{1} << 53) || exponente < -22 || exponente > 22) return nullptr;
  const double x = static_cast<double>(w);
  const double r = exponente < 0 ? x / kPotencias[-exponente] : x * kPotencias[exponente];
  valor = negativo ? -r : r;
  return p;
}

namespace decimal_detalle {

// The 8 bytes at p, the first one lowest.
inline std::uint64_t Ocho(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// How many of the 8 bytes of v, from the first, are digits (0..8).
inline int CifrasAlPrincipio(std::uint64_t v) {
  constexpr std::uint64_t kUnos = 0x0101010101010101u;
  // A byte other than 0 where the high half is not 3 or the low half is above 9.
  const std::uint64_t malo = ((v & (0xF0 * kUnos)) ^ (0x30 * kUnos)) |
                             (((v & (0x0F * kUnos)) + 0x06 * kUnos) & (0x10 * kUnos));
  // The high bit of each such byte, without carries between bytes.
  const std::uint64_t marcas =
      (((malo & (0x7F * kUnos)) + 0x7F * kUnos) | malo) & (0x80 * kUnos);
  return std::countr_zero(marcas) / 8;
}

// The value of the first k (1..8) bytes of v, digits, read as a decimal integer.
inline std::uint64_t ValorDeCifras(std::uint64_t v, int k) {
  constexpr std::uint64_t kUnos = 0x0101010101010101u;
  // Borrows go towards the later bytes, which the shift drops.
  v = (v - 0x30 * kUnos) << (8 * (8 - k));
  v = v * 10 + (v >> 8);  // pairs of digits
  return (((v & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
          (((v >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >> 32;
}

inline constexpr std::uint64_t kPotenciasEnteras[] = {1,      10,      100,      1000,     10000,
                                                     100000, 1000000, 10000000, 100000000};

}  // namespace decimal_detalle

// The same conversion. With at least 32 bytes readable from p, the digits before and after
// the point are taken up to 8 at a time (16 after it), without a branch per digit; a number
// with more digits, an exponent, or near `fin`, goes digit by digit.
inline const char* DecimalExacto(const char* p, const char* fin, double& valor) {
  using namespace decimal_detalle;
  if constexpr (std::endian::native == std::endian::little) {
    static constexpr double kPotencias[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6, 1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14};
    if (fin - p >= 32) {
      const char* q = p + (*p == '-');
      const int enteras = CifrasAlPrincipio(Ocho(q));
      if (enteras > 0 && enteras < 8) {
        std::uint64_t w = ValorDeCifras(Ocho(q), enteras);
        q += enteras;
        int decimales = 0;
        if (*q == '.') {
          ++q;
          for (int vuelta = 0; vuelta < 2; ++vuelta) {
            const int cifras = CifrasAlPrincipio(Ocho(q));
            if (cifras > 0) w = w * kPotenciasEnteras[cifras] + ValorDeCifras(Ocho(q), cifras);
            q += cifras;
            decimales += cifras;
            if (cifras < 8) break;
          }
          if (decimales == 0) return nullptr;  // "1." and the like: the general conversion
        }
        // 15 digits at most: w < 10^15 < 2^53, exact as a double.
        if (enteras + decimales <= 15 && *q != 'e' && *q != 'E' &&
            static_cast<unsigned>(*q - '0') >= 10) {
          const double x =
              static_cast<double>(static_cast<std::int64_t>(w)) / kPotencias[decimales];
          // The sign as a bit, not a branch: signs in a series come in no order.
          const std::uint64_t signo = static_cast<std::uint64_t>(*p == '-') << 63;
          valor = std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) | signo);
          return q;
        }
      }
    }
  }
  return DecimalExactoPorCifras(p, fin, valor);
}
