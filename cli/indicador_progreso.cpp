#include "cli/indicador_progreso.h"

#include <chrono>

#include "app/formato.h"
#include "cli/opciones.h"

namespace {

// "ruta: leyendo 45 %" or "ruta: analizando 3 %".
std::string Estado(const Fichero& f) {
  const bool leyendo = f.fase.load() == Fichero::Leyendo;
  const double fraccion = leyendo ? f.lectura.Fraccion() : f.analisis.Fraccion();
  return f.ruta + (leyendo ? ": leyendo " : ": analizando ") +
         FormatoI(static_cast<long long>(fraccion * 100)) + " %";
}

std::string Linea(const Fichero& f) {
  std::string linea = "fenwa-cli: ";
  linea += Estado(f);
  return linea;
}

}  // namespace

IndicadorProgreso::IndicadorProgreso(std::vector<std::unique_ptr<Fichero>>& ficheros,
                                     bool terminal)
    : ficheros_(ficheros), terminal_(terminal), hilo_([this] { Mostrar(); }) {}

IndicadorProgreso::~IndicadorProgreso() {
  {
    std::lock_guard<std::mutex> bloqueo(cerrojo_);
    fin_ = true;
  }
  despertar_.notify_all();
  hilo_.join();
  Borrar();
}

void IndicadorProgreso::Escribir(std::FILE* f, std::string_view texto) {
  std::lock_guard<std::mutex> bloqueo(cerrojo_);
  if (f == stderr) Borrar();
  ::Escribir(f, texto);
}

void IndicadorProgreso::Fase(const Fichero& f) {
  if (terminal_) return;
  std::lock_guard<std::mutex> bloqueo(cerrojo_);
  ::Escribir(stderr, Linea(f) + "\n");
}

void IndicadorProgreso::Borrar() {
  if (terminal_ && mostrado_) ::Escribir(stderr, "\r\033[K");
  mostrado_ = false;
}

void IndicadorProgreso::Mostrar() {
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
