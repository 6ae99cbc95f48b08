// fenwa-cli's options about the results of each analysis beyond the report: --csv RUTA
// writes them as CSV (every method of -m Todos, or the one method analysed), --referencia H
// draws a labelled line at that H in the chart of -m Todos.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct OpcionesComparacion {
  std::optional<std::string> csv;     // path; {nombre} stands for the series name
  std::optional<double> referencia;   // reference H of the comparison chart
};

// When `arg` is one of these options, reads its value with `valor` (which returns an error
// text or "") and returns true, with `error` set when the option or its value is wrong;
// returns false for any other argument.
bool LeerOpcionComparacion(const std::string& arg,
                           const std::function<std::string(std::string&)>& valor,
                           OpcionesComparacion& o, std::string& error);

// Their lines of --help.
std::string AyudaComparacion();

// Writes the CSV of one file's analysis to the path of --csv (with {nombre} replaced).
// Returns "" or the error line for standard error.
std::string EscribirCsv(const OpcionesComparacion& o, const std::string& nombre,
                        const std::string& contenido);
