// The user manual (docs/manual.md) cannot fall behind the program. It must have a heading of
// its own for every method of the method table, a line with every field of the parameter
// table and its default, every option of the help of fenwa, fenwa-cli and fenwa-cli's
// subcommands (with their models), every key of fenwa-cli's JSON output and every status
// message; and every picture it shows must exist. Each case lists everything missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/metodos.h"
#include "app/nombres_metodos.h"
#include "app/parametros.h"
#include "estimators/estado.h"
#include "support/herramientas.h"

namespace {

std::string Fuentes() {
  const char* dir = std::getenv("FENWA_SOURCE_DIR");
  return dir && *dir ? dir : FENWA_SOURCE_DIR;
}

std::string Binarios() {
  const char* dir = std::getenv("FENWA_BIN_DIR");
  return dir && *dir ? dir : FENWA_BIN_DIR;
}

const std::string& Manual() {
  static const std::string texto = prueba::LeerFichero(Fuentes() + "/docs/manual.md");
  return texto;
}

std::vector<std::string> Lineas(const std::string& texto) {
  std::vector<std::string> lineas;
  std::istringstream flujo(texto);
  for (std::string linea; std::getline(flujo, linea);) lineas.push_back(linea);
  return lineas;
}

// Standard output of a program of the build, run with the arguments as given (already
// quoted for the shell where needed).
std::string Salida(const std::string& programa, const std::string& argumentos) {
  const std::string orden = "'" + Binarios() + "/" + programa + "' " + argumentos + " 2>/dev/null";
  std::string salida;
  if (std::FILE* f = ::popen(orden.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) salida.append(buffer, n);
    ::pclose(f);
  }
  return salida;
}

std::string Lista(const std::vector<std::string>& faltan) {
  std::string t;
  for (const std::string& f : faltan) t += "\n  " + f;
  return t;
}

// The options of a help text: every "--word" anywhere and every "-x" that starts an
// indented line.
std::set<std::string> Opciones(const std::string& ayuda) {
  std::set<std::string> opciones;
  static const std::regex larga("--[a-z0-9][a-z0-9-]*");
  for (std::sregex_iterator i(ayuda.begin(), ayuda.end(), larga), fin; i != fin; ++i)
    opciones.insert(i->str());
  static const std::regex corta("^ +(-[a-zA-Z0-9])([ ,]|$)");
  for (const std::string& linea : Lineas(ayuda)) {
    std::smatch m;
    if (std::regex_search(linea, m, corta)) opciones.insert(m[1].str());
  }
  return opciones;
}

// An option is documented when the manual shows it as code, alone or with its value:
// "`--json`", "`-m NOMBRE`".
bool Documentada(const std::string& opcion) {
  return Manual().find("`" + opcion + "`") != std::string::npos ||
         Manual().find("`" + opcion + " ") != std::string::npos;
}

TEST(Manual, CadaMetodoTieneSuApartado) {
  ASSERT_FALSE(Manual().empty()) << "no se puede leer docs/manual.md";
  // Heading texts: "### R/S", "### Whittle Estándar", optionally followed by " — ...".
  std::vector<std::string> titulos;
  for (const std::string& linea : Lineas(Manual())) {
    if (linea.rfind("#", 0) != 0) continue;
    const std::size_t texto = linea.find_first_not_of("# ");
    if (texto != std::string::npos) titulos.push_back(linea.substr(texto));
  }
  std::vector<std::string> faltan;
  for (const DefinicionMetodo& m : TablaMetodos()) {
    const std::string nombre = m.nombre;
    bool hallado = false;
    for (const std::string& t : titulos)
      hallado = hallado || t == nombre || t.rfind(nombre + " — ", 0) == 0;
    if (!hallado) faltan.push_back("### " + nombre);
  }
  if (Manual().find("`" + std::string(metodo::kTodos) + "`") == std::string::npos)
    faltan.push_back(std::string("`") + metodo::kTodos + "`");
  EXPECT_TRUE(faltan.empty()) << "métodos sin apartado en docs/manual.md:" << Lista(faltan);
}

TEST(Manual, CadaCampoConSuValorPorOmision) {
  const std::vector<std::string> lineas = Lineas(Manual());
  std::vector<std::string> faltan;
  for (const DefinicionCampo& c : TablaCampos()) {
    const std::string clave = "`" + std::string(c.clave) + "`";
    const std::string omision = "`" + std::string(c.omision) + "`";
    bool hallado = false;
    for (const std::string& l : lineas) {
      const std::size_t p = l.find(clave);
      hallado = hallado || (p != std::string::npos && l.find(omision, p + clave.size()) != std::string::npos);
    }
    if (!hallado) faltan.push_back(clave + " con " + omision);
  }
  EXPECT_TRUE(faltan.empty()) << "campos sin una línea con su valor por omisión en docs/manual.md:"
                              << Lista(faltan);
}

TEST(Manual, CadaOpcionDeLasAyudas) {
  std::vector<std::string> faltan;
  const std::string ayudaCli = Salida("fenwa-cli", "--help");
  const std::string ayudaFenwa = Salida("fenwa", "--help");
  ASSERT_NE(ayudaCli.find("Opciones"), std::string::npos) << "fenwa-cli --help no responde";
  ASSERT_NE(ayudaFenwa.find("Opciones"), std::string::npos) << "fenwa --help no responde";
  for (const auto& [programa, ayuda] : {std::pair{"fenwa", ayudaFenwa}, {"fenwa-cli", ayudaCli}}) {
    for (const std::string& o : Opciones(ayuda))
      if (!Documentada(o)) faltan.push_back(std::string(programa) + " " + o);
  }

  // Subcommands: "fenwa-cli WORD" in the usage lines (up to the first empty line); each with
  // the options and the models ("Modelos:", one per indented line) of its own help.
  const std::string uso = ayudaCli.substr(0, ayudaCli.find("\n\n"));
  static const std::regex subcomando("fenwa-cli ([a-z][a-z-]*)");
  std::set<std::string> subcomandos;
  for (std::sregex_iterator i(uso.begin(), uso.end(), subcomando), fin; i != fin; ++i)
    subcomandos.insert((*i)[1].str());
  EXPECT_FALSE(subcomandos.empty()) << "no se encuentran los subcomandos en fenwa-cli --help";
  for (const std::string& sub : subcomandos) {
    if (Manual().find("fenwa-cli " + sub) == std::string::npos) faltan.push_back("fenwa-cli " + sub);
    const std::string ayuda = Salida("fenwa-cli", sub + " --help");
    EXPECT_NE(ayuda.find("Opciones"), std::string::npos) << "fenwa-cli " << sub << " --help no responde";
    for (const std::string& o : Opciones(ayuda))
      if (!Documentada(o)) faltan.push_back("fenwa-cli " + sub + " " + o);
    bool modelos = false;
    static const std::regex modelo("^  ([a-z][a-z0-9-]*)");
    for (const std::string& linea : Lineas(ayuda)) {
      if (linea.rfind("Modelos:", 0) == 0) {
        modelos = true;
        continue;
      }
      if (linea.empty()) modelos = false;
      std::smatch m;
      if (modelos && std::regex_search(linea, m, modelo) && !Documentada(m[1].str()))
        faltan.push_back("fenwa-cli " + sub + ", modelo " + m[1].str());
    }
  }
  EXPECT_TRUE(faltan.empty() && !Opciones(ayudaCli).empty())
      << "opciones de las ayudas que docs/manual.md no muestra como `opción`:" << Lista(faltan);
}

TEST(Manual, CadaClaveDelJson) {
  const std::string ejemplo = "'" + Fuentes() + "/examples/NileMin.sam'";
  const std::string json = Salida("fenwa-cli", "-m " + std::string(metodo::kTodos) + " --json " + ejemplo);
  static const std::regex clave("\"([a-z]+)\":");
  std::set<std::string> claves;
  for (std::sregex_iterator i(json.begin(), json.end(), clave), fin; i != fin; ++i)
    claves.insert((*i)[1].str());
  ASSERT_TRUE(claves.count("valor")) << "fenwa-cli --json no responde: " << json;
  std::vector<std::string> faltan;
  for (const std::string& c : claves)
    if (Manual().find("`" + c + "`") == std::string::npos) faltan.push_back(c);
  EXPECT_TRUE(faltan.empty()) << "claves del JSON que docs/manual.md no nombra:" << Lista(faltan);
}

TEST(Manual, CadaMensajeDeEstado) {
  std::vector<std::string> faltan;
  for (int estado = 1; estado <= 255; ++estado) {
    std::string mensaje = MensajeEstado(estado);
    if (mensaje.empty()) continue;
    for (char& c : mensaje)
      if (c == '\n') c = ' ';
    if (Manual().find(mensaje) == std::string::npos)
      faltan.push_back(std::to_string(estado) + ": " + mensaje);
  }
  EXPECT_TRUE(faltan.empty()) << "mensajes de estado que docs/manual.md no recoge:" << Lista(faltan);
}

TEST(Manual, CadaImagenExiste) {
  static const std::regex imagen("\\]\\((img/[^)]+)\\)");
  std::vector<std::string> faltan;
  int imagenes = 0;
  for (std::sregex_iterator i(Manual().begin(), Manual().end(), imagen), fin; i != fin; ++i) {
    ++imagenes;
    const std::string ruta = Fuentes() + "/docs/" + (*i)[1].str();
    if (!std::ifstream(ruta).good()) faltan.push_back((*i)[1].str());
  }
  EXPECT_GT(imagenes, 0);
  EXPECT_TRUE(faltan.empty()) << "imágenes que docs/manual.md muestra y no existen "
                                 "(bash scripts/capturas.sh las hace):"
                              << Lista(faltan);
}

}  // namespace
