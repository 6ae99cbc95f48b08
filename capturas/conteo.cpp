// The count over all the files: format by content, the bins store, the summary.
#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>
#include <string>
#include <vector>

#include "capturas/lectura.h"

namespace {

// A span of nanoseconds as seconds with their decimals: "252.081096 s".
std::string Segundos(std::uint64_t ns) {
  std::string t = std::to_string(ns / 1'000'000'000);
  std::string fraccion = std::to_string(ns % 1'000'000'000);
  fraccion.insert(0, 9 - fraccion.size(), '0');
  while (!fraccion.empty() && fraccion.back() == '0') fraccion.pop_back();
  if (!fraccion.empty()) t += "." + fraccion;
  return t + " s";
}

}  // namespace

void Acumulador::Lento(std::int64_t t, std::uint64_t v, bool cuenta) {
  const std::int64_t b = DivisionEntera(t, w_);
  const std::int64_t pagina = DivisionEntera(b, kPagina);
  if (vacio_) {
    vacio_ = false;
    primero_ = ultimo_ = b;
    primeraPagina_ = pagina;
    paginas_.resize(1);
  } else {
    const std::int64_t nuevoPrimero = std::min(primero_, b), nuevoUltimo = std::max(ultimo_, b);
    const std::uint64_t necesarios = static_cast<std::uint64_t>(nuevoUltimo) - static_cast<std::uint64_t>(nuevoPrimero);
    if (necesarios > kMaxIntervalos) {
      const std::int64_t desde = std::min(tMin_, t), hasta = std::max(tMax_, t);
      const int decimales = DecimalesIntervalo(w_);
      throw ErrorCaptura{"Con intervalos de " + NombreIntervalo(w_) + " harían falta al menos " +
                         std::to_string(necesarios) + " intervalos para abarcar los paquetes (" +
                         Segundos(static_cast<std::uint64_t>(hasta) - static_cast<std::uint64_t>(desde)) + ", del " +
                         FechaHoraUtc(desde, decimales) + " al " + FechaHoraUtc(hasta, decimales) +
                         "), más del máximo de " + std::to_string(kMaxIntervalos) + ": use un intervalo mayor"};
    }
    // The page table grows at either end, doubling, to the pages the span needs at most.
    const std::int64_t tamano = static_cast<std::int64_t>(paginas_.size());
    const std::int64_t maxPaginas = static_cast<std::int64_t>(kMaxIntervalos) / kPagina + 2;
    if (pagina < primeraPagina_) {
      const std::int64_t ultimaPagina = DivisionEntera(nuevoUltimo, kPagina);
      std::int64_t nueva = std::max(primeraPagina_ - tamano, ultimaPagina - maxPaginas);
      nueva = std::min(nueva, pagina);
      std::vector<std::unique_ptr<std::uint64_t[]>> tabla(static_cast<std::size_t>(primeraPagina_ - nueva + tamano));
      std::move(paginas_.begin(), paginas_.end(), tabla.begin() + (primeraPagina_ - nueva));
      paginas_ = std::move(tabla);
      primeraPagina_ = nueva;
    } else if (pagina - primeraPagina_ >= tamano) {
      const std::int64_t necesario = pagina - primeraPagina_ + 1;
      const std::int64_t tope = DivisionEntera(nuevoPrimero, kPagina) - primeraPagina_ + maxPaginas;
      paginas_.resize(static_cast<std::size_t>(std::max(necesario, std::min(2 * tamano, tope))));
    }
    if (b > ultimo_) enUltimo_ = 0;
    primero_ = nuevoPrimero;
    ultimo_ = nuevoUltimo;
  }
  std::unique_ptr<std::uint64_t[]>& p = paginas_[static_cast<std::size_t>(pagina - primeraPagina_)];
  if (!p) p = std::make_unique<std::uint64_t[]>(kPagina);  // zeroed
  celda_ = &p[static_cast<std::size_t>(b - pagina * kPagina)];
  inicio_ = b * w_;
  ancho_ = static_cast<std::uint64_t>(w_);
  esUltimo_ = b == ultimo_ ? 1 : 0;
  if (cuenta) {
    *celda_ += v;
    enUltimo_ += esUltimo_;
  }
}

std::vector<std::uint64_t> Acumulador::Cuentas() {
  std::vector<std::uint64_t> cuentas(static_cast<std::size_t>(Intervalos()), 0);
  // Page by page, each freed once copied.
  for (std::size_t i = 0; i < paginas_.size(); ++i) {
    if (!paginas_[i]) continue;
    const std::int64_t primerBin = (primeraPagina_ + static_cast<std::int64_t>(i)) * kPagina;
    for (std::int64_t k = 0; k < kPagina; ++k) {
      const std::int64_t b = primerBin + k;
      if (b >= primero_ && b < ultimo_) cuentas[static_cast<std::size_t>(b - primero_)] = paginas_[i][static_cast<std::size_t>(k)];
    }
    paginas_[i].reset();
  }
  paginas_.clear();
  celda_ = nullptr;
  ancho_ = 0;
  return cuentas;
}

namespace {

constexpr std::uint32_t kPcapMicro = 0xa1b2c3d4, kPcapNano = 0xa1b23c4d;
constexpr std::uint32_t kPcapModificado = 0xa1b2cd34;
constexpr std::uint32_t kPcapng = 0x0A0D0D0A;

enum class Tipo { Ninguno, Pcap, PcapOtro, Pcapng };

Tipo TipoPorMagia(const unsigned char* m, std::size_t n) {
  if (n < 4) return Tipo::Ninguno;
  std::uint32_t v;
  std::memcpy(&v, m, 4);
  const std::uint32_t w = __builtin_bswap32(v);
  if (v == kPcapMicro || v == kPcapNano || w == kPcapMicro || w == kPcapNano) return Tipo::Pcap;
  if (v == kPcapModificado || w == kPcapModificado) return Tipo::PcapOtro;
  if (v == kPcapng) return Tipo::Pcapng;
  return Tipo::Ninguno;
}

bool PareceTexto(Fuente& f) {
  unsigned char muestra[512];
  const std::size_t n = f.Asomar(muestra, sizeof muestra);
  if (n == 0) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char c = muestra[i];
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v') return false;
    if (c == 0x7f) return false;
  }
  return true;
}

void LeerFichero(Fuente& f, Contexto& c) {
  unsigned char magia[4];
  const std::size_t n = f.Asomar(magia, sizeof magia);
  const Tipo tipo = TipoPorMagia(magia, n);
  const bool libpcap = c.opciones.lector == LectorPcap::Libpcap;
  if (c.opciones.formato == FormatoEntrada::Texto) {
    if (tipo != Tipo::Ninguno)
      throw ErrorCaptura{"El fichero '" + f.Ruta() + "' es una captura pcap o pcapng, no una traza de texto"};
    return LeerTexto(f, c);
  }
  const std::string descomprimido = *f.Compresion() ? " (una vez descomprimido)" : "";
  switch (tipo) {
    case Tipo::Pcap:
      return libpcap ? LeerConLibpcap(f, c) : LeerPcap(f, c);
    case Tipo::Pcapng:
      return libpcap ? LeerConLibpcap(f, c) : LeerPcapng(f, c);
    case Tipo::PcapOtro:
      return LeerConLibpcap(f, c);
    case Tipo::Ninguno:
      break;
  }
  if (n == 0 && f.Incompleta())
    throw ErrorCaptura{"El fichero '" + f.Ruta() + "' está cortado: sus datos " + f.Compresion() +
                       " terminan antes de dar ningún byte"};
  if (n == 0) throw ErrorCaptura{"El fichero '" + f.Ruta() + "' está vacío" + descomprimido + ": no es una captura pcap ni pcapng"};
  const bool texto = PareceTexto(f);
  throw ErrorCaptura{"El fichero '" + f.Ruta() + "' no es una captura pcap ni pcapng" + descomprimido +
                         (texto ? "; parece un fichero de texto" : ""),
                     texto};
}

}  // namespace

ResultadoConteo ContarCapturas(const std::vector<std::string>& rutas, const OpcionesConteo& o) {
  ResultadoConteo r;
  auto rechazo = [&](std::string texto, bool pareceTexto = false) {
    r.estado = EstadoConteo::Rechazo;
    r.error = std::move(texto);
    r.pareceTexto = pareceTexto;
    r.cuentas.clear();
    return r;
  };
  if (o.intervalo <= 0) return rechazo("El intervalo debe ser un número entero positivo de nanosegundos");
  if (rutas.empty()) return rechazo("No se ha indicado ninguna captura");
  const bool texto = o.formato == FormatoEntrada::Texto;
  if (texto && !o.filtro.empty())
    return rechazo("Un filtro solo se aplica a capturas pcap o pcapng, no a trazas de texto");

  std::uint64_t total = 0;
  for (const std::string& ruta : rutas) total += TamanoFichero(ruta);
  Contexto c(o, total);
  try {
    for (const std::string& ruta : rutas) {
      const std::unique_ptr<Fuente> f = AbrirFuente(ruta);
      LeerFichero(*f, c);
      c.hechosAntes += f->LeidosDelFichero();
    }
  } catch (const ErrorCaptura& e) {
    return rechazo(e.texto, e.pareceTexto);
  } catch (const Cancelacion&) {
    r.estado = EstadoConteo::Cancelado;
    return r;
  } catch (const std::bad_alloc&) {
    return rechazo("No hay memoria suficiente para los intervalos del recuento");
  }
  r.avisos = std::move(c.avisos);

  const std::string sujeto = rutas.size() == 1 ? (texto ? "La traza '" : "La captura '") + rutas[0] + "'"
                                               : (texto ? "Las trazas" : "Las capturas");
  const bool plural = rutas.size() > 1;
  const Acumulador& a = c.acumulador;
  const std::string w = NombreIntervalo(o.intervalo);
  if (c.leidos == 0) return rechazo(sujeto + (plural ? " no tienen" : " no tiene") + " ningún paquete");
  if (a.Intervalos() == 0) {
    if (c.leidos == 1)
      return rechazo(sujeto + " tiene un solo paquete: no da ningún intervalo completo de " + w);
    const int decimales = DecimalesIntervalo(o.intervalo) > 6 ? 9 : 6;
 return rechazo(sujeto + (plural ? " no dan" : " no da") + " ningún intervalo completo de " + w + ": sus " + std::to_string(c.leidos) +
                   " paquetes (del " + FechaHoraUtc(a.PrimerInstante(), decimales) + " al " +
                   FechaHoraUtc(a.UltimoInstante(), decimales) + ") caen en un mismo intervalo");
  }

  ResumenConteo& s = r.resumen;
  s.leidos = c.leidos;
  s.filtrados = c.filtrados;
  s.fuera = a.PaquetesEnUltimo();
  s.contados = c.leidos - c.filtrados - s.fuera;
  s.intervalo = o.intervalo;
  s.origen = a.Origen();
  s.primero = a.PrimerInstante();
  s.ultimo = a.UltimoInstante();
  s.intervalos = a.Intervalos();
  try {
    r.cuentas = c.acumulador.Cuentas();
  } catch (const std::bad_alloc&) {
    return rechazo("No hay memoria suficiente para los intervalos del recuento");
  }
  if (o.bytes) s.bytesContados = std::accumulate(r.cuentas.begin(), r.cuentas.end(), std::uint64_t{0});
  r.estado = EstadoConteo::Exito;
  return r;
}

std::vector<std::string> LineasResumen(const ResumenConteo& r, bool bytes) {
  const int decimales = DecimalesIntervalo(r.intervalo);
  std::vector<std::string> l;
  l.push_back("paquetes leídos: " + std::to_string(r.leidos) + "; contados: " + std::to_string(r.contados) +
              "; descartados por el filtro: " + std::to_string(r.filtrados) +
              "; fuera de los intervalos: " + std::to_string(r.fuera));
  if (bytes) l.push_back("bytes contados (longitud original de cada paquete): " + std::to_string(r.bytesContados));
  l.push_back("intervalos: " + std::to_string(r.intervalos) + " de " + NombreIntervalo(r.intervalo) +
              " desde el origen " + FechaHoraUtc(r.origen, decimales));
  const std::int64_t ultimo = r.origen + static_cast<std::int64_t>(r.intervalos) * r.intervalo;
  l.push_back("el intervalo del último paquete (desde " + FechaHoraUtc(ultimo, decimales) +
              ") queda incompleto y se ha descartado");
  return l;
}

bool EsCaptura(const std::string& ruta) {
  if (ruta == "-") return false;
  try {
    const std::unique_ptr<Fuente> f = AbrirFuente(ruta);
    unsigned char magia[4];
    const std::size_t n = f->Asomar(magia, sizeof magia);
    return TipoPorMagia(magia, n) != Tipo::Ninguno;
  } catch (const ErrorCaptura&) {
    return false;
  }
}
