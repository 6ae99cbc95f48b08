// fenwa-cli's progress on standard error (--progreso).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/lote.h"

// Shows on standard error how the files in progress advance: on a terminal one line
// rewritten in place, elsewhere one line a second.
class IndicadorProgreso {
 public:
  IndicadorProgreso(std::vector<std::unique_ptr<Fichero>>& ficheros, bool terminal);
  ~IndicadorProgreso();
  // Standard error is shared: what the tool writes there goes through here.
  void Escribir(std::FILE* f, std::string_view texto);
  void Terminado() { ++terminados_; }
  // A file enters a new phase: away from a terminal, one line says so at once.
  void Fase(const Fichero& f);

 private:
  void Borrar();
  void Mostrar();

  std::vector<std::unique_ptr<Fichero>>& ficheros_;
  const bool terminal_;
  std::mutex cerrojo_;
  std::condition_variable despertar_;
  bool fin_ = false;
  bool mostrado_ = false;
  std::atomic<std::size_t> terminados_{0};
  std::thread hilo_;
};
