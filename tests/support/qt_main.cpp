// Test entry point for the areas that need a QApplication (widgets, rendering).
#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

#include "chart/qt/plot_fuentes.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Before any widget or chart, as in the program.
  RegistrarFuentes();
  return RUN_ALL_TESTS();
}
