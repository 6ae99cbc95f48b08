// Pictures of every window for looking at the layout and for the manual (docs/img, made by
// scripts/capturas.sh): runs only when FENWA_CAPTURAS names a folder, and saves there the
// main window at start and after an R/S analysis (and its M, V, A toggles enlarged, down
// and up), its menus, each dialog (the series generator's with FGN and with FARIMA chosen),
// a message box, the charts window on the method and autocorrelation charts with its menus,
// the method chart saved as PNG and as SVG (with the SVG drawn back by Qt), and the
// comparison of methods on a generated series in the main window and the charts window (at
// its size and at 1200 pixels, and saved as PNG and SVG).
// The pictures hold nothing that changes from run to run (no date line, no temporary folder
// name, a text cursor that does not blink), so that the font test runs can compare them.
#include <QDir>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTimer>

#include "estimators/estado.h"
#include "ui/dialogo_generar.h"
#include "ui/dialogos.h"
#include "ui/ui_fixture.h"

TEST_F(UiTest, Capturas) {
  const QString carpeta = qEnvironmentVariable("FENWA_CAPTURAS");
  if (carpeta.isEmpty()) GTEST_SKIP() << "FENWA_CAPTURAS not set";
  QDir().mkpath(carpeta);
  auto guardar = [&](QWidget* w, const QString& nombre) {
    w->show();
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(carpeta + "/" + nombre + ".png"));
  };
  // A menu as it drops down.
  auto menu = [&](QMenu* m, const QString& nombre) {
    m->popup(QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_TRUE(m->grab().save(carpeta + "/" + nombre + ".png"));
    m->hide();
  };
  auto menus = [&](QMenuBar* barra, const QString& prefijo) {
    for (QAction* a : barra->actions()) {
      if (!a->menu()) continue;
      const QString nombre = a->text().remove(QLatin1Char('&')).toLower()
                                 .replace(QStringLiteral("á"), QStringLiteral("a"))
                                 .replace(QStringLiteral("é"), QStringLiteral("e"));
      menu(a->menu(), prefijo + nombre);
    }
  };
  const int parpadeo = QApplication::cursorFlashTime();
  QApplication::setCursorFlashTime(0);
  p_->show();
  p_->FechaHora1->setChecked(false);
  guardar(p_, "principal_inicio");
  Cargar("traza1.sam");
  ElegirMetodo("R/S");
  p_->SBAuto->click();
  dialogos_.respuestasFichero.push_back(QStringLiteral("traza1.atc"));  // in the current folder
  p_->SBAnalizar->click();
  guardar(p_, "principal");
  // The three toggles at four times their size, in both states.
  auto conmutadores = [&](const QString& nombre) {
    QApplication::processEvents();
    QWidget* barra = p_->SBMedia->parentWidget();
    const QRect zona =
        QRect(p_->SBMedia->geometry().topLeft(), p_->SBAuto->geometry().bottomRight())
            .adjusted(-4, -4, 4, 4);
    const QImage img = barra->grab(zona).toImage();
    EXPECT_TRUE(img.scaled(img.size() * 4).save(carpeta + "/" + nombre + ".png"));
  };
  conmutadores("conmutadores_abajo");  // "A" was pressed before the analysis
  for (QToolButton* b : {p_->SBMedia, p_->SBVar, p_->SBAuto}) b->click();
  conmutadores("conmutadores_arriba");
  for (QToolButton* b : {p_->SBMedia, p_->SBVar, p_->SBAuto}) b->click();
  ElegirMetodo("Whittle Estándar");
  guardar(p_, "principal_whittle");
  menus(p_->menuBar(), "menu_");

  TFMetodosH* h = app_->MetodosH();
  for (int i = 0; i < h->PageControl->count(); ++i) {
    h->PageControl->setCurrentIndex(i);
    guardar(h, QStringLiteral("metodosH_%1").arg(i));
  }
  h->PageControl->setCurrentIndex(0);
  h->hide();
  guardar(app_->MetodosT0(), "metodosT0");
  app_->MetodosT0()->hide();
  {
    // The progress dialog of a long analysis, at 40 %.
    std::unique_ptr<QProgressDialog> progreso(
        NuevoDialogoProgreso(p_, QStringLiteral("Analizando la serie...")));
    progreso->setValue(400);
    guardar(progreso.get(), "progreso");
  }
  guardar(app_->Estacion(), "estacion_0");
  app_->Estacion()->PageControl->setCurrentIndex(1);
  guardar(app_->Estacion(), "estacion_1");
  app_->Estacion()->PageControl->setCurrentIndex(0);
  app_->Estacion()->hide();
  guardar(app_->Auto(), "auto");
  app_->Auto()->hide();
  guardar(s_, "series");
  s_->reject();
  TFGenerar* generar = p_->DialogoGenerar();
  guardar(generar, "generar_fgn");
  generar->RGModelo->SetItemIndex(1);
  guardar(generar, "generar_farima");
  generar->reject();
  dialogos_.guionesModales.push_back([&](QDialog* d) { guardar(d, "acercade"); });
  p_->Acercade1Click();
  {
    // A status message as the program's own message box shows it.
    QtPlatformDialogs reales;
    QTimer::singleShot(0, [&] {
      QWidget* caja = QApplication::activeModalWidget();
      ASSERT_NE(caja, nullptr);
      guardar(caja, "mensaje");
      caja->close();
    });
    reales.Mensaje(p_, QString::fromStdString(MensajeEstado(kEstadoSerieCorta)),
                   IconoMensaje::Aviso);
  }
  p_->Iragraficas1Click();
  guardar(g_, "graficas_metodo");
  // The method chart saved as PNG and as SVG, and the SVG drawn back by Qt.
  dialogos_.respuestasFichero = {carpeta + "/grafica_guardada", carpeta + "/grafica_guardada"};
  dialogos_.filtrosElegidos = {2, 3};
  g_->Guardarcomo1Click();
  g_->Guardarcomo1Click();
  QSvgRenderer svg(carpeta + "/grafica_guardada.svg");
  EXPECT_TRUE(svg.isValid());
  QImage dibujada(svg.viewBox().size(), QImage::Format_RGB32);
  dibujada.fill(Qt::magenta);
  QPainter pintor(&dibujada);
  svg.render(&pintor);
  pintor.end();
  EXPECT_TRUE(dibujada.save(carpeta + "/grafica_guardada_svg.png"));
  g_->Auto1Click();
  guardar(g_, "graficas_auto");
  menus(g_->menuBar(), "graficas_menu_");
  menu(g_->PopupMenu1, "graficas_menu_raton");
  g_->Ejes1Click();
  g_->hide();
  // Every method on a generated FGN of H = 0.8 (the dialog's defaults), side by side.
  dialogos_.guionesModales.push_back([](QDialog* d) { static_cast<TFGenerar*>(d)->accept(); });
  p_->Generarserie1Click();
  p_->CompararMetodos1Click();
  guardar(p_, "principal_comparar");
  p_->Iragraficas1Click();
  guardar(g_, "graficas_comparar");
  // Its PNG and SVG files, the SVG drawn back by Qt, and the window at 1200 pixels.
  dialogos_.respuestasFichero = {carpeta + "/comparar_exportada", carpeta + "/comparar_exportada"};
  dialogos_.filtrosElegidos = {2, 3};
  g_->Guardarcomo1Click();
  g_->Guardarcomo1Click();
  QSvgRenderer svgComparar(carpeta + "/comparar_exportada.svg");
  EXPECT_TRUE(svgComparar.isValid());
  QImage comparada(svgComparar.viewBox().size(), QImage::Format_RGB32);
  comparada.fill(Qt::magenta);
  QPainter pintorComparar(&comparada);
  svgComparar.render(&pintorComparar);
  pintorComparar.end();
  EXPECT_TRUE(comparada.save(carpeta + "/comparar_exportada_svg.png"));
  const QSize tamano = g_->size();
  g_->resize(1200, 800);
  guardar(g_, "graficas_comparar_1200");
  g_->resize(tamano);
  g_->hide();
  QApplication::setCursorFlashTime(parpadeo);
}
