// Command-line details shared by fenwa-cli and its subcommands.
#pragma once

#include <optional>
#include <string>

// "--opcion=valor" is the same as "--opcion valor": for a long option with "=", leaves the
// option's name in arg and returns the value; otherwise nullopt and arg as it was.
inline std::optional<std::string> SepararValorEnLinea(std::string& arg) {
  if (arg.rfind("--", 0) != 0) return std::nullopt;
  const std::size_t igual = arg.find('=');
  if (igual == std::string::npos) return std::nullopt;
  std::string valor = arg.substr(igual + 1);
  arg.resize(igual);
  return valor;
}
