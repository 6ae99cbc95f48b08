// Generated series for the desktop program and the command-line tool: the fields as typed
// read into the generator's parameters, the name the series gets, and the run itself. Every
// refusal is a Spanish text for the caller to show; nothing is generated then.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/parametros.h"  // LeerDecimal
#include "numeric/generador.h"
#include "numeric/vector.h"

// The fields as typed. Only those of the chosen model are read.
struct TextosGeneracion {
  ModeloGenerador modelo = ModeloGenerador::Fgn;
  std::string H = "0.8";
  std::string d = "0.3";
  std::string phi = "0";
  std::string theta = "0";
  std::string longitud = "10000";
  std::string media = "0";
  std::string desviacion = "1";
  std::string semilla = "1";
};

// A non-negative integer of up to 64 bits (digits only, blanks around it); nullopt otherwise.
std::optional<std::uint64_t> LeerNatural(std::string_view texto);
// A length: a natural number as above, or a decimal number that is a whole number below
// 2^63 ("1e7", "2.5e3", "1,5E6"); nullopt otherwise.
std::optional<std::uint64_t> LeerLongitud(std::string_view texto);

// Reads the fields and checks the values. Returns "" with `p` filled, or the message of the
// first field that is not a number or is out of range (`p` is then unspecified).
std::string LeerParametrosGeneracion(const TextosGeneracion& textos, ParametrosGenerador& p);

// The series name, in the model's terms with numbers in their shortest form and a point:
// fgn_H0.8_n10000_s1, farima_d0.3_phi0.5_theta-0.2_n10000_s1 (φ and θ only when not 0),
// ruido_n10000_s1; "_m5" and "_dt2" follow when the mean is not 0 or the standard deviation
// not 1.
std::string NombreSerieGenerada(const ParametrosGenerador& p);

// Generates the series. Returns "" with `datos` filled, or the message of the refusal
// (`datos` untouched). Throws Cancelado when the progress control installed on the thread
// is cancelled (numeric/progreso.h).
std::string GenerarSerieSintetica(const ParametrosGenerador& p, Vector& datos);

// What was made, for the results area: "Serie generada: " + name, the model's line, then its
// parameters, the length, mean, standard deviation and seed one per line, indented like
// the parameters of a method; decimals with 15 significant digits and `separador`.
std::vector<std::string> LineasSerieGenerada(const ParametrosGenerador& p,
                                             const std::string& nombre, char separador);

// The H of the process a series was generated from: H for FGN, d + 0.5 for FARIMA, 0.5
// for white noise.
double HDelModelo(const ParametrosGenerador& p);
