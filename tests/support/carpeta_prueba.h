// A folder of its own for each test that writes files, removed when the test ends:
// <temporary folder>/fenwa_<prefijo>_<process>_<test name> (the '/' of a parameterised
// test's name as '_').
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

class CarpetaDePrueba {
 protected:
  explicit CarpetaDePrueba(const std::string& prefijo)
      : dir_(std::filesystem::temp_directory_path() /
             ("fenwa_" + prefijo + "_" + std::to_string(::getpid()) + "_" + NombrePrueba())) {
    std::filesystem::create_directories(dir_);
  }
  ~CarpetaDePrueba() {
    std::error_code ignorado;
    std::filesystem::remove_all(dir_, ignorado);
  }
  CarpetaDePrueba(const CarpetaDePrueba&) = delete;
  CarpetaDePrueba& operator=(const CarpetaDePrueba&) = delete;

  // Writes a file in the folder; returns its path.
  std::string Fichero(const std::string& nombre, const std::string& contenido) const {
    const std::string ruta = (dir_ / nombre).string();
    std::ofstream(ruta, std::ios::binary) << contenido;
    return ruta;
  }
  // The bytes of a file in the folder ("" when it cannot be read).
  std::string Contenido(const std::string& nombre) const {
    std::ifstream f(dir_ / nombre, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }

  std::filesystem::path dir_;

 private:
  static std::string NombrePrueba() {
    std::string nombre = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : nombre) {
      if (c == '/') c = '_';
    }
    return nombre;
  }
};
