// What the readers of each input format share. Internal to capturas/.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capturas/acumulador.h"
#include "capturas/capturas.h"
#include "capturas/fuente.h"

struct pcap;

// Thrown when the caller raised the cancellation flag.
struct Cancelacion {};

// The state of one count over all its files.
struct Contexto {
  Contexto(const OpcionesConteo& o, std::uint64_t totalBytes)
      : opciones(o), acumulador(o.intervalo), total(totalBytes) {}

  const OpcionesConteo& opciones;
  Acumulador acumulador;
  std::uint64_t leidos = 0;     // packets read
  std::uint64_t filtrados = 0;  // discarded by the filter
  std::vector<std::string> avisos;
  std::uint64_t hechosAntes = 0;  // bytes of the files already read
  std::uint64_t total = 0;

  // Reports the progress of the file being read and stops when cancellation was asked.
  void Avanzar(const Fuente& f) const;
};

// A filter expression compiled by libpcap for one link type and snapshot length.
class Filtro {
 public:
  // For the link type and snapshot length of a pcap file header (or a pcapng interface).
  // Throws ErrorCaptura when libpcap cannot compile it for them.
  Filtro(const std::string& expresion, std::uint32_t tipoEnlace, std::uint32_t longitudCaptura,
         const std::string& ruta);
  // For a capture libpcap has opened itself.
  Filtro(const std::string& expresion, pcap* abierta, const std::string& ruta);
  ~Filtro();
  Filtro(const Filtro&) = delete;
  Filtro& operator=(const Filtro&) = delete;

  // Whether the packet passes. libpcap gives a filter at most the snapshot length of the
  // capture; so does this.
  bool Acepta(std::uint32_t capturados, std::uint32_t longitud, const unsigned char* datos) const;

 private:
  void Compilar(const std::string& expresion, const std::string& ruta);

  pcap* pcap_ = nullptr;
  bool propia_ = false;  // pcap_ opened here
  std::uint32_t captura_ = 0;
  struct Programa;
  std::unique_ptr<Programa> programa_;
};

// The buffer the pcap and pcapng readers parse in place.
struct Bufer {
  std::vector<unsigned char> datos;
  std::size_t pos = 0, fin = 0;  // unread bytes: datos[pos, fin)
  std::uint64_t base = 0;        // offset in the content of datos[0]

  explicit Bufer(std::size_t capacidad) : datos(capacidad) {}
  std::size_t Disponibles() const { return fin - pos; }
  std::uint64_t Desplazamiento() const { return base + pos; }  // offset of datos[pos]
  // Keeps the unread bytes, moved to the front, and reads more after them; at least n
  // bytes unread afterwards unless the content ends first. Returns whether anything came.
  bool Rellenar(Fuente& f, std::size_t n = 0);
};

// Packet number and offset of an impossible record, as the refusal names them.
[[noreturn]] void Danada(const std::string& ruta, std::uint64_t paquete, std::uint64_t desplazamiento,
                         const std::string& que);
// The warning of a file whose content ends inside a record (or whose compressed stream is
// cut): where, and how many of its packets were used.
void AvisoCortada(Contexto& c, const Fuente& f, std::uint64_t fin, std::uint64_t inicioRegistro,
                  bool dentroDeRegistro, std::uint64_t paquetesUsados);

void LeerPcap(Fuente& f, Contexto& c);          // pcap, standard magic numbers
void LeerPcapng(Fuente& f, Contexto& c);        // pcapng
void LeerConLibpcap(Fuente& f, Contexto& c);    // any capture libpcap knows
void LeerTexto(Fuente& f, Contexto& c);         // text packet trace
