// The method table: every row complete, the list sorted.
#include "app/metodos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <string>

#include "estimators/estado.h"

namespace {

std::string Minusculas(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST(TablaMetodos, FilasCompletasYOrdenadas) {
  const auto& tabla = TablaMetodos();
  ASSERT_FALSE(tabla.empty());
  const DefinicionMetodo* ninguno = BuscarMetodo(metodo::kNinguno);
  ASSERT_NE(ninguno, nullptr);
  EXPECT_FALSE(ninguno->Calcula());
  std::set<std::string> nombres, cortos;
  for (const DefinicionMetodo& m : tabla) {
    SCOPED_TRACE(m.nombre);
    EXPECT_TRUE(nombres.insert(m.nombre).second);
    EXPECT_EQ(BuscarMetodo(m.nombre), &m);
    if (&m != ninguno) {
      EXPECT_TRUE(m.Calcula());
      ASSERT_FALSE(m.campos.empty());
      EXPECT_NE(m.PrimerCampo(), nullptr);
    }
    for (const char* c : m.campos) EXPECT_NE(BuscarCampo(c), nullptr) << c;
    EXPECT_EQ(m.tituloX != nullptr, m.tituloY != nullptr);
    EXPECT_TRUE(!m.intervalo || m.daH);
    EXPECT_TRUE(!m.daH || cortos.insert(m.Corto()).second) << m.Corto();
  }
  // The list is sorted by name, ignoring case, "Ninguno" wherever it falls.
  std::vector<std::string> lista = NombresMetodos();
  EXPECT_TRUE(std::is_sorted(lista.begin(), lista.end(), [](const std::string& a, const std::string& b) {
    return Minusculas(a) < Minusculas(b);
  }));
  EXPECT_EQ(BuscarMetodo("r/s"), nullptr);
}

}  // namespace
