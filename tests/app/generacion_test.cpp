// Generated series as the dialog and the command line ask for them: reading the typed
// fields, refusing bad ones with their message, and naming the series.
#include "app/generacion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

using ::testing::HasSubstr;

TEST(Generacion, LecturaDeCampos) {
  // The decimal fields are read as the analysis' (LeerDecimal, tested with ConvertirReal).
  const std::pair<const char*, std::optional<std::uint64_t>> naturales[] = {
      {"10000", 10000}, {" 7 ", 7}, {"0", 0}, {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
      {"1e4", std::nullopt}, {"10 000", std::nullopt}, {"", std::nullopt}};
  for (const auto& [texto, valor] : naturales) EXPECT_EQ(LeerNatural(texto), valor) << texto;
}

// Each bad field gets a message naming it; fields of other models are not read.
TEST(Generacion, CamposRechazados) {
  using T = TextosGeneracion;
  struct Caso {
    ModeloGenerador modelo;
    std::string T::*campo;
    const char* texto;
    const char* mensaje;
  };
  const Caso casos[] = {
      {ModeloGenerador::Fgn, &T::H, "alto", "El valor de H no es"},
      {ModeloGenerador::Fgn, &T::H, "1", "H debe estar"},
      {ModeloGenerador::Farima, &T::d, "0,5", "d debe estar"},
      {ModeloGenerador::Farima, &T::phi, "-1", "AR (φ)"},
      {ModeloGenerador::Farima, &T::theta, "x", "de θ no es"},
      {ModeloGenerador::Ruido, &T::media, "?", "la media no es"},
      {ModeloGenerador::Ruido, &T::desviacion, "-1", "desviación típica debe ser mayor"},
      {ModeloGenerador::Ruido, &T::longitud, "1", "mayor o igual que 2"},
      {ModeloGenerador::Ruido, &T::longitud, "1e4", "debe ser un número entero"},
      {ModeloGenerador::Fgn, &T::semilla, "-3", "La semilla"},
      {ModeloGenerador::Fgn, &T::longitud, "3000000000", "demasiado larga"},
  };
  for (const Caso& c : casos) {
    TextosGeneracion t;
    t.modelo = c.modelo;
    t.*c.campo = std::string(c.texto);
    ParametrosGenerador p;
    EXPECT_THAT(LeerParametrosGeneracion(t, p), HasSubstr(c.mensaje)) << c.mensaje;
  }
  const TextosGeneracion ruido{.modelo = ModeloGenerador::Ruido, .H = "no", .d = "9",
                               .media = "2,5"};
  ParametrosGenerador p;
  EXPECT_EQ(LeerParametrosGeneracion(ruido, p), "");
  EXPECT_EQ(p.media, 2.5);
}

TEST(Generacion, NombreDeLaSerie) {
  using M = ModeloGenerador;
  const std::pair<TextosGeneracion, const char*> casos[] = {
      {{.modelo = M::Fgn, .H = "0,8"}, "fgn_H0.8_n10000_s1"},
      {{.modelo = M::Farima, .d = "0.3", .phi = "0.5", .theta = "-0.2", .longitud = "500",
        .semilla = "7"},
       "farima_d0.3_phi0.5_theta-0.2_n500_s7"},
      {{.modelo = M::Farima, .d = "-0.25", .longitud = "500", .semilla = "7"},
       "farima_d-0.25_n500_s7"},
      {{.modelo = M::Ruido, .longitud = "2", .media = "10", .desviacion = "2,5", .semilla = "0"},
       "ruido_n2_s0_m10_dt2.5"},
  };
  for (const auto& [textos, nombre] : casos) {
    ParametrosGenerador p;
    ASSERT_EQ(LeerParametrosGeneracion(textos, p), "") << nombre;
    EXPECT_EQ(NombreSerieGenerada(p), nombre);
  }
}

}  // namespace
