#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/series.h"
#include "support/herramientas.h"

namespace {

namespace fs = std::filesystem;

// A private folder for the files of one test, removed afterwards.
class Carpeta {
 public:
  Carpeta() {
    dir_ = fs::temp_directory_path() /
           ("fenwa_series_" + std::to_string(::getpid()) + "_" + std::to_string(contador_++));
    fs::create_directories(dir_);
  }
  ~Carpeta() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Escribir(const std::string& nombre, const std::string& contenido) const {
    const std::string ruta = (dir_ / nombre).string();
    std::ofstream f(ruta, std::ios::binary);
    f << contenido;
    return ruta;
  }
  std::string Ruta(const std::string& nombre) const { return (dir_ / nombre).string(); }

 private:
  static inline int contador_ = 0;
  fs::path dir_;
};

using prueba::Copia;
using prueba::V;

std::string Formato(const std::string& ruta) {
  return "El fichero '" + ruta + "' no tiene el formato adecuado";
}

// Sets a process locale for the duration of a scope, as the desktop toolkit does.
class LocaleDelProceso {
 public:
  explicit LocaleDelProceso(const char* nombre) : anterior_(std::setlocale(LC_ALL, nullptr)) {
    activo_ = std::setlocale(LC_ALL, nombre) != nullptr;
  }
  ~LocaleDelProceso() { std::setlocale(LC_ALL, anterior_.c_str()); }
  bool Activo() const { return activo_; }

 private:
  std::string anterior_;
  bool activo_;
};

// ------------------------------------------------------------------------------ Reader

struct CasoLectura {
  const char* nombre;
  std::string contenido;
  std::vector<double> esperado;  // empty: refused with the format message
  std::string donde;             // the refused token's line and text; "" for too few numbers
};

const std::vector<CasoLectura>& CasosLectura() {
  static const std::vector<CasoLectura> casos = {
      {"dos numeros", "1.5\n2.5\n", {1.5, 2.5}, ""},
      {"una linea", "1 2 3", {1, 2, 3}, ""},
      {"uno por linea", "1\n2\n3\n", {1, 2, 3}, ""},
      {"sin fin de linea final", "1\n2\n3", {1, 2, 3}, ""},
      {"varios por linea", "1 2\n3\t4\n", {1, 2, 3, 4}, ""},
      {"blancos y CRLF", "  \n\t 1 \r\n 2 \r\n\n\n", {1, 2}, ""},
      {"signos y exponentes", "+1 -2 .5 1e-3 2E+2 -0.25e1 7.", {1, -2, 0.5, 0.001, 200, -2.5, 7}, ""},
      {"subdesbordamiento a cero", "1e-400 2", {0, 2}, ""},
      {"subdesbordamiento largo", "-0.000001e-399 123456789e-420 3", {-0.0, 0, 3}, ""},
      {"ceros con exponente enorme", "0e999999 0.000e5000", {0, 0}, ""},
      {"subnormal", "4e-320 1", {4e-320, 1}, ""},
      {"numero de 303 caracteres", "1 0." + std::string(300, '0') + "5 2", {1, 5e-301, 2}, ""},
      {"vacio", "", {}, ""},
      {"solo blancos", " \n\t\n", {}, ""},
      {"un numero", "5\n", {}, ""},
      {"primer token no numerico", "abc 1 2\n", {}, "línea 1: «abc»"},
      {"coma decimal", "1,5\n2,5\n", {}, "línea 1: «1,5»"},
      {"palabra al final", "1\n2\n3\nfin\n", {}, "línea 4: «fin»"},
      {"palabra en medio", "1 2 x 3", {}, "línea 1: «x»"},
      {"numero pegado a texto", "1 2\n\n3kg", {}, "línea 3: «3kg»"},
      {"nan", "1\n2\nnan\n", {}, "línea 3: «nan»"},
      {"infinito", "1 inf 3", {}, "línea 1: «inf»"},
      {"desbordamiento", "1e999 2", {}, "línea 1: «1e999»"},
      {"desbordamiento negativo", "1\n-2e400", {}, "línea 2: «-2e400»"},
      {"doble signo", "+-1 2", {}, "línea 1: «+-1»"},
      {"signo suelto", "+ 1 2", {}, "línea 1: «+»"},
      {"menos suelto", "1 2 -", {}, "línea 1: «-»"},
      {"exponente enorme", "1 1e+99999999999999999999", {}, "línea 1: «1e+99999999999999999999»"},
      {"mantisa larga desborda", "1 123456789012345678901234567890e300", {},
       "línea 1: «123456789012345678901234567890e300»"},
      {"caracter nulo", std::string("1 2\0 3", 6), {}, "línea 1: «2\\x00»"},
      {"hexadecimal", "0x10 1", {}, "línea 1: «0x10»"},
      {"separador punto y coma", "1;2", {}, "línea 1: «1;2»"},
      // The first bad token in the file, though the letter after it is found first.
      {"el primero de dos", "1\n2\n1e999\nabc\n", {}, "línea 3: «1e999»"},
      {"ajeno tras numero largo", "1 2 " + std::string(50, '7') + "x", {},
       "línea 1: «" + std::string(40, '7') + "…»"},
      {"latin-1 y utf-8", "1 2 a\xF1o a\xC3\xB1o", {}, "línea 1: «a\\xF1o»"},
      {"numero de mas de 64 KiB", "1 2\n" + std::string(70000, '1') + " 3", {},
       "línea 2: «" + std::string(40, '1') + "…»"},
  };
  return casos;
}

// Every case read in pieces, and as a stream in reads, of a few bytes, so that numbers and
// blanks fall on every side of the boundaries.
TEST(SampleFile, LecturaTablaDeCasos) {
  Carpeta carpeta;
  for (const CasoLectura& c : CasosLectura()) {
    const std::string ruta = carpeta.Escribir("serie.sam", c.contenido);
    for (const bool flujo : {false, true}) {
      for (const std::size_t trozo : {std::size_t{1}, std::size_t{2}, std::size_t{3},
                                      std::size_t{7}, std::size_t{1} << 22}) {
        std::string mensaje = "sin tocar";
        const Vector v = ReadSampleFile(ruta, mensaje, trozo, flujo);
        const std::string donde = std::string(c.nombre) + (flujo ? ", flujo" : ", trozos") +
                                  " de " + std::to_string(trozo);
        EXPECT_EQ(Copia(v), c.esperado) << donde;
        if (c.esperado.empty())
          EXPECT_EQ(mensaje, Formato(ruta) + (c.donde.empty() ? "" : "\n" + c.donde)) << donde;
        else
          EXPECT_EQ(mensaje, "") << donde;
      }
    }
  }
}

// A pipe or a device is refused at its first bad token, whatever follows: /dev/zero at
// once, a pipe whose writer would go on for ever once the reader stops reading.
TEST(SampleFile, FlujoSinFinSeRechazaAlPrimerTokenMalo) {
  Carpeta carpeta;
  const std::string fifo = carpeta.Ruta("tuberia");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::signal(SIGPIPE, SIG_IGN);
  std::size_t escritos = 0;
  std::thread escritor([&] {
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    const std::string prefijo = "1 2\n3 abc ";
    std::string numeros;
    for (int k = 0; k < 1 << 15; ++k) numeros += "5 ";
    bool bien = ::write(fd, prefijo.data(), prefijo.size()) > 0;
    while (bien && escritos < (std::size_t{1} << 32)) {  // stops when the reader closes
      const ssize_t r = ::write(fd, numeros.data(), numeros.size());
      bien = r > 0;
      if (bien) escritos += static_cast<std::size_t>(r);
    }
    ::close(fd);
  });
  std::string ceros;  // NUL bytes are shown as \x00, ten of them before the cut
  for (int k = 0; k < 10; ++k) ceros += "\\x00";
  const std::pair<std::string, std::string> casos[] = {{fifo, "línea 2: «abc»"},
                                                       {"/dev/zero", "línea 1: «" + ceros + "…»"}};
  for (const auto& [ruta, donde] : casos) {
    std::string mensaje;
    EXPECT_EQ(ReadSampleFile(ruta, mensaje).Longitud(), 0u) << ruta;
    EXPECT_EQ(mensaje, Formato(ruta) + "\n" + donde);
  }
  escritor.join();
  EXPECT_LT(escritos, std::size_t{1} << 28);  // the reader stopped long before the end
}

TEST(SampleFile, FicheroQueNoSePuedeLeer) {
  Carpeta carpeta;
  std::string mensaje;
  const std::string noExiste = carpeta.Ruta("no_existe.sam");
  EXPECT_EQ(ReadSampleFile(noExiste, mensaje).Longitud(), 0u);
  EXPECT_EQ(mensaje, "No puedo leer el fichero\n'" + noExiste + "'");
  // A folder opens but cannot be read as a file.
  const std::string carpetaRuta = carpeta.Ruta("");
  EXPECT_EQ(ReadSampleFile(carpetaRuta, mensaje).Longitud(), 0u);
  EXPECT_EQ(mensaje, "No puedo leer el fichero\n'" + carpetaRuta + "'");
}

TEST(SampleFile, NumerosConPuntoBajoLocaleEspanol) {
  LocaleDelProceso locale("es_ES.UTF-8");
  ASSERT_TRUE(locale.Activo()) << "es_ES.UTF-8 locale not installed";
  Carpeta carpeta;
  std::string mensaje;
  EXPECT_EQ(Copia(ReadSampleFile(carpeta.Escribir("a.sam", "1.5\n-2.25e-3\n"), mensaje)),
            (std::vector<double>{1.5, -2.25e-3}));
  // The comma stays refused: files always use a point.
  const std::string coma = carpeta.Escribir("b.sam", "1,5\n2,5\n");
  EXPECT_EQ(ReadSampleFile(coma, mensaje).Longitud(), 0u);
  EXPECT_EQ(mensaje, Formato(coma) + "\nlínea 1: «1,5»");
  const std::string salida = carpeta.Ruta("c.sam");
  ASSERT_TRUE(WriteSampleFile(V({0.1, 1234567, 1e-05}), salida, mensaje));
  EXPECT_EQ(prueba::LeerFichero(salida), "0.1\n1.23457e+06\n1e-05\n");
  EXPECT_EQ(FormatoMuestra(-2.5), "-2.5");
}

// 1234567 as "1.234.567", as the messages write line numbers.
std::string ConPuntos(std::uint64_t n) {
  std::string s = std::to_string(n);
  for (std::size_t i = s.size(); i > 3; i -= 3) s.insert(i - 3, 1, '.');
  return s;
}

std::vector<std::uint64_t> Bits(const Vector& v) {
  std::vector<std::uint64_t> b;
  for (double x : v) b.push_back(std::bit_cast<std::uint64_t>(x));
  return b;
}

// A long file of numbers in every notation (random doubles of all magnitudes, 6-digit
// general notation, fixed and scientific at any precision, long mantissas, exponents, signs,
// a leading '+', values that underflow to zero) between blanks of every kind: read whole, in
// pieces whose boundaries fall everywhere and as a stream, every value has the bits of
// std::from_chars, and a bad token anywhere is refused with its line.
TEST(CargaSerie, NumerosDeTodasLasFormasConLosBitsExactos) {
  std::mt19937_64 azar(20261210);
  std::string texto;
  std::vector<std::uint64_t> esperado;
  std::vector<std::size_t> inicio, largo;
  std::vector<std::uint64_t> linea;
  std::uint64_t lineas = 1;
  const char* const blancos[] = {" ", "\n", "\t", "\r\n", "  \n", "\n\n", "\f"};
  char b[160];
  for (int i = 0; i < 40000; ++i) {
    double x;
    do x = std::bit_cast<double>(azar()); while (!std::isfinite(x));
    const double moderado = std::ldexp(static_cast<double>(azar() >> 11), -53) *
                            std::pow(10.0, static_cast<int>(azar() % 31) - 15) *
                            (azar() & 1 ? -1 : 1);
    std::string t;
    switch (azar() % 8) {
      case 0: t.assign(b, std::to_chars(b, b + sizeof b, x).ptr); break;
      case 1: case 2: case 3:
        t.assign(b, std::to_chars(b, b + sizeof b, moderado, std::chars_format::general, 6).ptr);
        break;
      case 4:
        t.assign(b, std::to_chars(b, b + sizeof b, moderado, std::chars_format::fixed,
                                  static_cast<int>(azar() % 25)).ptr);
        break;
      case 5:
        t.assign(b, std::to_chars(b, b + sizeof b, x, std::chars_format::scientific,
                                  static_cast<int>(azar() % 30)).ptr);
        break;
      case 6:  // a long mantissa
        t = azar() & 1 ? "-" : "";
        for (int k = static_cast<int>(azar() % 30) + 1; k > 0; --k)
          t += static_cast<char>('0' + azar() % 10);
        t += '.';
        for (int k = static_cast<int>(azar() % 30) + 1; k > 0; --k)
          t += static_cast<char>('0' + azar() % 10);
        t += "e" + std::to_string(static_cast<int>(azar() % 41) - 20);
        break;
      default:
        t = "+" + std::string(b, std::to_chars(b, b + sizeof b, std::fabs(moderado)).ptr);
        break;
    }
    double valor = 0;
    const char* p = t.data() + (t[0] == '+');
    ASSERT_EQ(std::from_chars(p, t.data() + t.size(), valor).ec, std::errc()) << t;
    if (i % 997 == 0) {  // below the smallest double: zero with its sign
      t = i % 2 ? "-1e-400" : "2.5e-330";
      valor = i % 2 ? -0.0 : 0.0;
    }
    inicio.push_back(texto.size());
    largo.push_back(t.size());
    linea.push_back(lineas);
    esperado.push_back(std::bit_cast<std::uint64_t>(valor));
    texto += t;
    const std::string blanco = blancos[azar() % std::size(blancos)];
    texto += blanco;
    lineas += static_cast<std::uint64_t>(std::count(blanco.begin(), blanco.end(), '\n'));
  }
  Carpeta carpeta;
  const std::string ruta = carpeta.Escribir("formas.sam", texto);
  const std::pair<std::size_t, bool> lecturas[] = {
      {std::size_t{1} << 22, false}, {4093, false}, {61, false},
      {std::size_t{1} << 22, true},  {4093, true}};
  for (const auto& [trozo, flujo] : lecturas) {
    std::string mensaje;
    EXPECT_EQ(Bits(ReadSampleFile(ruta, mensaje, trozo, flujo)), esperado)
        << "trozo " << trozo << (flujo ? ", flujo" : "") << ": " << mensaje;
  }
  // A bad token at the start, in the middle, at the end: a byte no number holds, a number
  // too large, two points.
  const std::pair<std::size_t, const char*> malos[] = {
      {0, "1.5x"}, {17777, "1e999"}, {23456, "1.2.3"}, {39999, "-7,5"}, {31234, "1e999"}};
  for (const auto& [j, malo] : malos) {
    const std::string r = carpeta.Escribir(
        "mala.sam", texto.substr(0, inicio[j]) + malo + texto.substr(inicio[j] + largo[j]));
    for (const auto& [trozo, flujo] : lecturas) {
      std::string mensaje;
      EXPECT_EQ(ReadSampleFile(r, mensaje, trozo, flujo).Longitud(), 0u);
      EXPECT_EQ(mensaje, Formato(r) + "\nlínea " + ConPuntos(linea[j]) + ": «" + malo + "»")
          << "trozo " << trozo << (flujo ? ", flujo" : "");
    }
  }
}

// ------------------------------------------------------------------------------ Writer

TEST(SampleFile, FormatoDeEscritura) {
  struct Caso {
    double x;
    const char* texto;
  };
  const Caso casos[] = {
      {0.1, "0.1"},          {1234567, "1.23457e+06"}, {1e-05, "1e-05"},
      {100000, "100000"},    {999999, "999999"},       {1e6, "1e+06"},
      {0.0001, "0.0001"},    {0.00012345, "0.00012345"}, {1.5e-5, "1.5e-05"},
      {-2.5, "-2.5"},        {0, "0"},                 {2, "2"},
      {3.14159265, "3.14159"}, {123456.7, "123457"},   {1e100, "1e+100"},
      {-1.23456789e-300, "-1.23457e-300"},             {0.5, "0.5"},
  };
  for (const Caso& c : casos) EXPECT_EQ(FormatoMuestra(c.x), c.texto) << c.texto;

  Carpeta carpeta;
  std::string mensaje = "x";
  const std::string ruta = carpeta.Ruta("salida.sam");
  ASSERT_TRUE(WriteSampleFile(V({0.1, 1234567, 1e-05}), ruta, mensaje));
  EXPECT_EQ(mensaje, "");
  EXPECT_EQ(prueba::LeerFichero(ruta), "0.1\n1.23457e+06\n1e-05\n");
  // Rewriting truncates.
  ASSERT_TRUE(WriteSampleFile(V({7}), ruta, mensaje));
  EXPECT_EQ(prueba::LeerFichero(ruta), "7\n");
  ASSERT_TRUE(WriteSampleFile(Vector(), ruta, mensaje));
  EXPECT_EQ(prueba::LeerFichero(ruta), "");
}

TEST(SampleFile, IdaYVueltaConSeisCifras) {
  Carpeta carpeta;
  Vector v(5000);
  std::uint32_t semilla = 7;
  for (std::uint32_t i = 1; i <= v.Longitud(); ++i) {
    semilla = semilla * 1664525u + 1013904223u;
    const double mantisa = static_cast<double>(semilla) / 4294967296.0 - 0.5;
    v[i] = mantisa * std::pow(10.0, static_cast<int>(i % 31) - 15);
  }
  std::string mensaje;
  const std::string ruta = carpeta.Ruta("ida.sam");
  ASSERT_TRUE(WriteSampleFile(v, ruta, mensaje));
  const Vector w = ReadSampleFile(ruta, mensaje);
  ASSERT_EQ(w.Longitud(), v.Longitud()) << mensaje;
  for (std::uint32_t i = 1; i <= v.Longitud(); ++i)
    ASSERT_LE(std::fabs(w(i) - v(i)), 5e-6 * std::fabs(v(i))) << i;
  // Values already at 6 digits survive exactly a second round.
  ASSERT_TRUE(WriteSampleFile(w, ruta, mensaje));
  EXPECT_EQ(Copia(ReadSampleFile(ruta, mensaje)), Copia(w));
}

TEST(SampleFile, FicheroQueNoSePuedeCrearOEscribir) {
  Carpeta carpeta;
  std::string mensaje;
  const std::string ruta = carpeta.Ruta("no/existe/x.sam");
  EXPECT_FALSE(WriteSampleFile(V({1, 2}), ruta, mensaje));
  EXPECT_EQ(mensaje, "No puedo guardar el fichero\n'" + ruta + "': no existe la carpeta");
  // A full device: the data cannot be written, which is a failure too.
  EXPECT_FALSE(WriteSampleFile(Vector(100000, 1.5), "/dev/full", mensaje));
  EXPECT_EQ(mensaje, "No puedo guardar el fichero\n'/dev/full': disco lleno");
}

// ------------------------------------------------------------------------------ Names

TEST(SeriesName, CarpetaYExtension) {
  struct Caso {
    const char* ruta;
    const char* nombre;
  };
  const Caso casos[] = {
      {"C:\\datos\\traza1.sam", "traza1"},
      {"C:\\datos\\traza.1.sam", "traza.1"},
      {"/home/ana/datos/traza1.sam", "traza1"},
      {"/home/ana/datos.dir/traza", "traza"},
      {"traza.txt", "traza"},
      {"C:traza.sam", "traza"},
      {"/tmp/traza.", "traza"},
      {"/tmp/.sam", ".sam"},  // only an extension: the name must not be empty
      {".sam", ".sam"},
      {"/tmp/", "serie"},
  };
  for (const Caso& c : casos) EXPECT_EQ(NombreSerieDeRuta(c.ruta), c.nombre) << c.ruta;
}

// ------------------------------------------------------------------------------ Store

TEST(SeriesStore, EstadoInicial) {
  SeriesStore store;
  EXPECT_EQ(store.FreeSlots(), MaxSeries);
  EXPECT_EQ(store.CurrentSlot(), MaxSeries);
  EXPECT_EQ(store.Current(), nullptr);
  EXPECT_EQ(store.FindSlot(""), 0u);
  EXPECT_EQ(store.FindSlot("traza"), MaxSeries);
  for (std::uint32_t i = 0; i < MaxSeries; ++i) EXPECT_TRUE(store.Slot(i).Libre());
  EXPECT_THROW(store.Slot(MaxSeries), std::out_of_range);
}

TEST(SeriesStore, CargarBuscarYDuplicados) {
  SeriesStore store;
  EXPECT_EQ(store.Add("traza", V({1, 2})), 0u);
  EXPECT_EQ(store.Add("otra", V({3, 4, 5})), 1u);
  EXPECT_EQ(store.Add("traza", V({6, 7})), 2u);  // same name: a second entry
  EXPECT_EQ(store.FreeSlots(), 7u);
  EXPECT_EQ(store.CurrentSlot(), 2u);
  EXPECT_EQ(store.FindSlot("traza"), 0u);  // the lower-numbered slot
  EXPECT_EQ(store.FindSlot("Traza"), MaxSeries);  // exact, case-sensitive
  EXPECT_EQ(store.FindSlot(""), 3u);
  store.SetCurrentSlot(store.FindSlot("otra"));
  ASSERT_NE(store.Current(), nullptr);
  EXPECT_EQ(store.Current()->name, "otra");
  EXPECT_EQ(Copia(store.Current()->data), (std::vector<double>{3, 4, 5}));
  // Refused: empty name, empty data. Nothing changes.
  EXPECT_EQ(store.Add("", V({1, 2})), MaxSeries);
  EXPECT_EQ(store.Add("vacia", Vector()), MaxSeries);
  EXPECT_EQ(store.FreeSlots(), 7u);
  EXPECT_EQ(store.CurrentSlot(), 1u);
  // A free slot cannot become current.
  store.SetCurrentSlot(5);
  EXPECT_EQ(store.CurrentSlot(), MaxSeries);
}

TEST(SeriesStore, DiezSeriesYReutilizacionDelHueco) {
  SeriesStore store;
  for (std::uint32_t i = 0; i < MaxSeries; ++i)
    EXPECT_EQ(store.Add(std::string(1, 's').append(std::to_string(i)), V({1.0 * i, 2})), i);
  EXPECT_EQ(store.FreeSlots(), 0u);
  EXPECT_EQ(store.FindSlot(""), MaxSeries);
  EXPECT_EQ(store.Add("once", V({1, 2})), MaxSeries);
  EXPECT_EQ(store.CurrentSlot(), 9u);

  EXPECT_TRUE(store.Remove(4));
  EXPECT_FALSE(store.Remove(4));  // already free
  EXPECT_EQ(store.FreeSlots(), 1u);
  EXPECT_TRUE(store.Slot(4).Libre());
  EXPECT_EQ(store.Slot(4).data.Longitud(), 0u);
  EXPECT_EQ(store.CurrentSlot(), 9u);  // removing another slot keeps the current one
  EXPECT_EQ(store.Add("nueva", V({5, 6})), 4u);
  EXPECT_EQ(store.CurrentSlot(), 4u);

  EXPECT_TRUE(store.Remove(4));  // the current series
  EXPECT_EQ(store.CurrentSlot(), MaxSeries);
  EXPECT_EQ(store.Current(), nullptr);

  store.Clear();
  EXPECT_EQ(store.FreeSlots(), MaxSeries);
  EXPECT_EQ(store.FindSlot("s0"), MaxSeries);
}

TEST(SeriesStore, Renombrar) {
  SeriesStore store;
  store.Add("a", V({1, 2}));
  store.Add("b", V({3, 4}));
  EXPECT_TRUE(store.Rename(0, "b"));  // duplicates are allowed
  EXPECT_EQ(store.FindSlot("b"), 0u);
  EXPECT_EQ(store.FindSlot("a"), MaxSeries);
  EXPECT_FALSE(store.Rename(1, ""));  // a loaded series never has an empty name
  EXPECT_EQ(store.Slot(1).name, "b");
  EXPECT_FALSE(store.Rename(5, "libre"));  // free slot stays free
  EXPECT_EQ(store.FreeSlots(), 8u);
  EXPECT_EQ(store.CurrentSlot(), 1u);  // renaming does not change the current series
}

TEST(SeriesStore, CargaDesdeFicheroComoElComando) {
  // The load sequence: first free slot, read, name from the path, current slot.
  Carpeta carpeta;
  SeriesStore store;
  const std::string ruta = carpeta.Escribir("traza.1.sam", "10 20 30\n");
  std::string mensaje;
  Vector datos = ReadSampleFile(ruta, mensaje);
  ASSERT_EQ(datos.Longitud(), 3u);
  const std::uint32_t slot = store.Add(NombreSerieDeRuta(ruta), std::move(datos));
  EXPECT_EQ(slot, 0u);
  EXPECT_EQ(store.Slot(0).name, "traza.1");
  // A refused file leaves the store unchanged.
  Vector malo = ReadSampleFile(carpeta.Escribir("mala.sam", "7\n"), mensaje);
  EXPECT_EQ(store.Add(NombreSerieDeRuta("mala.sam"), std::move(malo)), MaxSeries);
  EXPECT_EQ(store.FreeSlots(), 9u);
}

}  // namespace

namespace {

// A generated series keeps how it was made and counts as unsaved until it is written; a
// loaded one has neither. Renaming keeps both; freeing the slot forgets them.
TEST(SeriesStore, SeriesGeneradasRecuerdanSuOrigen) {
  SeriesStore s;
  ParametrosGenerador p;
  p.H = 0.7;
  const std::uint32_t leida = s.Add("leida", Vector(3));
  const std::uint32_t generada = s.Add("fgn", Vector(3), p);
  const std::uint32_t otra = s.Add("otra", Vector(3), p);
  EXPECT_FALSE(s.Slot(leida).generada.has_value());
  EXPECT_FALSE(s.Slot(leida).sinGuardar);
  ASSERT_TRUE(s.Slot(generada).generada.has_value());
  EXPECT_EQ(s.Slot(generada).generada->H, 0.7);
  EXPECT_EQ(s.SinGuardar(), (std::vector<std::string>{"fgn", "otra"}));
  ASSERT_TRUE(s.Rename(generada, "renombrada"));
  EXPECT_TRUE(s.Slot(generada).generada.has_value());
  EXPECT_EQ(s.SinGuardar(), (std::vector<std::string>{"renombrada", "otra"}));
  s.MarcarGuardada(otra);
  EXPECT_EQ(s.SinGuardar(), std::vector<std::string>{"renombrada"});
  EXPECT_TRUE(s.Slot(otra).generada.has_value());  // saved, it still knows its origin
  ASSERT_TRUE(s.Remove(generada));
  EXPECT_TRUE(s.SinGuardar().empty());
  EXPECT_EQ(s.Add("nueva", Vector(3)), generada);
  EXPECT_FALSE(s.Slot(generada).generada.has_value());
}

}  // namespace
