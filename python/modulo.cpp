// The fenwa module: its functions, their keywords and their documentation.
#include <string>

#include <pybind11/pybind11.h>

#include "app/version.h"
#include "python/funciones.h"

namespace py = pybind11;

namespace {

const char* const kModulo =
    "FENWA desde Python: el parámetro de Hurst y el resto de análisis de FENWA sobre\n"
    "series de numpy, con el mismo código y los mismos resultados que fenwa-cli.\n"
    "\n"
    "    import fenwa\n"
    "    serie = fenwa.leer(\"examples/NileMin.sam\")\n"
    "    r = fenwa.estimar(serie, \"Whittle Estándar\")\n"
    "    print(r[\"valor\"], r[\"ic\"])\n"
    "\n"
    "Funciones: metodos, campos, ejes, estimar, leer, generar, contar y es_captura.\n"
    "Los análisis rechazados lanzan fenwa.Rechazo (un ValueError). Los cálculos largos\n"
    "liberan el GIL (varios hilos de Python calculan a la vez) y se interrumpen con Ctrl-C.";

const char* const kMetodos =
    "metodos()\n--\n\n"
    "Una lista con los nombres de los métodos, en el orden de la lista de métodos de\n"
    "FENWA (los de fenwa-cli -m). \"Ninguno\" calcula solo los estadísticos; además de\n"
    "estos, estimar admite \"Todos\": cada método que estima H, uno junto a otro.";

const char* const kEjes =
    "ejes(metodo)\n--\n\n"
    "Una tupla con los títulos de los ejes x e y de la gráfica log-log del método, los de\n"
    "FENWA (por ejemplo (\"log10 (m)\", \"log10 (Varianza)\")); None para un método que no\n"
    "dibuja puntos (los Whittle, Test T, Ninguno).";

const char* const kCampos =
    "campos(metodo=None)\n--\n\n"
    "Un dict con los campos de parámetros que lee el método y su valor por omisión:\n"
    "enteros para los campos enteros, las listas de valores enteros y los grupos de\n"
    "opciones (el número de la opción, desde 0), float para los decimales y bool para las\n"
    "casillas. Con \"Todos\", los de cada método que estima H; sin método, todos los\n"
    "campos de los diálogos de parámetros. Son los nombres de fenwa-cli -p CAMPO=VALOR;\n"
    "el número de bloques del test de estacionariedad es \"Estacion.EBloques\".\n"
    "\n"
    "    fenwa.campos(\"R/S\")   # {'EMind': 10, 'EMinRS': 4, 'EBloques': 8, 'EDecadaRS': 6}";

const char* const kEstimar =
    "estimar(serie, metodo, *, nombre='serie', media=True, varianza=True,\n"
    "        autocorrelacion=False, hilos=None, progreso=None, **campos)\n--\n\n"
    "Analiza la serie con el método (uno de metodos(), o \"Todos\") y devuelve un dict con\n"
    "las claves y los valores del objeto de fenwa-cli --json para la misma serie y los\n"
    "mismos campos: nombre, longitud, metodo, estado (0), mensaje (None), valor (H, T0 o P),\n"
    "ic ([inferior, superior], el intervalo de confianza del 95 % de H, o None), aviso\n"
    "(solo si H queda fuera de [0, 1]: el aviso del informe),\n"
    "coeficientes (FARIMA: H, AR..., MA...), constante (veredicto del Test T), x e y (los\n"
    "puntos de la gráfica log-log, como arrays de numpy float64, o None), media, varianza\n"
    "(None si no se calculan) e informe (las líneas del informe). Con \"Todos\", además\n"
    "metodos: una lista de dicts con metodo, estado, mensaje, valor, ic (y aviso) de cada\n"
    "método.\n"
    "Donde el JSON tiene null (un número no finito, un valor que no hay), el dict tiene\n"
    "None. Con autocorrelacion=True, además la clave autocorrelacion: r(1..EPuntos) como\n"
    "array.\n"
    "\n"
    "serie: cualquier sucesión unidimensional de números (lista, tupla, array). Un array\n"
    "float64 contiguo (C) se lee donde está, sin copiarlo: no debe cambiarse mientras dura\n"
    "el análisis; cualquier otra se convierte una vez. Se rechazan con ValueError las\n"
    "muestras NaN o infinitas, los arrays de más dimensiones, lo que no son números y las\n"
    "series de menos de dos muestras.\n"
    "nombre: el nombre de la serie en el informe (fenwa-cli usa el del fichero).\n"
    "media, varianza, autocorrelacion: calcular o no cada estadístico (como --media,\n"
    "--varianza y --autocorrelacion de fenwa-cli).\n"
    "hilos: hilos de cálculo de este análisis, de 1 a 256 (como --hilos); None: los del\n"
    "proceso (FENWA_HILOS o tantos como núcleos). Los resultados no dependen de ello.\n"
    "progreso: None o una función que recibe la fracción hecha (de 0 a 1) unas diez veces\n"
    "por segundo y 1.0 al terminar; si lanza una excepción, el análisis se cancela y la\n"
    "excepción sale de estimar.\n"
    "**campos: valores de los campos de parámetros del método (véase campos(metodo)) y de\n"
    "la autocorrelación (RGSesgo, EPuntos, ChLongitud, ChGuardar), como -p CAMPO=VALOR:\n"
    "un número, un bool (casillas) o un texto tal como se escribiría en el diálogo.\n"
    "\n"
    "Un método o campo desconocido es un ValueError que nombra los válidos. Un análisis\n"
    "rechazado, como los que fenwa-cli rechaza (parámetro fuera de rango, campo que no es\n"
    "un número de su tipo, serie que el método no admite, fallo numérico, media o varianza\n"
    "que no pueden representarse, \"Todos\" sin ninguna estimación), lanza fenwa.Rechazo\n"
    "con .estado, .mensaje y .resultado (el dict). Ctrl-C interrumpe el análisis en menos\n"
    "de un segundo con KeyboardInterrupt. No se escribe nada en pantalla.\n"
    "\n"
    "    r = fenwa.estimar(serie, \"R/S\", EBloques=10)\n"
    "    r = fenwa.estimar(serie, \"Todos\", media=False, varianza=False)";

const char* const kLeer =
    "leer(fichero, *, hilos=None, progreso=None)\n--\n\n"
    "Las muestras de un fichero de serie, leídas por el lector de FENWA, en un array\n"
    "float64. El fichero es de muestras (números separados por blancos, con punto\n"
    "decimal) o un .npy unidimensional (float64, float32, int64 o int32), reconocido por\n"
    "su contenido; \"-\" es la entrada estándar. Un fichero que no puede leerse lanza\n"
    "OSError; uno que no tiene el formato adecuado (o es una captura de paquetes: véase\n"
    "contar), ValueError, con el mensaje de FENWA. hilos y progreso, como en estimar.";

const char* const kGenerar =
    "generar(modelo, *, H=None, d=None, phi=None, theta=None, n=None, media=None,\n"
    "        desviacion=None, semilla=None, hilos=None, progreso=None)\n--\n\n"
    "Una serie sintética de H conocido, como array float64: la misma, bit a bit, que\n"
    "fenwa-cli generar escribe en un .npy con los mismos argumentos. Modelos: \"fgn\"\n"
    "(ruido fraccionario gaussiano exacto, H entre 0 y 1, por omisión 0.8), \"farima\"\n"
    "(FARIMA(p, d, q) con d entre -0.5 y 0.5, por omisión 0.3, y los coeficientes AR phi,\n"
    "entre -1 y 1, y MA theta, por omisión 0) y \"ruido\" (ruido blanco gaussiano).\n"
    "n: número de muestras (por omisión 10000), media (0), desviacion: desviación típica\n"
    "de la serie (1), semilla: entero entre 0 y 2**64 - 1 (1). Cada valor, un número o un\n"
    "texto como en fenwa-cli generar (\"0,8\", \"1e6\"); un argumento que no se aplica al\n"
    "modelo o un valor no válido lanza ValueError con el mensaje de FENWA. hilos y\n"
    "progreso, como en estimar.\n"
    "\n"
    "    x = fenwa.generar(\"fgn\", H=0.8, n=10**6, semilla=3)\n"
    "    y = fenwa.generar(\"farima\", d=0.3, phi=0.5, theta=-0.2)";

const char* const kContar =
    "contar(capturas, intervalo='10ms', bytes=False, filtro=None, formato=None, *,\n"
    "       hilos=None, progreso=None)\n--\n\n"
    "Los paquetes (o, con bytes=True, los bytes: la longitud original de cada paquete) por\n"
    "intervalo de tiempo de una captura, como array int64: los mismos que fenwa-cli contar.\n"
    "capturas: un fichero o una lista de ficheros (las partes de una captura rotada, en\n"
    "cualquier orden, son una sola traza): pcap o pcapng, sin comprimir o con gzip o zstd.\n"
    "intervalo: la anchura, \"10ms\", \"100us\", \"250ns\", \"1s\", o un número de segundos.\n"
    "filtro: una expresión de filtro de libpcap (\"tcp\", \"udp port 53\"). formato: None o\n"
    "\"captura\" (se reconoce por el contenido), o \"texto\": trazas de texto, una línea por\n"
    "paquete con su hora en segundos y su tamaño en bytes.\n"
    "\n"
    "La regla: el origen t0 es la hora del primer paquete redondeada hacia abajo a un\n"
    "múltiplo del intervalo; el paquete de hora t va al intervalo (t - t0) // W; el\n"
    "intervalo del último paquete, incompleto, se descarta. Un fichero que no es una\n"
    "captura, está dañado o da menos de un intervalo lanza ValueError; una captura cortada\n"
    "mientras se escribía se cuenta hasta su último paquete completo, con un UserWarning.\n"
    "hilos y progreso, como en estimar.";

const char* const kEsCaptura =
    "es_captura(fichero)\n--\n\n"
    "True si el fichero es una captura de paquetes pcap o pcapng (también comprimida con\n"
    "gzip o zstd), por sus primeros bytes: lo que contar cuenta y leer rechaza.";

}  // namespace

PYBIND11_MODULE(fenwa, m) {
  // Each documentation opens with its own signature, with the Python defaults, in the form
  // from which help() and inspect.signature() read it.
  py::options opciones;
  opciones.disable_function_signatures();
  m.doc() = kModulo;
  m.attr("__version__") = std::string(kVersionFenwa);
  CrearRechazo(m);

  m.def("metodos", &Metodos, kMetodos);
  m.def("ejes", &Ejes, py::arg("metodo"), kEjes);
  m.def("campos", &Campos, py::arg("metodo") = py::none(), kCampos);
  m.def("estimar", &Estimar, py::arg("serie"), py::arg("metodo"), py::kw_only(),
        py::arg("nombre") = "serie", py::arg("media") = true, py::arg("varianza") = true,
        py::arg("autocorrelacion") = false, py::arg("hilos") = py::none(),
        py::arg("progreso") = py::none(), kEstimar);
  m.def("leer", &Leer, py::arg("fichero"), py::kw_only(), py::arg("hilos") = py::none(),
        py::arg("progreso") = py::none(), kLeer);
  m.def("generar", &Generar, py::arg("modelo"), py::kw_only(), py::arg("H") = py::none(),
        py::arg("d") = py::none(), py::arg("phi") = py::none(), py::arg("theta") = py::none(),
        py::arg("n") = py::none(), py::arg("media") = py::none(),
        py::arg("desviacion") = py::none(), py::arg("semilla") = py::none(),
        py::arg("hilos") = py::none(), py::arg("progreso") = py::none(), kGenerar);
  m.def("contar", &Contar, py::arg("capturas"), py::arg("intervalo") = "10ms",
        py::arg("bytes") = false, py::arg("filtro") = py::none(), py::arg("formato") = py::none(),
        py::kw_only(), py::arg("hilos") = py::none(), py::arg("progreso") = py::none(), kContar);
  m.def("es_captura", &EsCapturaDePaquetes, py::arg("fichero"), kEsCaptura);
}
