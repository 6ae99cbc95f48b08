// The comparison of methods as a reader sees it: the aligned table of the report, the line
// that says which methods are left out and why, and the results as CSV (the window's
// "Guardar comparación (CSV)..." and fenwa-cli --csv).
#pragma once

#include <string>
#include <vector>

#include "app/analisis.h"

// The block of the report: a title line, a header line and one line per method, in
// columns padded with blanks (method, H, inferior, superior, estado). The numbers have four
// decimals with `separador`, right-aligned, so that their separators line up; a missing
// one leaves its cell blank. The state says "correcto", "sin IC" (an estimate without an
// interval) or "sin resultado (...)" with the reason on one line.
std::vector<std::string> TablaComparacion(
    const std::vector<AnalysisOutcome::MetodoComparado>& metodos, char separador);

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
std::string CsvResultados(const std::string& metodo, const AnalysisOutcome& resultado);

// Writes the whole text to `ruta` whole or not at all (EscribirFicheroAtomico): a failed
// write leaves no partial file and an existing target as it was. Returns "" or the message
// to show (MensajeNoPuedoGuardar).
std::string EscribirTextoCompleto(const std::string& ruta, const std::string& texto);
