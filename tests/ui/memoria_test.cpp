// The out-of-memory handler: message on the standard error stream and in a message box, then
// the process ends with status 1.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <new>

#include "ui/aplicacion.h"

TEST(ManejadorMemoria, ShowsTheMessageAndEndsWithStatusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        InstalarManejadorMemoria();
        auto* cierre = new QTimer;
        QObject::connect(cierre, &QTimer::timeout, [] {
          if (QWidget* caja = QApplication::activeModalWidget()) caja->close();
        });
        cierre->start(20);
        std::get_new_handler()();
      },
      ::testing::ExitedWithCode(1), "No hay suficiente memoria.\nEl programa se cerrar");
}
