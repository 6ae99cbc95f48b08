#include "app/formato.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

const char* const kLineaCreditos =
    "FENWA: estimación del parámetro de Hurst de series de tráfico";

std::string FormatoGeneral(double x, int digitos, char separador) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  if (x == 0.0) return "0";
  if (digitos < 1) digitos = 1;
  if (digitos > 17) digitos = 17;

  // The exact decimal expansion of x (a double has at most 767 significant decimal
  // digits), then rounded half away from zero to `digitos` digits, as the report format
  // has always rounded (12345 gives 1.235E4).
  char buf[1100];
  auto [fin, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 780);
  (void)ec;
  std::string_view s(buf, static_cast<std::size_t>(fin - buf));
  std::string resultado;
  if (s.front() == '-') {
    resultado.push_back('-');
    s.remove_prefix(1);
  }
  const std::size_t posE = s.find('e');
  std::string todas;
  for (char c : s.substr(0, posE)) {
    if (c != '.') todas.push_back(c);
  }
  int exp10 = 0;
  std::string_view textoExp = s.substr(posE + 1);
  if (textoExp.front() == '+') textoExp.remove_prefix(1);
  std::from_chars(textoExp.data(), textoExp.data() + textoExp.size(), exp10);
  std::string cifras = todas.substr(0, static_cast<std::size_t>(digitos));
  if (todas[static_cast<std::size_t>(digitos)] >= '5') {
    int i = digitos - 1;
    while (i >= 0 && cifras[static_cast<std::size_t>(i)] == '9') {
      cifras[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++cifras[static_cast<std::size_t>(i)];
    } else {
      cifras.insert(cifras.begin(), '1');
      cifras.pop_back();
      ++exp10;
    }
  }
  // x = 0.d1d2... x 10^e
  const int e = exp10 + 1;
  while (cifras.size() > 1 && cifras.back() == '0') cifras.pop_back();

  if (e >= -3 && e <= digitos) {
    if (e <= 0) {
      resultado += '0';
      resultado += separador;
      resultado.append(static_cast<std::size_t>(-e), '0');
      resultado += cifras;
    } else if (static_cast<int>(cifras.size()) <= e) {
      resultado += cifras;
      resultado.append(static_cast<std::size_t>(e) - cifras.size(), '0');
    } else {
      resultado.append(cifras, 0, static_cast<std::size_t>(e));
      resultado += separador;
      resultado.append(cifras, static_cast<std::size_t>(e), std::string::npos);
    }
    return resultado;
  }
  resultado += cifras[0];
  if (cifras.size() > 1) {
    resultado += separador;
    resultado.append(cifras, 1, std::string::npos);
  }
  resultado += 'E';
  const int n = e - 1;
  if (n < 0) resultado += '-';
  resultado += FormatoI(std::abs(n));
  return resultado;
}

std::string FormatoF(double x, char separador) { return FormatoGeneral(x, 4, separador); }

std::string FormatoG(double x, char separador) { return FormatoGeneral(x, 15, separador); }

std::string FormatoI(long long n) {
  char buf[32];
  auto [fin, ec] = std::to_chars(buf, buf + sizeof buf, n);
  (void)ec;
  return std::string(buf, fin);
}

namespace {

void Cifras(std::string& salida, int valor, int ancho) {
  std::string t = FormatoI(valor);
  if (static_cast<int>(t.size()) < ancho) salida.append(ancho - t.size(), '0');
  salida += t;
}

}  // namespace

std::string FormatearFechaHora(const std::tm& momento, std::string_view patron) {
  std::string salida;
  std::size_t i = 0;
  while (i < patron.size()) {
    const char c = patron[i];
    if (c == '\'') {
      // Quoted literal; '' inside or alone is one quote.
      std::size_t j = i + 1;
      if (j < patron.size() && patron[j] == '\'') {
        salida += '\'';
        i = j + 1;
        continue;
      }
      while (j < patron.size() && patron[j] != '\'') salida += patron[j++];
      i = j + 1;
      continue;
    }
    std::size_t n = 1;
    while (i + n < patron.size() && patron[i + n] == c) ++n;
    switch (c) {
      case 'd':
        Cifras(salida, momento.tm_mday, n >= 2 ? 2 : 1);
        break;
      case 'M':
        Cifras(salida, momento.tm_mon + 1, n >= 2 ? 2 : 1);
        break;
      case 'y':
        if (n >= 4) {
          Cifras(salida, momento.tm_year + 1900, 4);
        } else {
          Cifras(salida, (momento.tm_year + 1900) % 100, 2);
        }
        break;
      case 'h':
      case 'H':
        Cifras(salida, momento.tm_hour, n >= 2 ? 2 : 1);
        break;
      case 'm':
        Cifras(salida, momento.tm_min, n >= 2 ? 2 : 1);
        break;
      case 's':
        Cifras(salida, momento.tm_sec, n >= 2 ? 2 : 1);
        break;
      default:
        salida.append(n, c);
        break;
    }
    i += n;
  }
  return salida;
}

std::string LineaFecha(std::string_view fecha, std::string_view hora) {
  std::string linea = "Análisis realizado el día ";
  linea += fecha;
  linea += " a las ";
  linea += hora;
  linea += " horas";
  return linea;
}
