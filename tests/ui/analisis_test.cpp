// Analyses started from the main window: statistics toggles, chart switches, the
// autocorrelation export and its refusals.
#include <QLineEdit>
#include <QFile>
#include <QTextDocument>
#include <QTextBlock>
#include <QMenu>
#include <QMenuBar>

#include "app/metodos.h"
#include "ui/ui_fixture.h"

TEST_F(UiTest, NothingCheckedGivesTheHeaderLinesInNormalColours) {
  Cargar("traza1.sam", {1, 2, 3});
  p_->SBMedia->click();
  p_->SBVar->click();
  EXPECT_FALSE(s_->ChMedia->isChecked());
  EXPECT_FALSE(s_->ChVar->isChecked());
  p_->FechaHora1->trigger();
  p_->Creditos1->trigger();
  p_->SBAnalizar->click();
  EXPECT_EQ(Lineas(), QStringList({"Nombre: traza1", "Longitud: 3"}));
  EXPECT_NE(FondoMemo(), QColor(128, 128, 128));
  EXPECT_TRUE(p_->Copiarresult1->isEnabled());
  EXPECT_TRUE(p_->SBGuardarResult->isEnabled());
}

TEST_F(UiTest, UncheckedMethodChartKeepsItsContents) {
  Cargar("traza1.sam");
  ElegirMetodo("Varianza");
  p_->SBAnalizar->click();
  const size_t elementos = g_->Plot1->ItemCount();
  ASSERT_GT(elementos, 0u);
  EXPECT_EQ(g_->Plot1->IdOrdinate(), "log10 (Varianza)");
  p_->Graficametodo1->trigger();
  EXPECT_FALSE(p_->Graficametodo1->isChecked());
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();
  EXPECT_TRUE(Lineas().value(2).startsWith("Parámetro Hurst H = "));
  EXPECT_EQ(g_->Plot1->ItemCount(), elementos);
  EXPECT_EQ(g_->Plot1->IdOrdinate(), "log10 (Varianza)");
}

TEST_F(UiTest, CancelledAutocorrelationExportKeepsTheDateAndCreditLines) {
  Cargar("traza1.sam");
  p_->SBAuto->click();
  p_->SBAnalizar->click();  // the save dialog is cancelled (no scripted answer)
  const QStringList l = Lineas();
  EXPECT_FALSE(p_->MResult->toPlainText().contains("Autocorrelación"));
  ASSERT_GE(l.size(), 6);
  EXPECT_TRUE(l[4].startsWith("Análisis realizado el día "));
  EXPECT_EQ(l[5].toStdString(), std::string(kLineaCreditos));
  EXPECT_EQ(g_->Plot2->ItemCount(), 100u);  // the chart is still filled
}

TEST_F(UiTest, AutocorrelationLengthOutsideTheSeriesIsRefusedAfterTheMethod) {
  Cargar("traza1.sam");
  TFAuto* a = app_->Auto();
  dialogos_.guionesModales.push_back([a](QDialog*) {
    a->EPuntos->setText("5000");
    a->BOK->click();
  });
  p_->Autocorrelacion1Click();
  p_->SBAuto->click();
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0],
            "La longitud de la autocorrelación debe ser mayor\nque 0 y menor o igual que la "
            "longitud de la serie");
  EXPECT_TRUE(Lineas().value(2).startsWith("Parámetro Hurst H = "));  // the method's lines stay
  EXPECT_FALSE(p_->MResult->toPlainText().contains("Media = "));
  EXPECT_EQ(FondoMemo(), QColor(128, 128, 128));
  EXPECT_FALSE(p_->Copiarresult1->isEnabled());
  // "Longitud de la serie" takes the whole series instead.
  dialogos_.guionesModales.push_back([a](QDialog*) {
    a->ChLongitud->click();
    a->ChGuardar->click();
    a->BOK->click();
  });
  p_->Autocorrelacion1Click();
  p_->SBAnalizar->click();
  EXPECT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(g_->Plot2->ItemCount(), 1024u);
}

TEST_F(UiTest, TypedLevelNotInTheListIsUsed) {
  Cargar("traza1.sam", Ruido(4096));
  TFMetodosH* h = app_->MetodosH();
  dialogos_.guionesModales.push_back([h](QDialog*) {
    h->CBNivel->setEditText("7");
    h->BOK->click();
  });
  p_->MetodosH1Click();
  ElegirMetodo("Whittle Agregado");
  p_->SBAnalizar->click();
  EXPECT_TRUE(Lineas().contains("      Nivel de agregación: 7")) << p_->MResult->toPlainText().toStdString();
}

// "&Comparar métodos" at the end of "&Métodos": enabled by the first load, one line per
// method that yields H, the comparison chart in Plot1 only while "Gráfica &método" is
// checked.
TEST_F(UiTest, CompararMetodosDesdeElMenu) {
  EXPECT_FALSE(p_->CompararMetodos1->isEnabled());
  QMenu* metodos = p_->MetodosH1->associatedObjects().value(0)
                       ? qobject_cast<QMenu*>(p_->MetodosH1->associatedObjects().value(0))
                       : nullptr;
  ASSERT_NE(metodos, nullptr);
  EXPECT_EQ(metodos->actions().last(), p_->CompararMetodos1);
  EXPECT_EQ(p_->CompararMetodos1->text(), "&Comparar métodos");
  Cargar("traza1.sam");
  ASSERT_TRUE(p_->CompararMetodos1->isEnabled());
  p_->CompararMetodos1->trigger();
  // The method lists then say "Todos", so that the charts window opens on the comparison.
  EXPECT_EQ(p_->CBMetodos->currentText(), "Todos");
  EXPECT_EQ(s_->CBMetodos->currentText(), "Todos");
  int conH = 0;
  for (const DefinicionMetodo& m : TablaMetodos()) conH += m.daH ? 1 : 0;
  const QStringList l = Lineas();
  ASSERT_GE(l.size(), conH + 4);
  EXPECT_TRUE(l[4].startsWith("DFA "));
  // The table's lines in the fixed-width face, so that its columns line up; the others not.
  const auto familia = [this](int linea) {
    return p_->MResult->document()->findBlockByNumber(linea).begin().fragment().charFormat()
        .font().family();
  };
  EXPECT_EQ(familia(4), "DejaVu Sans Mono");
  // Rendered like the other lines, whatever the font configuration asks for.
  const QFont mono =
      p_->MResult->document()->findBlockByNumber(4).begin().fragment().charFormat().font();
  EXPECT_EQ(mono.styleStrategy(), p_->MResult->font().styleStrategy());
  EXPECT_EQ(mono.hintingPreference(), p_->MResult->font().hintingPreference());
  EXPECT_EQ(familia(3), "DejaVu Sans Mono");
  EXPECT_NE(familia(0), "DejaVu Sans Mono");
  EXPECT_NE(familia(conH + 4), "DejaVu Sans Mono");
  EXPECT_NE(FondoMemo(), QColor(128, 128, 128));
  EXPECT_TRUE(g_->Plot1->HasLabels(lpLeftRim));  // the forest plot, one name per row
  const size_t elementos = g_->Plot1->ItemCount();
  EXPECT_GT(elementos, static_cast<size_t>(conH));
  // Without the method chart the chart keeps what it had.
  p_->Graficametodo1->trigger();
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();
  p_->CompararMetodos1->trigger();
  EXPECT_EQ(g_->Plot1->ItemCount(), elementos);
}

// The comparison chart's reference line: the H of the model of a generated series by
// itself, the H given in "Opciones > H de referencia..." of the charts window instead (the
// chart is drawn again at once), none for a loaded series; a bad H is refused.
TEST_F(UiTest, LineaDeReferenciaDeLaComparacion) {
  const auto referencias = [this] {
    QStringList r;
    for (std::size_t i = 0; i < g_->Plot1->ItemCount(); ++i) {
      const QString t = QString::fromStdString(g_->Plot1->LabelText(i));
      if (t.startsWith("H ref.")) r << t;
    }
    return r;
  };
  dialogos_.guionesModales.push_back([](QDialog* d) {
    static_cast<QLineEdit*>(d->findChild<QLineEdit*>("ELongitud"))->setText("2000");
    d->accept();
  });
  p_->Generarserie1Click();
  p_->CompararMetodos1->trigger();
  EXPECT_EQ(referencias(), QStringList{"H ref. = 0,8"});
  const std::size_t elementos = g_->Plot1->ItemCount();
  struct Caso {
    std::optional<QString> respuesta;
    QStringList esperado;
    bool mensaje;
  };
  const Caso casos[] = {
      {QString("0,65"), {"H ref. = 0,65"}, false},
      {QString("dos"), {"H ref. = 0,65"}, true},
      {QString("1.5"), {"H ref. = 0,65"}, true},
      {std::nullopt, {"H ref. = 0,65"}, false},  // cancelled: as it was
      {QString(""), {"H ref. = 0,8"}, false},    // empty: the model's again
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.respuesta.value_or("(cancelado)").toStdString());
    dialogos_.mensajes.clear();
    dialogos_.respuestasTexto.push_back(c.respuesta);
    g_->ReferenciaH1->trigger();
    EXPECT_EQ(referencias(), c.esperado);
    EXPECT_EQ(dialogos_.mensajes.size(), c.mensaje ? 1u : 0u);
    EXPECT_EQ(g_->Plot1->ItemCount(), elementos);
  }
  Cargar("traza1.sam");
  p_->CompararMetodos1->trigger();
  EXPECT_TRUE(referencias().isEmpty());
  dialogos_.respuestasTexto.push_back(QString("0.5"));
  g_->ReferenciaH1->trigger();
  EXPECT_EQ(referencias(), QStringList{"H ref. = 0,5"});
}

// "Resultados > Guardar comparación (CSV)..." saves the results of the last complete
// analysis of a method: every method of a comparison, one row for a single method. It is
// disabled before, after "&Borrar resultados", and after an analysis that did not end.
TEST_F(UiTest, GuardarComparacionCsv) {
  EXPECT_FALSE(p_->GuardarCsv1->isEnabled());
  Cargar("traza1.sam");
  p_->CompararMetodos1->trigger();
  ASSERT_TRUE(p_->GuardarCsv1->isEnabled());
  dialogos_.respuestasFichero.push_back(Ruta("comparacion"));
  p_->GuardarCsv1->trigger();
  const OpcionesFichero& o = dialogos_.ficheros.back().opciones;
  EXPECT_EQ(o.titulo, "Guardar comparación (CSV)");
  EXPECT_EQ(o.nombre, "traza1.csv");
  EXPECT_EQ(o.filtros.value(0), "Valores separados por comas (*.csv)");
  QFile f(Ruta("comparacion.csv"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList filas = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  int conH = 0;
  for (const DefinicionMetodo& m : TablaMetodos()) conH += m.daH ? 1 : 0;
  ASSERT_EQ(filas.size(), conH + 1);
  EXPECT_EQ(filas[0], "metodo,valor,inferior,superior,estado,mensaje");
  EXPECT_TRUE(filas[1].startsWith("DFA,0."));
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();
  dialogos_.respuestasFichero.push_back(Ruta("uno.csv"));
  p_->GuardarCsv1->trigger();
  QFile uno(Ruta("uno.csv"));
  ASSERT_TRUE(uno.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(uno.readAll()).split('\n', Qt::SkipEmptyParts).size(), 2);
  p_->Borrarresult1->trigger();
  EXPECT_FALSE(p_->GuardarCsv1->isEnabled());
  p_->SBAnalizar->click();
  EXPECT_TRUE(p_->GuardarCsv1->isEnabled());
  dialogos_.cancelarCalculo = static_cast<int>(dialogos_.calculos.size()) + 1;
  p_->SBAnalizar->click();
  EXPECT_FALSE(p_->GuardarCsv1->isEnabled());
}

// Long work runs off the window thread with the menus disabled. "Cancelar" during the
// statistics (the second computation) leaves no half result: the header lines and
// "Análisis cancelado", readable, both charts as they were, no file and no save dialog;
// during a load, no series.
TEST_F(UiTest, CancelarDejaElEstadoDeUnAnalisisFallido) {
  Cargar("traza1.sam");
  ElegirMetodo("Varianza");
  p_->SBAnalizar->click();
  const size_t metodoAntes = g_->Plot1->ItemCount(), autoAntes = g_->Plot2->ItemCount();
  ElegirMetodo("R/S");
  p_->SBAuto->click();
  bool menusDuranteElCalculo = true;
  dialogos_.duranteCalculo = [&] { menusDuranteElCalculo = p_->menuBar()->isEnabled(); };
  dialogos_.cancelarCalculo = static_cast<int>(dialogos_.calculos.size()) + 2;
  const size_t ficherosAntes = dialogos_.ficheros.size();
  dialogos_.respuestasFichero.push_back(Ruta("no_debe_existir.atc"));
  p_->SBAnalizar->click();
  EXPECT_FALSE(menusDuranteElCalculo);
  EXPECT_TRUE(p_->menuBar()->isEnabled());
  EXPECT_EQ(Lineas(), QStringList({"Nombre: traza1", "Longitud: 1024", "Análisis cancelado"}));
  EXPECT_NE(FondoMemo(), QColor(128, 128, 128));
  EXPECT_NE(p_->MResult->palette().color(QPalette::Text), QColor(128, 128, 128));
  EXPECT_EQ(g_->Plot1->ItemCount(), metodoAntes);
  EXPECT_EQ(g_->Plot1->IdOrdinate(), "log10 (Varianza)");
  EXPECT_EQ(g_->Plot2->ItemCount(), autoAntes);
  EXPECT_EQ(dialogos_.ficheros.size(), ficherosAntes);  // no save dialog
  EXPECT_FALSE(QFile::exists(Ruta("no_debe_existir.atc")));
  EXPECT_TRUE(dialogos_.mensajes.empty());
  // Without a cancel the same analysis is complete, as it always was.
  dialogos_.cancelarCalculo.reset();
  dialogos_.respuestasFichero.clear();
  p_->SBAnalizar->click();
  EXPECT_TRUE(Lineas().value(2).startsWith("Parámetro Hurst H = "));
  EXPECT_NE(FondoMemo(), QColor(128, 128, 128));
  // A cancelled load adds nothing.
  dialogos_.cancelarCalculo = static_cast<int>(dialogos_.calculos.size()) + 1;
  Cargar("otra.sam");
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({"traza1"}));
  EXPECT_EQ(p_->Almacen().FreeSlots(), 9u);
}
