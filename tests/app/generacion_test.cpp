// Generated series as the dialog and the command line ask for them: reading the typed
// fields, refusing bad ones with their message, and naming the series.
#include "app/generacion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;

TEST(Generacion, LecturaDeCampos) {
  // The decimal fields are read as the analysis' (LeerDecimal, tested with ConvertirReal).
  const std::pair<const char*, std::optional<std::uint64_t>> naturales[] = {
      {"10000", 10000}, {" 7 ", 7}, {"0", 0}, {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
      {"1e4", std::nullopt}, {"10 000", std::nullopt}, {"", std::nullopt}};
  for (const auto& [texto, valor] : naturales) EXPECT_EQ(LeerNatural(texto), valor) << texto;

  // A length may also be written as a decimal number when it is a whole one.
  const std::pair<const char*, std::optional<std::uint64_t>> longitudes[] = {
      {"10000", 10000}, {"1e7", 10000000}, {"1E7", 10000000}, {"2.5e3", 2500},
      {"1,5e6", 1500000}, {" 1e2 ", 100}, {"18446744073709551615", UINT64_MAX},
      {"1.5", std::nullopt}, {"1e-3", std::nullopt}, {"-1e3", std::nullopt},
      {"1e19", std::nullopt}, {"1e999", std::nullopt}, {"diez", std::nullopt},
      {"", std::nullopt}};
  for (const auto& [texto, valor] : longitudes) EXPECT_EQ(LeerLongitud(texto), valor) << texto;
}

// A length beyond the generator's reach is refused with the largest one it makes: the
// largest accepted, one more refused; the warm-up of the ARMA filter is named only where
// there is one (never for FGN).
TEST(Generacion, LongitudMaximaEnElMensaje) {
  using M = ModeloGenerador;
  struct Caso {
    TextosGeneracion textos;
    bool calentamiento;
  };
  const Caso casos[] = {
      {{.modelo = M::Fgn, .longitud = "3e9"}, false},
      {{.modelo = M::Farima, .longitud = "3e9"}, false},
      {{.modelo = M::Farima, .phi = "0.999", .longitud = "3e9"}, true},
  };
  for (const Caso& c : casos) {
    ParametrosGenerador p;
    const std::string mensaje = LeerParametrosGeneracion(c.textos, p);
    SCOPED_TRACE(mensaje);
    const std::uint64_t maxima = LongitudMaximaGenerador(p);
    EXPECT_GT(maxima, 1000000000u);
    EXPECT_THAT(mensaje, HasSubstr(" es " + std::to_string(maxima)));
    EXPECT_EQ(mensaje.find("calentamiento") != std::string::npos, c.calentamiento);
    EXPECT_EQ(mensaje.find("AR") != std::string::npos, c.calentamiento);
    p.n = maxima;
    EXPECT_EQ(ValidarGenerador(p), kGeneradorOk);
    p.n = maxima + 1;
    EXPECT_EQ(ValidarGenerador(p), kGeneradorDemasiadoLarga);
  }
  ParametrosGenerador ruido{.modelo = M::Ruido};
  EXPECT_EQ(LongitudMaximaGenerador(ruido), 4294967295u);
}

// What the results area says about a generated series, in the report's decimal separator.
TEST(Generacion, LineasDeLaSerieGenerada) {
  using M = ModeloGenerador;
  using V = std::vector<std::string>;
  const std::pair<TextosGeneracion, V> casos[] = {
      {{.modelo = M::Fgn, .H = "0.8"},
       {"Serie generada: s", "Modelo FGN (ruido fraccionario gaussiano). Parámetros:",
        "      Parámetro de Hurst H: 0,8", "      Longitud: 10000", "      Media: 0",
        "      Desviación típica: 1", "      Semilla: 1"}},
      {{.modelo = M::Farima, .d = "0.25", .phi = "0.5", .longitud = "1e3", .media = "2.5",
        .semilla = "18446744073709551615"},
       {"Serie generada: s", "Modelo FARIMA (p, d, q). Parámetros:",
        "      Diferencia fraccionaria d: 0,25 (H = 0,75)", "      Coeficiente AR: 0,5",
        "      Coeficiente MA: 0", "      Longitud: 1000", "      Media: 2,5",
        "      Desviación típica: 1", "      Semilla: 18446744073709551615"}},
      {{.modelo = M::Ruido, .desviacion = "0.1"},
       {"Serie generada: s", "Modelo de ruido blanco gaussiano (H = 0,5). Parámetros:",
        "      Longitud: 10000", "      Media: 0", "      Desviación típica: 0,1",
        "      Semilla: 1"}},
  };
  const double hs[] = {0.8, 0.75, 0.5};
  int i = 0;
  for (const auto& [textos, lineas] : casos) {
    ParametrosGenerador p;
    ASSERT_EQ(LeerParametrosGeneracion(textos, p), "");
    EXPECT_EQ(LineasSerieGenerada(p, "s", ','), lineas);
    EXPECT_DOUBLE_EQ(HDelModelo(p), hs[i++]);
  }
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
      {ModeloGenerador::Ruido, &T::longitud, "1e-4", "debe ser un número entero"},
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
