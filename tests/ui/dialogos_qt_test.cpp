// The real Qt dialogs behind PlatformDialogs, driven from a timer: file dialogs return the
// typed path and move the current folder, the input box and message box answer, and Qt's
// own buttons read in Spanish once the translations are loaded.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <gtest/gtest.h>

#include "ui/aplicacion.h"
#include "numeric/progreso.h"
#include "ui/dialogos.h"
#include "support/dialogos_falsos.h"

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

// The charts window's save dialog: picking "Imagen PNG" makes a bare name a ".png" file,
// picking "Gráfico vectorial SVG" an ".svg" one.
TEST(QtPlatformDialogs, DialogoGuardarAnadeLaExtensionDelFiltroElegido) {
  QTranslator traductor;
  CargarTraducciones(traductor);
  QTemporaryDir dir;
  const QString anterior = QDir::currentPath();
  QtPlatformDialogs dialogos;
  OpcionesFichero o;
  o.titulo = "Guardar gráfica como";
  o.filtros = {"Bitmap (.bmp) (*.bmp)", "Formato propio (.grf) (*.grf)", "Imagen PNG (*.png)",
               "Gráfico vectorial SVG (*.svg)"};
  o.filtroInicial = 1;
  o.extensionDefecto = "grf";
  const std::pair<int, const char*> casos[] = {{2, "grafica.png"}, {3, "grafica.svg"}};
  for (const auto& [filtro, esperado] : casos) {
    AlAparecer([&, filtro = filtro](QWidget* w) {
      auto* fd = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(fd, nullptr);
      fd->setDirectory(dir.path());
      auto* tipos = fd->findChild<QComboBox*>("fileTypeCombo");
      ASSERT_NE(tipos, nullptr);
      QStringList ofrecidos;
      for (int i = 0; i < tipos->count(); ++i) ofrecidos << tipos->itemText(i);
      EXPECT_EQ(ofrecidos, o.filtros);
      // The user picks the filter in the list.
      tipos->setCurrentIndex(filtro);
      emit tipos->activated(filtro);
      emit tipos->textActivated(tipos->itemText(filtro));
      fd->findChild<QLineEdit*>("fileNameEdit")->setText("grafica");
      const QString capturas = qEnvironmentVariable("FENWA_CAPTURAS");
      if (!capturas.isEmpty() && filtro == 2) {
        QDir().mkpath(capturas);
        fd->grab().save(capturas + "/dialogo_guardar_png.png");
        tipos->showPopup();
        QApplication::processEvents();
        tipos->view()->window()->grab().save(capturas + "/dialogo_guardar_filtros.png");
        tipos->hidePopup();
      }
      static_cast<QDialog*>(fd)->accept();
    });
    EXPECT_EQ(dialogos.GuardarFichero(nullptr, o).toStdString(),
              QDir(dir.path()).filePath(esperado).toStdString());
  }
  QDir::setCurrent(anterior);
  QCoreApplication::removeTranslator(&traductor);
}

TEST(ExtensionDeFiltro, SoloConUnPatronSencillo) {
  EXPECT_EQ(ExtensionDeFiltro("Imagen PNG (*.png)"), "png");
  EXPECT_EQ(ExtensionDeFiltro("Bitmap (.bmp) (*.bmp)"), "bmp");
  EXPECT_EQ(ExtensionDeFiltro("Todos los archivos (*.*)"), "");
  EXPECT_EQ(ExtensionDeFiltro("Imágenes (*.png *.bmp)"), "");
  EXPECT_EQ(ExtensionDeFiltro("Sin patrón"), "");
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
  dialogos.Mensaje(nullptr, "La extensión indicada no es válida", IconoMensaje::Aviso);
  QCoreApplication::removeTranslator(&traductor);
  EXPECT_EQ(texto, "La extensión indicada no es válida");
  EXPECT_EQ(boton.remove('&'), "Aceptar");
}

// A refusal the user can mend shows the warning icon, a fault the critical one; the
// information icon is for what is not a fault. Every message without an icon is a warning.
TEST(QtPlatformDialogs, IconoDeCadaMensaje) {
  struct Caso {
    IconoMensaje icono;
    QMessageBox::Icon caja;
  };
  for (const Caso& c : {Caso{IconoMensaje::Informacion, QMessageBox::Information},
                        Caso{IconoMensaje::Aviso, QMessageBox::Warning},
                        Caso{IconoMensaje::Error, QMessageBox::Critical}}) {
    QtPlatformDialogs dialogos;
    QMessageBox::Icon visto = QMessageBox::NoIcon;
    AlAparecer([&](QWidget* w) {
      auto* caja = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(caja, nullptr);
      visto = caja->icon();
      caja->accept();
    });
    dialogos.Mensaje(nullptr, "texto", c.icono);
    EXPECT_EQ(visto, c.caja) << static_cast<int>(c.icono);
  }
  DialogosFalsos falsos;
  static_cast<PlatformDialogs&>(falsos).Mensaje(nullptr, "texto");
  EXPECT_EQ(falsos.iconos.back(), IconoMensaje::Aviso);
}

// The real wait for a long computation: no dialog for the first half second, then a modal
// progress dialog whose "Cancelar" cancels the control; the computation sees the request at
// its next check and the wait ends.
TEST(QtPlatformDialogs, EsperaConDialogoDeProgresoYCancelar) {
  QtPlatformDialogs dialogos;
  ControlProgreso control;
  std::atomic<bool> terminado{false};
  std::atomic<bool> cancelado{false};
  std::thread trabajo([&] {
    ProgresoInstalado instalado(control);
    try {
      for (int i = 0; i < 1000; ++i) {  // at most 10 s
        Avance(i / 1000.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    } catch (const Cancelado&) {
      cancelado = true;
    }
    terminado = true;
  });
  QElapsedTimer reloj;
  reloj.start();
  qint64 aparecio = -1;
  AlAparecer([&](QWidget* w) {
    aparecio = reloj.elapsed();
    auto* progreso = qobject_cast<QProgressDialog*>(w);
    ASSERT_NE(progreso, nullptr);
    EXPECT_EQ(progreso->labelText(), "Analizando la serie...");
    progreso->findChild<QPushButton*>()->click();  // "Cancelar"
  });
  dialogos.EsperarCalculo(nullptr, "Analizando la serie...", control, 0.0,
                          [&] { return terminado.load(); });
  trabajo.join();
  EXPECT_TRUE(cancelado);
  EXPECT_GE(aparecio, 450);
  EXPECT_LT(reloj.elapsed(), 9000);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
