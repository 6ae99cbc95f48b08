// fenwa-cli's output of one file: the report or its JSON line, the chart files and the CSV.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/analisis.h"
#include "cli/lote.h"
#include "cli/opciones.h"

// Writes to standard output or standard error (through the progress indicator when shown).
using Escritor = std::function<void(std::FILE*, std::string_view)>;

// The --json line of one analysis: the result's fields and the report lines.
std::string ObjetoJson(const std::string& nombre, std::uint32_t longitud,
                       const std::string& metodo, const ResultadoAnalisis& r,
                       const std::vector<std::string>& informe);

// Writes what the analysis of f left: its messages, its report (after a blank line unless
// it is the first or the output is JSON), its chart files and its CSV; then lets go of them.
// Returns the exit status of the file.
int EscribirResultados(const Opciones& o, Fichero& f, const Escritor& escribir, bool& primero);
