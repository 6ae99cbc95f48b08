// The bins of a count while the packets are read, in any order. Internal to capturas/.
//
// Bins are numbered on the absolute clock, b = floor(t / w), so the origin and the number of
// bins need not be known in advance. The store is a table of pages of bins, each page made
// when a packet first falls in it: a span of many bins with few packets takes memory for
// the pages it touches only, until the counts are taken at the end. Most packets fall in
// the bin of the packet before, which needs no division.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "capturas/capturas.h"

// floor(a / b) for b > 0.
inline std::int64_t DivisionEntera(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b < 0) ? q - 1 : q;
}

class Acumulador {
 public:
  explicit Acumulador(std::int64_t intervalo) : w_(intervalo) {}

  // A packet kept by the filter: v (1 or its wire length) goes to its bin.
  void Sumar(std::int64_t t, std::uint64_t v) {
    if (static_cast<std::uint64_t>(t) - static_cast<std::uint64_t>(inicio_) < ancho_) {
      *celda_ += v;
      enUltimo_ += esUltimo_;
    } else {
      Lento(t, v, true);
    }
    if (t < tMin_) tMin_ = t;
    if (t > tMax_) tMax_ = t;
  }
  // A packet discarded by the filter: it only stretches the span of the input.
  void Ver(std::int64_t t) {
    if (static_cast<std::uint64_t>(t) - static_cast<std::uint64_t>(inicio_) >= ancho_)
      Lento(t, 0, false);
    if (t < tMin_) tMin_ = t;
    if (t > tMax_) tMax_ = t;
  }

  std::int64_t Intervalo() const { return w_; }
  std::int64_t PrimerInstante() const { return tMin_; }
  std::int64_t UltimoInstante() const { return tMax_; }
  std::int64_t Origen() const { return primero_ * w_; }
  // K: the bins from the origin up to the one holding the latest packet, not included.
  std::uint64_t Intervalos() const { return vacio_ ? 0 : static_cast<std::uint64_t>(ultimo_ - primero_); }
  // Packets kept by the filter that fall in the bin of the latest packet (dropped).
  std::uint64_t PaquetesEnUltimo() const { return enUltimo_; }
  // The K counts; the store is given away.
  std::vector<std::uint64_t> Cuentas();

 private:
  void Lento(std::int64_t t, std::uint64_t v, bool cuenta);

  std::int64_t w_;
  bool vacio_ = true;
  std::int64_t primero_ = 0, ultimo_ = 0;  // bins of the earliest and the latest packet
  static constexpr std::int64_t kPagina = 4096;  // bins per page
  std::int64_t primeraPagina_ = 0;               // page number of paginas_[0]
  std::vector<std::unique_ptr<std::uint64_t[]>> paginas_;
  // The bin of the last packet: its first instant, its width (0 until there is one, so the
  // first packet goes through Lento), its cell, whether it is the latest bin.
  std::int64_t inicio_ = 0;
  std::uint64_t ancho_ = 0;
  std::uint64_t* celda_ = nullptr;
  std::uint64_t esUltimo_ = 0;
  std::uint64_t enUltimo_ = 0;
  std::int64_t tMin_ = std::numeric_limits<std::int64_t>::max();
  std::int64_t tMax_ = std::numeric_limits<std::int64_t>::min();
};
