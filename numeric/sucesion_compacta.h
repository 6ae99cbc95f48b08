// A long sequence of doubles kept exactly in about a quarter of its memory when it varies
// smoothly (the logarithms and cosines of the Fourier frequencies, for instance).
//
// The values are stored by blocks of kBloque. A block holds its first value, the difference
// between the bit patterns of its first two values, and then the second differences of the
// bit patterns as 16-bit integers; a block where a second difference does not fit (a jump,
// a sign change, a sequence too short to be smooth) is stored whole. Reading a block back
// gives the very same doubles, bit for bit.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class SucesionCompacta {
 public:
  static constexpr std::uint32_t kBloque = 2048;

  // Writes the values desde..desde+cuantos-1 of the sequence to destino.
  using Generador = std::function<void(std::uint32_t desde, std::uint32_t cuantos, double* destino)>;

  SucesionCompacta() = default;
  // The sequence of `longitud` values given by generar, called once per block (on all
  // threads, numeric/paralelo.h).
  SucesionCompacta(std::uint32_t longitud, const Generador& generar);

  std::uint32_t Longitud() const { return longitud_; }
  std::uint32_t Bloques() const { return static_cast<std::uint32_t>(bloques_.size()); }
  // Values in block b: kBloque, fewer in the last one.
  std::uint32_t ValoresEnBloque(std::uint32_t b) const;
  // Writes the values of block b to destino.
  void LeerBloque(std::uint32_t b, double* destino) const;
  // Bytes the values take.
  std::size_t Memoria() const;

 private:
  struct Bloque {
    std::uint64_t primero = 0;       // bit pattern of the first value
    std::uint64_t diferencia = 0;    // pattern of the second value minus that of the first
    std::vector<std::int16_t> segundas;  // second differences from the third value on
    std::vector<double> enteros;     // the values, when the block is stored whole
  };
  std::uint32_t longitud_ = 0;
  std::vector<Bloque> bloques_;
};
