// Running the built fenwa-cli and a small JSON reader for its output.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct Ejecucion {
  int estado = -1;       // exit status
  std::string salida;    // standard output
  std::string errores;   // standard error
  std::vector<std::string> Lineas() const;  // standard output split at line ends
};

// Path of the built fenwa-cli (FENWA_BIN_DIR from the environment, else the build's).
std::string RutaPrograma();
// Runs fenwa-cli with the arguments (each quoted for the shell) in the given folder;
// `antes` is shell text put just before the program (a pipe into it, a limit).
Ejecucion Ejecutar(const std::vector<std::string>& argumentos, const std::string& carpeta = "",
                   const std::string& antes = "");

// A parsed JSON value.
struct Json {
  enum class Tipo { Nulo, Booleano, Numero, Texto, Lista, Objeto } tipo = Tipo::Nulo;
  bool booleano = false;
  double numero = 0;
  std::string texto;
  std::vector<Json> lista;
  std::map<std::string, Json> objeto;

  const Json& operator[](const std::string& clave) const;
  bool EsNulo() const { return tipo == Tipo::Nulo; }
};

// Parses one JSON text; throws std::runtime_error on malformed input or trailing text.
Json LeerJson(const std::string& texto);
