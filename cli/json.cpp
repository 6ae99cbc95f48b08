#include "cli/json.h"

#include <charconv>
#include <cmath>

std::string JsonNumero(double x) {
  if (!std::isfinite(x)) return "null";
  char buf[40];
  auto [fin, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 17);
  (void)ec;
  return std::string(buf, fin);
}

std::string JsonNumero(const std::optional<double>& x) {
  return x ? JsonNumero(*x) : std::string("null");
}

std::string JsonTexto(std::string_view s) {
  std::string r = "\"";
  for (const char c : s) {
    switch (c) {
      case '"':
        r += "\\\"";
        break;
      case '\\':
        r += "\\\\";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\r':
        r += "\\r";
        break;
      case '\t':
        r += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static const char* const kHex = "0123456789abcdef";
          r += "\\u00";
          r += kHex[(c >> 4) & 0xF];
          r += kHex[c & 0xF];
        } else {
          r += c;
        }
    }
  }
  r += '"';
  return r;
}

std::string JsonLista(const std::vector<double>& v) {
  std::string r = "[";
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (i) r += ',';
    r += JsonNumero(v[i]);
  }
  return r + "]";
}

std::string JsonIntervalo(const std::optional<double>& bajo, const std::optional<double>& alto) {
  if (!bajo || !alto) return "null";
  return "[" + JsonNumero(*bajo) + "," + JsonNumero(*alto) + "]";
}

std::string JsonLista(const std::vector<std::string>& v) {
  std::string r = "[";
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (i) r += ',';
    r += JsonTexto(v[i]);
  }
  return r + "]";
}
