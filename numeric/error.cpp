#include "numeric/error.h"

namespace {

constexpr const char* kPrefijo = "error en tiempo de ejecución: ";

}  // namespace

const char* MensajeErrorEjecucion(FalloEjecucion codigo) {
  switch (codigo) {
    case kFalloIndiceVector: return "índice fuera del rango del vector";
    case kFalloSubvectorInvertido:
      return "indice1 debe ser menor que indice2 para obtener un subvector";
    case kFalloLongitudesDistintas: return "no se puede operar con vectores de distinta longitud";
    case kFalloIndiceMatriz: return "índice fuera del rango de la matriz";
    case kFalloFilaMatriz: return "fila fuera del rango de la matriz";
    case kFalloColumnaMatriz: return "columna fuera del rango de la matriz";
    case kFalloProductoVectorMatriz:
      return "longitud del vector distinto a número de filas de la matriz en operación *";
    case kFalloMatrizSingular: return "matriz singular en función Gaussj";
    case kFalloIteracionesGamma:
      return "número máximo de iteraciones superado en función Gcf o en Gser";
    case kFalloGserNegativo: return "x es menor que 0 en función Gser";
    case kFalloArgumentosGammp: return "argumentos inválidos en función Gammp";
    case kFalloIteracionesAmoeba:
      return "número máximo de iteraciones superado en función Amoeba (=>MinVariasVbles)";
    case kFalloIteracionesMinUnaVble:
      return "número máximo de iteraciones superado en función MinUnaVble";
    case kFalloSaltoRampa: return "salto debe ser mayor que 0 en función Rampa";
    case kFalloExtremosRampa: return "inicio y fin deben separarse más en función Rampa";
    case kFalloNivelAgregacion:
      return "nivel de agregación debe ser mayor que 0 en función Agregar";
    case kFalloPuntosAutocorrelacion: return "número de puntos incorrecto en la autocorrelación";
  }
  return "";
}

std::string TextoErrorEjecucion(FalloEjecucion codigo) {
  return std::string(kPrefijo) + MensajeErrorEjecucion(codigo);
}

ErrorNumerico::ErrorNumerico(FalloEjecucion codigo)
    : codigo_(codigo), texto_(TextoErrorEjecucion(codigo)) {}

const char* ErrorNumerico::what() const noexcept { return MensajeErrorEjecucion(codigo_); }

void ErrorEjecucion(FalloEjecucion codigo) { throw ErrorNumerico(codigo); }
