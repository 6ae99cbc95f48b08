#include "app/formato.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct CasoFormato {
  double valor;
  const char* esperado;
};

class FormatoFTest : public ::testing::TestWithParam<CasoFormato> {};

TEST_P(FormatoFTest, CuatroCifras) {
  EXPECT_EQ(FormatoF(GetParam().valor), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FormatoFTest,
    ::testing::Values(CasoFormato{0.125, "0.125"}, CasoFormato{1.0, "1"},
                      CasoFormato{1.0 / 80000.0, "1.25E-5"}, CasoFormato{12000.0, "1.2E4"},
                      CasoFormato{0.0, "0"}, CasoFormato{-0.0, "0"},
                      CasoFormato{-0.125, "-0.125"}, CasoFormato{1234.0, "1234"},
                      CasoFormato{9999.0, "9999"}, CasoFormato{9999.5, "1E4"},
                      CasoFormato{12345.0, "1.235E4"}, CasoFormato{0.0001, "0.0001"},
                      CasoFormato{0.00012345, "0.0001234"}, CasoFormato{0.00001, "1E-5"},
                      CasoFormato{2.0 / 3.0, "0.6667"}, CasoFormato{0.5, "0.5"},
                      CasoFormato{100.0, "100"}, CasoFormato{10.5, "10.5"},
                      CasoFormato{123.456, "123.5"}, CasoFormato{1e100, "1E100"},
                      CasoFormato{-1.5e-10, "-1.5E-10"}, CasoFormato{0.99995, "1"},
                      CasoFormato{0.7234567, "0.7235"}));

TEST(FormatoG, QuinceCifras) {
  EXPECT_EQ(FormatoG(0.05), "0.05");
  EXPECT_EQ(FormatoG(10.0), "10");
  EXPECT_EQ(FormatoG(0.1), "0.1");
  EXPECT_EQ(FormatoG(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatoG(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatoG(1234567890123456.0), "1.23456789012346E15");
  EXPECT_EQ(FormatoG(1e-5), "1E-5");
  EXPECT_EQ(FormatoG(0.0005), "0.0005");
}

TEST(Formato, SeparadorDecimal) {
  EXPECT_EQ(FormatoF(0.125, ','), "0,125");
  EXPECT_EQ(FormatoF(1.0 / 80000.0, ','), "1,25E-5");
  EXPECT_EQ(FormatoG(0.05, ','), "0,05");
  EXPECT_EQ(FormatoF(10.0, ','), "10");
}

TEST(Formato, NoFinitos) {
  EXPECT_EQ(FormatoF(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatoF(-std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FormatoF(std::nan("")), "NAN");
}

TEST(FormatoI, Enteros) {
  EXPECT_EQ(FormatoI(0), "0");
  EXPECT_EQ(FormatoI(100), "100");
  EXPECT_EQ(FormatoI(-42), "-42");
  EXPECT_EQ(FormatoI(2147483647), "2147483647");
}

TEST(Fecha, PatronesYLinea) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 9;
  t.tm_min = 7;
  t.tm_sec = 3;
  EXPECT_EQ(FormatearFechaHora(t, "dd/MM/yyyy"), "05/03/2026");
  EXPECT_EQ(FormatearFechaHora(t, "d/M/yy"), "5/3/26");
  EXPECT_EQ(FormatearFechaHora(t, "H:mm:ss"), "9:07:03");
  EXPECT_EQ(FormatearFechaHora(t, "HH'h'mm"), "09h07");
  EXPECT_EQ(LineaFecha("05/03/2026", "9:07:03"),
            "Análisis realizado el día 05/03/2026 a las 9:07:03 horas");
}

}  // namespace
