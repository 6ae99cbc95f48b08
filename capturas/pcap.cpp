// The own reader of pcap files (microsecond or nanosecond stamps, either byte order): big
// reads into one buffer, records parsed in place, no call per packet but the filter's.
#include <cstring>
#include <string>

#include "capturas/lectura.h"

void Contexto::Avanzar(const Fuente& f) const {
  if (opciones.progreso) opciones.progreso(AvanceConteo{hechosAntes + f.LeidosDelFichero(), total});
  if (opciones.cancelar && opciones.cancelar->load(std::memory_order_relaxed)) throw Cancelacion{};
}

bool Bufer::Rellenar(Fuente& f, std::size_t n) {
  if (pos > 0) {
    std::memmove(datos.data(), datos.data() + pos, fin - pos);
    base += pos;
    fin -= pos;
    pos = 0;
  }
  bool algo = false;
  do {
    const std::size_t m = f.Leer(datos.data() + fin, datos.size() - fin);
    if (m == 0) break;
    fin += m;
    algo = true;
  } while (fin < n);
  return algo;
}

void Danada(const std::string& ruta, std::uint64_t paquete, std::uint64_t desplazamiento,
            const std::string& que) {
  throw ErrorCaptura{"La captura '" + ruta + "' está dañada: el paquete " + std::to_string(paquete) +
                     " (byte " + std::to_string(desplazamiento) + ") " + que};
}

void AvisoCortada(Contexto& c, const Fuente& f, std::uint64_t fin, std::uint64_t inicioRegistro,
                  bool dentroDeRegistro, std::uint64_t paquetesUsados) {
  const std::string compresion = f.Compresion();
  const std::string contenido = compresion.empty() ? "" : " de su contenido descomprimido";
  std::string t = "La captura '" + f.Ruta() + "' está cortada: ";
  if (dentroDeRegistro) {
    t += "termina en el byte " + std::to_string(fin) + contenido + ", dentro del registro que empieza en el byte " +
         std::to_string(inicioRegistro);
  } else {
    t += "sus datos " + compresion + " terminan antes de su marca de fin (en el byte " + std::to_string(fin) +
         contenido + ")";
  }
  t += "; se han usado sus " + std::to_string(paquetesUsados) + " paquetes completos";
  c.avisos.push_back(std::move(t));
}

namespace {

constexpr std::size_t kBloque = 1 << 20;
constexpr std::size_t kCabeceraFichero = 24;
constexpr std::size_t kCabeceraRegistro = 16;

template <bool Cambiar>
inline std::uint32_t U32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  if constexpr (Cambiar) v = __builtin_bswap32(v);
  return v;
}

template <bool Cambiar, bool ConFiltro>
void Registros(Fuente& f, Contexto& c, Bufer& b, std::int64_t nsPorFraccion, const Filtro* filtro) {
  Acumulador& a = c.acumulador;
  // What a packet adds: its wire length, or 1.
  const std::uint64_t mascara = c.opciones.bytes ? ~std::uint64_t{0} : 0;
  const std::uint64_t uno = c.opciones.bytes ? 0 : 1;
  std::uint64_t paquetes = 0, filtrados = 0;
  for (;;) {
    const unsigned char* const datos = b.datos.data();
    const unsigned char* p = datos + b.pos;
    const unsigned char* const fin = datos + b.fin;
    while (static_cast<std::size_t>(fin - p) >= kCabeceraRegistro) {
      const std::uint32_t capturados = U32<Cambiar>(p + 8);
      if (capturados > kMaxLongitudCapturada) {
        c.leidos += paquetes;
        c.filtrados += filtrados;
        Danada(f.Ruta(), paquetes + 1, b.base + static_cast<std::uint64_t>(p - datos),
               "dice haber capturado " + std::to_string(capturados) + " bytes, más de " +
                   std::to_string(kMaxLongitudCapturada) + " (256 KiB)");
      }
      if (static_cast<std::size_t>(fin - p) - kCabeceraRegistro < capturados) break;
      const std::int64_t t = static_cast<std::int64_t>(U32<Cambiar>(p)) * 1'000'000'000 +
                             static_cast<std::int64_t>(U32<Cambiar>(p + 4)) * nsPorFraccion;
      const std::uint32_t longitud = U32<Cambiar>(p + 12);
      ++paquetes;
      if constexpr (ConFiltro) {
        if (!filtro->Acepta(capturados, longitud, p + kCabeceraRegistro)) {
          ++filtrados;
          a.Ver(t);
          p += kCabeceraRegistro + capturados;
          continue;
        }
      }
      a.Sumar(t, (longitud & mascara) | uno);
      p += kCabeceraRegistro + capturados;
    }
    b.pos = static_cast<std::size_t>(p - datos);
    if (!b.Rellenar(f)) break;
    c.Avanzar(f);
  }
  c.leidos += paquetes;
  c.filtrados += filtrados;
  if (b.Disponibles() > 0)
    AvisoCortada(c, f, b.base + b.fin, b.Desplazamiento(), true, paquetes);
  else if (f.Incompleta())
    AvisoCortada(c, f, b.base + b.fin, b.base + b.fin, false, paquetes);
}

}  // namespace

void LeerPcap(Fuente& f, Contexto& c) {
  Bufer b(kBloque + kCabeceraRegistro + kMaxLongitudCapturada);
  b.Rellenar(f, kCabeceraFichero);
  if (b.Disponibles() < kCabeceraFichero) {
    AvisoCortada(c, f, b.fin, 0, true, 0);
    return;
  }
  const unsigned char* cabecera = b.datos.data();
  const std::uint32_t magia = U32<false>(cabecera);
  const bool cambiar = magia == 0xd4c3b2a1 || magia == 0x4d3cb2a1;
  const bool nano = magia == 0xa1b23c4d || magia == 0x4d3cb2a1;
  const std::uint32_t captura = cambiar ? U32<true>(cabecera + 16) : U32<false>(cabecera + 16);
  const std::uint32_t enlace = cambiar ? U32<true>(cabecera + 20) : U32<false>(cabecera + 20);
  b.pos = kCabeceraFichero;
  const std::int64_t nsPorFraccion = nano ? 1 : 1000;
  if (!c.opciones.filtro.empty()) {
    const Filtro filtro(c.opciones.filtro, enlace, captura, f.Ruta());
    if (cambiar) Registros<true, true>(f, c, b, nsPorFraccion, &filtro);
    else Registros<false, true>(f, c, b, nsPorFraccion, &filtro);
  } else {
    if (cambiar) Registros<true, false>(f, c, b, nsPorFraccion, nullptr);
    else Registros<false, false>(f, c, b, nsPorFraccion, nullptr);
  }
}
