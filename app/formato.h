// Number, date and credit texts of the analysis report.
//
// Report numbers use the general format of the report: F with 4 significant digits for
// results, G with 15 for echoed decimal parameters, I for integers. The decimal separator
// is a parameter (the regional one in the desktop program, a point by default in the
// command-line tool). Sample and .atc files never go through these functions.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// General format with `digitos` significant digits (1..17): plain notation when the
// decimal exponent e of x = 0.d1d2... x 10^e lies in -3..digitos, otherwise d1[sep rest]E[-]n
// with n = |e - 1| and no leading zeros. Trailing zeros, and a separator with nothing after
// it, are dropped. Zero is "0"; infinities and NaN are "INF", "-INF" and "NAN".
std::string FormatoGeneral(double x, int digitos, char separador = '.');

// F: 4 significant digits (0.125, 1, 1.25E-5, 1.2E4).
std::string FormatoF(double x, char separador = '.');
// G: 15 significant digits (0.05, 10, 0.1).
std::string FormatoG(double x, char separador = '.');
// I: decimal integer, "-" for negatives.
std::string FormatoI(long long n);

// Formats a broken-down time with a pattern of Qt/Delphi-style tokens: d dd (day),
// M MM (month), yy yyyy (year), h hh H HH (hour, 24 h), m mm (minute), s ss (second).
// 'text' in single quotes is copied literally; every other character is copied as is.
// Used by callers that hold the regional short date and long time patterns.
std::string FormatearFechaHora(const std::tm& momento, std::string_view patron);

// "Análisis realizado el día " + fecha + " a las " + hora + " horas".
std::string LineaFecha(std::string_view fecha, std::string_view hora);

// The one-line program credit appended when "C&réditos" is checked.
extern const char* const kLineaCreditos;
