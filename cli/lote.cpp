#include "cli/lote.h"

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/analisis.h"
#include "app/comparacion.h"
#include "app/graficas.h"
#include "app/series.h"
#include "cli/indicador_progreso.h"
#include "cli/salida.h"

namespace {

class MensajesCli : public DestinoMensajes {
 public:
  explicit MensajesCli(Fichero& f) : f_(f) {}
  void MostrarMensaje(const std::string& texto, TipoMensaje) override {
    f_.errores += "fenwa-cli: " + f_.ruta + ": " + texto + "\n";
  }

 private:
  Fichero& f_;
};

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

// Reads the series of f: a sample file, or a capture counted with --intervalo. On failure
// the message goes to f.errores and f.errorUso is set.
void LeerSerie(const Opciones& o, Fichero& f, Vector& datos) {
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
}

// A chart of the charts window, captioned as there.
std::unique_ptr<TPlotModel> NuevaGrafica(const char* titulo) {
  auto grafica = std::make_unique<TPlotModel>();
  AplicarDisenoGrafica(*grafica);
  grafica->SetCaption(titulo);
  return grafica;
}

// Analyses the series of f, leaving the report (or its JSON line), the charts and the CSV
// in f.
void AnalizarSerie(const Opciones& o, Fichero& f, const Vector& datos) {
  RegistroResultados log;
  f.plot1 = NuevaGrafica("Método");
  f.plot2 = NuevaGrafica("Autocorrelación");
  DestinoModelo sink1(*f.plot1), sink2(*f.plot2);
  PreguntaCli pregunta(o.atc);
  pregunta.FijarNombre(f.nombre);
  MensajesCli mensajes(f);
  RelojCli reloj;

  EntornoAnalisis entorno;
  entorno.log = &log;
  // A chart is filled only when it is to be saved: the periodogram's alone has half a
  // million points at 10^7 samples.
  const auto pedida = [](const auto& rutas) {
    return std::any_of(rutas.begin(), rutas.end(), [](const auto& r) { return r.has_value(); });
  };
  if (pedida(o.graficaMetodo)) entorno.graficaMetodo = &sink1;
  if (pedida(o.graficaAuto)) entorno.graficaAuto = &sink2;
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

// Reads and analyses one file, leaving everything it writes in f.
void Analizar(const Opciones& o, Fichero& f, IndicadorProgreso* indicador) {
  Vector datos;
  {
    f.fase = Fichero::Leyendo;
    if (indicador) indicador->Fase(f);
    ProgresoInstalado instalado(f.lectura);
    LeerSerie(o, f, datos);
    if (f.errorUso) return;
  }
  f.fase = Fichero::Analizando;
  if (indicador) indicador->Fase(f);
  ProgresoInstalado instalado(f.analisis);
  f.nombre = NombreSerie(f.ruta, o);
  AnalizarSerie(o, f, datos);
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

// How many files are analysed at once; sets the threads of each analysis to match.
std::size_t RepartirHilos(const Opciones& o) {
  std::vector<std::string> nombres;
  for (const std::string& ruta : o.ficheros) nombres.push_back(NombreSerie(ruta, o));
  std::size_t trabajos = std::min<std::size_t>(o.trabajos, o.ficheros.size());
  if (trabajos > 1 && RutasCompartidas(o, nombres)) trabajos = 1;
  // The cores are shared among the files analysed at once, unless --hilos says otherwise.
  if (o.hilos > 0)
    FijarHilosDeCalculo(o.hilos);
  else if (trabajos > 1)
    FijarHilosDeCalculo(std::max<unsigned>(1, HilosDeCalculo() / static_cast<unsigned>(trabajos)));
  return trabajos;
}

// Files are taken in order by `trabajos` threads while the caller writes the output in
// input order, whatever the order in which they finish; with one job the caller analyses
// each file itself when it asks for it.
class Reparto {
 public:
  Reparto(std::size_t n, std::size_t trabajos, std::function<void(std::size_t)> analizar)
      : hecho_(n, 0), trabajos_(trabajos), analizar_(std::move(analizar)) {
    if (trabajos_ > 1)
      for (std::size_t h = 0; h < trabajos_; ++h) hilos_.emplace_back([this] { Trabajar(); });
  }
  ~Reparto() {
    for (std::thread& h : hilos_) h.join();
  }
  // Returns once file i is analysed.
  void Esperar(std::size_t i) {
    if (trabajos_ <= 1) {
      analizar_(i);
      return;
    }
    std::unique_lock<std::mutex> bloqueo(cerrojo_);
    listo_.wait(bloqueo, [&] { return hecho_[i] != 0; });
  }

 private:
  void Trabajar() {
    for (;;) {
      const std::size_t i = siguiente_.fetch_add(1);
      if (i >= hecho_.size()) return;
      analizar_(i);
      {
        std::lock_guard<std::mutex> bloqueo(cerrojo_);
        hecho_[i] = 1;
      }
      listo_.notify_all();
    }
  }

  std::mutex cerrojo_;
  std::condition_variable listo_;
  std::vector<char> hecho_;
  std::atomic<std::size_t> siguiente_{0};
  const std::size_t trabajos_;
  const std::function<void(std::size_t)> analizar_;
  std::vector<std::thread> hilos_;
};

}  // namespace

int EjecutarLote(const Opciones& o) {
  std::vector<std::unique_ptr<Fichero>> ficheros;
  for (const std::string& ruta : o.ficheros) {
    ficheros.push_back(std::make_unique<Fichero>());
    ficheros.back()->ruta = ruta;
  }
  const std::size_t trabajos = RepartirHilos(o);

  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  std::optional<IndicadorProgreso> indicador;
  if (o.progreso.value_or(terminal)) indicador.emplace(ficheros, terminal);
  const Escritor escribir = [&](std::FILE* f, std::string_view texto) {
    if (indicador)
      indicador->Escribir(f, texto);
    else
      Escribir(f, texto);
  };

  Reparto reparto(ficheros.size(), trabajos, [&](std::size_t i) {
    Analizar(o, *ficheros[i], indicador ? &*indicador : nullptr);
    ficheros[i]->fase = Fichero::Hecho;
  });
  int salida = kSalidaExito;
  bool primero = true;
  for (std::size_t i = 0; i < ficheros.size(); ++i) {
    reparto.Esperar(i);
    if (indicador) indicador->Terminado();
    const int s = EscribirResultados(o, *ficheros[i], escribir, primero);
    if (s == kSalidaUso || (s == kSalidaRechazo && salida == kSalidaExito)) salida = s;
  }
  return salida;
}
