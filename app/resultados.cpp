#include "app/resultados.h"

#include "app/escritura_atomica.h"

void RegistroResultados::Vaciar() {
  lineas_.clear();
  if (vista_) vista_->Vaciar();
}

void RegistroResultados::Anadir(const std::string& linea) {
  lineas_.push_back(linea);
  if (vista_) vista_->Anadir(linea);
}

void RegistroResultados::AnadirTabla(const std::string& linea) {
  lineas_.push_back(linea);
  if (vista_) vista_->AnadirTabla(linea);
}

void RegistroResultados::FijarColores(ColorFondo fondo, ColorTexto texto) {
  fondo_ = fondo;
  texto_ = texto;
  if (vista_) vista_->FijarColores(fondo, texto);
}

std::string RegistroResultados::Texto() const {
  std::string texto;
  for (std::size_t i = 0; i < lineas_.size(); ++i) {
    if (i) texto += '\n';
    texto += lineas_[i];
  }
  return texto;
}

void RegistroResultados::HabilitarComandos() {
  comandos_ = ComandosResultados{true, true, true, true, true};
}

std::string RegistroResultados::GuardarResultado() {
  std::string error = EscribirRsl(lineas_, NombreRsl());
  if (error.empty()) {
    comandos_.guardar = false;
    comandos_.sbGuardarResult = false;
  }
  return error;
}

std::string RegistroResultados::GuardarResultadoComo(const std::string& ruta) const {
  return EscribirRsl(lineas_, ruta);
}

void RegistroResultados::BorrarResultados() {
  Vaciar();
  FijarColores(ColorFondo::Gris, texto_);
  comandos_ = ComandosResultados{};
}

std::string ALatin1(const std::string& utf8) {
  std::string salida;
  salida.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* fin = p + utf8.size();
  while (p < fin) {
    const unsigned char c = *p;
    if (c < 0x80) {
      salida += static_cast<char>(c);
      ++p;
      continue;
    }
    // Length of the sequence and its code point; malformed bytes become '?'.
    int longitud = 0;
    std::uint32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
      longitud = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      longitud = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      longitud = 4;
      cp = c & 0x07;
    } else {
      salida += '?';
      ++p;
      continue;
    }
    if (fin - p < longitud) {
      salida += '?';
      break;
    }
    bool valida = true;
    for (int k = 1; k < longitud; ++k) {
      if ((p[k] & 0xC0) != 0x80) {
        valida = false;
        break;
      }
      cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (!valida) {
      salida += '?';
      ++p;
      continue;
    }
    salida += cp <= 0xFF ? static_cast<char>(cp) : '?';
    p += longitud;
  }
  return salida;
}

std::string EscribirRsl(const std::vector<std::string>& lineas, const std::string& ruta) {
  std::string mensaje;
  EscribirFicheroAtomico(
      ruta,
      [&](FicheroAtomico& f) {
        for (const std::string& linea : lineas)
          if (!f.Escribir(ALatin1(linea)) || !f.Escribir("\r\n")) return false;
        return true;
      },
      mensaje);
  return mensaje;
}
