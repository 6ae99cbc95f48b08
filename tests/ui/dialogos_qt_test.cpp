// The real Qt dialogs behind PlatformDialogs, driven from a timer: file dialogs return the
// typed path and move the current folder, the input box and message box answer, and Qt's
// own buttons read in Spanish once the translations are loaded.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>

#include "ui/aplicacion.h"
#include "ui/dialogos.h"

namespace {

// Runs `accion` on the modal dialog once it is up; rejects it after 5 s so no test hangs.
void AlAparecer(std::function<void(QWidget*)> accion) {
  auto* temporizador = new QTimer;
  auto inicio = std::make_shared<int>(0);
  QObject::connect(temporizador, &QTimer::timeout, [temporizador, accion, inicio] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      temporizador->stop();
      temporizador->deleteLater();
      accion(modal);
    } else if (++*inicio > 250) {
      temporizador->stop();
      temporizador->deleteLater();
    }
  });
  temporizador->start(20);
}

}  // namespace

TEST(QtPlatformDialogs, SaveDialogReturnsTheTypedPathWithTheDefaultExtension) {
  QTranslator traductor;
  CargarTraducciones(traductor);
  QTemporaryDir dir;
  const QString anterior = QDir::currentPath();
  QtPlatformDialogs dialogos;
  AlAparecer([&](QWidget* w) {
    auto* fd = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(fd, nullptr);
    EXPECT_EQ(fd->windowTitle(), "Guardar gráfica como");
    fd->setDirectory(dir.path());
    fd->findChild<QLineEdit*>("fileNameEdit")->setText("grafica");
    const QString capturas = qEnvironmentVariable("FENWA_CAPTURAS");
    if (!capturas.isEmpty()) fd->grab().save(capturas + "/dialogo_guardar.png");
    static_cast<QDialog*>(fd)->accept();
  });
  OpcionesFichero o;
  o.titulo = "Guardar gráfica como";
  o.filtros = {"Bitmap (.bmp) (*.bmp)", "Formato propio (.grf) (*.grf)"};
  o.filtroInicial = 1;
  o.extensionDefecto = "grf";
  const QString ruta = dialogos.GuardarFichero(nullptr, o);
  EXPECT_EQ(ruta, QDir(dir.path()).filePath("grafica.grf"));
  EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).absolutePath());
  QDir::setCurrent(anterior);
  QCoreApplication::removeTranslator(&traductor);
}

TEST(QtPlatformDialogs, InputBoxAnswersAndCancels) {
  QtPlatformDialogs dialogos;
  AlAparecer([](QWidget* w) {
    auto* entrada = qobject_cast<QInputDialog*>(w);
    ASSERT_NE(entrada, nullptr);
    EXPECT_EQ(entrada->labelText(), "Nuevo nombre:");
    entrada->setTextValue("nueva");
    entrada->accept();
  });
  EXPECT_EQ(dialogos.PedirTexto(nullptr, "Renombrar", "Nuevo nombre:", QString()),
            std::optional<QString>("nueva"));
  AlAparecer([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(dialogos.PedirTexto(nullptr, "Renombrar", "Nuevo nombre:", QString()), std::nullopt);
}

TEST(QtPlatformDialogs, MessageBoxShowsTheTextWithSpanishButtons) {
  QTranslator traductor;
  CargarTraducciones(traductor);
  QtPlatformDialogs dialogos;
  QString texto, boton;
  AlAparecer([&](QWidget* w) {
    auto* caja = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(caja, nullptr);
    texto = caja->text();
    boton = caja->buttons().value(0)->text();
    caja->accept();
  });
  dialogos.Mensaje(nullptr, "La extensión indicada no es válida", IconoMensaje::Informacion);
  QCoreApplication::removeTranslator(&traductor);
  EXPECT_EQ(texto, "La extensión indicada no es válida");
  EXPECT_EQ(boton.remove('&'), "Aceptar");
}
