#include "app/parametros.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

const std::vector<std::string> kListaPorcentaje = {"0.1", "1", "5", "10", "15", "20"};
const std::vector<std::string> kListaFactor = {"4", "8", "16", "32", "64", "128", "256"};
const std::vector<std::string> kListaNivel = {"10", "50", "100", "500", "1000"};

ErrorConversion::ErrorConversion(std::string_view texto)
    : texto_(texto) {
  mensaje_.reserve(texto_.size() + 32);
  mensaje_ += '\'';
  mensaje_ += texto_;
  mensaje_ += "' is not a valid integer value";
}

namespace {

bool EsBlanco(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool EmpiezaSinMayusculas(std::string_view s, std::string_view prefijo) {
  if (s.size() < prefijo.size()) return false;
  for (std::size_t i = 0; i < prefijo.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefijo[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<int> LeerEntero(std::string_view texto) {
  while (!texto.empty() && EsBlanco(texto.front())) texto.remove_prefix(1);
  while (!texto.empty() && EsBlanco(texto.back())) texto.remove_suffix(1);
  bool negativo = false;
  if (!texto.empty() && (texto.front() == '+' || texto.front() == '-')) {
    negativo = texto.front() == '-';
    texto.remove_prefix(1);
  }
  if (texto.empty()) return std::nullopt;
  std::int64_t valor = 0;
  for (char c : texto) {
    if (c < '0' || c > '9') return std::nullopt;
    valor = valor * 10 + (c - '0');
    if (valor > static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1) {
      return std::nullopt;
    }
  }
  if (negativo) valor = -valor;
  if (valor < std::numeric_limits<int>::min() || valor > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(valor);
}

int ConvertirEntero(std::string_view texto) {
  const std::optional<int> valor = LeerEntero(texto);
  if (!valor) throw ErrorConversion(texto);
  return *valor;
}

double ConvertirReal(std::string_view texto) {
  while (!texto.empty() && EsBlanco(texto.front())) texto.remove_prefix(1);
  bool negativo = false;
  if (!texto.empty() && (texto.front() == '+' || texto.front() == '-')) {
    negativo = texto.front() == '-';
    texto.remove_prefix(1);
  }
  // from_chars accepts no sign of its own here (handled above) and no "0x" prefix.
  if (texto.empty() || texto.front() == '-' || texto.front() == '+') return 0.0;
  double valor = 0.0;
  const char* inicio = texto.data();
  const char* fin = texto.data() + texto.size();
  std::chars_format formato = std::chars_format::general;
  if (EmpiezaSinMayusculas(texto, "0x")) {
    const char* hex = inicio + 2;
    if (hex < fin && *hex != '+' && *hex != '-') {
      double h = 0.0;
      auto r = std::from_chars(hex, fin, h, std::chars_format::hex);
      if (r.ec == std::errc()) return negativo ? -h : h;
      if (r.ec == std::errc::result_out_of_range) {
        return negativo ? -HUGE_VAL : HUGE_VAL;
      }
    }
    return negativo ? -0.0 : 0.0;  // "0x" without digits reads as the 0 before it
  }
  // A text without a point reads its first comma as the decimal separator ("0,05" typed on
  // a Spanish desktop); a text with a point reads as before.
  std::string conPunto;
  if (texto.find('.') == std::string_view::npos) {
    const std::size_t coma = texto.find(',');
    if (coma != std::string_view::npos) {
      conPunto.assign(texto);
      conPunto[coma] = '.';
      inicio = conPunto.data();
      fin = conPunto.data() + conPunto.size();
    }
  }
  auto r = std::from_chars(inicio, fin, valor, formato);
  if (r.ec == std::errc::invalid_argument) return 0.0;
  if (r.ec == std::errc::result_out_of_range) {
    // Overflow gives HUGE_VAL, underflow 0, as strtod does. The text matched up to r.ptr;
    // a negative exponent in it means underflow.
    std::string_view leido(inicio, static_cast<std::size_t>(r.ptr - inicio));
    const std::size_t e = leido.find_first_of("eE");
    const bool expNegativo = e != std::string_view::npos && e + 1 < leido.size() &&
                             leido[e + 1] == '-';
    valor = expNegativo ? 0.0 : HUGE_VAL;
  }
  return negativo ? -valor : valor;
}

namespace {

enum class Clase { Texto, Marca, Radio };

struct Campo {
  const char* nombre;
  Clase clase;
  std::string* (*texto)(AnalysisParameters&);
  bool* (*marca)(AnalysisParameters&);
  int* (*radio)(AnalysisParameters&);
};

#define FENWA_TEXTO(nombre, ruta) \
  Campo{nombre, Clase::Texto, [](AnalysisParameters& p) { return &p.ruta; }, nullptr, nullptr}
#define FENWA_MARCA(nombre, ruta) \
  Campo{nombre, Clase::Marca, nullptr, [](AnalysisParameters& p) { return &p.ruta; }, nullptr}
#define FENWA_RADIO(nombre, ruta) \
  Campo{nombre, Clase::Radio, nullptr, nullptr, [](AnalysisParameters& p) { return &p.ruta; }}

const std::vector<Campo>& Campos() {
  static const std::vector<Campo> campos = {
      FENWA_TEXTO("EMind", metodosH.EMind),
      FENWA_TEXTO("EMinRS", metodosH.EMinRS),
      FENWA_TEXTO("EBloques", metodosH.EBloques),
      FENWA_TEXTO("EDecadaRS", metodosH.EDecadaRS),
      FENWA_TEXTO("EMinm", metodosH.EMinm),
      FENWA_TEXTO("EMinVar", metodosH.EMinVar),
      FENWA_TEXTO("EDecadaVar", metodosH.EDecadaVar),
      FENWA_MARCA("ChLineal", metodosH.ChLineal),
      FENWA_TEXTO("EMinmDif", metodosH.EMinmDif),
      FENWA_TEXTO("EMinVarDif", metodosH.EMinVarDif),
      FENWA_TEXTO("EDecadaVarDif", metodosH.EDecadaVarDif),
      FENWA_MARCA("ChMismos", metodosH.ChMismos),
      FENWA_TEXTO("CBPorcentaje", metodosH.CBPorcentaje),
      FENWA_RADIO("RGModelo", metodosH.RGModelo),
      FENWA_TEXTO("EOrdenp", metodosH.EOrdenp),
      FENWA_TEXTO("EOrdenq", metodosH.EOrdenq),
      FENWA_TEXTO("CBFactor", metodosH.CBFactor),
      FENWA_TEXTO("CBNivel", metodosH.CBNivel),
      FENWA_TEXTO("EInicial", metodosT0.EInicial),
      FENWA_TEXTO("EFinal", metodosT0.EFinal),
      FENWA_TEXTO("EDecada", metodosT0.EDecada),
      FENWA_TEXTO("Estacion.EBloques", estacion.EBloques),
      FENWA_TEXTO("ESigni", estacion.ESigni),
      FENWA_RADIO("RGSesgo", autocorrelacion.RGSesgo),
      FENWA_TEXTO("EPuntos", autocorrelacion.EPuntos),
      FENWA_MARCA("ChLongitud", autocorrelacion.ChLongitud),
      FENWA_MARCA("ChGuardar", autocorrelacion.ChGuardar),
  };
  return campos;
}

#undef FENWA_TEXTO
#undef FENWA_MARCA
#undef FENWA_RADIO

}  // namespace

std::string AsignarCampo(AnalysisParameters& parametros, std::string_view nombre,
                         std::string_view valor) {
  for (const Campo& campo : Campos()) {
    if (nombre != campo.nombre) continue;
    if (campo.clase == Clase::Texto) {
      *campo.texto(parametros) = std::string(valor);
      return {};
    }
    if (valor != "0" && valor != "1") {
      return "el campo " + std::string(nombre) + " admite 0 o 1, no '" + std::string(valor) +
             "'";
    }
    const bool uno = valor == "1";
    if (campo.clase == Clase::Marca) {
      *campo.marca(parametros) = uno;
    } else {
      *campo.radio(parametros) = uno ? 1 : 0;
    }
    return {};
  }
  return "campo desconocido: " + std::string(nombre);
}

const std::vector<std::string>& NombresCampos() {
  static const std::vector<std::string> nombres = [] {
    std::vector<std::string> v;
    for (const Campo& c : Campos()) v.emplace_back(c.nombre);
    return v;
  }();
  return nombres;
}
