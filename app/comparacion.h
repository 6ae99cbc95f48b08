// The comparison of methods as a reader sees it: the aligned table of the report, the line
// that says which methods are left out and why, and the results as CSV (the window's
// "Guardar comparación (CSV)..." and fenwa-cli --csv).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/analisis.h"

// The block of the report: a title line, a header line and one line per method, in
// columns padded with blanks (method, H, inferior, superior, estado). The numbers have four
// decimals with `separador`, right-aligned, so that their separators line up; a missing
// one leaves its cell blank. The state says "correcto", "sin IC" (an estimate without an
// interval) or "sin resultado (...)" with the reason on one line.
std::vector<std::string> TablaComparacion(
    const std::vector<ResultadoAnalisis::MetodoComparado>& metodos, char separador);

// The methods of the list that are not compared (they do not estimate H) and the model the
// comparison uses for "Whittle Estándar" (modeloWhittle: the RGModelo option, 0 FGN, 1
// FARIMA), in one line.
std::string LineaExcluidosComparacion(int modeloWhittle);

// The line that heads the statistics after the table, so that the sample variance is not
// taken for the method "Varianza".
inline constexpr const char* kLineaEstadisticos = "Estadísticos de la serie:";

// The results as CSV, UTF-8, one row per method after the header
// "metodo,valor,inferior,superior,estado,mensaje": every method of a comparison, or the
// one method analysed. Numbers with a point and 17 significant digits, as in the JSON
// output; a missing number, or a message of a success, is an empty field; a field holding
// a comma, a quote or a line break is quoted (RFC 4180). Lines end with "\n".
std::string CsvResultados(const std::string& metodo, const ResultadoAnalisis& resultado);

// The families of the comparison chart, from top to bottom, each with its methods in
// order, as the method table places them (DefinicionMetodo::comparacion): time domain
// (R/S, Varianza, Varianza Difer., Momentos Absolutos, DFA, Higuchi), frequency domain
// (Periodograma, GPH, Whittle Estándar, Whittle Agregado, Whittle Local), wavelets
// (Ondículas). A compared method outside them goes last.
struct FamiliaMetodos {
  const char* nombre;
  std::vector<const char*> metodos;
};
const std::vector<FamiliaMetodos>& FamiliasComparacion();

// The title of the comparison chart: the series name and its length.
std::string TituloComparacion(const std::string& nombre, std::uint32_t longitud);

// Plot1 for the comparison: a forest plot. One row per method, top to bottom in the order of
// the families, which are parted by a thin grey line: the method's full name in the left
// rim, its H as a circle with its interval as a whisker whose end caps stand out of the
// circle however narrow the interval is, "sin IC" beside an estimate without interval,
// "sin resultado" for a method that gave none, and "H [inferior; superior]" with three
// decimals and `separador` in the right rim. A dotted line at H = 0.5 across the rows, a
// labelled line at `referencia` when there is one, the title above and "H" under the x
// scale. The marks are of class 0, the whiskers and the dotted line of class 1 (the
// regression colour), the reference of class 2, the parting lines of class 3; all in the
// chart's data colour but the reference (aqua) and the parting lines (grey). AutoRange(2).
void RellenarGraficaComparacion(DestinoGrafica& grafica,
                         const std::vector<ResultadoAnalisis::MetodoComparado>& metodos,
                         const std::string& titulo, std::optional<double> referencia,
                         char separador);

// Writes the whole text to `ruta` whole or not at all (EscribirFicheroAtomico): a failed
// write leaves no partial file and an existing target as it was. Returns "" or the message
// to show (MensajeNoPuedoGuardar).
std::string EscribirTextoCompleto(const std::string& ruta, const std::string& texto);
