// What goes through libpcap: the compiled filters, and the reader of every capture format
// it knows.
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include <pcap/pcap.h>

#include "capturas/lectura.h"

namespace {

// Older libpcap versions keep the parser's state in globals; one compilation (and one
// opening of a filter's header) at a time, for counts on several threads.
std::mutex& CerrojoCompilacion() {
  static std::mutex cerrojo;
  return cerrojo;
}

std::string NombreEnlace(pcap_t* p) {
  const int dlt = pcap_datalink(p);
  const char* nombre = pcap_datalink_val_to_name(dlt);
  return nombre ? nombre : std::to_string(dlt);
}

}  // namespace

struct Filtro::Programa {
  bpf_program bpf{};
};

Filtro::Filtro(const std::string& expresion, std::uint32_t tipoEnlace, std::uint32_t longitudCaptura,
               const std::string& ruta)
    : propia_(true), programa_(std::make_unique<Programa>()) {
  // A pcap file header with this link type, read by libpcap itself: it maps the file's
  // link type to its own and settles the snapshot length as it does for a file.
  unsigned char cabecera[24] = {};
  const std::uint32_t campos[6] = {0xa1b23c4d, 2 | 4u << 16, 0, 0, longitudCaptura, tipoEnlace};
  std::memcpy(cabecera, campos, sizeof cabecera);
  std::FILE* f = ::fmemopen(cabecera, sizeof cabecera, "rb");
  char error[PCAP_ERRBUF_SIZE] = "";
  {
    std::lock_guard<std::mutex> bloqueo(CerrojoCompilacion());
    pcap_ = f ? pcap_fopen_offline_with_tstamp_precision(f, PCAP_TSTAMP_PRECISION_NANO, error) : nullptr;
  }
  if (!pcap_) {
    if (f) std::fclose(f);
    throw ErrorCaptura{"El filtro '" + expresion + "' no se puede aplicar a la captura '" + ruta +
                       "' (tipo de enlace " + std::to_string(tipoEnlace & 0x0FFFFFFF) +
                       "): libpcap no conoce el enlace (" + error + ")"};
  }
  Compilar(expresion, ruta);
}

Filtro::Filtro(const std::string& expresion, pcap_t* abierta, const std::string& ruta)
    : pcap_(abierta), programa_(std::make_unique<Programa>()) {
  Compilar(expresion, ruta);
}

void Filtro::Compilar(const std::string& expresion, const std::string& ruta) {
  captura_ = static_cast<std::uint32_t>(pcap_snapshot(pcap_));
  std::lock_guard<std::mutex> bloqueo(CerrojoCompilacion());
  if (pcap_compile(pcap_, &programa_->bpf, expresion.c_str(), 1, PCAP_NETMASK_UNKNOWN) != 0) {
    const std::string detalle = pcap_geterr(pcap_);
    const std::string enlace = NombreEnlace(pcap_);
    if (propia_) pcap_close(pcap_);
    pcap_ = nullptr;
    throw ErrorCaptura{"El filtro '" + expresion + "' no es válido para la captura '" + ruta +
                       "' (enlace " + enlace + "): " + detalle};
  }
}

Filtro::~Filtro() {
  if (pcap_) pcap_freecode(&programa_->bpf);
  if (propia_ && pcap_) pcap_close(pcap_);
}

bool Filtro::Acepta(std::uint32_t capturados, std::uint32_t longitud, const unsigned char* datos) const {
  pcap_pkthdr h{};
  h.caplen = capturados < captura_ ? capturados : captura_;
  h.len = longitud;
  return pcap_offline_filter(&programa_->bpf, &h, datos) != 0;
}

namespace {

// The content of a Fuente as a FILE* for libpcap; a failure of the source is kept to be
// thrown once libpcap has returned.
struct Galleta {
  Fuente* fuente = nullptr;
  std::uint64_t entregados = 0;
  std::optional<ErrorCaptura> error;
};

ssize_t LeerGalleta(void* g, char* destino, std::size_t n) {
  Galleta& galleta = *static_cast<Galleta*>(g);
  try {
    std::size_t total = 0;
    while (total < n) {
      const std::size_t m = galleta.fuente->Leer(reinterpret_cast<unsigned char*>(destino) + total, n - total);
      if (m == 0) break;
      total += m;
    }
    galleta.entregados += total;
    return static_cast<ssize_t>(total);
  } catch (const ErrorCaptura& e) {
    galleta.error = e;
    return -1;
  }
}

}  // namespace

void LeerConLibpcap(Fuente& f, Contexto& c) {
  Galleta galleta;
  galleta.fuente = &f;
  cookie_io_functions_t funciones{};
  funciones.read = LeerGalleta;
  std::FILE* fichero = ::fopencookie(&galleta, "rb", funciones);
  if (!fichero) throw ErrorCaptura{"No hay memoria para leer '" + f.Ruta() + "'"};
  char error[PCAP_ERRBUF_SIZE] = "";
  pcap_t* p = pcap_fopen_offline_with_tstamp_precision(fichero, PCAP_TSTAMP_PRECISION_NANO, error);
  if (!p) {
    std::fclose(fichero);
    if (galleta.error) throw *galleta.error;
    throw ErrorCaptura{"La captura '" + f.Ruta() + "' no se puede leer: " + error};
  }
  struct Cierre {
    pcap_t* p;
    ~Cierre() { pcap_close(p); }
  } cierre{p};
  std::unique_ptr<Filtro> filtro;
  if (!c.opciones.filtro.empty()) filtro = std::make_unique<Filtro>(c.opciones.filtro, p, f.Ruta());

  Acumulador& a = c.acumulador;
  const bool bytes = c.opciones.bytes;
  std::uint64_t paquetes = 0;
  pcap_pkthdr* h;
  const u_char* datos;
  int r;
  while ((r = pcap_next_ex(p, &h, &datos)) == 1) {
    ++paquetes;
    const std::int64_t t = static_cast<std::int64_t>(h->ts.tv_sec) * 1'000'000'000 + h->ts.tv_usec;
    if (filtro && !filtro->Acepta(h->caplen, h->len, datos)) {
      ++c.filtrados;
      a.Ver(t);
    } else {
      a.Sumar(t, bytes ? h->len : 1);
    }
    if ((paquetes & 0xFFFF) == 0) c.Avanzar(f);
  }
  c.leidos += paquetes;
  if (galleta.error) throw *galleta.error;
  if (r == PCAP_ERROR) {
    const std::string detalle = pcap_geterr(p);
    if (detalle.rfind("truncated", 0) == 0) {
      AvisoCortada(c, f, galleta.entregados, galleta.entregados, true, paquetes);
    } else {
      throw ErrorCaptura{"La captura '" + f.Ruta() + "' está dañada tras su paquete " +
                         std::to_string(paquetes) + ": " + detalle};
    }
  } else if (f.Incompleta()) {
    AvisoCortada(c, f, galleta.entregados, galleta.entregados, false, paquetes);
  }
  c.Avanzar(f);
}
