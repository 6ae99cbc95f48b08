// Byte streams of the input files: plain, or decompressed from gzip or zstd as they are read
// (never a temporary file, never the whole file in memory). Internal to capturas/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A refusal of the whole count: its text, in Spanish.
struct ErrorCaptura {
  std::string texto;
  bool pareceTexto = false;
};

class Fuente {
 public:
  virtual ~Fuente() = default;
  // Up to n bytes of the (decompressed) content; 0 only at its end. Throws ErrorCaptura
  // when the file cannot be read or its compressed data are damaged.
  std::size_t Leer(unsigned char* destino, std::size_t n);
  // Reads ahead up to n bytes that later calls of Leer return again.
  std::size_t Asomar(unsigned char* destino, std::size_t n);
  // Bytes taken from the file itself so far (compressed bytes of a compressed file).
  virtual std::uint64_t LeidosDelFichero() const = 0;
  // A compressed stream that ended before its end mark (the file was cut short).
  virtual bool Incompleta() const { return false; }
  // "gzip", "zstd" or "" for a plain file.
  virtual const char* Compresion() const { return ""; }
  const std::string& Ruta() const { return ruta_; }

 protected:
  explicit Fuente(std::string ruta) : ruta_(std::move(ruta)) {}
  virtual std::size_t LeerCrudo(unsigned char* destino, std::size_t n) = 0;

 private:
  std::string ruta_;
  std::vector<unsigned char> adelantado_;
  std::size_t servido_ = 0;
};

// Opens a file ("-": the standard input) and recognises gzip or zstd by its first bytes.
std::unique_ptr<Fuente> AbrirFuente(const std::string& ruta);
// The size of a regular file, 0 for anything else (a pipe, a missing file).
std::uint64_t TamanoFichero(const std::string& ruta);
