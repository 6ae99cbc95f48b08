#include "cli/salida.h"

#include <optional>
#include <utility>

#include "app/formato.h"
#include "app/nombres_metodos.h"
#include "cli/json.h"
#include "cli/salidas_grafica.h"

namespace {

// The "metodos" list of -m Todos: each method's estimate.
std::string JsonMetodos(const std::vector<ResultadoAnalisis::MetodoComparado>& metodos) {
  std::string j = "[";
  for (std::size_t i = 0; i < metodos.size(); ++i) {
    const ResultadoAnalisis::MetodoComparado& m = metodos[i];
    if (i) j += ',';
    j += "{\"metodo\":" + JsonTexto(m.metodo);
    j += ",\"estado\":" + FormatoI(m.estado);
    j += ",\"mensaje\":" + (m.mensaje.empty() ? std::string("null") : JsonTexto(m.mensaje));
    j += ",\"valor\":" + JsonNumero(m.valor);
    j += ",\"ic\":" + JsonIntervalo(m.icBajo, m.icAlto);
    if (!m.aviso.empty()) j += ",\"aviso\":" + JsonTexto(m.aviso);
    j += "}";
  }
  return j + "]";
}

// Saves the method and autocorrelation charts in each format asked for; the status is
// kSalidaUso when one could not be written.
int GuardarGraficas(const Opciones& o, const Fichero& f, const Escritor& escribir) {
  int salida = kSalidaExito;
  const auto& formatos = FormatosGrafica();
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
  return salida;
}

}  // namespace

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
  if (metodo == metodo::kTodos) j += ",\"metodos\":" + JsonMetodos(r.metodos);
  j += ",\"y\":" + (r.y ? JsonLista(*r.y) : std::string("null"));
  j += ",\"media\":" + JsonNumero(r.media);
  j += ",\"varianza\":" + JsonNumero(r.varianza);
  j += ",\"informe\":" + JsonLista(informe);
  j += "}\n";
  return j;
}

int EscribirResultados(const Opciones& o, Fichero& f, const Escritor& escribir, bool& primero) {
  escribir(stderr, f.errores);
  if (f.errorUso) return kSalidaUso;
  int salida = f.escrituraFallida ? kSalidaUso : f.rechazo ? kSalidaRechazo : kSalidaExito;
  if (f.informe) {
    if (!o.json && !primero) escribir(stdout, "\n");
    escribir(stdout, *f.informe);
    primero = false;
  }
  if (GuardarGraficas(o, f, escribir) != kSalidaExito) salida = kSalidaUso;
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
  return salida;
}
