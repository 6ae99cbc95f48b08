// Captures made byte by byte in the tests: pcap (microseconds or nanoseconds, either byte
// order), pcapng with several interfaces of different time resolutions, gzip and zstd, text
// traces; and the counts of a packet list computed here, independently of capturas/.
#pragma once

#include <zlib.h>
#include <zstd.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace prueba_capturas {

struct Paquete {
  std::int64_t t;          // nanoseconds since the epoch
  std::uint32_t longitud;  // wire length
  bool tcp;                // TCP, else UDP
};

// Ethernet (or, with crudo, bare IPv4) headers of a TCP or UDP packet, cut to `capturados`.
inline std::string Trama(const Paquete& p, std::uint32_t capturados, bool crudo = false) {
  std::string t;
  if (!crudo) t += std::string("\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xaa\xbb\x08\x00", 14);
  std::string ip = std::string("\x45\x00\x00\x00\x00\x01\x00\x00\x40", 9) + (p.tcp ? '\x06' : '\x11') +
                   std::string("\x00\x00\x0a\x00\x00\x01\x0a\x00\x00\x02", 10);
  t += ip;
  t += p.tcp ? std::string("\x04\x00\x00\x50\x00\x00\x00\x01\x00\x00\x00\x00\x50\x10\xff\xff\x00\x00\x00\x00", 20)
             : std::string("\x04\x00\x00\x35\x00\x08\x00\x00", 8);
  t.resize(capturados, '\0');
  return t;
}

inline std::uint32_t Capturados(const Paquete& p) { return p.longitud < 64 ? p.longitud : 64; }

class Bytes {
 public:
  explicit Bytes(bool grande) : grande_(grande) {}
  Bytes& U16(std::uint32_t v) { return N(v, 2); }
  Bytes& U32(std::uint64_t v) { return N(v, 4); }
  Bytes& U64(std::uint64_t v) { return N(v, 8); }
  Bytes& Texto(const std::string& s) {
    s_ += s;
    return *this;
  }
  Bytes& Relleno() {
    while (s_.size() % 4) s_ += '\0';
    return *this;
  }
  std::string& Str() { return s_; }
  std::size_t Tamano() const { return s_.size(); }

 private:
  Bytes& N(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) s_ += static_cast<char>((v >> 8 * (grande_ ? n - 1 - i : i)) & 0xff);
    return *this;
  }
  bool grande_;
  std::string s_;
};

// A pcap file. With `crudo`, link type 101 (bare IP) instead of Ethernet. Microsecond stamps
// drop what is below the microsecond.
inline std::string Pcap(const std::vector<Paquete>& paquetes, bool nano, bool grande, bool crudo = false) {
  Bytes b(grande);
  b.U32(nano ? 0xa1b23c4d : 0xa1b2c3d4).U16(2).U16(4).U32(0).U32(0).U32(65535).U32(crudo ? 101 : 1);
  for (const Paquete& p : paquetes) {
    const std::uint32_t c = Capturados(p);
    const std::int64_t fraccion = p.t % 1'000'000'000;
    b.U32(static_cast<std::uint64_t>(p.t / 1'000'000'000)).U32(static_cast<std::uint64_t>(nano ? fraccion : fraccion / 1000));
    b.U32(c).U32(p.longitud).Texto(Trama(p, c, crudo));
  }
  return b.Str();
}

inline void Bloque(Bytes& b, std::uint32_t tipo, const std::string& cuerpo, bool grande) {
  Bytes c(grande);
  c.Texto(cuerpo).Relleno();
  b.U32(tipo).U32(12 + c.Tamano()).Texto(c.Str()).U32(12 + c.Tamano());
}

// Time resolutions of the interfaces of the pcapng files: 10^-6 s (the default, no
// option), 10^-9 s with an offset of 1000 s, 2^-20 s. A packet goes to the binary one when
// its time is a whole number of its ticks, else to one of the others.
constexpr std::int64_t kDesfase = 1000;
inline bool EnBinaria(std::int64_t t) { return t % 15'625'000 == 0; }  // 2^14 ticks of 2^-20 s

inline std::string CabeceraPcapng(bool grande) {
  Bytes b(grande);
  Bytes shb(grande);
  shb.U32(0x1A2B3C4D).U16(1).U16(0).U64(~std::uint64_t{0});
  Bloque(b, 0x0A0D0D0A, shb.Str(), grande);
  for (int i = 0; i < 3; ++i) {
    Bytes idb(grande);
    idb.U16(1).U16(0).U32(65535);
    if (i == 1) {
      idb.U16(9).U16(1).Texto(std::string(1, 9)).Relleno();
      idb.U16(14).U16(8).U64(static_cast<std::uint64_t>(kDesfase));
    } else if (i == 2) {
      idb.U16(9).U16(1).Texto(std::string(1, static_cast<char>(0x80 | 20))).Relleno();
    }
    if (i > 0) idb.U16(0).U16(0);
    Bloque(b, 1, idb.Str(), grande);
  }
  return b.Str();
}

inline std::string BloquePaquete(const Paquete& p, bool grande, std::size_t indice) {
  std::uint32_t interfaz;
  std::uint64_t marca;
  if (EnBinaria(p.t)) {
    interfaz = 2;
    marca = static_cast<std::uint64_t>(p.t / 15'625'000) << 14;
  } else if (indice % 2) {
    interfaz = 1;
    marca = static_cast<std::uint64_t>(p.t - kDesfase * 1'000'000'000);
  } else {
    interfaz = 0;
    marca = static_cast<std::uint64_t>(p.t / 1000);
  }
  const std::uint32_t c = Capturados(p);
  Bytes epb(grande);
  epb.U32(interfaz).U32(marca >> 32).U32(marca & 0xffffffff).U32(c).U32(p.longitud).Texto(Trama(p, c));
  Bytes b(grande);
  Bloque(b, 6, epb.Str(), grande);
  return b.Str();
}

// A pcapng file: one section, three interfaces, a name resolution block to skip.
inline std::string Pcapng(const std::vector<Paquete>& paquetes, bool grande) {
  std::string s = CabeceraPcapng(grande);
  Bytes nrb(grande);
  Bloque(nrb, 4, std::string(8, '\0'), grande);
  for (std::size_t i = 0; i < paquetes.size(); ++i) {
    s += BloquePaquete(paquetes[i], grande, i);
    if (i == paquetes.size() / 2) s += nrb.Str();
  }
  return s;
}

// One line per packet, time with nine decimals, comments and blank lines among them.
inline std::string Texto(const std::vector<Paquete>& paquetes) {
  std::string s = "# tiempo tamaño\n\n";
  for (const Paquete& p : paquetes) {
    std::string f = std::to_string(p.t % 1'000'000'000);
    f.insert(0, 9 - f.size(), '0');
    s += std::to_string(p.t / 1'000'000'000) + "." + f + "\t" + std::to_string(p.longitud) + "  # p\n";
  }
  return s;
}

inline std::string Gzip(const std::string& s) {
  z_stream z{};
  if (deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflate");
  std::string out(deflateBound(&z, s.size()) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(s.data()));
  z.avail_in = static_cast<uInt>(s.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline std::string Zstd(const std::string& s) {
  std::string out(ZSTD_compressBound(s.size()), '\0');
  const std::size_t n = ZSTD_compress(out.data(), out.size(), s.data(), s.size(), 3);
  if (ZSTD_isError(n)) throw std::runtime_error("zstd");
  out.resize(n);
  return out;
}

// Packets over about `segundos` seconds from 2023-11-14 22:13:20 UTC, whole microseconds,
// some exactly on the edges of 10 ms bins, some out of order, some at the same instant.
inline std::vector<Paquete> Paquetes(std::size_t n, std::uint32_t semilla, double segundos = 3) {
  std::mt19937_64 g(semilla);
  const std::int64_t base = 1'700'000'000'000'000'000 + 3'217'000;
  const std::int64_t paso = static_cast<std::int64_t>(segundos * 1e9 / static_cast<double>(n));
  std::vector<Paquete> v;
  std::int64_t t = base;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t r = g();
    t += static_cast<std::int64_t>(r % static_cast<std::uint64_t>(2 * paso)) / 1000 * 1000;
    std::int64_t ti = t;
    if (r % 17 == 0) ti = t / 10'000'000 * 10'000'000;            // a bin edge
    if (r % 23 == 0) ti = t / 15'625'000 * 15'625'000;            // a tick of the binary clock
    if (r % 29 == 0 && i > 0) ti = v.back().t;                    // same instant
    if (r % 31 == 0) ti -= static_cast<std::int64_t>(g() % 50'000'000) / 1000 * 1000;  // late
    v.push_back({ti, static_cast<std::uint32_t>(60 + g() % 1455), (g() & 1) != 0});
  }
  return v;
}

struct Esperado {
  std::vector<std::uint64_t> cuentas;
  std::uint64_t filtrados = 0, fuera = 0;
  std::int64_t origen = 0;
};

// The counting rule written out plainly.
inline Esperado Contar(const std::vector<Paquete>& paquetes, std::int64_t w, bool bytes,
                       const std::function<bool(const Paquete&)>& pasa) {
  Esperado e;
  std::int64_t minimo = paquetes.at(0).t, maximo = paquetes.at(0).t;
  for (const Paquete& p : paquetes) {
    minimo = std::min(minimo, p.t);
    maximo = std::max(maximo, p.t);
  }
  e.origen = minimo / w * w;
  const std::int64_t k = (maximo - e.origen) / w;
  e.cuentas.assign(static_cast<std::size_t>(k), 0);
  for (const Paquete& p : paquetes) {
    if (!pasa(p)) {
      ++e.filtrados;
      continue;
    }
    const std::int64_t i = (p.t - e.origen) / w;
    if (i == k) ++e.fuera;
    else e.cuentas[static_cast<std::size_t>(i)] += bytes ? p.longitud : 1;
  }
  return e;
}

}  // namespace prueba_capturas
