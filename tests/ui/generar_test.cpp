// "Archivo > Generar serie...": the dialog's fields per model, a generated series entering
// the store like a loaded one, and the refusals that leave everything as it was.
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <algorithm>

#include "ui/dialogo_generar.h"
#include "ui/ui_fixture.h"

TEST_F(UiTest, GenerarSerieEntraEnElAlmacenComoUnaCarga) {
  // The item follows "&Cargar serie..." and "&Importar captura..." in "&Archivo".
  const QList<QAction*> archivo = p_->menuBar()->actions().first()->menu()->actions();
  ASSERT_GE(archivo.size(), 3);
  EXPECT_EQ(archivo[0], p_->Cargarserie1);
  EXPECT_EQ(archivo[1], p_->Importarcaptura1);
  EXPECT_EQ(archivo[2], p_->Generarserie1);
  EXPECT_EQ(p_->Generarserie1->text(), "Ge&nerar serie...");

  TFGenerar* g = p_->DialogoGenerar();
  // Only the fields of the chosen model can be typed in.
  struct Habilitados {
    int modelo;
    bool H, d, phi, theta;
  };
  for (const Habilitados& h : {Habilitados{0, true, false, false, false},
                               Habilitados{1, false, true, true, true},
                               Habilitados{2, false, false, false, false}}) {
    g->RGModelo->SetItemIndex(h.modelo);
    EXPECT_EQ(g->EH->isEnabled(), h.H) << h.modelo;
    EXPECT_EQ(g->Ed->isEnabled(), h.d) << h.modelo;
    EXPECT_EQ(g->EPhi->isEnabled(), h.phi) << h.modelo;
    EXPECT_EQ(g->ETheta->isEnabled(), h.theta) << h.modelo;
    for (QLineEdit* e : {g->ELongitud, g->EMedia, g->EDesviacion, g->ESemilla})
      EXPECT_TRUE(e->isEnabled()) << h.modelo;
  }

  // FARIMA with decimal commas, through the menu item.
  dialogos_.guionesModales.push_back([](QDialog* d) {
    auto* g = static_cast<TFGenerar*>(d);
    EXPECT_EQ(g->windowTitle(), "Generar serie");
    g->RGModelo->SetItemIndex(1);
    g->Ed->setText("0,3");
    g->EPhi->setText("0,5");
    g->ETheta->setText("-0.2");
    g->ELongitud->setText("1000");
    g->ESemilla->setText("7");
    g->BOK->click();
  });
  p_->Generarserie1->trigger();
  ASSERT_EQ(dialogos_.modales, std::vector<QString>{"TFGenerar"});
  EXPECT_TRUE(dialogos_.mensajes.empty());
  EXPECT_FALSE(g->isVisible());
  const QString nombre = "farima_d0.3_phi0.5_theta-0.2_n1000_s7";
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList{nombre});
  EXPECT_EQ(Entradas(s_->CBSeries), QStringList{nombre});
  EXPECT_EQ(p_->CBSeries->currentText(), nombre);
  EXPECT_EQ(s_->CBSeries->currentText(), nombre);
  EXPECT_EQ(p_->Almacen().FreeSlots(), 9u);
  ASSERT_NE(p_->Almacen().Current(), nullptr);
  EXPECT_EQ(p_->Almacen().Current()->data.Longitud(), 1000u);
  for (QAction* a : {p_->Series1, p_->Guardarcomo1}) EXPECT_TRUE(a->isEnabled());
  for (QWidget* w : std::initializer_list<QWidget*>{p_->CBSeries, p_->SBAnalizar, s_->BAnalizar,
                                                    s_->BRenombrar, s_->BEliminar, s_->CBSeries})
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

  // It analyses and saves like a loaded series.
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();
  EXPECT_TRUE(Lineas().join('\n').contains(nombre)) << Lineas().join('\n').toStdString();
  EXPECT_TRUE(p_->Copiarresult1->isEnabled());
  dialogos_.respuestasFichero.push_back(Ruta("guardada.sam"));
  p_->Guardarcomo1Click();
  EXPECT_EQ(dialogos_.ficheros.back().opciones.nombre, nombre);
  QFile guardada(Ruta("guardada.sam"));
  ASSERT_TRUE(guardada.open(QIODevice::ReadOnly));
  EXPECT_EQ(guardada.readAll().count('\n'), 1000);

  // The fields kept their values: the same seed again gives the same samples under the
  // same name; another seed, other samples.
  const Vector primera = p_->Almacen().Current()->data;
  p_->Generarserie1->trigger();
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({nombre, nombre}));
  const Vector& segunda = p_->Almacen().Slot(1).data;
  EXPECT_TRUE(std::equal(primera.begin(), primera.end(), segunda.begin()));
  dialogos_.guionesModales.push_back(
      [](QDialog* d) { static_cast<TFGenerar*>(d)->ESemilla->setText("8"); });
  p_->Generarserie1->trigger();
  EXPECT_EQ(p_->CBSeries->currentText(), "farima_d0.3_phi0.5_theta-0.2_n1000_s8");
  EXPECT_FALSE(std::equal(primera.begin(), primera.end(), p_->Almacen().Current()->data.begin()));
}

TEST_F(UiTest, GenerarSerieConValoresMalosNoCambiaNada) {
  struct Caso {
    QLineEdit* TFGenerar::*campo;
    const char* texto;
    const char* mensaje;
  };
  const Caso casos[] = {
      {&TFGenerar::EH, "1,5", "El parámetro H debe estar comprendido entre 0 y 1"},
      {&TFGenerar::EH, "medio", "El valor de H no es un número: 'medio'"},
      {&TFGenerar::ELongitud, "1", "La longitud de la serie debe ser mayor o igual que 2"},
      {&TFGenerar::ELongitud, "5000000000", "La serie es demasiado larga"},
      {&TFGenerar::EDesviacion, "0", "La desviación típica debe ser mayor que 0"},
  };
  for (const Caso& c : casos) {
    dialogos_.mensajes.clear();
    dialogos_.guionesModales.push_back([&](QDialog* d) {
      auto* g = static_cast<TFGenerar*>(d);
      (g->*c.campo)->setText(c.texto);
      g->BOK->click();
      // The message is shown and the dialog stays open with the bad value.
      EXPECT_TRUE(g->isVisible()) << c.texto;
      EXPECT_EQ((g->*c.campo)->text(), c.texto);
      g->BCancelar->click();
    });
    p_->Generarserie1Click();
    ASSERT_EQ(dialogos_.mensajes.size(), 1u) << c.texto;
    EXPECT_TRUE(dialogos_.mensajes[0].startsWith(QString::fromUtf8(c.mensaje)))
        << dialogos_.mensajes[0].toStdString();
    EXPECT_EQ(p_->Almacen().FreeSlots(), 10u);
    EXPECT_EQ(p_->CBSeries->count(), 0);
    EXPECT_FALSE(p_->Series1->isEnabled());
    // "Cancelar" put back the value the dialog was opened with.
    EXPECT_NE((p_->DialogoGenerar()->*c.campo)->text(), c.texto);
  }
}

TEST_F(UiTest, GenerarSerieConDiezSeriesCargadasAvisaSinAbrirElDialogo) {
  for (int i = 0; i < 10; ++i) Cargar(QStringLiteral("s%1.sam").arg(i), {1, 2, 3});
  p_->Generarserie1Click();
  EXPECT_TRUE(dialogos_.modales.empty());
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0],
            "No pueden cargarse más series.\nEs necesario eliminar alguna de\nlas que están "
            "cargadas.");
  EXPECT_EQ(p_->Almacen().FreeSlots(), 0u);
}

// The focus starts on the chosen model; Tab runs through the fields that apply to it in
// reading order, then "Aceptar" and "Cancelar".
TEST_F(UiTest, GenerarSerieTeclado) {
  TFGenerar* g = p_->DialogoGenerar();
  g->RGModelo->SetItemIndex(1);
  const std::vector<QWidget*> orden = {g->RGModelo->Boton(1), g->Ed, g->EPhi, g->ETheta,
                                       g->ELongitud, g->EMedia, g->EDesviacion, g->ESemilla,
                                       g->BOK, g->BCancelar};
  std::vector<QWidget*> visitados;
  dialogos_.guionesModales.push_back([&](QDialog* d) {
    for (std::size_t i = 0; i < orden.size() && d->focusWidget(); ++i) {
      visitados.push_back(d->focusWidget());
      QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
    }
    d->reject();
  });
  p_->Generarserie1Click();
  EXPECT_EQ(visitados, orden);
}

// Generating runs like an analysis: off the window thread with the menus disabled and the
// progress text of its own; the results area then says what was made, in the report's
// decimal separator. The dialog shows its decimal defaults the same way. "Cancelar" during
// a long generation (10^7 samples, typed as 1e7) stops it and adds nothing: no series, no
// message, the results area as it was.
TEST_F(UiTest, GenerarSerieConProgresoYCancelar) {
  TFGenerar* g = p_->DialogoGenerar();
  EXPECT_EQ(g->EH->text(), "0,8");
  EXPECT_EQ(g->EDesviacion->text(), "1");
  // The limits beside the fields and their hints, with the same separator.
  EXPECT_EQ(g->findChild<QLabel*>("LimitesEd")->text(), "-0,5 < d < 0,5");
  EXPECT_TRUE(g->Ed->toolTip().contains("H = d + 0,5"));
  bool menusDuranteElCalculo = true;
  dialogos_.duranteCalculo = [&] { menusDuranteElCalculo = p_->menuBar()->isEnabled(); };
  p_->Generarserie1Click();
  ASSERT_EQ(dialogos_.calculos, std::vector<QString>{"Generando la serie..."});
  EXPECT_FALSE(menusDuranteElCalculo);
  EXPECT_TRUE(p_->menuBar()->isEnabled());
  EXPECT_EQ(p_->CBSeries->currentText(), "fgn_H0.8_n10000_s1");
  EXPECT_EQ(Lineas().value(0), "Serie generada: fgn_H0.8_n10000_s1");
  EXPECT_TRUE(Lineas().contains("      Parámetro de Hurst H: 0,8"));
  EXPECT_TRUE(Lineas().contains("      Semilla: 1"));
  EXPECT_NE(FondoMemo(), QColor(128, 128, 128));
  EXPECT_TRUE(p_->Copiarresult1->isEnabled());
  const QStringList antes = Lineas();

  dialogos_.cancelarCalculo = static_cast<int>(dialogos_.calculos.size()) + 1;
  dialogos_.guionesModales.push_back([](QDialog* d) {
    auto* g = static_cast<TFGenerar*>(d);
    g->ELongitud->setText("1e7");
    g->BOK->click();
  });
  p_->Generarserie1Click();
  EXPECT_EQ(dialogos_.calculos.size(), 2u);
  EXPECT_TRUE(dialogos_.mensajes.empty());
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList{"fgn_H0.8_n10000_s1"});
  EXPECT_EQ(p_->Almacen().FreeSlots(), 9u);
  EXPECT_EQ(Lineas(), antes);
  EXPECT_EQ(g->ELongitud->text(), "1e7");  // the fields keep what was typed
  EXPECT_TRUE(p_->menuBar()->isEnabled());
}

// Quitting with a generated series never saved asks first; "No" keeps the program open.
// Once the series is saved (or with only loaded series) it quits without asking.
TEST_F(UiTest, SalirConSeriesGeneradasSinGuardarPregunta) {
  Cargar("leida.sam");
  p_->show();
  p_->Generarserie1Click();
  p_->Salir1Click();
  ASSERT_EQ(dialogos_.preguntas.size(), 1u);
  EXPECT_TRUE(dialogos_.preguntas[0].contains("fgn_H0.8_n10000_s1"));
  EXPECT_FALSE(dialogos_.preguntas[0].contains("leida"));
  EXPECT_TRUE(p_->isVisible());
  dialogos_.respuestasFichero.push_back(Ruta("guardada.sam"));
  p_->Guardarcomo1Click();
  p_->Salir1Click();
  EXPECT_EQ(dialogos_.preguntas.size(), 1u);
  EXPECT_FALSE(p_->isVisible());
}
