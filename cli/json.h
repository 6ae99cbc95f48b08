// Minimal JSON writing for fenwa-cli's --json output.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A double with 17 significant digits (round-trips); null for NaN and infinities.
std::string JsonNumero(double x);
std::string JsonNumero(const std::optional<double>& x);
// A UTF-8 string with the escapes JSON requires.
std::string JsonTexto(std::string_view s);
std::string JsonLista(const std::vector<double>& v);
// A 95 % interval as [bajo,alto]; null unless both ends are there.
std::string JsonIntervalo(const std::optional<double>& bajo, const std::optional<double>& alto);
std::string JsonLista(const std::vector<std::string>& v);
