// Captures made here in every format give the counts of the rule computed here; refusals,
// truncation warnings, widths and names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "capturas/capturas.h"
#include "support/capturas_prueba.h"
#include "support/carpeta_prueba.h"

namespace {

using ::testing::HasSubstr;
namespace pc = prueba_capturas;

class CapturasTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  CapturasTest() : CarpetaDePrueba("capturas") {}

  static ResultadoConteo Contar(const std::vector<std::string>& rutas, std::int64_t w, bool bytes = false,
                                const std::string& filtro = "", LectorPcap lector = LectorPcap::Propio,
                                FormatoEntrada formato = FormatoEntrada::Captura) {
    OpcionesConteo o;
    o.intervalo = w;
    o.bytes = bytes;
    o.filtro = filtro;
    o.lector = lector;
    o.formato = formato;
    return ContarCapturas(rutas, o);
  }
};

bool Todos(const pc::Paquete&) { return true; }
bool SoloTcp(const pc::Paquete& p) { return p.tcp; }
bool SoloUdp(const pc::Paquete& p) { return !p.tcp; }

void Comprobar(const ResultadoConteo& r, const pc::Esperado& e, std::size_t leidos, const std::string& caso) {
  ASSERT_TRUE(r.Exito()) << caso << ": " << r.error;
  EXPECT_EQ(r.cuentas, e.cuentas) << caso;
  EXPECT_EQ(r.resumen.intervalos, e.cuentas.size()) << caso;
  EXPECT_EQ(r.resumen.origen, e.origen) << caso;
  EXPECT_EQ(r.resumen.leidos, leidos) << caso;
  EXPECT_EQ(r.resumen.filtrados, e.filtrados) << caso;
  EXPECT_EQ(r.resumen.fuera, e.fuera) << caso;
  EXPECT_EQ(r.resumen.contados + r.resumen.filtrados + r.resumen.fuera, r.resumen.leidos) << caso;
  EXPECT_TRUE(r.avisos.empty()) << caso << ": " << (r.avisos.empty() ? "" : r.avisos[0]);
}

// Every format, plain and compressed, read by the own readers and by libpcap, with and
// without filters, in packets and bytes: the counts of the rule.
TEST_F(CapturasTest, MismasCuentasEnCadaFormato) {
  const std::vector<pc::Paquete> paquetes = pc::Paquetes(4000, 7);
  struct Formato {
    const char* nombre;
    std::string contenido;
  };
  const std::vector<Formato> formatos = {
      {"us.pcap", pc::Pcap(paquetes, false, false)},     {"us_be.pcap", pc::Pcap(paquetes, false, true)},
      {"ns.pcap", pc::Pcap(paquetes, true, false)},      {"ns_be.pcap", pc::Pcap(paquetes, true, true)},
      {"le.pcapng", pc::Pcapng(paquetes, false)},        {"be.pcapng", pc::Pcapng(paquetes, true)},
  };
  struct Filtro {
    const char* expresion;
    bool (*pasa)(const pc::Paquete&);
  };
  const Filtro filtros[] = {{"", Todos}, {"tcp", SoloTcp}, {"udp and port 53", SoloUdp}};
  const std::int64_t anchuras[] = {10'000'000, 1'000'000, 7'000};
  for (const Formato& f : formatos) {
    const std::vector<std::string> rutas = {Fichero(f.nombre, f.contenido),
                                            Fichero(std::string(f.nombre) + ".gz", pc::Gzip(f.contenido)),
                                            Fichero(std::string(f.nombre) + ".zst", pc::Zstd(f.contenido))};
    for (const std::string& ruta : rutas) {
      for (LectorPcap lector : {LectorPcap::Propio, LectorPcap::Libpcap}) {
        for (const Filtro& filtro : filtros) {
          for (std::int64_t w : anchuras) {
            for (bool bytes : {false, true}) {
              if (w != anchuras[0] && (filtro.pasa != Todos || ruta != rutas[0])) continue;
              const std::string caso = ruta + (lector == LectorPcap::Libpcap ? " libpcap" : "") + " '" +
                                       filtro.expresion + "' " + std::to_string(w) + (bytes ? " bytes" : "");
              Comprobar(Contar({ruta}, w, bytes, filtro.expresion, lector), pc::Contar(paquetes, w, bytes, filtro.pasa),
                        paquetes.size(), caso);
            }
          }
        }
      }
    }
  }
  const std::string texto = Fichero("traza.txt", pc::Texto(paquetes));
  const std::string textoGz = Fichero("traza.txt.gz", pc::Gzip(pc::Texto(paquetes)));
  for (const std::string& ruta : {texto, textoGz})
    for (bool bytes : {false, true})
      Comprobar(Contar({ruta}, 10'000'000, bytes, "", LectorPcap::Propio, FormatoEntrada::Texto),
                pc::Contar(paquetes, 10'000'000, bytes, Todos), paquetes.size(), ruta);
}

// The parts of a capture in any order and in different formats, packets in reverse order,
// gzip members one after another: one trace.
TEST_F(CapturasTest, VariasCapturasSonUnaTraza) {
  std::vector<pc::Paquete> paquetes = pc::Paquetes(3000, 11);
  const std::vector<pc::Paquete> a(paquetes.begin(), paquetes.begin() + 1000),
      b(paquetes.begin() + 1000, paquetes.begin() + 2000), c(paquetes.begin() + 2000, paquetes.end());
  const std::string pa = Fichero("a.pcapng.zst", pc::Zstd(pc::Pcapng(a, true)));
  const std::string pb = Fichero("b.pcap", pc::Pcap(b, true, false));
  const std::string pcg = Fichero("c.pcap.gz", pc::Gzip(pc::Pcap(c, false, true)));
  const pc::Esperado e = pc::Contar(paquetes, 10'000'000, true, SoloTcp);
  Comprobar(Contar({pcg, pa, pb}, 10'000'000, true, "tcp"), e, paquetes.size(), "c a b");

  std::reverse(paquetes.begin(), paquetes.end());
  Comprobar(Contar({Fichero("inverso.pcap", pc::Pcap(paquetes, true, false))}, 10'000'000, true, "tcp"), e,
            paquetes.size(), "inverso");

  const std::vector<pc::Paquete> primera(paquetes.begin(), paquetes.begin() + 1500);
  const std::string dos = pc::Gzip(pc::Pcap(primera, true, false));
  std::string miembros = dos + pc::Gzip(pc::Pcap(primera, true, false).substr(24));
  const std::string ruta = Fichero("miembros.pcap.gz", miembros);
  std::vector<pc::Paquete> doble = primera;
  doble.insert(doble.end(), primera.begin(), primera.end());
  Comprobar(Contar({ruta}, 1'000'000), pc::Contar(doble, 1'000'000, false, Todos), doble.size(), "miembros");
}

// A filter is compiled for the link type of each capture: Ethernet and bare IP together.
TEST_F(CapturasTest, FiltroPorTipoDeEnlace) {
  const std::vector<pc::Paquete> paquetes = pc::Paquetes(2000, 5);
  const std::vector<pc::Paquete> a(paquetes.begin(), paquetes.begin() + 1000), b(paquetes.begin() + 1000, paquetes.end());
  const std::string ethernet = Fichero("eth.pcap", pc::Pcap(a, false, false));
  const std::string crudo = Fichero("raw.pcap", pc::Pcap(b, false, false, true));
  for (LectorPcap lector : {LectorPcap::Propio, LectorPcap::Libpcap})
    Comprobar(Contar({crudo, ethernet}, 10'000'000, false, "tcp", lector),
              pc::Contar(paquetes, 10'000'000, false, SoloTcp), paquetes.size(), "eth + raw");
}

// Times of a text trace are decimal digits: 0.57 s is in bin 57 of 10 ms bins.
TEST_F(CapturasTest, TiemposDeTextoSinComaFlotante) {
  const std::string ruta = Fichero("t.txt", "0.00 1\n0.57 100\n 0.29 7 \r\n0.6 1\n0.1234567891 5\n");
  const ResultadoConteo r = Contar({ruta}, 10'000'000, true, "", LectorPcap::Propio, FormatoEntrada::Texto);
  ASSERT_TRUE(r.Exito()) << r.error;
  ASSERT_EQ(r.cuentas.size(), 60u);
  EXPECT_EQ(r.cuentas[57], 100u);
  EXPECT_EQ(r.cuentas[29], 7u);
  EXPECT_EQ(r.cuentas[12], 5u);
  EXPECT_EQ(r.resumen.fuera, 1u);
  EXPECT_EQ(r.resumen.ultimo, 600'000'000);
}

struct Rechazo {
  const char* nombre;
  std::string contenido;  // "" with ausente: the file does not exist
  std::string mensaje;
  std::int64_t w = 10'000'000;
  const char* filtro = "";
  FormatoEntrada formato = FormatoEntrada::Captura;
  bool pareceTexto = false;
};

std::string ConCapturados(std::string pcap, std::size_t registro, std::uint32_t capturados) {
  std::memcpy(pcap.data() + registro + 8, &capturados, 4);
  return pcap;
}

TEST_F(CapturasTest, Rechazos) {
  const std::vector<pc::Paquete> tres = pc::Paquetes(3, 1);
  const std::string pcap = pc::Pcap(tres, true, false);
  const std::size_t r3 = 24 + 2 * (16 + 64);  // the third record
  std::string pcapng = pc::CabeceraPcapng(false);
  const std::size_t b3 = pcapng.size() + 2 * pc::BloquePaquete(tres[0], false, 0).size();
  pcapng += pc::BloquePaquete(tres[0], false, 0) + pc::BloquePaquete(tres[1], false, 0);
  std::string grande = pc::BloquePaquete(tres[2], false, 0);
  const std::uint32_t enorme = 300'000;
  std::memcpy(grande.data() + 20, &enorme, 4);
  std::string gzip = pc::Gzip(pcap);
  for (std::size_t i = 20; i < gzip.size() - 8; ++i) gzip[i] = static_cast<char>(gzip[i] ^ 0x5a);
  const pc::Paquete uno{1'700'000'000'000'000'000, 60, true};
  const pc::Paquete cerca{1'700'000'000'004'000'000, 60, true};
  const pc::Paquete lejos{1'700'000'002'000'000'000, 60, true};
  const std::string simple = pc::CabeceraPcapng(false) + std::string("\x03\0\0\0\x14\0\0\0\x3c\0\0\0\0\0\0\0\x14\0\0\0", 20);

  const Rechazo casos[] = {
      {"ausente.pcap", "", "No puedo leer el fichero", 10'000'000, ""},
      {"vacio.pcap", "", "está vacío: no es una captura pcap ni pcapng"},
      {"serie.sam", "1\n2\n3\n", "no es una captura pcap ni pcapng; parece un fichero de texto", 10'000'000, "",
       FormatoEntrada::Captura, true},
      {"binario.bin", std::string("\x01\x02\x03\x04\x00\xff", 6), "no es una captura pcap ni pcapng"},
      {"filtro.pcap", pcap, "El filtro 'tcp and' no es válido para la captura", 10'000'000, "tcp and"},
      {"caplen.pcap", ConCapturados(pcap, r3, 262145),
       "está dañada: el paquete 3 (byte " + std::to_string(r3) + ") dice haber capturado 262145 bytes"},
      {"caplen.pcapng", pcapng + grande,
       "está dañada: el paquete 3 (byte " + std::to_string(b3) + ") dice haber capturado 300000 bytes"},
      {"roto.pcap.gz", gzip, "está dañado: sus datos gzip no se pueden descomprimir"},
      {"cabecera.pcap", pc::Pcap({}, false, false), "no tiene ningún paquete"},
      {"uno.pcap", pc::Pcap({uno}, false, false), "tiene un solo paquete: no da ningún intervalo completo de 10ms"},
      {"corta.pcap", pc::Pcap({uno, cerca}, false, false), "no da ningún intervalo completo de 10ms: sus 2 paquetes"},
      {"bins.pcap", pc::Pcap({uno, lejos}, false, false),
       "Con intervalos de 1ns harían falta al menos 2000000000 intervalos para abarcar los paquetes (2 s", 1},
      {"simple.pcapng", simple, "paquetes sin marca de tiempo"},
      {"linea.txt", "0.1 60\n0.2 60 7\n", "no tiene el formato adecuado en la línea 2: se esperaban dos campos",
       10'000'000, "", FormatoEntrada::Texto},
      {"tiempo.txt", "# t\n1e-3 60\n", "en la línea 2: el tiempo '1e-3' no es un número de segundos", 10'000'000, "",
       FormatoEntrada::Texto},
      {"tamano.txt", "0.1 6.5\n", "en la línea 1: el tamaño '6.5' no es un número entero de bytes", 10'000'000, "",
       FormatoEntrada::Texto},
      {"filtrotexto.txt", "0.1 60\n0.2 60\n", "Un filtro solo se aplica a capturas pcap o pcapng", 10'000'000, "tcp",
       FormatoEntrada::Texto},
      {"captura.pcap", pcap, "es una captura pcap o pcapng, no una traza de texto", 10'000'000, "",
       FormatoEntrada::Texto},
  };
  for (const Rechazo& c : casos) {
    const std::string ruta = c.contenido.empty() && std::string(c.nombre) == "ausente.pcap"
                                 ? (dir_ / c.nombre).string()
                                 : Fichero(c.nombre, c.contenido);
    const ResultadoConteo r = Contar({ruta}, c.w, false, c.filtro, LectorPcap::Propio, c.formato);
    EXPECT_EQ(r.estado, EstadoConteo::Rechazo) << c.nombre;
    EXPECT_THAT(r.error, HasSubstr(c.mensaje)) << c.nombre;
    EXPECT_EQ(r.pareceTexto, c.pareceTexto) << c.nombre;
    EXPECT_TRUE(r.cuentas.empty()) << c.nombre;
  }
}

// A capture cut while being written: its complete records are counted, and a warning says
// where it ends and how many packets were used.
TEST_F(CapturasTest, CapturaCortada) {
  const std::vector<pc::Paquete> paquetes = pc::Paquetes(5000, 3);
  const std::string pcap = pc::Pcap(paquetes, false, false);
  const std::string pcapng = pc::Pcapng(paquetes, false);
  auto registro = [&](std::size_t i) {  // offset of record i (from 0)
    std::size_t p = 24;
    for (std::size_t k = 0; k < i; ++k) p += 16 + pc::Capturados(paquetes[k]);
    return p;
  };
  struct Caso {
    const char* nombre;
    std::string contenido;
    std::size_t usados;
    std::string aviso;
  };
  const std::size_t corte = registro(300) + 30;  // inside record 301
  const std::string gz = pc::Gzip(pcap);
  const std::string zst = pc::Zstd(pcap);
  const Caso casos[] = {
      {"dato.pcap", pcap.substr(0, corte), 300,
       "termina en el byte " + std::to_string(corte) + ", dentro del registro que empieza en el byte " +
           std::to_string(corte - 30) + "; se han usado sus 300 paquetes completos"},
      {"cabecera.pcap", pcap.substr(0, registro(400) + 5), 400, "se han usado sus 400 paquetes completos"},
      {"cortado.pcapng", pcapng.substr(0, pcapng.size() - 10), 4999, "se han usado sus 4999 paquetes completos"},
      {"cortado.pcap.gz", gz.substr(0, gz.size() / 2), 0, "de su contenido descomprimido"},
      {"cortado.pcap.zst", zst.substr(0, zst.size() / 2), 0, "de su contenido descomprimido"},
  };
  for (const Caso& c : casos) {
    for (LectorPcap lector : {LectorPcap::Propio, LectorPcap::Libpcap}) {
      const ResultadoConteo r = Contar({Fichero(c.nombre, c.contenido)}, 10'000'000, false, "", lector);
      ASSERT_TRUE(r.Exito()) << c.nombre << ": " << r.error;
      ASSERT_EQ(r.avisos.size(), 1u) << c.nombre;
      EXPECT_THAT(r.avisos[0], HasSubstr("está cortada")) << c.nombre;
      if (lector == LectorPcap::Propio) {
        EXPECT_THAT(r.avisos[0], HasSubstr(c.aviso)) << c.nombre;
      }
      const std::size_t usados = c.usados ? c.usados : r.resumen.leidos;
      EXPECT_GT(usados, 0u);
      EXPECT_EQ(r.resumen.leidos, usados) << c.nombre;
      const std::vector<pc::Paquete> completos(paquetes.begin(), paquetes.begin() + static_cast<std::ptrdiff_t>(usados));
      EXPECT_EQ(r.cuentas, pc::Contar(completos, 10'000'000, false, Todos).cuentas) << c.nombre;
    }
  }
}

// Progress grows up to the size of the files; a raised flag cancels.
TEST_F(CapturasTest, ProgresoYCancelacion) {
  const std::string contenido = pc::Pcap(pc::Paquetes(60000, 9), false, false);
  const std::string ruta = Fichero("p.pcap", contenido);
  OpcionesConteo o;
  o.intervalo = 10'000'000;
  std::vector<AvanceConteo> avances;
  o.progreso = [&](const AvanceConteo& a) { avances.push_back(a); };
  ASSERT_TRUE(ContarCapturas({ruta, ruta}, o).Exito());
  ASSERT_GE(avances.size(), 4u);
  for (std::size_t i = 1; i < avances.size(); ++i) EXPECT_GE(avances[i].hechos, avances[i - 1].hechos);
  EXPECT_EQ(avances.back().hechos, 2 * contenido.size());
  EXPECT_EQ(avances.back().total, 2 * contenido.size());

  std::atomic<bool> cancelar{false};
  o.cancelar = &cancelar;
  o.progreso = [&](const AvanceConteo&) { cancelar = true; };
  const ResultadoConteo r = ContarCapturas({ruta}, o);
  EXPECT_EQ(r.estado, EstadoConteo::Cancelado);
  EXPECT_TRUE(r.cuentas.empty());
}

TEST(Intervalo, FormasYRechazos) {
  struct Caso {
    const char* texto;
    std::int64_t ns;  // 0: refused
    const char* motivo;
  };
  const Caso casos[] = {
      {"10ms", 10'000'000, ""},        {"100us", 100'000, ""},       {"100\xc2\xb5s", 100'000, ""},
      {"250ns", 250, ""},              {"1s", 1'000'000'000, ""},     {"0.01", 10'000'000, ""},
      {"0,01", 10'000'000, ""},        {"1.5ms", 1'500'000, ""},      {"0.000000001", 1, ""},
      {"2.50000000000", 2'500'000'000, ""},
      {"9223372036854775807ns", 9'223'372'036'854'775'807, ""},
      {"0", 0, "es cero"},             {"0ms", 0, "es cero"},         {"-10ms", 0, ""},
      {"abc", 0, ""},                  {"10xs", 0, "unidad desconocida 'xs'"},
      {"0.0000000015", 0, "no es un número entero de nanosegundos"},
      {"1.5ns", 0, "no es un número entero de nanosegundos"},
      {"9223372036854775808ns", 0, "demasiado grande"}, {"99999999999999999999", 0, "demasiado grande"},
      {"", 0, ""},                     {"1e-3", 0, "unidad desconocida 'e-3'"}, {"10 ms", 0, "unidad desconocida"},
  };
  for (const Caso& c : casos) {
    std::string error;
    const std::optional<std::int64_t> w = LeerIntervalo(c.texto, error);
    if (c.ns) {
      EXPECT_EQ(w, c.ns) << c.texto << ": " << error;
    } else {
      EXPECT_FALSE(w) << c.texto;
      EXPECT_THAT(error, HasSubstr("el intervalo '" + std::string(c.texto) + "' no es válido")) << c.texto;
      EXPECT_THAT(error, HasSubstr(c.motivo)) << c.texto;
      EXPECT_THAT(error, HasSubstr("10ms, 100us, 250ns, 1s")) << c.texto;
    }
  }
}

TEST(Intervalo, NombresDeSeriesYFechas) {
  EXPECT_EQ(NombreIntervalo(10'000'000), "10ms");
  EXPECT_EQ(NombreIntervalo(1'500'000'000), "1500ms");
  EXPECT_EQ(NombreIntervalo(60'000'000'000), "60s");
  EXPECT_EQ(NombreIntervalo(100'000), "100us");
  EXPECT_EQ(NombreIntervalo(250), "250ns");
  EXPECT_EQ(NombreSerieCaptura("/a/b/traza.pcap.gz", false, 10'000'000), "traza_paquetes_10ms");
  EXPECT_EQ(NombreSerieCaptura("c:\\x\\lunes.2023.PCAPNG.ZST", true, 1'000), "lunes.2023_bytes_1us");
  EXPECT_EQ(NombreSerieCaptura("sin_extension", true, 1'000'000'000), "sin_extension_bytes_1s");
  EXPECT_EQ(FechaHoraUtc(620'407'500'000'000'000, 2), "1989-08-29 15:25:00.00 UTC");
  EXPECT_EQ(FechaHoraUtc(1'700'000'000'123'456'789, 9), "2023-11-14 22:13:20.123456789 UTC");
  EXPECT_EQ(FechaHoraUtc(-1, 3), "1969-12-31 23:59:59.999 UTC");
  EXPECT_EQ(DecimalesIntervalo(10'000'000), 2);
  EXPECT_EQ(DecimalesIntervalo(2'000'000'000), 0);
  EXPECT_EQ(DecimalesIntervalo(250), 8);
  EXPECT_EQ(DecimalesIntervalo(7), 9);
}

// The capture in examples/ made from the Bellcore trace gives the series of the data folder.
TEST(EjemploBellcore, CuentasDeLaTraza) {
  const char* datos = std::getenv("FENWA_DATA_DIR");
  ASSERT_TRUE(datos && *datos) << "falta FENWA_DATA_DIR";
  auto leer = [](const std::string& ruta) {
    std::ifstream f(ruta);
    EXPECT_TRUE(f) << "no se puede abrir " << ruta;
    std::vector<std::uint64_t> v;
    for (std::uint64_t x; f >> x;) v.push_back(x);
    return v;
  };
  const std::string ejemplo = std::string(FENWA_SOURCE_DIR) + "/examples/bellcore_pAug89.pcap";
  for (bool bytes : {false, true}) {
    OpcionesConteo o;
    o.intervalo = 10'000'000;
    o.bytes = bytes;
    const ResultadoConteo r = ContarCapturas({ejemplo}, o);
    ASSERT_TRUE(r.Exito()) << r.error;
    const std::vector<std::uint64_t> esperado =
        leer(std::string(datos) + (bytes ? "/bc_paug89_bytes_10ms.sam" : "/bc_paug89_packets_10ms.sam"));
    ASSERT_EQ(esperado.size(), 25208u);
    EXPECT_EQ(r.cuentas, esperado) << (bytes ? "bytes" : "paquetes");
    EXPECT_EQ(r.resumen.leidos, 100001u);
    EXPECT_EQ(r.resumen.origen, 620'407'500'000'000'000);
    EXPECT_TRUE(r.avisos.empty());
  }
}

}  // namespace
