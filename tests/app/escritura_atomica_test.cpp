// Whole files or nothing: what a failed write leaves behind, and the message it gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

#include "app/escritura_atomica.h"
#include "support/carpeta_prueba.h"

namespace {

namespace fs = std::filesystem;

class EscrituraAtomicaTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  EscrituraAtomicaTest() : CarpetaDePrueba("atomica") {}

  std::vector<std::string> Nombres() const {
    std::vector<std::string> nombres;
    for (const auto& e : fs::directory_iterator(dir_)) nombres.push_back(e.path().filename().string());
    std::sort(nombres.begin(), nombres.end());
    return nombres;
  }
};

// Files larger than the limit cannot be written (EFBIG) while the guard lives: a disk that
// fills up in the middle of a file, for the process alone.
class LimiteDeTamano {
 public:
  explicit LimiteDeTamano(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &anterior_);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = anterior_;
    limite.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limite);
  }
  ~LimiteDeTamano() { ::setrlimit(RLIMIT_FSIZE, &anterior_); }

 private:
  rlimit anterior_{};
};

TEST_F(EscrituraAtomicaTest, ElFicheroEnteroONada) {
  const std::string grande(100000, '7');
  struct Caso {
    const char* nombre;
    std::string objetivo;            // path written; relative ones are in the test's folder
    bool existe;                     // the target holds "viejo" before (mode 0640)
    std::function<bool(FicheroAtomico&)> escritora;
    std::string causa;               // "" when the write succeeds
    std::string queda;               // content of the target afterwards
  };
  const auto escribe = [](std::string texto) {
    return [texto](FicheroAtomico& f) {
      const std::size_t mitad = texto.size() / 2;
      return f.Escribir(texto.substr(0, mitad)) && f.Escribir(texto.substr(mitad));
    };
  };
  const Caso casos[] = {
      {"nuevo", "a.sam", false, escribe("nuevo"), "", "nuevo"},
      {"reemplaza", "a.sam", true, escribe("nuevo"), "", "nuevo"},
      {"vacio", "a.sam", true, escribe(""), "", ""},
      {"grande", "a.sam", true, escribe(grande), "", grande},
      {"la escritora abandona", "a.sam", true,
       [](FicheroAtomico& f) { f.Escribir("medio"); return false; }, "", "viejo"},
      {"disco lleno a medias", "a.sam", true,
       [&](FicheroAtomico& f) {
         LimiteDeTamano limite(1000);
         return f.Escribir(grande);
       },
       "fichero demasiado grande", "viejo"},
      {"carpeta inexistente", "no/a.sam", false, escribe("x"), "no existe la carpeta", ""},
      {"es una carpeta", "sub", false, escribe("x"), "es una carpeta", ""},
      {"dispositivo lleno", "/dev/full", false, escribe(grande), "disco lleno", ""},
      {"dispositivo nulo", "/dev/null", false, escribe(grande), "", ""},
  };
  for (const Caso& c : casos) {
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sub");
    const bool local = c.objetivo[0] != '/';
    const std::string ruta = local ? (dir_ / c.objetivo).string() : c.objetivo;
    if (c.existe) {
      Fichero(c.objetivo, "viejo");
      fs::permissions(ruta, fs::perms(0640));
    }
    std::string mensaje = "sin tocar";
    const bool escrito = EscribirFicheroAtomico(ruta, c.escritora, mensaje);
    EXPECT_EQ(escrito, c.causa.empty() && c.queda != "viejo") << c.nombre;
    EXPECT_EQ(mensaje, c.causa.empty() ? "" : "No puedo guardar el fichero\n'" + ruta + "': " + c.causa)
        << c.nombre;
    if (!local) continue;
    // Only the target, when there is one, beside the folder: no temporary file is left.
    std::vector<std::string> esperados = {"sub"};
    if (c.existe || escrito) esperados.insert(esperados.begin(), "a.sam");
    EXPECT_EQ(Nombres(), esperados) << c.nombre;
    if (c.existe || escrito) {
      EXPECT_EQ(Contenido("a.sam"), c.queda) << c.nombre;
    }
    if (c.existe) {
      EXPECT_EQ(fs::status(ruta).permissions(), fs::perms(0640)) << c.nombre;
    }
  }
}

TEST_F(EscrituraAtomicaTest, LoQueLanzaLaEscritoraPasaYElFicheroQueda) {
  Fichero("a.sam", "viejo");
  std::string mensaje;
  EXPECT_THROW(EscribirFicheroAtomico(
                   (dir_ / "a.sam").string(),
                   [](FicheroAtomico& f) -> bool {
                     f.Escribir("medio");
                     throw std::runtime_error("fallo");
                   },
                   mensaje),
               std::runtime_error);
  EXPECT_EQ(Nombres(), std::vector<std::string>{"a.sam"});
  EXPECT_EQ(Contenido("a.sam"), "viejo");
}

// A symbolic link keeps pointing at its file, which gets the new content.
TEST_F(EscrituraAtomicaTest, EnlaceSimbolico) {
  fs::create_directories(dir_ / "datos");
  Fichero("datos/real.sam", "viejo");
  fs::create_symlink("datos/real.sam", dir_ / "enlace.sam");
  std::string mensaje;
  ASSERT_TRUE(EscribirFicheroAtomico((dir_ / "enlace.sam").string(), "nuevo", mensaje)) << mensaje;
  EXPECT_TRUE(fs::is_symlink(dir_ / "enlace.sam"));
  EXPECT_EQ(Contenido("datos/real.sam"), "nuevo");
  EXPECT_EQ(Nombres(), (std::vector<std::string>{"datos", "enlace.sam"}));
}

TEST(MensajeNoPuedoGuardar, CausasEnPalabras) {
  EXPECT_EQ(MensajeNoPuedoGuardar("x.png", ENOSPC), "No puedo guardar el fichero\n'x.png': disco lleno");
  EXPECT_EQ(MensajeNoPuedoGuardar("-", EPIPE), "No puedo escribir en la salida estándar: la salida se ha cerrado");
  EXPECT_EQ(CausaDelFallo(EACCES), "permiso denegado");
  EXPECT_EQ(CausaDelFallo(12345), "error del sistema 12345");
}

}  // namespace
