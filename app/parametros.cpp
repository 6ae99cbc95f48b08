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
      {EMind, EMind, MetodosH, metodo::kRS, Entero, "10", {},
       "Mínimo valor del eje d:", "≥ 2",
       "Menor longitud d de los bloques cuyo rango reescalado se calcula."},
      {EMinRS, EMinRS, MetodosH, metodo::kRS, Entero, "4", {},
       "Mínimo nº muestras R/S:", "≥ 1",
       "Mínimo de bloques de una longitud d para que esa longitud cuente."},
      {EBloques, EBloques, MetodosH, metodo::kRS, Entero, "8", {},
       "Número de bloques:", "2 a 15",
       "La serie se recorre con bloques que empiezan cada n/bloques muestras."},
      {EDecadaRS, EDecadaRS, MetodosH, metodo::kRS, Entero, "6", {},
       "Número de puntos por década:", "1 a 20",
       "Longitudes d por década en la recta log-log."},
      {EMinm, EMinm, MetodosH, metodo::kVarianza, Entero, "10", {},
       "Mínimo valor del eje m:", "≥ 1",
       "Menor nivel de agregación m: bloques de m muestras."},
      {EMinVar, EMinVar, MetodosH, metodo::kVarianza, Entero, "20", {},
       "Mínimo nº muestras para la varianza:", "≥ 10",
       "Mínimo de medias de bloque que debe dejar cada nivel m."},
      {EDecadaVar, EDecadaVar, MetodosH, metodo::kVarianza, Entero, "6", {},
       "Número de puntos por década:", "1 a 20",
       "Niveles de agregación m por década en la recta log-log."},
      {ChLineal, ChLineal, MetodosH, metodo::kVarianza, Casilla, "0", {},
       "Comprobar si log (Var) vs. log (m) es no lineal (no estacionariedad)", "",
       "Comprueba si la recta log (Var) frente a log (m) se curva, señal de saltos en la media o "
       "de tendencias (no estacionariedad)."},
      {EMinmDif, EMinmDif, MetodosH, kPaginaVarDiferenciada, Entero, "5", {},
       "Mínimo valor del eje m:", "≥ 1",
       "Menor nivel de agregación m."},
      {EMinVarDif, EMinVarDif, MetodosH, kPaginaVarDiferenciada, Entero, "20", {},
       "Mínimo nº muestras para la varianza:", "≥ 10",
       "Mínimo de medias de bloque que debe dejar cada nivel m."},
      {EDecadaVarDif, EDecadaVarDif, MetodosH, kPaginaVarDiferenciada, Entero, "6", {},
       "Número de puntos por década:", "1 a 20",
       "Niveles de agregación m por década."},
      {ChMismos, ChMismos, MetodosH, kPaginaVarDiferenciada, Casilla, "0", {},
       "Mismos parámetros que el método de la varianza", "",
       "Usa los tres valores de la página «Varianza» en lugar de los de esta."},
      {CBPorcentaje, CBPorcentaje, MetodosH, metodo::kPeriodograma, ListaDecimal, "10",
       {"0.1", "1", "5", "10", "15", "20"},
       "Porcentaje de frecuencias (%):", "hasta 20",
       "Porcentaje de las frecuencias, desde la más baja, que entran en la recta del "
       "periodograma (al menos 5 frecuencias)."},
      {RGModelo, RGModelo, MetodosH, kPaginaWhittle, Opciones, "0",
       {"Ruido Frac. Gaussiano (FGN)", "FARIMA (p, d, q)"},
       "Modelo fractal", "",
       "Modelo espectral de Whittle Estándar: ruido fraccionario gaussiano, o FARIMA con los "
       "órdenes de abajo."},
      {RGDensidad, RGDensidad, MetodosH, kPaginaWhittle, Opciones, "0", {"truncada", "exacta"},
       "Densidad", "",
       "Densidad espectral del FGN de Whittle Estándar y Whittle Agregado: la suma de alias "
       "cortada en |k| ≤ 4 (truncada) o entera (exacta)."},
      {EOrdenp, EOrdenp, MetodosH, kPaginaWhittle, Entero, "0", {},
       "Orden AR (p):", "0 o 1",
       "Orden autorregresivo p del modelo FARIMA."},
      {EOrdenq, EOrdenq, MetodosH, kPaginaWhittle, Entero, "0", {},
       "Orden MA (q):", "0 o 1",
       "Orden de media móvil q del modelo FARIMA."},
      {CBFactor, CBFactor, MetodosH, kPaginaWhittle, ListaEntera, "4",
       {"4", "8", "16", "32", "64", "128", "256"},
       "Factor m:", "≥ 2",
       "Whittle Local usa la fracción 1/m más baja de las frecuencias; la serie debe tener al "
       "menos 100·m muestras."},
      {CBNivel, CBNivel, MetodosH, kPaginaWhittle, ListaEntera, "10",
       {"10", "50", "100", "500", "1000"},
       "Nivel de agregación:", "≥ 1",
       "Whittle Agregado analiza las medias de bloques de este tamaño; deben quedar al menos "
       "100."},
      {EMomentosOnd, EMomentosOnd, MetodosH, metodo::kOndiculas, Entero, "3", {},
       "Momentos nulos de la ondícula:", "1 a 10",
       "Momentos nulos N de la ondícula de Daubechies (filtro de 2N coeficientes): más momentos "
       "toleran tendencias de mayor grado."},
      {EOctavaIni, EOctavaIni, MetodosH, metodo::kOndiculas, Entero, "3", {},
       "Octava inicial:", "≥ 1",
       "Primera octava j de la recta de la energía de los detalles."},
      {EOctavaFin, EOctavaFin, MetodosH, metodo::kOndiculas, Entero, "0", {},
       "Octava final (0 = automática):", "0, o ≥ inicial + 2",
       "Última octava de la recta; 0 toma la última con al menos 4 coeficientes."},
      {EOrdenDFA, EOrdenDFA, MetodosH, metodo::kDfa, Entero, "1", {},
       "Orden de la tendencia:", "1 a 3",
       "Grado del polinomio que se quita del perfil en cada caja."},
      {EMinCaja, EMinCaja, MetodosH, metodo::kDfa, Entero, "10", {},
       "Caja mínima (nº de muestras):", "≥ orden + 2",
       "Número de muestras de la caja más pequeña."},
      {EDecadaDFA, EDecadaDFA, MetodosH, metodo::kDfa, Entero, "10", {},
       "Número de cajas por década:", "1 a 20",
       "Tamaños de caja por década en la recta log-log."},
      {EMinmMom, EMinmMom, MetodosH, metodo::kMomentos, Entero, "10", {},
       "Mínimo valor del eje m:", "≥ 1",
       "Menor nivel de agregación m de los momentos absolutos."},
      {EMinBloquesMom, EMinBloquesMom, MetodosH, metodo::kMomentos, Entero, "20", {},
       "Mínimo nº de bloques:", "≥ 10",
       "Mínimo de bloques que debe dejar cada nivel m."},
      {EDecadaMom, EDecadaMom, MetodosH, metodo::kMomentos, Entero, "6", {},
       "Número de puntos por década:", "1 a 20",
       "Niveles de agregación por década."},
      {EKMax, EKMax, MetodosH, metodo::kHiguchi, Entero, "0", {},
       "Retardo máximo (0 = automático):", "0, o ≥ 10",
       "Mayor retardo k de la curva; 0 toma el menor de n/10 y 10000."},
      {EDecadaHig, EDecadaHig, MetodosH, metodo::kHiguchi, Entero, "10", {},
       "Número de retardos por década:", "1 a 20",
       "Retardos k por década en la recta log-log."},
      {EExponenteGPH, EExponenteGPH, MetodosH, metodo::kGph, Decimal, "0.5", {},
       "Exponente del ancho de banda:", "0.3 a 0.9",
       "La regresión de GPH usa las n^a frecuencias más bajas, con a este exponente."},
      {EInicial, EInicial, MetodosT0, kPaginaIdc, Decimal, "0", {},
       "Escala de tiempos inicial (seg.):", "> 0",
       "Duración en segundos del intervalo de cada muestra (10 ms = 0.01)."},
      {EFinal, EFinal, MetodosT0, kPaginaIdc, Decimal, "0", {},
       "Escala de tiempos final (seg.):", "> 0 y ≥ inicial",
       "Mayor escala de tiempos, en segundos; la serie debe tener al menos 10 intervalos de esa "
       "duración."},
      {EDecada, EDecada, MetodosT0, kPaginaIdc, Entero, "2", {},
       "Número de puntos por década:", "1 a 20",
       "Escalas de tiempos por década."},
      {EstacionEBloques, EBloques, Estacion, metodo::kTestT, Entero, "10", {},
       "Número de bloques:", "≥ 2",
       "En cuántos bloques consecutivos se parte la serie; cada uno de al menos 100 muestras."},
      {ESigni, ESigni, Estacion, metodo::kTestT, Decimal, "0.05", {},
       "Significancia:", "0 a 1",
       "Nivel de significación α del test."},
      {RGSesgo, RGSesgo, Autocorrelacion, "", Opciones, "0", {"Sesgada", "Insesgada"},
       "Sesgo", "",
       "Sesgada divide la suma de cada retardo entre n; insesgada, entre n − r."},
      {EPuntos, EPuntos, Autocorrelacion, "", Entero, "100", {},
       "Número de puntos", "1 a la longitud",
       "Número de retardos, desde 0."},
      {ChLongitud, ChLongitud, Autocorrelacion, "", Casilla, "0", {},
       "Longitud de la serie", "",
       "Tantos retardos como muestras tiene la serie."},
      {ChGuardar, ChGuardar, Autocorrelacion, "", Casilla, "1", {},
       "Guardar en fichero (*.atc)", "",
       "Ofrece guardar la autocorrelación en un fichero .atc."},
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
