// The own reader of pcapng files: sections in either byte order, any number of interfaces,
// each with its link type, snapshot length, time resolution (if_tsresol, decimal or binary)
// and offset (if_tsoffset); enhanced and obsolete packet blocks; other blocks are skipped.
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "capturas/lectura.h"

namespace {

constexpr std::uint32_t kBloqueSeccion = 0x0A0D0D0A;
constexpr std::uint32_t kBloqueInterfaz = 1;
constexpr std::uint32_t kBloquePaqueteAntiguo = 2;
constexpr std::uint32_t kBloquePaqueteSimple = 3;
constexpr std::uint32_t kBloquePaqueteMejorado = 6;
constexpr std::size_t kBloque = 1 << 20;
// Blocks this reader parses in memory (sections, interfaces, packets) may not be larger.
constexpr std::uint32_t kMaxBloque = 16u << 20;
constexpr std::size_t kCabeceraPaquete = 28;  // block header and packet fields before the data

struct Interfaz {
  std::uint32_t enlace = 0, captura = 0;
  bool binaria = false;  // resolution 2^-exponente s, else 10^-exponente s
  int exponente = 6;
  std::int64_t desfase = 0;  // seconds added to every stamp
  std::unique_ptr<Filtro> filtro;
};

unsigned __int128 Potencia10(int k) {
  unsigned __int128 p = 1;
  for (int i = 0; i < k; ++i) p *= 10;
  return p;
}

class LectorPcapng {
 public:
  LectorPcapng(Fuente& f, Contexto& c) : f_(f), c_(c), b_(kBloque + kCabeceraPaquete + kMaxLongitudCapturada) {}

  void Leer() {
    for (;;) {
      inicio_ = b_.Desplazamiento();
      if (!Asegurar(8)) {
        if (b_.Disponibles() > 0) Cortada();
        else if (f_.Incompleta()) AvisoCortada(c_, f_, b_.base + b_.fin, b_.base + b_.fin, false, paquetes_);
        break;
      }
      const unsigned char* p = Actual();
      std::uint32_t tipo;
      std::memcpy(&tipo, p, 4);
      if (tipo == kBloqueSeccion) {
        if (!Asegurar(12)) return Cortada();
        p = Actual();
        std::uint32_t orden;
        std::memcpy(&orden, p + 8, 4);
        if (orden == 0x1A2B3C4D) cambiar_ = false;
        else if (orden == 0x4D3C2B1A) cambiar_ = true;
        else BloqueDanado("es una cabecera de sección cuyo orden de bytes no se reconoce");
        interfaces_.clear();
      } else {
        tipo = U32(p);
      }
      const std::uint32_t longitud = U32(p + 4);
      if (longitud < 12 || longitud % 4 != 0)
        BloqueDanado("dice medir " + std::to_string(longitud) + " bytes, que no es una longitud de bloque posible");
      switch (tipo) {
        case kBloqueSeccion:
          if (!Completo(longitud)) return Cortada();
          break;
        case kBloqueInterfaz:
          if (!Completo(longitud)) return Cortada();
          DescribirInterfaz(Actual(), longitud);
          break;
        case kBloquePaqueteMejorado:
        case kBloquePaqueteAntiguo:
          if (!Paquete(tipo, longitud)) return Cortada();
          break;
        case kBloquePaqueteSimple:
          throw ErrorCaptura{"La captura '" + f_.Ruta() + "' tiene paquetes sin marca de tiempo (bloques " +
                             "simples de pcapng, el primero en el byte " + std::to_string(inicio_) +
                             "): no se pueden repartir en intervalos"};
        default:
          if (!Saltar(longitud)) return Cortada();
          continue;
      }
      b_.pos += longitud;
    }
  }

 private:
  std::uint16_t U16(const unsigned char* p) const {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return cambiar_ ? __builtin_bswap16(v) : v;
  }
  std::uint32_t U32(const unsigned char* p) const {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return cambiar_ ? __builtin_bswap32(v) : v;
  }
  std::uint64_t U64(const unsigned char* p) const {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return cambiar_ ? __builtin_bswap64(v) : v;
  }
  const unsigned char* Actual() const { return b_.datos.data() + b_.pos; }

  // At least n unread bytes in the buffer, unless the content ends first.
  bool Asegurar(std::size_t n) {
    if (b_.Disponibles() >= n) return true;
    if (b_.datos.size() < n) {
      b_.Rellenar(f_);  // moves the unread bytes to the front before growing
      b_.datos.resize(n);
    }
    b_.Rellenar(f_, n);
    return b_.Disponibles() >= n;
  }
  // The whole block in the buffer.
  bool Completo(std::uint32_t longitud) {
    if (longitud > kMaxBloque)
      BloqueDanado("dice medir " + std::to_string(longitud) + " bytes, más de los " + std::to_string(kMaxBloque) +
                   " que puede medir un bloque de este tipo");
    return Asegurar(longitud);
  }
  // Passes over a block without keeping it.
  bool Saltar(std::uint64_t longitud) {
    for (;;) {
      const std::size_t d = static_cast<std::size_t>(std::min<std::uint64_t>(b_.Disponibles(), longitud));
      b_.pos += d;
      longitud -= d;
      if (longitud == 0) return true;
      if (!b_.Rellenar(f_)) return false;
    }
  }

  void DescribirInterfaz(const unsigned char* p, std::uint32_t longitud) {
    if (longitud < 20) BloqueDanado("es una descripción de interfaz demasiado corta");
    Interfaz i;
    i.enlace = U16(p + 8);
    i.captura = U32(p + 12);
    const unsigned char* q = p + 16;
    const unsigned char* const fin = p + longitud - 4;
    while (fin - q >= 4) {
      const std::uint16_t codigo = U16(q), largo = U16(q + 2);
      if (codigo == 0 || static_cast<std::size_t>(fin - q) - 4 < largo) break;
      if (codigo == 9 && largo >= 1) {
        i.binaria = (q[4] & 0x80) != 0;
        i.exponente = q[4] & 0x7F;
      } else if (codigo == 14 && largo >= 8) {
        i.desfase = static_cast<std::int64_t>(U64(q + 4));
      }
      q += 4 + ((largo + 3u) & ~3u);
    }
    interfaces_.push_back(std::move(i));
  }

  // Stamp in units of the interface's resolution -> nanoseconds since the epoch, rounded
  // down as libpcap does.
  bool Nanosegundos(const Interfaz& i, std::uint64_t marca, std::int64_t& t) const {
    unsigned __int128 v;
    if (i.binaria) v = (static_cast<unsigned __int128>(marca) * 1'000'000'000u) >> i.exponente;
    else if (i.exponente <= 9) v = static_cast<unsigned __int128>(marca) * Potencia10(9 - i.exponente);
    else if (i.exponente - 9 <= 38) v = marca / Potencia10(i.exponente - 9);
    else v = 0;
    const __int128 s = static_cast<__int128>(v) + static_cast<__int128>(i.desfase) * 1'000'000'000;
    if (s > std::numeric_limits<std::int64_t>::max() || s < std::numeric_limits<std::int64_t>::min()) return false;
    t = static_cast<std::int64_t>(s);
    return true;
  }

  bool Paquete(std::uint32_t tipo, std::uint32_t longitud) {
    if (longitud < kCabeceraPaquete + 4) PaqueteDanado("es un bloque de paquete demasiado corto");
    if (!Asegurar(kCabeceraPaquete)) return false;
    const std::uint32_t capturados = U32(Actual() + 20);
    if (capturados > kMaxLongitudCapturada)
      PaqueteDanado("dice haber capturado " + std::to_string(capturados) + " bytes, más de " +
                    std::to_string(kMaxLongitudCapturada) + " (256 KiB)");
    if (capturados > longitud - kCabeceraPaquete - 4)
      PaqueteDanado("dice haber capturado " + std::to_string(capturados) + " bytes, que no caben en su bloque de " +
                    std::to_string(longitud));
    if (!Completo(longitud)) return false;
    const unsigned char* p = Actual();
    const std::uint32_t numero = tipo == kBloquePaqueteMejorado ? U32(p + 8) : U16(p + 8);
    if (numero >= interfaces_.size())
      PaqueteDanado("es de la interfaz " + std::to_string(numero) + ", que la captura no describe");
    Interfaz& i = interfaces_[numero];
    const std::uint64_t marca = static_cast<std::uint64_t>(U32(p + 12)) << 32 | U32(p + 16);
    std::int64_t t;
    if (!Nanosegundos(i, marca, t)) PaqueteDanado("tiene una marca de tiempo fuera de lo representable");
    const std::uint32_t longitudOriginal = U32(p + 24);
    ++paquetes_;
    ++c_.leidos;
    if ((paquetes_ & 0xFFFF) == 0) c_.Avanzar(f_);
    if (!c_.opciones.filtro.empty()) {
      if (!i.filtro) i.filtro = std::make_unique<Filtro>(c_.opciones.filtro, i.enlace, i.captura, f_.Ruta());
      if (!i.filtro->Acepta(capturados, longitudOriginal, p + kCabeceraPaquete)) {
        ++c_.filtrados;
        c_.acumulador.Ver(t);
        return true;
      }
    }
    c_.acumulador.Sumar(t, c_.opciones.bytes ? longitudOriginal : 1);
    return true;
  }

  [[noreturn]] void PaqueteDanado(const std::string& que) { Danada(f_.Ruta(), paquetes_ + 1, inicio_, que); }
  [[noreturn]] void BloqueDanado(const std::string& que) {
    throw ErrorCaptura{"La captura '" + f_.Ruta() + "' está dañada: el bloque del byte " + std::to_string(inicio_) +
                       " (tras el paquete " + std::to_string(paquetes_) + ") " + que};
  }
  void Cortada() { AvisoCortada(c_, f_, b_.base + b_.fin, inicio_, true, paquetes_); }

  Fuente& f_;
  Contexto& c_;
  Bufer b_;
  bool cambiar_ = false;
  std::vector<Interfaz> interfaces_;
  std::uint64_t paquetes_ = 0;
  std::uint64_t inicio_ = 0;  // offset of the block being read
};

}  // namespace

void LeerPcapng(Fuente& f, Contexto& c) {
  LectorPcapng lector(f, c);
  lector.Leer();
  c.Avanzar(f);
}
