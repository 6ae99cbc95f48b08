#include "cli/ayuda.h"

#include <vector>

#include "app/interfaces.h"
#include "app/metodos.h"
#include "app/parametros.h"
#include "cli/contar.h"
#include "cli/salidas_comparacion.h"
#include "cli/salidas_grafica.h"

namespace {

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

// Usage, what the tool does, and the method and parameter options with their lists.
std::string AyudaAnalisis() {
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
  for (const DefinicionCampo& c : TablaCampos())
    campos.push_back(std::string(c.clave) + "=" + c.omision);
  t += Envolver(std::string(27, ' '), campos, "");
  return t;
}

// The statistics, the files each analysis can write and the report's form.
std::string AyudaSalidas() {
  std::string t =
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
      "                           y aviso de cada método)\n";
  return t;
}

// Files at once, threads, progress.
std::string AyudaEjecucion() {
  return
      "  -j, --trabajos N         analizar N ficheros a la vez (por omisión, 1); la salida\n"
      "                           sigue el orden de los ficheros y es la misma que con 1\n"
      "      --hilos N            hilos de cálculo de cada análisis (por omisión, tantos\n"
      "                           como núcleos, repartidos entre los ficheros de -j);\n"
      "                           también con la variable de entorno FENWA_HILOS=N.\n"
      "                           Los resultados no dependen del número de hilos\n"
      "      --progreso, --sin-progreso\n"
      "                           mostrar o no el avance en la salida de errores (por\n"
      "                           omisión, sólo si es un terminal)\n";
}

// Help, version, where the messages go and the exit status.
std::string AyudaFinal() {
  return
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
}

}  // namespace

std::string Ayuda() {
  return AyudaAnalisis() + AyudaSalidas() + AyudaEjecucion() + AyudaOpcionesCaptura() +
         AyudaFinal();
}
