#include "cli/generar.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/escritura_atomica.h"
#include "app/generacion.h"
#include "app/npy.h"
#include "app/series.h"
#include "cli/opciones.h"

namespace {

void Error(std::string texto) { ErrorEnUnaLinea(std::move(texto)); }

const char* const kAyuda =
    "Uso: fenwa-cli generar MODELO [OPCIONES] -o FICHERO\n"
    "\n"
    "Genera una serie sintética con parámetro de Hurst conocido y la escribe como fichero\n"
    "de muestras (un número por línea, con punto decimal y 6 cifras significativas).\n"
    "\n"
    "Modelos:\n"
    "  fgn        ruido fraccionario gaussiano exacto (inmersión circulante, Davies-Harte)\n"
    "  farima     FARIMA(p, d, q) con p, q = 0 o 1: FARIMA(0, d, 0) exacto y, si φ o θ no\n"
    "             son 0, el filtro ARMA(1, 1) tras un calentamiento que se descarta\n"
    "  ruido      ruido blanco gaussiano\n"
    "\n"
    "Opciones:\n"
    "  -H VALOR               parámetro de Hurst de fgn, entre 0 y 1 (por omisión 0.8)\n"
    "  -d VALOR               diferencia fraccionaria de farima, entre -0.5 y 0.5\n"
    "                         (por omisión 0.3)\n"
    "      --phi VALOR        coeficiente AR de farima, entre -1 y 1 (por omisión 0: p = 0)\n"
    "      --theta VALOR      coeficiente MA de farima, cualquier número finito (por\n"
    "                         omisión 0: q = 0)\n"
    "  -n, --longitud N       número de muestras, al menos 2 (por omisión 10000); un\n"
    "                         entero escrito también como 1e7\n"
    "      --media VALOR      media de la serie (por omisión 0)\n"
    "      --desviacion VALOR desviación típica de la serie, también en farima (no la de\n"
    "                         las innovaciones) (por omisión 1)\n"
    "      --semilla N        semilla, entero entre 0 y 18446744073709551615 (por omisión 1)\n"
    "  -o, --salida FICHERO   fichero que se escribe; - es la salida estándar\n"
    "  -h, --help             mostrar esta ayuda y salir\n"
    "\n"
    "Los valores decimales admiten punto o coma. El mismo modelo con los mismos parámetros,\n"
    "longitud y semilla da siempre la misma serie.\n"
    "Estado de salida: 0 si la serie se ha escrito; 1 por errores de uso, valores no\n"
    "válidos o un fichero que no puede escribirse; 2 si la serie no puede generarse con\n"
    "valores válidos (falta de memoria, o alguna muestra no sería un número finito o\n"
    "todas valdrían lo mismo); con 2 no se escribe nada.\n"
    "\n"
    "Ejemplos:\n"
    "  fenwa-cli generar fgn -H 0.8 -n 100000 --semilla 7 -o x.sam\n"
    "  fenwa-cli generar farima -d 0.3 --phi 0.5 --theta -0.2 -o farima.sam\n"
    "  fenwa-cli generar ruido -n 1000 --media 10 --desviacion 2 -o -\n";

struct OpcionesGenerar {
  TextosGeneracion textos;
  std::optional<std::string> salida;
};

// Parses the arguments after "generar"; returns an error text for a usage error, "" when
// fine. Sets ayuda when --help was asked for.
std::string LeerOpciones(int argc, char** argv, OpcionesGenerar& o, bool& ayuda) {
  if (argc < 2) return "falta el modelo (fgn, farima o ruido)";
  const std::string modelo = argv[1];
  if (modelo == "-h" || modelo == "--help") {
    ayuda = true;
    return {};
  }
  if (modelo == "fgn") o.textos.modelo = ModeloGenerador::Fgn;
  else if (modelo == "farima") o.textos.modelo = ModeloGenerador::Farima;
  else if (modelo == "ruido") o.textos.modelo = ModeloGenerador::Ruido;
  else return "modelo desconocido: '" + modelo + "' (fgn, farima o ruido)";

  struct Opcion {
    const char* corta;
    const char* larga;
    std::string* destino;
    bool fgn, farima, ruido;  // models it applies to
  };
  TextosGeneracion& t = o.textos;
  std::string salida;
  const Opcion opciones[] = {
      {"-H", nullptr, &t.H, true, false, false},
      {"-d", nullptr, &t.d, false, true, false},
      {nullptr, "--phi", &t.phi, false, true, false},
      {nullptr, "--theta", &t.theta, false, true, false},
      {"-n", "--longitud", &t.longitud, true, true, true},
      {nullptr, "--media", &t.media, true, true, true},
      {nullptr, "--desviacion", &t.desviacion, true, true, true},
      {nullptr, "--semilla", &t.semilla, true, true, true},
      {"-o", "--salida", &salida, true, true, true},
  };
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      ayuda = true;
      return {};
    }
    const std::optional<std::string> enLinea = SepararValorEnLinea(arg);
    const Opcion* hallada = nullptr;
    for (const Opcion& op : opciones)
      if ((op.corta && arg == op.corta) || (op.larga && arg == op.larga)) hallada = &op;
    if (!hallada) return "opción desconocida para generar: " + arg;
    const bool aplica = (o.textos.modelo == ModeloGenerador::Fgn && hallada->fgn) ||
                        (o.textos.modelo == ModeloGenerador::Farima && hallada->farima) ||
                        (o.textos.modelo == ModeloGenerador::Ruido && hallada->ruido);
    if (!aplica) return "la opción " + arg + " no se aplica al modelo " + modelo;
    if (enLinea) {
      *hallada->destino = *enLinea;
    } else {
      if (i + 1 >= argc) return "falta el valor de la opción " + arg;
      *hallada->destino = argv[++i];
    }
    if (hallada->destino == &salida) o.salida = salida;
  }
  if (!o.salida || o.salida->empty()) return "falta el fichero de salida (-o FICHERO, o -o -)";
  return {};
}

}  // namespace

int EjecutarGenerar(int argc, char** argv) {
  OpcionesGenerar o;
  bool ayuda = false;
  std::string error = LeerOpciones(argc, argv, o, ayuda);
  if (error.empty()) error = ComprobarVariableHilos();
  if (ayuda) {
    Escribir(stdout, kAyuda);
    return kSalidaExito;
  }
  if (!error.empty()) {
    Error(error);
    Error("pruebe 'fenwa-cli generar --help' para más información");
    return kSalidaUso;
  }

  ParametrosGenerador p;
  const std::string invalido = LeerParametrosGeneracion(o.textos, p);
  if (!invalido.empty()) {
    Error(invalido);
    return kSalidaUso;
  }
  // The output is opened first, so that a folder that does not exist is found before a long
  // generation; the samples are written as they are computed, without holding the series,
  // and the file takes its name only once it is whole.
  std::string rechazo, mensaje;
  const bool npy = RutaNpy(*o.salida);
  const bool escrito = EscribirFicheroAtomico(
      *o.salida,
      [&](FicheroAtomico& f) {
        if (npy && !f.Escribir(CabeceraNpy(p.n))) return false;
        bool bien = true;
        const int estado = GenerarSerieEnBloques(p, [&](const double* x, std::size_t cuantas) {
          return bien = npy ? EscribirMuestrasNpy(f, x, cuantas) : EscribirMuestras(f, x, cuantas);
        });
        rechazo = MensajeGenerador(estado, p);
        return rechazo.empty() && bien;
      },
      mensaje);
  if (!rechazo.empty()) {
    Error(rechazo);
    return kSalidaRechazo;
  }
  if (!escrito) {
    Error(mensaje);
    return kSalidaUso;
  }
  return kSalidaExito;
}
