// Main window: start-up state, menus, loading and saving series, the quick controls and the
// results commands.
#include <QAbstractItemView>
#include <QClipboard>
#include <QKeySequence>
#include <QMenuBar>
#include <QRegularExpression>

#include "app/metodos.h"
#include "ui/ui_fixture.h"

namespace {

QAction* Accion(QWidget* w, const char* nombre) {
  return w->findChild<QAction*>(QString::fromLatin1(nombre));
}

}  // namespace

TEST_F(UiTest, SevenWindowsCreatedOnceInOrderAndHidden) {
  EXPECT_EQ(p_->windowTitle(), "FENWA");
  const QStringList esperadas = {"TFMetodosH", "TFAuto", "TFSeries", "TFMetodosT0", "TFEstacion",
                                 "TFGraf"};
  QStringList hijas;
  for (QObject* hijo : p_->children())
    if (auto* w = qobject_cast<QWidget*>(hijo); w && w->isWindow()) hijas << w->objectName();
  EXPECT_EQ(hijas, esperadas);
  for (QWidget* w : std::initializer_list<QWidget*>{app_->MetodosH(), app_->Auto(), s_,
                                                    app_->MetodosT0(), app_->Estacion(), g_})
    EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
  EXPECT_EQ(p_->size(), QSize(464, 341));
}

TEST_F(UiTest, StartUpEnabledStatesAndChecks) {
  struct Caso {
    const char* nombre;
    bool habilitado;
    int marcado;  // -1: not checkable
  };
  const Caso casos[] = {
      {"Cargarserie1", true, -1},        {"Generarserie1", true, -1},
      {"Guardarcomo1", false, -1},
      {"Guardarresult1", false, -1},     {"Guardarresultcomo1", false, -1},
      {"Salir1", true, -1},              {"MetodosH1", true, -1},
      {"MetodosT01", true, -1},          {"Estacion1", true, -1},
      {"Autocorrelacion1", true, -1},    {"Series1", false, -1},
      {"FechaHora1", true, 1},           {"Creditos1", true, 1},
      {"Copiarresult1", false, -1},      {"Borrarresult1", false, -1},
      {"Graficametodo1", true, 1},       {"Graficaauto1", true, 1},
      {"Iragraficas1", true, -1},        {"Acercade1", true, -1},
  };
  for (const Caso& c : casos) {
    QAction* a = Accion(p_, c.nombre);
    ASSERT_NE(a, nullptr) << c.nombre;
    EXPECT_EQ(a->isEnabled(), c.habilitado) << c.nombre;
    if (c.marcado >= 0) {
      EXPECT_TRUE(a->isCheckable()) << c.nombre;
      EXPECT_EQ(a->isChecked(), c.marcado == 1) << c.nombre;
    } else {
      EXPECT_FALSE(a->isCheckable()) << c.nombre;
    }
  }
  EXPECT_TRUE(p_->SBCargarSerie->isEnabled());
  EXPECT_FALSE(p_->SBGuardarResult->isEnabled());
  EXPECT_FALSE(p_->CBSeries->isEnabled());
  EXPECT_TRUE(p_->CBMetodos->isEnabled());
  EXPECT_FALSE(p_->SBAnalizar->isEnabled());
  EXPECT_TRUE(p_->SBGraficas->isEnabled());
  EXPECT_TRUE(p_->SBMedia->isChecked());
  EXPECT_TRUE(p_->SBVar->isChecked());
  EXPECT_FALSE(p_->SBAuto->isChecked());
  EXPECT_EQ(p_->CBMetodos->currentText(), "Ninguno");
  EXPECT_EQ(s_->CBMetodos->currentText(), "Ninguno");
  EXPECT_FALSE(s_->BAnalizar->isEnabled());
  EXPECT_TRUE(p_->MResult->isReadOnly());
  EXPECT_EQ(p_->MResult->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(FondoMemo(), QColor(128, 128, 128));
  EXPECT_TRUE(p_->MResult->toPlainText().isEmpty());
}

TEST_F(UiTest, MenuTextsAccessKeysAndShortcut) {
  QStringList titulos;
  for (QAction* a : p_->menuBar()->actions()) titulos << a->text();
  EXPECT_EQ(titulos, QStringList({"&Archivo", "&Métodos", "Auto&correlación", "&Series",
                                  "&Resultados", "&Gráficas", "Acerca &de"}));
  EXPECT_EQ(p_->Copiarresult1->shortcut().toString(QKeySequence::PortableText), "Ctrl+C");
  EXPECT_EQ(QKeySequence::mnemonic("&Archivo").toString(QKeySequence::PortableText), "Alt+A");
  EXPECT_EQ(p_->Guardarresult1->text(), "G&uardar resultado análisis");
  EXPECT_EQ(p_->Guardarresultcomo1->text(), "Guardar &resultado como...");
  QStringList metodos = Entradas(p_->CBMetodos);
  QStringList tabla;
  for (const std::string& m : NombresMetodos()) tabla << QString::fromStdString(m);
  tabla << "Todos";  // every method side by side, as "&Comparar métodos"
  EXPECT_EQ(metodos, tabla);
  EXPECT_EQ(Entradas(s_->CBMetodos), metodos);
  EXPECT_EQ(p_->SBMedia->toolTip(), "Media");
  EXPECT_EQ(p_->CBSeries->toolTip(), "Series cargadas");
  EXPECT_TRUE(p_->SBMedia->font().bold());
}

TEST_F(UiTest, FirstLoadEnablesSeriesControlsAndSelectsTheNewName) {
  Cargar("traza1.sam");
  ASSERT_EQ(dialogos_.ficheros.size(), 1u);
  const auto& o = dialogos_.ficheros[0].opciones;
  EXPECT_EQ(o.titulo, "Cargar serie");
  EXPECT_EQ(o.filtros, QStringList({"Series de tráfico (*.sam)", "Series (*.sam *.txt *.npy)",
                                     "Todos los archivos (*.*)"}));
  EXPECT_EQ(o.filtroInicial, 2);
  EXPECT_EQ(p_->CBSeries->currentText(), "traza1");
  EXPECT_EQ(s_->CBSeries->currentText(), "traza1");
  EXPECT_TRUE(p_->Series1->isEnabled());
  EXPECT_TRUE(p_->Guardarcomo1->isEnabled());
  EXPECT_TRUE(p_->CBSeries->isEnabled());
  EXPECT_TRUE(p_->SBAnalizar->isEnabled());
  for (QWidget* w : std::initializer_list<QWidget*>{s_->BAnalizar, s_->BRenombrar, s_->BEliminar,
                                                    s_->CBSeries})
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_EQ(p_->Almacen().FreeSlots(), 9u);
  // Both lists sorted ignoring case, same positions.
  Cargar("Alfa.sam");
  Cargar("beta.sam");
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({"Alfa", "beta", "traza1"}));
  EXPECT_EQ(Entradas(s_->CBSeries), Entradas(p_->CBSeries));
  EXPECT_EQ(p_->CBSeries->currentText(), "beta");
}

// The tool bar's series list grows with the longest name, up to a limit, and the controls
// after it move with it; beyond the limit the name is elided. The hints of both lists show
// the chosen name whole.
TEST_F(UiTest, ListaDeSeriesSeAjustaAlNombreMasLargo) {
  p_->show();
  const int analizarAntes = p_->SBAnalizar->x(), graficasAntes = p_->SBGraficas->x();
  struct Caso {
    QString nombre;
    int minimo, maximo;  // width of the list
  };
  const Caso casos[] = {
      {"s", 89, 89},
      {"fgn_H0.8_n10000_s1", 100, 179},
      {"farima_d0.3_phi0.5_theta-0.2_n10000_s1_m5_dt2", 180, 180},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre.toStdString());
    Cargar(c.nombre + ".sam", {1, 2, 3});
    const int ancho = p_->CBSeries->width();
    EXPECT_GE(ancho, c.minimo);
    EXPECT_LE(ancho, c.maximo);
    EXPECT_EQ(p_->SBAnalizar->x() - analizarAntes, ancho - 89);
    EXPECT_EQ(p_->SBGraficas->x() - graficasAntes, ancho - 89);
    EXPECT_GE(p_->width(), p_->SBGraficas->geometry().right());
    EXPECT_EQ(p_->CBSeries->toolTip(), "Series cargadas: " + c.nombre);
    EXPECT_EQ(s_->CBSeries->toolTip(), c.nombre);
    EXPECT_GE(p_->CBSeries->view()->minimumWidth(),
              p_->CBSeries->fontMetrics().horizontalAdvance(c.nombre));
  }
}

// Both series lists sort the Spanish way: case ignored, accented letters beside their base
// letter, "ñ" after "n"; a renamed entry takes its place by the same rule.
TEST_F(UiTest, ListasDeSeriesEnOrdenAlfabeticoEspanol) {
  for (const char* nombre : {"Zeta", "árbol", "arce", "Beta", "ñu", "nube", "oso", "Árbol"})
    Cargar(QString::fromUtf8(nombre) + ".sam", {1, 2, 3});
  const QStringList esperado = {"árbol", "Árbol", "arce", "Beta", "nube", "ñu", "oso", "Zeta"};
  EXPECT_EQ(Entradas(p_->CBSeries), esperado);
  EXPECT_EQ(Entradas(s_->CBSeries), esperado);
  dialogos_.respuestasTexto.push_back(QStringLiteral("ábaco"));
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->CBSeries->setCurrentIndex(s_->CBSeries->findText("Zeta"));
    emit s_->CBSeries->activated(s_->CBSeries->currentIndex());
    s_->BRenombrar->click();
    s_->BOK->click();
  });
  p_->Series1Click();
  const QStringList renombrado = {"ábaco", "árbol", "Árbol", "arce",
                                  "Beta",  "nube",  "ñu",    "oso"};
  EXPECT_EQ(Entradas(s_->CBSeries), renombrado);
  EXPECT_EQ(Entradas(p_->CBSeries), renombrado);
  EXPECT_EQ(p_->CBSeries->currentText(), "ábaco");
  EXPECT_EQ(Entradas(p_->CBMetodos), ListaMetodos());  // methods keep their order
}

TEST_F(UiTest, FailedLoadShowsTheReaderMessageAndLeavesTheSlotFree) {
  dialogos_.respuestasFichero.push_back(Ruta("falta.sam"));
  p_->Cargarserie1Click();
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0], "No puedo leer el fichero\n'" + Ruta("falta.sam") + "'");
  EXPECT_EQ(p_->Almacen().FreeSlots(), 10u);
  EXPECT_FALSE(p_->Series1->isEnabled());
  EXPECT_EQ(p_->CBSeries->count(), 0);
  // Cancelling the dialog does nothing.
  p_->Cargarserie1Click();
  EXPECT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(p_->Almacen().FreeSlots(), 10u);
}

TEST_F(UiTest, CommandLineFilesLoadAsFromTheMenu) {
  EscribirMuestras(Ruta("uno.sam"), {1, 2, 3});
  EscribirMuestras(Ruta("dos.sam"), {4, 5});
  app_->CargarFicheros({Ruta("uno.sam"), "dos.sam", Ruta("nada.sam")});
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({"dos", "uno"}));
  EXPECT_EQ(p_->CBSeries->currentText(), "dos");
  EXPECT_TRUE(dialogos_.ficheros.empty());
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);  // the missing file, with its full path
  EXPECT_TRUE(dialogos_.mensajes[0].contains(Ruta("nada.sam")));
  EXPECT_TRUE(p_->Series1->isEnabled());
}

TEST_F(UiTest, EleventhSeriesRefusedWithoutDialogThenRemovalFreesASlot) {
  for (int i = 0; i < 10; ++i) Cargar(QStringLiteral("s%1.sam").arg(i), {1.0 * i, 2, 3});
  EXPECT_EQ(p_->Almacen().FreeSlots(), 0u);
  const size_t dialogosAbiertos = dialogos_.ficheros.size();
  p_->Cargarserie1Click();
  EXPECT_EQ(dialogos_.ficheros.size(), dialogosAbiertos) << "no file dialog for the eleventh";
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0],
            "No pueden cargarse más series.\nEs necesario eliminar alguna de\nlas que están "
            "cargadas.");
  // Remove s3 in the series dialog and accept.
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->CBSeries->setCurrentIndex(s_->CBSeries->findText("s3"));
    emit s_->CBSeries->activated(s_->CBSeries->currentIndex());
    s_->BEliminar->click();
    s_->BOK->click();
  });
  p_->Series1Click();
  EXPECT_EQ(p_->Almacen().FreeSlots(), 1u);
  EXPECT_EQ(p_->Almacen().FindSlot("s3"), MaxSeries);
  EXPECT_EQ(p_->CBSeries->count(), 9);
  EXPECT_EQ(p_->CBSeries->currentText(), "s9");  // the last entry is selected
  Cargar("nueva.sam", {7, 8});
  EXPECT_EQ(p_->Almacen().FindSlot("nueva"), 3u);  // the freed slot is reused
  EXPECT_EQ(p_->Almacen().FreeSlots(), 0u);
}

TEST_F(UiTest, SaveSeriesAsPresetsTheNameAndWritesWithPoints) {
  Cargar("traza1.sam", {0.1, 1234567, 0.00001});
  const QString destino = Ruta("copia");
  dialogos_.respuestasFichero.push_back(destino);
  p_->Guardarcomo1Click();
  ASSERT_EQ(dialogos_.ficheros.size(), 2u);
  EXPECT_EQ(dialogos_.ficheros[1].opciones.titulo, "Guardar serie como");
  EXPECT_EQ(dialogos_.ficheros[1].opciones.nombre, "traza1");
  QFile f(destino);  // exactly as typed, no extension added
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("0.1\n1.23457e+06\n1e-05\n"));
}

TEST_F(UiTest, RsFromTheMainListAnalysesWithoutOpeningAnyDialog) {
  Cargar("traza1.sam");
  ElegirMetodo("R/S");
  EXPECT_EQ(s_->CBMetodos->currentText(), "R/S");
  p_->SBAnalizar->click();
  EXPECT_TRUE(dialogos_.modales.empty());
  EXPECT_TRUE(dialogos_.mensajes.empty()) << dialogos_.mensajes.front().toStdString();
  const QStringList l = Lineas();
  ASSERT_GE(l.size(), 4);
  EXPECT_EQ(l[0], "Nombre: traza1");
  EXPECT_EQ(l[1], "Longitud: 1024");
  EXPECT_TRUE(l[2].startsWith("Parámetro Hurst H = ")) << l[2].toStdString();
  EXPECT_TRUE(l.contains("      Mínimo valor de 'd': 10"));
  EXPECT_TRUE(p_->MResult->toPlainText().contains("Análisis realizado el día "));
  // A successful report: normal colours and the five results commands enabled.
  EXPECT_EQ(FondoMemo(), QApplication::palette(p_->MResult).color(QPalette::Base));
  for (QAction* a : {p_->Copiarresult1, p_->Borrarresult1, p_->Guardarresult1,
                     p_->Guardarresultcomo1})
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  EXPECT_TRUE(p_->SBGuardarResult->isEnabled());
  EXPECT_GT(g_->Plot1->ItemCount(), 5u);  // the method chart was filled
  EXPECT_EQ(g_->Plot1->IdAbscissa(), "log10 (d)");
}

TEST_F(UiTest, ReportUsesTheRegionalDecimalComma) {
  Cargar("octavo.sam", {0.0, 0.25});
  p_->SBAnalizar->click();
  const QStringList l = Lineas();
  ASSERT_GE(l.size(), 4);
  EXPECT_EQ(l[2], "Media = 0,125");
  EXPECT_EQ(l[3], "Varianza = 0,03125");
  // Spanish short date (dd/MM/yy) in the date line.
  EXPECT_TRUE(QRegularExpression("^Análisis realizado el día \\d{1,2}/\\d{1,2}/\\d{2,4} a las "
                                 "\\d{1,2}:\\d\\d:\\d\\d horas$")
                  .match(l[4])
                  .hasMatch())
      << l[4].toStdString();
}

TEST_F(UiTest, ToggleAMirrorsTheSeriesDialogAndAddsTheAutocorrelation) {
  Cargar("traza1.sam");
  p_->SBAuto->click();
  EXPECT_TRUE(p_->SBAuto->isChecked());
  EXPECT_TRUE(s_->ChAuto->isChecked());
  dialogos_.respuestasFichero.push_back(Ruta("traza1.atc"));
  p_->SBAnalizar->click();
  ASSERT_EQ(dialogos_.ficheros.size(), 2u);
  EXPECT_EQ(dialogos_.ficheros[1].opciones.titulo, "Guardar autocorrelación como");
  EXPECT_EQ(dialogos_.ficheros[1].opciones.nombre, "traza1.atc");
  EXPECT_TRUE(Lineas().contains("Autocorrelación sesgada (100 puntos) en fichero " +
                                Ruta("traza1.atc")));
  EXPECT_EQ(g_->Plot2->ItemCount(), 100u);
  // The series dialog shows the box ticked exactly when "A" is down.
  bool marcada = false;
  dialogos_.guionesModales.push_back([&](QDialog*) { marcada = s_->ChAuto->isChecked(); });
  p_->Series1Click();
  EXPECT_TRUE(marcada);
  p_->SBAuto->click();
  EXPECT_FALSE(s_->ChAuto->isChecked());
  p_->SBAnalizar->click();
  EXPECT_FALSE(p_->MResult->toPlainText().contains("Autocorrelación"));
}

// Down and up differ at a glance: the bevel turns round (light top-left edge when up, dark
// when down) and the face is shaded; size, caption, font and blue caption colour stay.
TEST_F(UiTest, ConmutadoresMuestranClaramenteSuEstadoPulsado) {
  p_->show();
  auto imagen = [](QToolButton* b) {
    return b->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  auto azules = [](const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        n += c.blue() > 150 && c.red() < 100 && c.green() < 100;
      }
    return n;
  };
  for (QToolButton* b : {p_->SBMedia, p_->SBVar, p_->SBAuto}) {
    SCOPED_TRACE(b->objectName().toStdString());
    const QString texto = b->text();
    const QFont fuente = b->font();
    b->setChecked(false);
    const QImage arriba = imagen(b);
    b->setChecked(true);
    const QImage abajo = imagen(b);
    EXPECT_EQ(b->size(), QSize(25, 25));
    EXPECT_EQ(arriba.size(), abajo.size());
    EXPECT_EQ(b->text(), texto);
    EXPECT_EQ(b->font(), fuente);
    EXPECT_TRUE(fuente.bold());
    EXPECT_EQ(fuente.pixelSize(), 16);
    EXPECT_GT(qGray(arriba.pixel(0, 12)), qGray(arriba.pixel(24, 12)));
    EXPECT_LT(qGray(abajo.pixel(0, 12)), qGray(abajo.pixel(24, 12)));
    EXPECT_GT(qGray(arriba.pixel(12, 0)), qGray(arriba.pixel(12, 24)));
    EXPECT_LT(qGray(abajo.pixel(12, 0)), qGray(abajo.pixel(12, 24)));
    int distintos = 0, cara = 0;
    for (int y = 3; y < 22; ++y)
      for (int x = 3; x < 22; ++x, ++cara)
        distintos += std::abs(qGray(arriba.pixel(x, y)) - qGray(abajo.pixel(x, y))) > 20;
    EXPECT_GT(distintos, cara / 4);
    EXPECT_GT(azules(arriba), 10);
    EXPECT_NEAR(azules(abajo), azules(arriba), azules(arriba) / 3);
  }
}

TEST_F(UiTest, SaveResultsOnceUntilTheNextAnalysis) {
  Cargar("traza1.sam", {0.0, 0.25});
  p_->SBAnalizar->click();
  p_->SBGuardarResult->click();
  QFile f(Ruta("traza1.rsl"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray contenido = f.readAll();
  EXPECT_TRUE(contenido.startsWith("Nombre: traza1\r\nLongitud: 2\r\nMedia = 0,125\r\n"));
  EXPECT_TRUE(contenido.contains("An\xe1lisis realizado"));  // Latin-1
  EXPECT_FALSE(p_->Guardarresult1->isEnabled());
  EXPECT_FALSE(p_->SBGuardarResult->isEnabled());
  EXPECT_TRUE(p_->Guardarresultcomo1->isEnabled());
  f.close();
  f.remove();
  p_->Guardarresult1Click();  // disabled: nothing happens
  EXPECT_FALSE(QFile::exists(Ruta("traza1.rsl")));
  p_->SBAnalizar->click();
  EXPECT_TRUE(p_->Guardarresult1->isEnabled());
  EXPECT_TRUE(p_->SBGuardarResult->isEnabled());
}

TEST_F(UiTest, SaveResultsAsAfterAFailedAnalysisWritesTheHeaderLines) {
  Cargar("corta.sam", Ruido(99));
  p_->SBAnalizar->click();  // "Ninguno": succeeds
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();  // 99 samples: status 1
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0], "La longitud de la serie debe ser mayor o igual que 100");
  EXPECT_EQ(FondoMemo(), QColor(128, 128, 128));
  EXPECT_TRUE(p_->Guardarresultcomo1->isEnabled());  // kept from the earlier report
  dialogos_.respuestasFichero.push_back(Ruta("salida.txt"));
  p_->Guardarresultcomo1Click();
  EXPECT_EQ(dialogos_.ficheros.back().opciones.titulo, "Guardar resultado como");
  EXPECT_EQ(dialogos_.ficheros.back().opciones.nombre, "corta.rsl");
  QFile f(Ruta("salida.txt"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("Nombre: corta\r\nLongitud: 99\r\n"));
}

TEST_F(UiTest, ResultFileThatCannotBeCreatedShowsTheErrorAndKeepsTheCommand) {
  Cargar("traza1.sam", {1, 2});
  p_->SBAnalizar->click();
  QDir(dir_.path()).mkdir("traza1.rsl");  // a folder in the way
  p_->Guardarresult1Click();
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0], "No puedo guardar el fichero\n'traza1.rsl': es una carpeta");
  EXPECT_EQ(dialogos_.iconos[0], IconoMensaje::Error);
  EXPECT_TRUE(p_->Guardarresult1->isEnabled());
}

TEST_F(UiTest, CopyPutsEveryLineOnTheClipboardAndLeavesNothingSelected) {
  Cargar("traza1.sam", {0.0, 0.25});
  p_->FechaHora1->trigger();
  p_->Creditos1->trigger();
  EXPECT_FALSE(p_->FechaHora1->isChecked());
  p_->SBAnalizar->click();
  QApplication::clipboard()->clear();
  p_->Copiarresult1->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Nombre: traza1\nLongitud: 2\nMedia = 0,125\nVarianza = 0,03125");
  EXPECT_FALSE(p_->MResult->textCursor().hasSelection());
  EXPECT_EQ(p_->MResult->textCursor().position(), 0);
}

TEST_F(UiTest, ClearResultsEmptiesTheLogGreysItAndDisablesTheCommands) {
  Cargar("traza1.sam", {1, 2});
  p_->SBAnalizar->click();
  p_->Borrarresult1->trigger();
  EXPECT_TRUE(p_->MResult->toPlainText().isEmpty());
  EXPECT_EQ(FondoMemo(), QColor(128, 128, 128));
  for (QAction* a : {p_->Copiarresult1, p_->Borrarresult1, p_->Guardarresult1,
                     p_->Guardarresultcomo1})
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  EXPECT_FALSE(p_->SBGuardarResult->isEnabled());
}

TEST_F(UiTest, NonIntegerBlocksStopsAfterTheHeaderLinesWithTheConversionError) {
  Cargar("traza1.sam");
  dialogos_.guionesModales.push_back([this](QDialog*) {
    app_->MetodosH()->EBloques->setText("abc");
    app_->MetodosH()->BOK->click();
  });
  p_->MetodosH1Click();
  EXPECT_TRUE(dialogos_.mensajes.empty());  // the dialog itself accepts anything
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0], "'abc' no es un número entero válido");
  EXPECT_EQ(dialogos_.iconos[0], IconoMensaje::Error);
  EXPECT_EQ(Lineas(), QStringList({"Nombre: traza1", "Longitud: 1024"}));
  EXPECT_EQ(FondoMemo(), QColor(128, 128, 128));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(UiTest, AboutBoxIsCreatedOnDemandAndDestroyed) {
  p_->Acercade1->trigger();
  ASSERT_EQ(dialogos_.modales.size(), 1u);
  EXPECT_EQ(dialogos_.modales[0], "TFAcercade");
  EXPECT_EQ(p_->findChild<QDialog*>("TFAcercade"), nullptr);
}

TEST_F(UiTest, ParameterDialogsOpenFromTheMenu) {
  p_->MetodosH1->trigger();
  p_->MetodosT01->trigger();
  p_->Estacion1->trigger();
  p_->Autocorrelacion1->trigger();
  EXPECT_EQ(dialogos_.modales,
            std::vector<QString>({"TFMetodosH", "TFMetodosT0", "TFEstacion", "TFAuto"}));
  p_->Series1->trigger();  // disabled before the first load
  EXPECT_EQ(dialogos_.modales.size(), 4u);
}

// "Guardar serie como..." offers the series filters beside "Todos los archivos", the last
// one chosen at first: a name typed without extension is written as typed unless a filter
// with an extension is picked (.npy writes a NumPy file).
TEST_F(UiTest, GuardarSerieConFiltros) {
  Cargar("traza1.sam", {1, 2, 3});
  struct Caso {
    std::optional<int> filtro;
    const char* escrito;
    const char* fichero;
  };
  for (const Caso& c : {Caso{std::nullopt, "sin_extension", "sin_extension"},
                        Caso{0, "con_sam", "con_sam.sam"}, Caso{1, "con_txt", "con_txt.txt"},
                        Caso{2, "con_npy", "con_npy.npy"}}) {
    dialogos_.respuestasFichero.push_back(Ruta(c.escrito));
    if (c.filtro) dialogos_.filtrosElegidos.push_back(*c.filtro);
    p_->Guardarcomo1Click();
    const OpcionesFichero& o = dialogos_.ficheros.back().opciones;
    EXPECT_EQ(o.filtros, QStringList({"Series de tráfico (*.sam)", "Texto (*.txt)",
                                      "Serie NumPy (*.npy)", "Todos los archivos (*.*)"}));
    EXPECT_EQ(o.filtroInicial, 3);
    EXPECT_TRUE(QFile::exists(Ruta(c.fichero))) << c.fichero;
  }
}
