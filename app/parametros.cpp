#include "app/parametros.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "app/nombres_metodos.h"
#include "estimators/estado.h"

ErrorConversion::ErrorConversion(std::string_view texto, bool decimal)
    : texto_(texto), estado_(decimal ? kEstadoConversionDecimal : kEstadoConversion) {
  mensaje_.reserve(texto_.size() + 40);
  mensaje_ += '\'';
  mensaje_ += texto_;
  mensaje_ += decimal ? "' no es un número decimal válido" : "' no es un número entero válido";
}

namespace {

bool EsBlanco(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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

std::optional<double> LeerDecimal(std::string_view texto) {
  while (!texto.empty() && EsBlanco(texto.front())) texto.remove_prefix(1);
  while (!texto.empty() && EsBlanco(texto.back())) texto.remove_suffix(1);
  bool negativo = false;
  if (!texto.empty() && (texto.front() == '+' || texto.front() == '-')) {
    negativo = texto.front() == '-';
    texto.remove_prefix(1);
  }
  if (texto.empty() || texto.front() == '+' || texto.front() == '-') return std::nullopt;
  std::string cifras(texto);
  bool separador = false;
  for (char& c : cifras) {
    if (c != ',' && c != '.') continue;
    if (separador) return std::nullopt;
    separador = true;
    c = '.';
  }
  double valor = 0.0;
  const char* fin = cifras.data() + cifras.size();
  const auto r = std::from_chars(cifras.data(), fin, valor, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != fin || !std::isfinite(valor)) return std::nullopt;
  return negativo ? -valor : valor;
}

double ConvertirReal(std::string_view texto) {
  const std::optional<double> valor = LeerDecimal(texto);
  if (!valor) throw ErrorConversion(texto, true);
  return *valor;
}

namespace {

using enum Dialogo;
using enum TipoCampo;

// Titles of the pages that are not named after a method.
constexpr const char* kPaginaVarDiferenciada = "Var. Diferenciada";
constexpr const char* kPaginaWhittle = "Whittle";
constexpr const char* kPaginaIdc = "IDC";

}  // namespace

const std::vector<DefinicionCampo>& TablaCampos() {
  using namespace campo;
  static const std::vector<DefinicionCampo> tabla = {
      {EMind, EMind, MetodosH, metodo::kRS, Entero, "10", {}},
      {EMinRS, EMinRS, MetodosH, metodo::kRS, Entero, "4", {}},
      {EBloques, EBloques, MetodosH, metodo::kRS, Entero, "8", {}},
      {EDecadaRS, EDecadaRS, MetodosH, metodo::kRS, Entero, "6", {}},
      {EMinm, EMinm, MetodosH, metodo::kVarianza, Entero, "10", {}},
      {EMinVar, EMinVar, MetodosH, metodo::kVarianza, Entero, "20", {}},
      {EDecadaVar, EDecadaVar, MetodosH, metodo::kVarianza, Entero, "6", {}},
      {ChLineal, ChLineal, MetodosH, metodo::kVarianza, Casilla, "0", {}},
      {EMinmDif, EMinmDif, MetodosH, kPaginaVarDiferenciada, Entero, "5", {}},
      {EMinVarDif, EMinVarDif, MetodosH, kPaginaVarDiferenciada, Entero, "20", {}},
      {EDecadaVarDif, EDecadaVarDif, MetodosH, kPaginaVarDiferenciada, Entero, "6", {}},
      {ChMismos, ChMismos, MetodosH, kPaginaVarDiferenciada, Casilla, "0", {}},
      {CBPorcentaje, CBPorcentaje, MetodosH, metodo::kPeriodograma, ListaDecimal, "10",
       {"0.1", "1", "5", "10", "15", "20"}},
      {RGModelo, RGModelo, MetodosH, kPaginaWhittle, Opciones, "0",
       {"Ruido Frac. Gaussiano (FGN)", "FARIMA (p, d, q)"}},
      {RGDensidad, RGDensidad, MetodosH, kPaginaWhittle, Opciones, "0", {"truncada", "exacta"}},
      {EOrdenp, EOrdenp, MetodosH, kPaginaWhittle, Entero, "0", {}},
      {EOrdenq, EOrdenq, MetodosH, kPaginaWhittle, Entero, "0", {}},
      {CBFactor, CBFactor, MetodosH, kPaginaWhittle, ListaEntera, "4",
       {"4", "8", "16", "32", "64", "128", "256"}},
      {CBNivel, CBNivel, MetodosH, kPaginaWhittle, ListaEntera, "10",
       {"10", "50", "100", "500", "1000"}},
      {EMomentosOnd, EMomentosOnd, MetodosH, metodo::kOndiculas, Entero, "3", {}},
      {EOctavaIni, EOctavaIni, MetodosH, metodo::kOndiculas, Entero, "3", {}},
      {EOctavaFin, EOctavaFin, MetodosH, metodo::kOndiculas, Entero, "0", {}},
      {EOrdenDFA, EOrdenDFA, MetodosH, metodo::kDfa, Entero, "1", {}},
      {EMinCaja, EMinCaja, MetodosH, metodo::kDfa, Entero, "10", {}},
      {EDecadaDFA, EDecadaDFA, MetodosH, metodo::kDfa, Entero, "10", {}},
      {EMinmMom, EMinmMom, MetodosH, metodo::kMomentos, Entero, "10", {}},
      {EMinBloquesMom, EMinBloquesMom, MetodosH, metodo::kMomentos, Entero, "20", {}},
      {EDecadaMom, EDecadaMom, MetodosH, metodo::kMomentos, Entero, "6", {}},
      {EKMax, EKMax, MetodosH, metodo::kHiguchi, Entero, "0", {}},
      {EDecadaHig, EDecadaHig, MetodosH, metodo::kHiguchi, Entero, "10", {}},
      {EExponenteGPH, EExponenteGPH, MetodosH, metodo::kGph, Decimal, "0.5", {}},
      {EInicial, EInicial, MetodosT0, kPaginaIdc, Decimal, "0", {}},
      {EFinal, EFinal, MetodosT0, kPaginaIdc, Decimal, "0", {}},
      {EDecada, EDecada, MetodosT0, kPaginaIdc, Entero, "2", {}},
      {EstacionEBloques, EBloques, Estacion, metodo::kTestT, Entero, "10", {}},
      {ESigni, ESigni, Estacion, metodo::kTestT, Decimal, "0.05", {}},
      {RGSesgo, RGSesgo, Autocorrelacion, "", Opciones, "0", {"Sesgada", "Insesgada"}},
      {EPuntos, EPuntos, Autocorrelacion, "", Entero, "100", {}},
      {ChLongitud, ChLongitud, Autocorrelacion, "", Casilla, "0", {}},
      {ChGuardar, ChGuardar, Autocorrelacion, "", Casilla, "1", {}},
  };
  return tabla;
}

namespace {

// Position of a key in the table, or the table's size.
std::size_t Indice(std::string_view clave) {
  const auto& tabla = TablaCampos();
  std::size_t i = 0;
  while (i < tabla.size() && clave != tabla[i].clave) ++i;
  return i;
}

std::size_t IndiceExistente(std::string_view clave) {
  const std::size_t i = Indice(clave);
  if (i == TablaCampos().size()) {
    throw std::out_of_range("campo desconocido: " + std::string(clave));
  }
  return i;
}

}  // namespace

const DefinicionCampo* BuscarCampo(std::string_view clave) {
  const std::size_t i = Indice(clave);
  return i < TablaCampos().size() ? &TablaCampos()[i] : nullptr;
}

AnalysisParameters::AnalysisParameters() {
  for (const DefinicionCampo& c : TablaCampos()) valores_.emplace_back(c.omision);
}

const std::string& AnalysisParameters::operator[](std::string_view clave) const {
  return valores_[IndiceExistente(clave)];
}

std::string& AnalysisParameters::operator[](std::string_view clave) {
  return valores_[IndiceExistente(clave)];
}

int AnalysisParameters::Opcion(std::string_view clave) const {
  return LeerEntero((*this)[clave]).value_or(0);
}

std::string AsignarCampo(AnalysisParameters& parametros, std::string_view clave,
                         std::string_view valor) {
  const DefinicionCampo* c = BuscarCampo(clave);
  if (!c) return "campo desconocido: " + std::string(clave);
  if (!c->EsTexto()) {
    // A check box has two states; a radio group as many as items.
    const int estados =
        c->tipo == TipoCampo::Casilla ? 2 : static_cast<int>(c->entradas.size());
    const std::optional<int> v = valor.size() == 1 ? LeerEntero(valor) : std::nullopt;
    if (!v || *v < 0 || *v >= estados) {
      return "el campo " + std::string(clave) + " admite " +
             (estados == 2 ? std::string("0 o 1") : "0 a " + std::to_string(estados - 1)) +
             ", no '" + std::string(valor) + "'";
    }
  }
  parametros[clave] = std::string(valor);
  return {};
}

const std::vector<std::string>& NombresCampos() {
  static const std::vector<std::string> nombres = [] {
    std::vector<std::string> v;
    for (const DefinicionCampo& c : TablaCampos()) v.emplace_back(c.clave);
    return v;
  }();
  return nombres;
}
