#include "programa.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "support/herramientas.h"

std::vector<std::string> Ejecucion::Lineas() const {
  std::vector<std::string> lineas;
  std::size_t inicio = 0;
  while (inicio < salida.size()) {
    const std::size_t fin = salida.find('\n', inicio);
    if (fin == std::string::npos) {
      lineas.push_back(salida.substr(inicio));
      break;
    }
    lineas.push_back(salida.substr(inicio, fin - inicio));
    inicio = fin + 1;
  }
  return lineas;
}

std::string RutaPrograma() {
  const char* dir = std::getenv("FENWA_BIN_DIR");
  return std::string(dir && *dir ? dir : FENWA_BIN_DIR) + "/fenwa-cli";
}

namespace {

std::string Comillas(const std::string& s) {
  std::string r = "'";
  for (char c : s) {
    if (c == '\'') {
      r += "'\\''";
    } else {
      r += c;
    }
  }
  r.push_back('\'');
  return r;
}

}  // namespace

Ejecucion Ejecutar(const std::vector<std::string>& argumentos, const std::string& carpeta,
                   const std::string& antes) {
  static int contador = 0;
  const auto base = std::filesystem::temp_directory_path() /
                    ("fenwa_cli_" + std::to_string(::getpid()) + "_" + std::to_string(++contador));
  const std::string out = base.string() + ".out", err = base.string() + ".err";
  std::string orden;
  if (!carpeta.empty()) orden = "cd " + Comillas(carpeta) + " && ";
  orden += antes + " " + Comillas(RutaPrograma());
  for (const std::string& a : argumentos) {
    orden += ' ';
    orden += Comillas(a);
  }
  orden += " >" + Comillas(out) + " 2>" + Comillas(err);
  const int r = std::system(orden.c_str());
  Ejecucion e;
  e.estado = WIFEXITED(r) ? WEXITSTATUS(r) : -1;
  e.salida = prueba::LeerFichero(out);
  e.errores = prueba::LeerFichero(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return e;
}

const Json& Json::operator[](const std::string& clave) const {
  static const Json nulo;
  if (tipo != Tipo::Objeto) throw std::runtime_error("not an object");
  auto it = objeto.find(clave);
  if (it == objeto.end()) throw std::runtime_error("missing key " + clave);
  return it->second;
}

namespace {

class Lector {
 public:
  explicit Lector(const std::string& s) : s_(s) {}

  Json Documento() {
    Json v = Valor();
    Blancos();
    if (p_ != s_.size()) Fallo("trailing text");
    return v;
  }

 private:
  [[noreturn]] void Fallo(const std::string& que) {
    std::string texto = "JSON: ";
    texto.append(que).append(" at ").append(std::to_string(p_));
    throw std::runtime_error(texto);
  }
  void Blancos() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\n' || s_[p_] == '\t' || s_[p_] == '\r')) ++p_;
  }
  bool Literal(const char* lit) {
    const std::string l(lit);
    if (s_.compare(p_, l.size(), l) == 0) {
      p_ += l.size();
      return true;
    }
    return false;
  }
  Json Valor() {
    Blancos();
    if (p_ >= s_.size()) Fallo("end of text");
    Json v;
    const char c = s_[p_];
    if (c == '{') {
      v.tipo = Json::Tipo::Objeto;
      ++p_;
      Blancos();
      if (p_ < s_.size() && s_[p_] == '}') {
        ++p_;
        return v;
      }
      while (true) {
        Blancos();
        if (p_ >= s_.size() || s_[p_] != '"') Fallo("key expected");
        const std::string clave = Texto();
        Blancos();
        if (p_ >= s_.size() || s_[p_] != ':') Fallo("':' expected");
        ++p_;
        v.objeto[clave] = Valor();
        Blancos();
        if (p_ < s_.size() && s_[p_] == ',') {
          ++p_;
          continue;
        }
        if (p_ < s_.size() && s_[p_] == '}') {
          ++p_;
          return v;
        }
        Fallo("',' or '}' expected");
      }
    }
    if (c == '[') {
      v.tipo = Json::Tipo::Lista;
      ++p_;
      Blancos();
      if (p_ < s_.size() && s_[p_] == ']') {
        ++p_;
        return v;
      }
      while (true) {
        v.lista.push_back(Valor());
        Blancos();
        if (p_ < s_.size() && s_[p_] == ',') {
          ++p_;
          continue;
        }
        if (p_ < s_.size() && s_[p_] == ']') {
          ++p_;
          return v;
        }
        Fallo("',' or ']' expected");
      }
    }
    if (c == '"') {
      v.tipo = Json::Tipo::Texto;
      v.texto = Texto();
      return v;
    }
    if (Literal("null")) return v;
    if (Literal("true")) {
      v.tipo = Json::Tipo::Booleano;
      v.booleano = true;
      return v;
    }
    if (Literal("false")) {
      v.tipo = Json::Tipo::Booleano;
      return v;
    }
    v.tipo = Json::Tipo::Numero;
    // JSON numbers start with a digit or a minus sign and a digit; from_chars would also
    // take "inf", "nan" and ".5".
    const std::size_t cifra = p_ + (c == '-' ? 1 : 0);
    if (cifra >= s_.size() || s_[cifra] < '0' || s_[cifra] > '9') Fallo("number expected");
    auto [fin, ec] = std::from_chars(s_.data() + p_, s_.data() + s_.size(), v.numero);
    if (ec != std::errc()) Fallo("number expected");
    p_ = static_cast<std::size_t>(fin - s_.data());
    return v;
  }
  std::string Texto() {
    ++p_;  // opening quote
    std::string r;
    while (p_ < s_.size() && s_[p_] != '"') {
      char c = s_[p_++];
      if (static_cast<unsigned char>(c) < 0x20) Fallo("control character in string");
      if (c != '\\') {
        r += c;
        continue;
      }
      if (p_ >= s_.size()) Fallo("bad escape");
      c = s_[p_++];
      switch (c) {
        case 'n': r += '\n'; break;
        case 't': r += '\t'; break;
        case 'r': r += '\r'; break;
        case '"': r += '"'; break;
        case '\\': r += '\\'; break;
        case '/': r += '/'; break;
        case 'u': {
          unsigned codigo = 0;
          auto [fin, ec] = std::from_chars(s_.data() + p_, s_.data() + p_ + 4, codigo, 16);
          if (ec != std::errc() || fin != s_.data() + p_ + 4 || codigo >= 0x80) Fallo("bad \\u");
          r += static_cast<char>(codigo);
          p_ += 4;
          break;
        }
        default:
          Fallo("bad escape");
      }
    }
    if (p_ >= s_.size()) Fallo("unterminated string");
    ++p_;
    return r;
  }

  const std::string& s_;
  std::size_t p_ = 0;
};

}  // namespace

Json LeerJson(const std::string& texto) { return Lector(texto).Documento(); }
