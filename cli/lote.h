// fenwa-cli's batch: every file of the command line read and analysed, by -j threads at
// once, and the output of each written in input order.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "chart/plot_model.h"
#include "cli/opciones.h"
#include "numeric/progreso.h"

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

// Analyses the files of the options and writes their output; returns the exit status.
int EjecutarLote(const Opciones& o);
