#include "numeric/sucesion_compacta.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "numeric/paralelo.h"

SucesionCompacta::SucesionCompacta(std::uint32_t longitud, const Generador& generar)
    : longitud_(longitud), bloques_(NumeroDePiezas(longitud, kBloque)) {
  ParaCadaPieza(bloques_.size(), [&](std::size_t b) {
    const std::uint32_t cuantos = ValoresEnBloque(static_cast<std::uint32_t>(b));
    std::vector<double> valores(cuantos);
    generar(static_cast<std::uint32_t>(b) * kBloque, cuantos, valores.data());
    Bloque& bloque = bloques_[b];
    // Patterns and their differences in arithmetic modulo 2^64, as reading undoes them.
    bloque.primero = std::bit_cast<std::uint64_t>(valores[0]);
    if (cuantos > 1)
      bloque.diferencia = std::bit_cast<std::uint64_t>(valores[1]) - bloque.primero;
    if (cuantos > 2) {
      bloque.segundas.resize(cuantos - 2);
      std::uint64_t anterior = std::bit_cast<std::uint64_t>(valores[1]);
      std::uint64_t diferencia = bloque.diferencia;
      for (std::uint32_t t = 2; t < cuantos; ++t) {
        const std::uint64_t patron = std::bit_cast<std::uint64_t>(valores[t]);
        const std::uint64_t nueva = patron - anterior;
        const auto segunda = static_cast<std::int64_t>(nueva - diferencia);
        if (segunda < std::numeric_limits<std::int16_t>::min() ||
            segunda > std::numeric_limits<std::int16_t>::max()) {
          bloque.segundas = std::vector<std::int16_t>();
          bloque.enteros = std::move(valores);
          return;
        }
        bloque.segundas[t - 2] = static_cast<std::int16_t>(segunda);
        anterior = patron;
        diferencia = nueva;
      }
    }
  });
}

std::uint32_t SucesionCompacta::ValoresEnBloque(std::uint32_t b) const {
  return std::min(kBloque, longitud_ - b * kBloque);
}

void SucesionCompacta::LeerBloque(std::uint32_t b, double* destino) const {
  const Bloque& bloque = bloques_[b];
  if (!bloque.enteros.empty()) {
    std::copy(bloque.enteros.begin(), bloque.enteros.end(), destino);
    return;
  }
  const std::uint32_t cuantos = ValoresEnBloque(b);
  std::uint64_t patron = bloque.primero;
  destino[0] = std::bit_cast<double>(patron);
  if (cuantos < 2) return;
  std::uint64_t diferencia = bloque.diferencia;
  patron += diferencia;
  destino[1] = std::bit_cast<double>(patron);
  const std::int16_t* s = bloque.segundas.data();
  for (std::uint32_t t = 2; t < cuantos; ++t) {
    diferencia += static_cast<std::uint64_t>(static_cast<std::int64_t>(s[t - 2]));
    patron += diferencia;
    destino[t] = std::bit_cast<double>(patron);
  }
}

std::size_t SucesionCompacta::Memoria() const {
  std::size_t bytes = bloques_.size() * sizeof(Bloque);
  for (const Bloque& b : bloques_)
    bytes += b.segundas.size() * sizeof(std::int16_t) + b.enteros.size() * sizeof(double);
  return bytes;
}
