#include "numeric/error.h"

namespace {

const char* const kMensajes[] = {
    "índice fuera del rango del vector",
    "indice1 debe ser menor que indice2 para obtener un subvector",
    "no se puede operar con vectores de distinta longitud",
    "índice fuera del rango de la matriz",
    "fila fuera del rango de la matriz",
    "columna fuera del rango de la matriz",
    "longitud del vector distinto a número de filas de la matriz en operación *",
    "matriz singular en función Gaussj",
    "número máximo de iteraciones superado en función Gcf o en Gser",
    "x es menor que 0 en función Gser",
    "argumentos inválidos en función Gammp",
    "número máximo de iteraciones superado en función Amoeba (=>MinVariasVbles)",
    "número máximo de iteraciones superado en función MinUnaVble",
    "salto debe ser mayor que 0 en función Rampa",
    "inicio y fin deben separarse más en función Rampa",
    "nivel de agregación debe ser mayor que 0 en función Agregar",
    "número de puntos incorrecto en la autocorrelación",
};

constexpr const char* kPrefijo = "error en tiempo de ejecución: ";

}  // namespace

const char* MensajeErrorEjecucion(std::uint8_t codigo) {
  return codigo < sizeof(kMensajes) / sizeof(kMensajes[0]) ? kMensajes[codigo] : "";
}

std::string TextoErrorEjecucion(std::uint8_t codigo) {
  return std::string(kPrefijo) + MensajeErrorEjecucion(codigo);
}

ErrorNumerico::ErrorNumerico(std::uint8_t codigo)
    : codigo_(codigo), texto_(TextoErrorEjecucion(codigo)) {}

const char* ErrorNumerico::what() const noexcept { return MensajeErrorEjecucion(codigo_); }

void ErrorEjecucion(std::uint8_t codigo) { throw ErrorNumerico(codigo); }
