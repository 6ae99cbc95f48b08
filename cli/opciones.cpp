#include "cli/opciones.h"

#include "app/metodos.h"
#include "app/series.h"
#include "cli/salidas_grafica.h"

namespace {

// One option being read: its name (without "=valor"), the value written in line if any,
// and where the arguments after it are.
struct Argumento {
  std::string nombre;
  std::optional<std::string> enLinea;
  int& i;
  int argc;
  char** argv;

  // The option's value, in line or the next argument (i moves past it): "" or the error.
  std::string Valor(std::string& destino) {
    if (enLinea) {
      destino = *enLinea;
      return {};
    }
    if (i + 1 >= argc) return "falta el valor de la opción " + nombre;
    destino = argv[++i];
    return {};
  }
};

// An option without a value for a yes/no choice: `si` sets it, `no` (where there is one)
// clears it.
struct Interruptor {
  const char* si;
  const char* no;
  void (*poner)(Opciones& o, bool valor);
};

const Interruptor kInterruptores[] = {
    {"--media", "--sin-media", [](Opciones& o, bool v) { o.seleccion.media = v; }},
    {"--varianza", "--sin-varianza", [](Opciones& o, bool v) { o.seleccion.varianza = v; }},
    {"--autocorrelacion", "--sin-autocorrelacion",
     [](Opciones& o, bool v) { o.seleccion.autocorrelacion = v; }},
    {"--fecha", nullptr, [](Opciones& o, bool v) { o.marcas.fechaHora = v; }},
    {"--creditos", nullptr, [](Opciones& o, bool v) { o.marcas.creditos = v; }},
    {"--json", nullptr, [](Opciones& o, bool v) { o.json = v; }},
    {"--progreso", "--sin-progreso", [](Opciones& o, bool v) { o.progreso = v; }},
};

std::string LeerMetodo(const std::string&, const std::string& v, Opciones& o) {
  if (!BuscarMetodo(v) && v != metodo::kTodos) return "método desconocido: '" + v + "'";
  o.seleccion.metodo = v;
  return {};
}

std::string LeerCampo(const std::string&, const std::string& v, Opciones& o) {
  const std::size_t igual = v.find('=');
  if (igual == std::string::npos) return "se esperaba CAMPO=VALOR y no '" + v + "'";
  return AsignarCampo(o.parametros, v.substr(0, igual), v.substr(igual + 1));
}

std::string LeerSeparador(const std::string&, const std::string& v, Opciones& o) {
  if (v != "." && v != ",") return "el separador decimal debe ser . o , y no '" + v + "'";
  o.separador = v[0];
  return {};
}

// An option with a value: its names and what reads the value ("" or the error text).
struct OpcionConValor {
  const char* corta;
  const char* larga;
  std::string (*leer)(const std::string& nombre, const std::string& valor, Opciones& o);
};

const OpcionConValor kOpcionesConValor[] = {
    {"-m", "--metodo", LeerMetodo},
    {"-p", "--param", LeerCampo},
    {nullptr, "--atc", [](const std::string&, const std::string& v, Opciones& o) {
       o.atc = v;
       return std::string();
     }},
    {nullptr, "--separador", LeerSeparador},
    {"-j", "--trabajos", [](const std::string& nombre, const std::string& v, Opciones& o) {
       return LeerNumeroDeHilos(nombre, v, o.trabajos);
     }},
    {nullptr, "--hilos", [](const std::string& nombre, const std::string& v, Opciones& o) {
       return LeerNumeroDeHilos(nombre, v, o.hilos);
     }},
};

// --<formato> RUTA and --<formato>-auto RUTA of the chart formats; nullopt for any other.
std::optional<std::string> LeerOpcionGrafica(Argumento& a, Opciones& o) {
  const auto& formatos = FormatosGrafica();
  for (std::size_t f = 0; f < formatos.size(); ++f) {
    const std::string metodo = "--" + formatos[f].opcion;
    if (a.nombre != metodo && a.nombre != metodo + "-auto") continue;
    std::string v;
    if (std::string error = a.Valor(v); !error.empty()) return error;
    (a.nombre == metodo ? o.graficaMetodo : o.graficaAuto)[f] = v;
    return std::string();
  }
  return std::nullopt;
}

// Reads the option (and its value): "" or the error text.
std::string LeerOpcion(Argumento& a, Opciones& o) {
  for (const Interruptor& s : kInterruptores) {
    if (a.nombre != s.si && (!s.no || a.nombre != s.no)) continue;
    if (a.enLinea) return "la opción " + a.nombre + " no admite valor";
    s.poner(o, a.nombre == s.si);
    return {};
  }
  for (const OpcionConValor& op : kOpcionesConValor) {
    if ((!op.corta || a.nombre != op.corta) && a.nombre != op.larga) continue;
    std::string v;
    if (std::string error = a.Valor(v); !error.empty()) return error;
    return op.leer(a.nombre, v, o);
  }
  std::string error;
  if (LeerOpcionComparacion(a.nombre, [&a](std::string& v) { return a.Valor(v); }, o.comparacion,
                            error))
    return error;
  if (const std::optional<std::string> e =
          LeerOpcionCaptura(a.nombre, a.enLinea, a.i, a.argc, a.argv, o.captura))
    return *e;
  if (const std::optional<std::string> e = LeerOpcionGrafica(a, o)) return *e;
  return "opción desconocida: " + a.nombre;
}

}  // namespace

std::string LeerOpciones(int argc, char** argv, Opciones& o, bool& ayuda) {
  const std::size_t formatos = FormatosGrafica().size();
  o.graficaMetodo.assign(formatos, std::nullopt);
  o.graficaAuto.assign(formatos, std::nullopt);
  o.marcas.fechaHora = false;
  o.marcas.creditos = false;
  bool soloFicheros = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (soloFicheros || arg.empty() || arg[0] != '-' || arg == "-") {
      o.ficheros.push_back(arg);
      continue;
    }
    if (arg == "--") {
      soloFicheros = true;
      continue;
    }
    std::optional<std::string> enLinea = SepararValorEnLinea(arg);
    if (arg == "-h" || arg == "--help") {
      ayuda = true;
      return {};
    }
    if (arg == "--version") {
      o.version = true;
      return {};
    }
    Argumento a{std::move(arg), std::move(enLinea), i, argc, argv};
    if (std::string error = LeerOpcion(a, o); !error.empty()) return error;
  }
  if (o.ficheros.empty()) return "no se ha indicado ningún fichero";
  return ComprobarOpcionesCaptura(o.captura);
}

std::string NombreSerie(const std::string& ruta, const Opciones& o) {
  if (o.captura.intervalo) return NombreSerieFichero(ruta, o.captura);
  return ruta == "-" ? "entrada" : NombreSerieDeRuta(ruta);
}

std::string Ruta(std::string ruta, const std::string& nombre) {
  const std::string marca = "{nombre}";
  for (std::size_t p = ruta.find(marca); p != std::string::npos;
       p = ruta.find(marca, p + nombre.size())) {
    ruta.replace(p, marca.size(), nombre);
  }
  return ruta;
}
