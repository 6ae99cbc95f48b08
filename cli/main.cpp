// fenwa-cli: the analyses of the desktop program from the command line, one per file.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/analisis.h"
#include "app/comparacion.h"
#include "app/graficas.h"
#include "app/metodos.h"
#include "app/series.h"
#include "app/version.h"
#include "chart/plot_model.h"
#include "cli/contar.h"
#include "cli/generar.h"
#include "cli/json.h"
#include "cli/opciones.h"
#include "cli/salidas_comparacion.h"
#include "cli/salidas_grafica.h"
#include "numeric/error.h"
#include "numeric/fichero_atomico.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"

namespace {

constexpr int kSalidaExito = 0;
constexpr int kSalidaUso = 1;       // usage errors and files that cannot be read
constexpr int kSalidaRechazo = 2;   // an analysis refused (status, conversion, library fault)

void Error(std::string_view texto) {
  Escribir(stderr, "fenwa-cli: ");
  Escribir(stderr, texto);
  Escribir(stderr, "\n");
}

// Words separated by blanks, wrapped at 88 columns under a 27-column indent; the first
// line continues `inicio`.
std::string Envolver(std::string inicio, const std::vector<std::string>& palabras,
                     const std::string& separador) {
  const std::string sangria(27, ' ');
  std::string t;
  std::string linea = std::move(inicio);
  for (std::size_t i = 0; i < palabras.size(); ++i) {
    const std::string palabra = palabras[i] + (i + 1 < palabras.size() ? separador : "");
    if (linea.size() > sangria.size() && linea.size() + palabra.size() + 1 > 88) {
      t += linea + "\n";
      linea = sangria;
    }
    if (linea.size() > sangria.size()) linea += ' ';
    linea += palabra;
  }
  return t + linea + "\n";
}

std::string Ayuda() {
  std::string t =
      "Uso: fenwa-cli [OPCIONES] FICHERO...\n"
      "     fenwa-cli [OPCIONES] --intervalo W CAPTURA...\n"
      "     fenwa-cli generar MODELO [OPCIONES] -o FICHERO   (serie sintética; véase\n"
      "                                                      fenwa-cli generar --help)\n"
      "     fenwa-cli contar CAPTURA... --intervalo W [-o FICHERO]   (paquetes o bytes por\n"
      "                                       intervalo; véase fenwa-cli contar --help)\n"
      "\n"
      "Analiza cada serie de tráfico (fichero de números separados por blancos, con punto\n"
      "decimal) como lo haría FENWA, con los mismos parámetros para todas, y escribe el\n"
      "informe de cada análisis en la salida estándar; los informes se separan con una\n"
      "línea vacía. El nombre de cada serie es el del fichero sin carpeta ni extensión;\n"
      "un FICHERO - es la entrada estándar, y su serie se llama «entrada».\n"
      "\n"
      "Opciones:\n"
      "  -m, --metodo NOMBRE      método, tal como aparece en la lista (por omisión\n"
      "                           \"" +
      std::string(metodo::kNinguno) + "\"):\n";
  t += Envolver(std::string(27, ' '), NombresMetodos(), ",");
  t += "                           o \"" + std::string(metodo::kTodos) +
       "\": cada método que estima H, uno\n"
       "                           junto a otro (una línea por método)\n";
  t +=
      "  -p, --param CAMPO=VALOR  valor de un campo de los diálogos de parámetros, por el\n"
      "                           nombre de su control (se puede repetir). Las casillas\n"
      "                           admiten 0 o 1 y los grupos de opciones el número de la\n"
      "                           opción, desde 0. El número de bloques del test de\n"
      "                           estacionariedad es Estacion.EBloques (EBloques es el de\n"
      "                           R/S). Campos, con su valor por omisión:\n";
  std::vector<std::string> campos;
  for (const DefinicionCampo& c : TablaCampos()) campos.push_back(std::string(c.clave) + "=" + c.omision);
  t += Envolver(std::string(27, ' '), campos, "");
  t +=
      "      --media, --sin-media          calcular o no la media (por omisión, sí)\n"
      "      --varianza, --sin-varianza    calcular o no la varianza (por omisión, sí)\n"
      "      --autocorrelacion, --sin-autocorrelacion\n"
      "                           calcular o no la autocorrelación (por omisión, no)\n"
      "      --atc RUTA           con --autocorrelacion y ChGuardar=1, guardar la\n"
      "                           autocorrelación en RUTA (sin esta opción no se guarda)\n";
  for (const FormatoGrafica& f : FormatosGrafica()) {
    t += "      --" + f.opcion + " RUTA           guardar la gráfica del método, " +
         f.descripcion + "\n";
    t += "      --" + f.opcion + "-auto RUTA      guardar la gráfica de la autocorrelación\n";
  }
  t += AyudaComparacion();
  t +=
      "                           En RUTA, {nombre} se sustituye por el nombre de la serie.\n"
      "      --fecha              añadir la línea con la fecha y la hora del análisis\n"
      "      --creditos           añadir la línea de créditos\n"
      "      --separador SEP      separador decimal del informe: . (por omisión) o ,\n"
      "      --json               en lugar del informe, un objeto JSON por fichero y línea\n"
      "                           (nombre, longitud, metodo, estado, mensaje, valor, ic,\n"
      "                           coeficientes, constante, x, y, media, varianza, informe,\n"
      "                           y aviso si H queda fuera de [0, 1]; con -m Todos, además\n"
      "                           metodos: una lista con metodo, estado, mensaje, valor, ic\n"
      "                           y aviso de cada método)\n"
      "  -j, --trabajos N         analizar N ficheros a la vez (por omisión, 1); la salida\n"
      "                           sigue el orden de los ficheros y es la misma que con 1\n"
      "      --hilos N            hilos de cálculo de cada análisis (por omisión, tantos\n"
      "                           como núcleos, repartidos entre los ficheros de -j);\n"
      "                           también con la variable de entorno FENWA_HILOS=N.\n"
      "                           Los resultados no dependen del número de hilos\n"
      "      --progreso, --sin-progreso\n"
      "                           mostrar o no el avance en la salida de errores (por\n"
      "                           omisión, sólo si es un terminal)\n";
  t += AyudaOpcionesCaptura();
  t +=
      "  -h, --help               mostrar esta ayuda y salir\n"
      "      --version            mostrar la versión y salir\n"
      "\n"
      "Los mensajes (ficheros ilegibles, parámetros no válidos) van a la salida de errores.\n"
      "Estado de salida: 0 si todos los análisis terminan bien; 2 si alguno se rechaza\n"
      "(parámetro fuera de rango, valor no válido, fallo numérico, media o varianza que no\n"
      "pueden representarse, -m Todos sin ninguna estimación); 1 por errores de uso,\n"
      "ficheros que no pueden leerse o que no tienen el formato adecuado, o ficheros\n"
      "(gráficas, autocorrelaciones) que no pueden escribirse. Un fichero que no puede\n"
      "escribirse entero no se deja a medias: si ya existía, queda como estaba.\n"
      "\n"
      "Ejemplo:\n"
      "  fenwa-cli -m R/S -p EBloques=10 examples/NileMin.sam\n";
  return t;
}

struct Opciones {
  SeleccionAnalisis seleccion;
  AnalysisParameters parametros;
  MarcasMenu marcas;
  char separador = '.';
  bool json = false;
  bool version = false;  // --version: print the version and end
  std::optional<std::string> atc;
  // Per chart format: path of the method chart and of the autocorrelation chart.
  std::vector<std::optional<std::string>> graficaMetodo, graficaAuto;
  std::vector<std::string> ficheros;
  unsigned trabajos = 1;              // -j: files analysed at once
  unsigned hilos = 0;                 // --hilos: threads of each analysis (0: default)
  std::optional<bool> progreso;       // --progreso / --sin-progreso; default: a terminal
  OpcionesComparacion comparacion;    // --csv, --referencia
  OpcionesCaptura captura;            // --intervalo and the rest: the files are captures
};

// The name of the series of a file; "entrada" for the standard input ("-").
std::string NombreSerie(const std::string& ruta) {
  return ruta == "-" ? "entrada" : NombreSerieDeRuta(ruta);
}

// Replaces every "{nombre}" in the path by the series name.
std::string Ruta(std::string ruta, const std::string& nombre) {
  const std::string marca = "{nombre}";
  for (std::size_t p = ruta.find(marca); p != std::string::npos;
       p = ruta.find(marca, p + nombre.size())) {
    ruta.replace(p, marca.size(), nombre);
  }
  return ruta;
}

// Parses the command line; returns an error text for a usage error, "" when fine.
// Sets ayuda when --help was asked for.
std::string LeerOpciones(int argc, char** argv, Opciones& o, bool& ayuda) {
  const auto& formatos = FormatosGrafica();
  o.graficaMetodo.assign(formatos.size(), std::nullopt);
  o.graficaAuto.assign(formatos.size(), std::nullopt);
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
    const std::optional<std::string> enLinea = SepararValorEnLinea(arg);
    auto valor = [&](std::string& destino) -> std::string {
      if (enLinea) {
        destino = *enLinea;
        return {};
      }
      if (i + 1 >= argc) return "falta el valor de la opción " + arg;
      destino = argv[++i];
      return {};
    };
    auto sinValor = [&]() -> std::string {
      return enLinea ? "la opción " + arg + " no admite valor" : std::string();
    };
    std::string v, error;
    if (arg == "-h" || arg == "--help") {
      ayuda = true;
      return {};
    } else if (arg == "--version") {
      o.version = true;
      return {};
    } else if (arg == "-m" || arg == "--metodo") {
      if (!(error = valor(v)).empty()) return error;
      if (!BuscarMetodo(v) && v != metodo::kTodos) return "método desconocido: '" + v + "'";
      o.seleccion.metodo = v;
    } else if (arg == "-p" || arg == "--param") {
      if (!(error = valor(v)).empty()) return error;
      const std::size_t igual = v.find('=');
      if (igual == std::string::npos) return "se esperaba CAMPO=VALOR y no '" + v + "'";
      error = AsignarCampo(o.parametros, v.substr(0, igual), v.substr(igual + 1));
      if (!error.empty()) return error;
    } else if (arg == "--media" || arg == "--sin-media") {
      if (!(error = sinValor()).empty()) return error;
      o.seleccion.media = arg == "--media";
    } else if (arg == "--varianza" || arg == "--sin-varianza") {
      if (!(error = sinValor()).empty()) return error;
      o.seleccion.varianza = arg == "--varianza";
    } else if (arg == "--autocorrelacion" || arg == "--sin-autocorrelacion") {
      if (!(error = sinValor()).empty()) return error;
      o.seleccion.autocorrelacion = arg == "--autocorrelacion";
    } else if (arg == "--atc") {
      if (!(error = valor(v)).empty()) return error;
      o.atc = v;
    } else if (arg == "--fecha") {
      if (!(error = sinValor()).empty()) return error;
      o.marcas.fechaHora = true;
    } else if (arg == "--creditos") {
      if (!(error = sinValor()).empty()) return error;
      o.marcas.creditos = true;
    } else if (arg == "--separador") {
      if (!(error = valor(v)).empty()) return error;
      if (v != "." && v != ",") return "el separador decimal debe ser . o , y no '" + v + "'";
      o.separador = v[0];
    } else if (arg == "--json") {
      if (!(error = sinValor()).empty()) return error;
      o.json = true;
    } else if (arg == "-j" || arg == "--trabajos" || arg == "--hilos") {
      if (!(error = valor(v)).empty()) return error;
      if (!(error = LeerNumeroDeHilos(arg, v, arg == "--hilos" ? o.hilos : o.trabajos)).empty())
        return error;
    } else if (arg == "--progreso" || arg == "--sin-progreso") {
      if (!(error = sinValor()).empty()) return error;
      o.progreso = arg == "--progreso";
    } else if (LeerOpcionComparacion(arg, valor, o.comparacion, error)) {
      if (!error.empty()) return error;
    } else if (const std::optional<std::string> e = LeerOpcionCaptura(arg, enLinea, i, argc, argv, o.captura)) {
      if (!e->empty()) return *e;
    } else {
      bool hallada = false;
      for (std::size_t f = 0; f < formatos.size() && !hallada; ++f) {
        const std::string metodo = "--" + formatos[f].opcion;
        const std::string autoc = metodo + "-auto";
        if (arg == metodo || arg == autoc) {
          if (!(error = valor(v)).empty()) return error;
          (arg == metodo ? o.graficaMetodo : o.graficaAuto)[f] = v;
          hallada = true;
        }
      }
      if (!hallada) return "opción desconocida: " + arg;
    }
  }
  if (o.ficheros.empty()) return "no se ha indicado ningún fichero";
  return ComprobarOpcionesCaptura(o.captura);
}

class PreguntaCli : public PreguntaGuardar {
 public:
  explicit PreguntaCli(const std::optional<std::string>& ruta) : ruta_(ruta) {}
  void FijarNombre(const std::string& nombre) { nombre_ = nombre; }
  std::optional<std::string> PreguntarRuta(const std::string&, const std::string&) override {
    if (!ruta_) return std::nullopt;
    return Ruta(*ruta_, nombre_);
  }

 private:
  const std::optional<std::string>& ruta_;
  std::string nombre_;
};

// The clock with the regional date and time formats (LC_TIME only; numbers keep the C
// locale).
class RelojCli : public ServiciosInterfaz {
 public:
  std::string FechaActual() override { return Ahora("%x"); }
  std::string HoraActual() override { return Ahora("%X"); }

 private:
  static std::string Ahora(const char* formato) {
    const std::time_t t = std::time(nullptr);
    std::tm momento{};
    localtime_r(&t, &momento);
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, formato, &momento);
    return std::string(buf, n);
  }
};

std::string ObjetoJson(const std::string& nombre, std::uint32_t longitud,
                       const std::string& metodo, const ResultadoAnalisis& r,
                       const std::vector<std::string>& informe) {
  std::string j = "{";
  j += "\"nombre\":" + JsonTexto(nombre);
  j += ",\"longitud\":" + FormatoI(longitud);
  j += ",\"metodo\":" + JsonTexto(metodo);
  j += ",\"estado\":" + FormatoI(r.estado);
  j += ",\"mensaje\":" + (r.mensaje.empty() ? std::string("null") : JsonTexto(r.mensaje));
  j += ",\"valor\":" + JsonNumero(r.valor);
  j += ",\"ic\":" + JsonIntervalo(r.icBajo, r.icAlto);
  if (!r.aviso.empty()) j += ",\"aviso\":" + JsonTexto(r.aviso);
  j += ",\"coeficientes\":" +
       (r.coeficientes.empty() ? std::string("null") : JsonLista(r.coeficientes));
  j += ",\"constante\":" + (r.constante ? FormatoI(*r.constante) : std::string("null"));
  j += ",\"x\":" + (r.x ? JsonLista(*r.x) : std::string("null"));
  if (metodo == metodo::kTodos) {
    j += ",\"metodos\":[";
    for (std::size_t i = 0; i < r.metodos.size(); ++i) {
      const ResultadoAnalisis::MetodoComparado& m = r.metodos[i];
      if (i) j += ',';
      j += "{\"metodo\":" + JsonTexto(m.metodo);
      j += ",\"estado\":" + FormatoI(m.estado);
      j += ",\"mensaje\":" + (m.mensaje.empty() ? std::string("null") : JsonTexto(m.mensaje));
      j += ",\"valor\":" + JsonNumero(m.valor);
      j += ",\"ic\":" + JsonIntervalo(m.icBajo, m.icAlto);
      if (!m.aviso.empty()) j += ",\"aviso\":" + JsonTexto(m.aviso);
      j += "}";
    }
    j += "]";
  }
  j += ",\"y\":" + (r.y ? JsonLista(*r.y) : std::string("null"));
  j += ",\"media\":" + JsonNumero(r.media);
  j += ",\"varianza\":" + JsonNumero(r.varianza);
  j += ",\"informe\":" + JsonLista(informe);
  j += "}\n";
  return j;
}

// What the analysis of one file leaves for the output, which is written in input order.
struct Fichero {
  std::string ruta;
  std::string nombre;
  std::string errores;                // standard error before the report
  std::optional<std::string> informe;  // standard output, without the separating blank line
  bool errorUso = false;              // a file that cannot be read
  bool rechazo = false;               // an analysis that did not succeed
  bool escrituraFallida = false;      // the .atc file could not be written
  std::unique_ptr<TPlotModel> plot1, plot2;  // for the chart files
  std::optional<std::string> csv;     // for --csv
  // Progress, read by the thread that shows it.
  enum Fase { Espera, Leyendo, Analizando, Hecho };
  std::atomic<int> fase{Espera};
  ControlProgreso lectura, analisis;
};

class MensajesCli : public DestinoMensajes {
 public:
  explicit MensajesCli(Fichero& f) : f_(f) {}
  void MostrarMensaje(const std::string& texto, TipoMensaje) override {
    f_.errores += "fenwa-cli: " + f_.ruta + ": " + texto + "\n";
  }

 private:
  Fichero& f_;
};

// Shows on standard error how the files in progress advance: on a terminal one line
// rewritten in place, elsewhere one line a second.
class IndicadorProgreso {
 public:
  IndicadorProgreso(std::vector<std::unique_ptr<Fichero>>& ficheros, bool terminal)
      : ficheros_(ficheros), terminal_(terminal), hilo_([this] { Mostrar(); }) {}
  ~IndicadorProgreso() {
    {
      std::lock_guard<std::mutex> bloqueo(cerrojo_);
      fin_ = true;
    }
    despertar_.notify_all();
    hilo_.join();
    Borrar();
  }
  // Standard error is shared: what the tool writes there goes through here.
  void Escribir(std::FILE* f, std::string_view texto) {
    std::lock_guard<std::mutex> bloqueo(cerrojo_);
    if (f == stderr) Borrar();
    ::Escribir(f, texto);
  }
  void Terminado() { ++terminados_; }
  // A file enters a new phase: away from a terminal, one line says so at once.
  void Fase(const Fichero& f) {
    if (terminal_) return;
    std::lock_guard<std::mutex> bloqueo(cerrojo_);
    ::Escribir(stderr, Linea(f) + "\n");
  }

 private:
  void Borrar() {
    if (terminal_ && mostrado_) ::Escribir(stderr, "\r\033[K");
    mostrado_ = false;
  }

  // "ruta: leyendo 45 %" or "ruta: analizando 3 %".
  static std::string Estado(const Fichero& f) {
    const bool leyendo = f.fase.load() == Fichero::Leyendo;
    const double fraccion = leyendo ? f.lectura.Fraccion() : f.analisis.Fraccion();
    return f.ruta + (leyendo ? ": leyendo " : ": analizando ") +
           FormatoI(static_cast<long long>(fraccion * 100)) + " %";
  }
  static std::string Linea(const Fichero& f) {
    std::string linea = "fenwa-cli: ";
    linea += Estado(f);
    return linea;
  }

  void Mostrar() {
    std::unique_lock<std::mutex> bloqueo(cerrojo_);
    const auto periodo = std::chrono::milliseconds(terminal_ ? 200 : 1000);
    while (!despertar_.wait_for(bloqueo, periodo, [this] { return fin_; })) {
      std::string linea = "fenwa-cli:";
      if (ficheros_.size() > 1)
        linea += " " + FormatoI(terminados_.load()) + "/" + FormatoI(ficheros_.size()) + ";";
      int enCurso = 0;
      for (const auto& f : ficheros_) {
        const int fase = f->fase.load();
        if (fase != Fichero::Leyendo && fase != Fichero::Analizando) continue;
        if (enCurso++ > 0) linea += ",";
        linea += ' ';
        linea += Estado(*f);
      }
      if (enCurso == 0) continue;
      if (terminal_) {
        ::Escribir(stderr, "\r\033[K" + linea);
        mostrado_ = true;
      } else {
        ::Escribir(stderr, linea + "\n");
      }
      std::fflush(stderr);
    }
  }

  std::vector<std::unique_ptr<Fichero>>& ficheros_;
  const bool terminal_;
  std::mutex cerrojo_;
  std::condition_variable despertar_;
  bool fin_ = false;
  bool mostrado_ = false;
  std::atomic<std::size_t> terminados_{0};
  std::thread hilo_;
};

// Reads and analyses one file, leaving everything it writes in f.
void Analizar(const Opciones& o, Fichero& f, IndicadorProgreso* indicador) {
  Vector datos;
  {
    f.fase = Fichero::Leyendo;
    if (indicador) indicador->Fase(f);
    ProgresoInstalado instalado(f.lectura);
    std::string mensaje;
    if (o.captura.intervalo) {
      f.errorUso = !SerieDeCaptura(f.ruta, o.captura, datos, f.errores);
    } else if (const std::string rechazo = RechazoCapturaSinIntervalo(f.ruta); !rechazo.empty()) {
      f.errores += "fenwa-cli: " + rechazo + "\n";
      f.errorUso = true;
    } else if ((datos = ReadSampleFile(f.ruta, mensaje)).Longitud() == 0) {
      f.errores += "fenwa-cli: " + mensaje + "\n";
      f.errorUso = true;
    }
    if (f.errorUso) return;
  }
  f.fase = Fichero::Analizando;
  if (indicador) indicador->Fase(f);
  ProgresoInstalado instalado(f.analisis);
  f.nombre = o.captura.intervalo ? NombreSerieFichero(f.ruta, o.captura) : NombreSerie(f.ruta);

  RegistroResultados log;
  f.plot1 = std::make_unique<TPlotModel>();
  f.plot2 = std::make_unique<TPlotModel>();
  AplicarDisenoGrafica(*f.plot1);
  AplicarDisenoGrafica(*f.plot2);
  f.plot1->SetCaption("Método");  // captions of the charts window's two charts
  f.plot2->SetCaption("Autocorrelación");
  DestinoModelo sink1(*f.plot1), sink2(*f.plot2);
  PreguntaCli pregunta(o.atc);
  pregunta.FijarNombre(f.nombre);
  MensajesCli mensajes(f);
  RelojCli reloj;

  EntornoAnalisis entorno;
  entorno.log = &log;
  entorno.graficaMetodo = &sink1;
  entorno.graficaAuto = &sink2;
  entorno.guardarAuto = &pregunta;
  entorno.mensajes = &mensajes;
  entorno.hooks = &reloj;
  entorno.separador = o.separador;
  entorno.referencia = o.comparacion.referencia;
  Analizador driver(entorno);
  const ResultadoAnalisis r = driver.Analizar(f.nombre, datos, o.seleccion, o.parametros, o.marcas);
  f.rechazo = !r.Todo();
  if (o.comparacion.csv) f.csv = CsvResultados(o.seleccion.metodo, r);
  f.escrituraFallida = r.escrituraFallida;
  if (o.json) {
    f.informe = ObjetoJson(f.nombre, datos.Longitud(), o.seleccion.metodo, r, log.Lineas());
  } else {
    std::string texto;
    for (const std::string& linea : log.Lineas()) texto += linea + "\n";
    f.informe = std::move(texto);
  }
}

// Whether two files would write to one path: then they are analysed one after another, so
// that the file left is the one of the last of them, as without -j.
bool RutasCompartidas(const Opciones& o, const std::vector<std::string>& nombres) {
  std::vector<const std::optional<std::string>*> plantillas = {&o.atc, &o.comparacion.csv};
  for (const auto& r : o.graficaMetodo) plantillas.push_back(&r);
  for (const auto& r : o.graficaAuto) plantillas.push_back(&r);
  std::set<std::string> rutas;
  for (const auto* plantilla : plantillas) {
    if (!*plantilla) continue;
    for (const std::string& nombre : nombres)
      if (!rutas.insert(Ruta(**plantilla, nombre)).second) return true;
  }
  return false;
}

int Ejecutar(int argc, char** argv) {
  Opciones o;
  bool ayuda = false;
  std::string error = LeerOpciones(argc, argv, o, ayuda);
  if (error.empty()) error = ComprobarVariableHilos();
  if (ayuda) {
    Escribir(stdout, Ayuda());
    return kSalidaExito;
  }
  if (o.version) {
    Escribir(stdout, "fenwa-cli " + std::string(kVersionFenwa) + "\n");
    return kSalidaExito;
  }
  if (!error.empty()) {
    Error(error);
    Error("pruebe 'fenwa-cli --help' para más información");
    return kSalidaUso;
  }

  std::vector<std::unique_ptr<Fichero>> ficheros;
  std::vector<std::string> nombres;
  for (const std::string& ruta : o.ficheros) {
    ficheros.push_back(std::make_unique<Fichero>());
    ficheros.back()->ruta = ruta;
    nombres.push_back(o.captura.intervalo ? NombreSerieFichero(ruta, o.captura) : NombreSerie(ruta));
  }
  std::size_t trabajos = std::min<std::size_t>(o.trabajos, ficheros.size());
  if (trabajos > 1 && RutasCompartidas(o, nombres)) trabajos = 1;
  // The cores are shared among the files analysed at once, unless --hilos says otherwise.
  if (o.hilos > 0)
    FijarHilosDeCalculo(o.hilos);
  else if (trabajos > 1)
    FijarHilosDeCalculo(std::max<unsigned>(1, HilosDeCalculo() / static_cast<unsigned>(trabajos)));

  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  std::optional<IndicadorProgreso> indicador;
  if (o.progreso.value_or(terminal)) indicador.emplace(ficheros, terminal);
  auto escribir = [&](std::FILE* f, std::string_view texto) {
    if (indicador)
      indicador->Escribir(f, texto);
    else
      Escribir(f, texto);
  };

  // Files are taken in order by `trabajos` threads while this one writes the output in
  // input order, whatever the order in which they finish; -j 1 analyses here.
  std::mutex cerrojo;
  std::condition_variable listo;
  std::vector<char> hecho(ficheros.size(), 0);
  std::atomic<std::size_t> siguiente{0};
  auto trabajar = [&] {
    for (;;) {
      const std::size_t i = siguiente.fetch_add(1);
      if (i >= ficheros.size()) return;
      Analizar(o, *ficheros[i], indicador ? &*indicador : nullptr);
      ficheros[i]->fase = Fichero::Hecho;
      {
        std::lock_guard<std::mutex> bloqueo(cerrojo);
        hecho[i] = 1;
      }
      listo.notify_all();
    }
  };
  std::vector<std::thread> hilos;
  if (trabajos > 1)
    for (std::size_t h = 0; h < trabajos; ++h) hilos.emplace_back(trabajar);

  int salida = kSalidaExito;
  bool primero = true;
  const auto& formatos = FormatosGrafica();
  for (std::size_t i = 0; i < ficheros.size(); ++i) {
    if (trabajos <= 1) {
      siguiente = i + 1;
      Analizar(o, *ficheros[i], indicador ? &*indicador : nullptr);
      ficheros[i]->fase = Fichero::Hecho;
    } else {
      std::unique_lock<std::mutex> bloqueo(cerrojo);
      listo.wait(bloqueo, [&] { return hecho[i] != 0; });
    }
    Fichero& f = *ficheros[i];
    if (indicador) indicador->Terminado();
    escribir(stderr, f.errores);
    if (f.errorUso) {
      salida = kSalidaUso;
      continue;
    }
    if (f.escrituraFallida) salida = kSalidaUso;
    if (f.rechazo && salida == kSalidaExito) salida = kSalidaRechazo;
    if (f.informe) {
      if (!o.json && !primero) escribir(stdout, "\n");
      escribir(stdout, *f.informe);
      primero = false;
    }
    for (std::size_t k = 0; k < formatos.size(); ++k) {
      const std::pair<const std::optional<std::string>*, TPlotModel*> graficas[] = {
          {&o.graficaMetodo[k], f.plot1.get()}, {&o.graficaAuto[k], f.plot2.get()}};
      for (const auto& [ruta, modelo] : graficas) {
        if (!*ruta) continue;
        const std::string mensaje = formatos[k].guardar(*modelo, Ruta(**ruta, f.nombre));
        if (!mensaje.empty()) {
          escribir(stderr, "fenwa-cli: " + mensaje + "\n");
          salida = kSalidaUso;
        }
      }
    }
    if (f.csv) {
      const std::string error = EscribirCsv(o.comparacion, f.nombre, *f.csv);
      if (!error.empty()) {
        escribir(stderr, error);
        salida = kSalidaUso;
      }
    }
    std::fflush(stdout);
    // What was kept for the output is not needed any more.
    f.informe.reset();
    f.csv.reset();
    f.plot1.reset();
    f.plot2.reset();
  }
  for (std::thread& h : hilos) h.join();
  return salida;
}

}  // namespace

int main(int argc, char** argv) {
  // An interrupted run leaves no temporary file behind (numeric/fichero_atomico.h).
  BorrarTemporalesAlInterrumpir();
  if (argc > 1 && std::string_view(argv[1]) == "generar")
    return EjecutarGenerar(argc - 1, argv + 1);
  if (argc > 1 && std::string_view(argv[1]) == "contar")
    return EjecutarContar(argc - 1, argv + 1);
  // Only the date and time follow the user's settings; numbers never go through the locale.
  std::setlocale(LC_TIME, "");
  try {
    return Ejecutar(argc, argv);
  } catch (const ErrorNumerico& error) {
    // A fault outside an analysis (the driver handles those inside one).
    Error(error.Texto());
    return kSalidaUso;
  }
}
