// The method table: every row complete, and every method behaving as its row says.
#include "app/metodos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <string>

#include "estimators/estado.h"
#include "tests/support/fgn.h"

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

// Every method on a long-memory series with the default parameters: its status, and results
// that match what its row promises (value, interval, chart points, report lines).
TEST(TablaMetodos, CadaMetodoCumpleSuFila) {
  const std::vector<double> muestras = prueba::GenerarFgn(4096, 0.8, 7);
  Vector serie(static_cast<std::uint32_t>(muestras.size()));
  std::copy(muestras.begin(), muestras.end(), serie.begin());
  const AnalysisParameters parametros;
  for (const DefinicionMetodo& m : TablaMetodos()) {
    if (!m.Calcula()) continue;
    SCOPED_TRACE(m.nombre);
    const MetodoEjecutado r = EjecutarMetodo(m, serie, parametros, ',');
    const Estimacion& e = r.estimacion;
    // T0 (IDC) needs time scales, which are 0 by default.
    if (std::string(m.nombre) == "T0 (IDC)") {
      EXPECT_EQ(e.estado, kEstadoTiemposIdc);
      EXPECT_TRUE(r.lineas.empty());
      continue;
    }
    ASSERT_EQ(e.estado, kEstadoOk);
    EXPECT_GE(r.lineas.size(), 2u);
    EXPECT_TRUE(std::isfinite(e.valor));
    if (m.daH) {
      EXPECT_GT(e.valor, 0.5);
      EXPECT_LT(e.valor, 1.1);
    }
    EXPECT_EQ(e.hayIntervalo, m.intervalo);
    if (m.intervalo) {
      EXPECT_LT(e.inferior, e.valor);
      EXPECT_GT(e.superior, e.valor);
    }
    EXPECT_EQ(e.ejeX.Longitud() > 0, m.Dibuja());
    EXPECT_EQ(e.ejeX.Longitud(), e.ejeY.Longitud());
  }
}

}  // namespace
