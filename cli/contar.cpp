#include "cli/contar.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>


#include "app/escritura_atomica.h"
#include "app/npy.h"
#include "cli/opciones.h"
#include "numeric/progreso.h"

namespace {

void Error(std::string texto) { ErrorEnUnaLinea(std::move(texto)); }

const char* const kPistaTexto =
    "si es una traza de texto (una línea por paquete con su hora en segundos y su tamaño en "
    "bytes), léala con --formato texto";

const char* const kAyuda =
    "Uso: fenwa-cli contar CAPTURA... --intervalo W [--bytes] [--filtro EXPR]\n"
    "                     [--formato texto] [-o FICHERO]\n"
    "\n"
    "Cuenta los paquetes de una captura (o, con --bytes, sus bytes) por intervalos de\n"
    "tiempo de anchura W y escribe la serie como fichero de muestras: un número entero por\n"
    "línea. Varias capturas (las partes de una captura rotada, en cualquier orden) son una\n"
    "sola traza y dan una sola serie. Las capturas son pcap (marcas en microsegundos o\n"
    "nanosegundos, en cualquier orden de bytes) o pcapng (con cualquier número de\n"
    "interfaces y resoluciones), sin comprimir o comprimidas con gzip o zstd: el formato se\n"
    "reconoce por el contenido, no por el nombre.\n"
    "\n"
    "La regla, sobre nanosegundos enteros desde 1970 (UTC):\n"
    "  - el origen t0 es la hora del primer paquete de toda la entrada (también de los que\n"
    "    el filtro descarta), redondeada hacia abajo a un múltiplo de W;\n"
    "  - el paquete de hora t va al intervalo floor((t - t0) / W), aunque llegue fuera de\n"
    "    orden;\n"
    "  - hay K = floor((t_ultimo - t0) / W) intervalos, del 0 al K-1: el que contiene el\n"
    "    último paquete está incompleto y se descarta; los intervalos vacíos valen 0.\n"
    "\n"
    "Opciones:\n"
    "      --intervalo W        anchura de los intervalos, un número entero de\n"
    "                           nanosegundos: 10ms, 100us, 250ns, 1s o segundos sin\n"
    "                           unidad (0.01); hacen falta entre 1 y 1000000000 intervalos\n"
    "      --bytes              contar la longitud original de cada paquete (la que tuvo en\n"
    "                           la red, no la capturada) en lugar de los paquetes\n"
    "      --filtro EXPR        contar solo los paquetes que pasan el filtro EXPR, con la\n"
    "                           sintaxis de libpcap y tcpdump (\"tcp\", \"udp port 53\")\n"
    "      --formato texto      las entradas son trazas de texto: una línea por paquete con\n"
    "                           su hora en segundos y su tamaño en bytes; las líneas vacías\n"
    "                           y lo que sigue a # no cuentan\n"
    "  -o, --salida FICHERO     fichero que se escribe (por omisión, o con -, la salida\n"
    "                           estándar); si la orden falla, no se escribe ni se toca\n"
    "  -h, --help               mostrar esta ayuda y salir\n"
    "\n"
    "El resumen va a la salida de errores: paquetes leídos, contados, descartados por el\n"
    "filtro y fuera de los intervalos (los del último, incompleto), el número de intervalos,\n"
    "su anchura y el origen como fecha y hora. Una captura cortada mientras se escribía se\n"
    "cuenta hasta su último paquete completo, con un aviso.\n"
    "Estado de salida: 0 si la serie se ha escrito (también con avisos); 1 por errores de\n"
    "uso, intervalos o filtros no válidos, ficheros que no pueden leerse, que no son\n"
    "capturas o que están dañados, menos de un intervalo completo o más de 1000000000, o un\n"
    "fichero que no puede escribirse.\n"
    "\n"
    "Ejemplos:\n"
    "  fenwa-cli contar examples/bellcore_pAug89.pcap --intervalo 10ms -o paquetes.sam\n"
    "  fenwa-cli contar lunes.pcap.zst martes.pcap.zst --intervalo 1s --bytes --filtro tcp\n"
    "  fenwa-cli contar traza.txt --formato texto --intervalo 0.01 -o -\n";

std::string NoEsCaptura(const ResultadoConteo& r) {
  std::string t = "fenwa-cli: " + r.error + "\n";
  if (r.pareceTexto) t += std::string("fenwa-cli: ") + kPistaTexto + "\n";
  return t;
}

// The counts in the sample-file notation: one whole number per line.
void TextoCuentas(const std::vector<std::uint64_t>& cuentas, std::string& bloque, std::size_t& siguiente) {
  bloque.clear();
  char numero[32];
  while (siguiente < cuentas.size() && bloque.size() < (1u << 16)) {
    // At most 20 digits: the room left for the line end is never short.
    const std::to_chars_result r = std::to_chars(numero, numero + 24, cuentas[siguiente++]);
    bloque.append(numero, r.ptr);
    bloque += '\n';
  }
}

// Writes the counts, one whole number per line, into the file being written.
bool EscribirCuentas(FicheroAtomico& fichero, const std::vector<std::uint64_t>& cuentas) {
  std::string bloque;
  std::size_t siguiente = 0;
  while (siguiente < cuentas.size()) {
    TextoCuentas(cuentas, bloque, siguiente);
    if (!fichero.Escribir(bloque)) return false;
  }
  return true;
}

OpcionesConteo Conteo(const OpcionesCaptura& o) {
  OpcionesConteo c;
  c.intervalo = *o.intervalo;
  c.bytes = o.bytes;
  c.filtro = o.filtro.value_or("");
  c.formato = o.formato;
  return c;
}

// The command line of contar.
struct OrdenContar {
  OpcionesCaptura captura;
  std::vector<std::string> rutas;
  std::optional<std::string> salida;
};

// Parses the arguments after "contar"; returns an error text for a usage error, "" when
// fine. Sets ayuda when --help comes before any error.
std::string LeerOrdenContar(int argc, char** argv, OrdenContar& c, bool& ayuda) {
  bool soloFicheros = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (soloFicheros || arg.empty() || arg[0] != '-' || arg == "-") {
      c.rutas.push_back(arg);
      continue;
    }
    if (arg == "--") {
      soloFicheros = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      ayuda = true;
      return {};
    }
    const std::optional<std::string> enLinea = SepararValorEnLinea(arg);
    if (arg == "-o" || arg == "--salida") {
      if (enLinea) c.salida = *enLinea;
      else if (i + 1 < argc) c.salida = argv[++i];
      else return "falta el valor de la opción " + arg;
    } else if (const std::optional<std::string> e = LeerOpcionCaptura(arg, enLinea, i, argc, argv, c.captura)) {
      if (!e->empty()) return *e;
    } else {
      return "opción desconocida para contar: " + arg;
    }
  }
  if (c.rutas.empty()) return "no se ha indicado ninguna captura";
  if (!c.captura.intervalo) return "falta la anchura de los intervalos (--intervalo W, por ejemplo 10ms)";
  if (c.salida && c.salida->empty()) return "falta el fichero de salida de -o";
  return {};
}

// Counts the captures and writes the series; returns the exit status.
int Contar(const OrdenContar& c) {
  // The output is opened first, so that a folder that does not exist is found before the
  // count; it appears, whole, only at the end, and a refused count leaves nothing.
  const std::string destino = c.salida.value_or("-");
  FicheroAtomico fichero(destino);
  if (fichero.Error()) {
    Error(MensajeNoPuedoGuardar(destino, fichero.Error()));
    return kSalidaUso;
  }
  const ResultadoConteo r = ContarCapturas(c.rutas, Conteo(c.captura));
  for (const std::string& aviso : r.avisos) Error("aviso: " + aviso);
  if (!r.Exito()) {
    Escribir(stderr, NoEsCaptura(r));
    return kSalidaUso;
  }
  for (const std::string& linea : LineasResumen(r.resumen, c.captura.bytes)) Error(linea);
  const bool escritas = RutaNpy(destino) ? EscribirNpy(fichero, r.cuentas.data(), r.cuentas.size())
                                         : EscribirCuentas(fichero, r.cuentas);
  if (!escritas || !fichero.Terminar()) {
    Error(MensajeNoPuedoGuardar(destino, fichero.Error()));
    return kSalidaUso;
  }
  return kSalidaExito;
}

}  // namespace

std::optional<std::string> LeerOpcionCaptura(const std::string& arg, const std::optional<std::string>& enLinea,
                                             int& i, int argc, char** argv, OpcionesCaptura& o) {
  const bool conValor = arg == "--intervalo" || arg == "--filtro" || arg == "--formato";
  if (!conValor && arg != "--bytes") return std::nullopt;
  std::string v;
  if (conValor) {
    if (enLinea) v = *enLinea;
    else if (i + 1 < argc) v = argv[++i];
    else return "falta el valor de la opción " + arg;
  } else if (enLinea) {
    return "la opción " + arg + " no admite valor";
  }
  if (arg == "--intervalo") {
    std::string error;
    o.intervalo = LeerIntervalo(v, error);
    return error;
  }
  if (arg == "--filtro") {
    o.filtro = v;
  } else if (arg == "--formato") {
    if (v == "texto") o.formato = FormatoEntrada::Texto;
    else if (v == "captura") o.formato = FormatoEntrada::Captura;
    else return "el formato debe ser texto o captura y no '" + v + "'";
    o.formatoDado = true;
  } else {
    o.bytes = true;
  }
  return std::string();
}

std::string ComprobarOpcionesCaptura(const OpcionesCaptura& o) {
  if (o.intervalo) return {};
  if (o.bytes) return "--bytes solo se aplica a capturas, con --intervalo";
  if (o.filtro) return "--filtro solo se aplica a capturas, con --intervalo";
  if (o.formatoDado) return "--formato solo se aplica a capturas, con --intervalo";
  return {};
}

std::string AyudaOpcionesCaptura() {
  return "      --intervalo W        los ficheros son capturas de paquetes (pcap o pcapng,\n"
         "                           también con gzip o zstd): se analiza la serie de sus\n"
         "                           paquetes por intervalo de anchura W (10ms, 100us, 250ns,\n"
         "                           1s o segundos: 0.01), la de fenwa-cli contar, con el\n"
         "                           nombre NOMBRE_paquetes_10ms (o NOMBRE_bytes_10ms)\n"
         "      --bytes              con --intervalo, los bytes por intervalo (la longitud\n"
         "                           original de cada paquete)\n"
         "      --filtro EXPR        con --intervalo, solo los paquetes que pasan el filtro de\n"
         "                           libpcap EXPR (\"tcp\", \"udp port 53\")\n"
         "      --formato texto      con --intervalo, los ficheros son trazas de texto (una\n"
         "                           línea por paquete: hora en segundos y tamaño en bytes)\n";
}

std::string NombreSerieFichero(const std::string& ruta, const OpcionesCaptura& o) {
  return NombreSerieCaptura(ruta, o.bytes, *o.intervalo);
}

std::string RechazoCapturaSinIntervalo(const std::string& ruta) {
  if (!EsCaptura(ruta)) return {};
  return "'" + ruta + "' es una captura de paquetes, no un fichero de muestras: indique la anchura de "
         "los intervalos en que contarla con --intervalo W (por ejemplo --intervalo 10ms)";
}

bool SerieDeCaptura(const std::string& ruta, const OpcionesCaptura& o, Vector& datos, std::string& errores) {
  OpcionesConteo c = Conteo(o);
  c.progreso = [](const AvanceConteo& a) { Avance(a.Fraccion()); };
  const ResultadoConteo r = ContarCapturas({ruta}, c);
  for (const std::string& aviso : r.avisos) errores += "fenwa-cli: aviso: " + aviso + "\n";
  if (!r.Exito()) {
    errores += NoEsCaptura(r);
    return false;
  }
  datos = Vector(static_cast<std::uint32_t>(r.cuentas.size()));
  std::copy(r.cuentas.begin(), r.cuentas.end(), datos.begin());
  return true;
}

int EjecutarContar(int argc, char** argv) {
  OrdenContar c;
  bool ayuda = false;
  const std::string error = LeerOrdenContar(argc, argv, c, ayuda);
  if (ayuda) {
    Escribir(stdout, kAyuda);
    return kSalidaExito;
  }
  if (!error.empty()) {
    Error(error);
    Error("pruebe 'fenwa-cli contar --help' para más información");
    return kSalidaUso;
  }
  return Contar(c);
}
