// The results log: its lines, colours, base name, the state of the five results commands,
// and the .rsl writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/interfaces.h"

// The five commands that follow the log: "&Copiar resultados", "&Borrar resultados",
// "G&uardar resultado análisis", "Guardar &resultado como..." and the tool button
// SBGuardarResult.
struct ComandosResultados {
  bool copiar = false;
  bool borrar = false;
  bool guardar = false;
  bool guardarComo = false;
  bool sbGuardarResult = false;

  bool operator==(const ComandosResultados&) const = default;
};

// The model behind MResult. It is a DestinoResultados itself and forwards every change to an
// optional view (the desktop program's text area).
class RegistroResultados : public DestinoResultados {
 public:
  RegistroResultados() = default;

  void FijarVista(DestinoResultados* vista) { vista_ = vista; }

  // DestinoResultados
  void Vaciar() override;
  void Anadir(const std::string& linea) override;
  void AnadirTabla(const std::string& linea) override;
  void FijarColores(ColorFondo fondo, ColorTexto texto) override;

  const std::vector<std::string>& Lineas() const { return lineas_; }
  // The lines joined by "\n" (what "&Copiar resultados" puts on the clipboard).
  std::string Texto() const;
  ColorFondo Fondo() const { return fondo_; }
  ColorTexto TextoColor() const { return texto_; }

  // Name of the series last analysed; base of the default .rsl and .atc names.
  const std::string& ResultsBaseName() const { return nombreBase_; }
  void SetResultsBaseName(std::string nombre) { nombreBase_ = std::move(nombre); }
  // ResultsBaseName + ".rsl".
  std::string NombreRsl() const { return nombreBase_ + ".rsl"; }

  const ComandosResultados& Comandos() const { return comandos_; }
  // A successful analysis: all five enabled.
  void HabilitarComandos();

  // "G&uardar resultado análisis": writes ResultsBaseName + ".rsl" in the current folder.
  // On success disables the save item and the tool button and returns ""; otherwise
  // returns the message of the failed write (MensajeNoPuedoGuardar) and changes nothing.
  std::string GuardarResultado();
  // "Guardar &resultado como...": writes to the path as given; nothing else changes.
  std::string GuardarResultadoComo(const std::string& ruta) const;
  // "&Borrar resultados": empty, grey background, all five disabled; text colour kept.
  void BorrarResultados();

 private:
  std::vector<std::string> lineas_;
  ColorFondo fondo_ = ColorFondo::Gris;
  ColorTexto texto_ = ColorTexto::TextoVentana;
  std::string nombreBase_;
  ComandosResultados comandos_;
  DestinoResultados* vista_ = nullptr;
};

// UTF-8 to the program's 8-bit set (Latin-1); characters outside it become '?'.
std::string ALatin1(const std::string& utf8);

// Writes lines as a .rsl file: each line in Latin-1 followed by CR LF, nothing else.
// Returns "" on success, the message of the failed write (MensajeNoPuedoGuardar) otherwise;
// an existing file is then left as it was.
std::string EscribirRsl(const std::vector<std::string>& lineas, const std::string& ruta);
