// Charts window: the chart chosen on activation, colours, grid, coordinate read-out, chart
// files, bitmaps and printing.
#include <QClipboard>
#include <QFile>
#include <QMouseEvent>

#include <functional>

#include "ui/ui_fixture.h"

TEST(TextoCoordenada, FourDecimalsAfterFourSignificantDigits) {
  struct Caso {
    double valor;
    const char* texto;
  };
  const Caso casos[] = {
      {1.235, "1,2350"},    {0.5, "0,5000"},       {123.456, "123,5000"},
      {-2.71828, "-2,7180"}, {0.000123456, "0,0001"}, {9999.4, "9999,0000"},
      {0.0, "0,0000"},      {12345.0, "1,235E4"},   {-0.0, "0,0000"},
  };
  for (const Caso& c : casos) EXPECT_EQ(TextoCoordenada(c.valor, ','), c.texto) << c.valor;
  EXPECT_EQ(TextoCoordenada(1.235, '.'), "1.2350");
}

TEST_F(UiTest, ChartsWindowHasTheDesignValues) {
  EXPECT_EQ(g_->windowTitle(), "Gráficas");
  EXPECT_EQ(g_->size(), QSize(414, 347));
  for (TPlot* p : {g_->Plot1, g_->Plot2, g_->Plot3}) {
    EXPECT_EQ(p->RRim(), 20);
    EXPECT_EQ(p->TRim(), 30);
    EXPECT_EQ(p->BRim(), 40);
    EXPECT_EQ(p->DataColor(), clYellow);
    EXPECT_EQ(p->ChartColor(), clBlack);
    EXPECT_EQ(p->Font().Color, clWhite);
    EXPECT_EQ(p->DecPlaceY(), 2);
  }
  EXPECT_EQ(g_->Plot1->Caption(), "Método");
  EXPECT_EQ(g_->Plot2->Caption(), "Autocorrelación");
  EXPECT_EQ(g_->Plot3->Caption(), "General");
  QStringList emergente;
  for (QAction* a : g_->PopupMenu1->actions()) emergente << a->text();
  EXPECT_EQ(emergente, QStringList({"&Ninguna", "&Zoom", "&Desplazar", "&Comprimir", "&Restaurar"}));
  EXPECT_EQ(g_->Formatobitmap1->shortcut().toString(QKeySequence::PortableText), "Ctrl+C");
}

TEST_F(UiTest, LaVentanaNoEncogeMasQueElMinimoDeLasGraficas) {
  g_->show();
  const std::function<void()> elecciones[] = {[this] { g_->Metodo1Click(); },
                                               [this] { g_->General1Click(); }};
  for (const auto& elegir : elecciones) {
    elegir();
    g_->resize(60, 50);
    QApplication::processEvents();
    TPlot* p = g_->Actual();
    EXPECT_GE(p->width(), p->MinWidth());
    EXPECT_GE(p->height(), p->MinHeight());
    EXPECT_EQ(p->ChartImage().size(), p->size());  // nothing of the chart is cut off
  }
}

TEST_F(UiTest, ActivationChoosesTheChartByTheSwitches) {
  struct Caso {
    bool graficaMetodo, graficaAuto;
    const char* metodo;
    bool chAuto;
    const char* grafica;  // Plot1, Plot2, Plot3
    bool metodoHabilitado, autoHabilitado;
  };
  const Caso casos[] = {
      {true, true, "R/S", true, "Plot1", true, true},
      {true, true, "R/S", false, "Plot1", true, false},
      {true, false, "R/S", true, "Plot1", true, false},
      {true, true, "Ninguno", true, "Plot2", false, true},
      {true, true, "Ninguno", false, "Plot3", false, false},
      {false, true, "R/S", true, "Plot2", false, true},
      {false, true, "R/S", false, "Plot3", false, false},
      {false, false, "R/S", true, "Plot3", false, false},
      {false, false, "Ninguno", false, "Plot3", false, false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(std::string(c.metodo) + " " + std::to_string(c.graficaMetodo) +
                 std::to_string(c.graficaAuto) + std::to_string(c.chAuto));
    p_->Graficametodo1->setChecked(c.graficaMetodo);
    p_->Graficaauto1->setChecked(c.graficaAuto);
    s_->CBMetodos->setCurrentIndex(s_->CBMetodos->findText(c.metodo));
    s_->ChAuto->setChecked(c.chAuto);
    g_->Plot3->show();  // a chart picked by hand is replaced on activation
    g_->General1Click();
    p_->Iragraficas1->trigger();
    EXPECT_TRUE(g_->isVisible());
    EXPECT_EQ(g_->Actual()->objectName(), c.grafica);
    EXPECT_TRUE(g_->Actual()->isVisible());
    int visibles = 0;
    for (TPlot* p : {g_->Plot1, g_->Plot2, g_->Plot3}) visibles += p->isVisible() ? 1 : 0;
    EXPECT_EQ(visibles, 1);
    EXPECT_EQ(g_->Metodo1->isEnabled(), c.metodoHabilitado);
    EXPECT_EQ(g_->Auto1->isEnabled(), c.autoHabilitado);
    EXPECT_TRUE(g_->General1->isEnabled());
    g_->Cerrar1->trigger();
    EXPECT_FALSE(g_->isVisible());
  }
}

TEST_F(UiTest, GoToChartsRestoresAMinimisedWindow) {
  p_->Iragraficas1Click();
  g_->showMinimized();
  EXPECT_TRUE(g_->isMinimized());
  p_->SBGraficas->click();
  EXPECT_FALSE(g_->isMinimized());
  EXPECT_TRUE(g_->isVisible());
}

TEST_F(UiTest, SaveChartByExtension) {
  g_->Metodo1Click();
  g_->Plot1->MoveTo(0, 0);
  g_->Plot1->LineTo(1, 1);
  g_->Plot1->AutoRange(2.0);
  dialogos_.respuestasFichero = {Ruta("sin"), Ruta("mezcla.Bmp"), Ruta("texto.txt")};
  g_->Guardarcomo1Click();
  ASSERT_EQ(dialogos_.ficheros.size(), 1u);
  const auto& o = dialogos_.ficheros[0].opciones;
  EXPECT_EQ(o.titulo, "Guardar gráfica como");
  EXPECT_EQ(o.filtroInicial, 1);
  EXPECT_EQ(o.extensionDefecto, "grf");
  QFile grf(Ruta("sin.grf"));
  ASSERT_TRUE(grf.exists());
  EXPECT_EQ(grf.size(), 64 * 2);
  g_->Guardarcomo1Click();
  QFile bmp(Ruta("mezcla.bmp"));
  ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
  EXPECT_EQ(bmp.read(2), QByteArray("BM"));
  EXPECT_TRUE(dialogos_.mensajes.empty());
  g_->Guardarcomo1Click();
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0], "La extensión indicada no es válida");
  EXPECT_FALSE(QFile::exists(Ruta("texto.txt")));
}

// PNG and SVG beside ".bmp" and ".grf": a bare name takes the type of the filter picked, a
// typed extension decides by itself.
TEST_F(UiTest, GuardarGraficaComoPngYSvgSegunFiltroOExtension) {
  g_->Metodo1Click();
  g_->Plot1->SetIdAbscissa("log10 (d)");
  g_->Plot1->MoveTo(0, 0);
  g_->Plot1->LineTo(1, 1);
  g_->Plot1->MarkAt(0.5, 0.5, 17);
  g_->Plot1->AutoRange(2.0);
  dialogos_.respuestasFichero = {Ruta("p"), Ruta("s"), Ruta("t.svg"), Ruta("mezcla.Png"),
                                 Ruta("b.bmp"), Ruta("f")};
  dialogos_.filtrosElegidos = {2, 3, 2, 1, 1, 1};
  for (int i = 0; i < 6; ++i) g_->Guardarcomo1Click();
  EXPECT_TRUE(dialogos_.mensajes.empty());
  ASSERT_EQ(dialogos_.ficheros.size(), 6u);
  EXPECT_EQ(dialogos_.ficheros[0].opciones.filtros,
            QStringList({"Bitmap (.bmp) (*.bmp)", "Formato propio (.grf) (*.grf)",
                         "Imagen PNG (*.png)", "Gráfico vectorial SVG (*.svg)"}));
  EXPECT_EQ(dialogos_.ficheros[0].opciones.filtroInicial, 1);
  // The PNG files hold exactly the pixels of the bitmap.
  const QImage bmp = QImage(Ruta("b.bmp"), "BMP").convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(bmp.isNull());
  for (const char* png : {"p.png", "mezcla.Png"})
    EXPECT_EQ(QImage(Ruta(png), "PNG").convertToFormat(QImage::Format_RGB32), bmp) << png;
  for (const char* svg : {"s.svg", "t.svg"}) {
    QFile f(Ruta(svg));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << svg;
    const QByteArray texto = f.readAll();
    EXPECT_TRUE(texto.startsWith("<?xml")) << svg;
    EXPECT_TRUE(texto.contains(">log10 (d)</text>")) << svg;
  }
  EXPECT_FALSE(QFile::exists(Ruta("t.png")));
  EXPECT_EQ(QFile(Ruta("f.grf")).size(), 64 * 3);
}

TEST_F(UiTest, ChartFileWriteAndReadFailuresAreReported) {
  dialogos_.respuestasFichero = {Ruta("no/existe/x.grf"), Ruta("falta.grf")};
  g_->Guardarcomo1Click();
  g_->Cargar1Click();
  ASSERT_EQ(dialogos_.mensajes.size(), 2u);
  EXPECT_EQ(dialogos_.mensajes[0],
            "No puedo guardar el fichero\n'" + Ruta("no/existe/x.grf") + "': no existe la carpeta");
  EXPECT_EQ(dialogos_.mensajes[1], "No puedo leer el fichero\n'" + Ruta("falta.grf") + "'");
}

TEST_F(UiTest, LoadChartFileIntoTheCurrentChartAndFitIt) {
  g_->Plot1->MoveTo(0, 0);
  g_->Plot1->LineTo(10, 20);
  ASSERT_TRUE(g_->Plot1->SaveToFile(Ruta("g.grf").toStdString()));
  g_->General1Click();
  dialogos_.respuestasFichero = {Ruta("g.grf"), Ruta("g.txt")};
  g_->Cargar1Click();
  EXPECT_EQ(dialogos_.ficheros[0].opciones.titulo, "Cargar gráfica");
  EXPECT_EQ(g_->Plot3->ItemCount(), 2u);
  EXPECT_DOUBLE_EQ(g_->Plot3->RangeLoX(), -0.2);
  EXPECT_DOUBLE_EQ(g_->Plot3->RangeHiY(), 20.4);
  g_->Cargar1Click();
  ASSERT_EQ(dialogos_.mensajes.size(), 1u);
  EXPECT_EQ(dialogos_.mensajes[0], "La extensión indicada no es válida");
  EXPECT_EQ(g_->Plot3->ItemCount(), 2u);
}

TEST_F(UiTest, CoordinateReadOutInTheCaption) {
  g_->Metodo1Click();
  g_->Coordenadas1->trigger();
  EXPECT_TRUE(g_->Coordenadas1->isChecked());
  EXPECT_EQ(g_->Plot1->Tag(), 1);
  g_->Plot1MouseMoveInChart(g_->Plot1, true, 1.235, 0.5);
  EXPECT_EQ(g_->Plot1->Caption(), "Método (1,2350; 0,5000)");
  g_->Plot1MouseMoveInChart(g_->Plot1, false, 7, 7);  // outside the data area
  EXPECT_EQ(g_->Plot1->Caption(), "Método (1,2350; 0,5000)");
  g_->Zoom1->trigger();
  g_->Plot1MouseMoveInChart(g_->Plot1, true, 7, 7);  // a mouse mode is on
  EXPECT_EQ(g_->Plot1->Caption(), "Método (1,2350; 0,5000)");
  g_->Ninguna1->trigger();
  // Switching charts keeps each chart's own read-out state.
  g_->Auto1Click();
  EXPECT_FALSE(g_->Coordenadas1->isChecked());
  g_->Metodo1Click();
  EXPECT_TRUE(g_->Coordenadas1->isChecked());
  g_->Coordenadas1->trigger();
  EXPECT_EQ(g_->Plot1->Caption(), "Método");
  EXPECT_EQ(g_->Plot1->Tag(), 0);
}

TEST_F(UiTest, ColoursGridAndMouseModes) {
  g_->Metodo1Click();
  TPlot* p = g_->Plot1;
  p->MoveTo(0, 0);
  p->LineTo(1, 1);
  p->SetItemClass(tkLineto, 1);
  p->MarkAt(0.5, 0.5, 3);
  dialogos_.respuestasColor = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0)};
  g_->Datos1Click();
  EXPECT_EQ(dialogos_.coloresIniciales.back(), QColor(255, 255, 0));  // preset: yellow
  EXPECT_EQ(p->DataColor(), clRed);
  EXPECT_EQ(p->Item(2).Color(), clRed);   // the mark (class 0)
  EXPECT_NE(p->Item(1).Color(), clRed);   // the line (class 1)
  g_->Regresion1Click();
  EXPECT_EQ(p->Item(1).Color(), clBlue);
  g_->Fondo1Click();
  EXPECT_EQ(p->ChartColor(), clLime);
  EXPECT_EQ(p->WindColor(), clLime);
  g_->Ejes1Click();  // cancelled: nothing changes
  EXPECT_EQ(p->ScaleColor(), clWhite);
  g_->Rejilla1->trigger();
  EXPECT_EQ(p->GridStyle(), gsDotLines);
  g_->Rejilla1->trigger();
  EXPECT_EQ(p->GridStyle(), gsNone);
  g_->Desplazar1->trigger();
  EXPECT_EQ(p->MouseAction(), maPan);
  g_->Comprimir1->trigger();
  EXPECT_EQ(p->MouseAction(), maZoomDrag);
  p->SetRange(0.2, 0.2, 0.3, 0.3);
  g_->Restaurar1->trigger();
  EXPECT_EQ(p->MouseAction(), maNone);
  EXPECT_DOUBLE_EQ(p->RangeLoX(), -0.02);
}

TEST_F(UiTest, PrintInBlackAndWhiteRestoresTheColours) {
  g_->Metodo1Click();
  g_->Plot1->MoveTo(0, 0);
  g_->Plot1->LineTo(1, 1);
  g_->Imprimir1Click();  // cancelled
  EXPECT_EQ(dialogos_.impresoras, 1);
  dialogos_.respuestasImpresora = {true};
  dialogos_.pdfSalida = Ruta("grafica.pdf");
  g_->Imprimir1Click();
  EXPECT_TRUE(QFile::exists(Ruta("grafica.pdf")));
  EXPECT_EQ(g_->Plot1->ScaleColor(), clWhite);
  EXPECT_EQ(g_->Plot1->Font().Color, clWhite);
}

TEST_F(UiTest, MouseOverTheDataAreaWritesThePositionInTheCaption) {
  ElegirMetodo("R/S");  // every activation shows the method chart
  p_->Iragraficas1Click();
  QApplication::processEvents();
  ASSERT_EQ(g_->Actual(), g_->Plot1);
  g_->Coordenadas1->trigger();
  TPlot* p = g_->Plot1;
  p->SetRange(0, 0, 10, 10);
  int px = 0, py = 0;
  p->WorldToPixel(2.5, 5.0, px, py);
  QMouseEvent movimiento(QEvent::MouseMove, QPointF(px, py), p->mapToGlobal(QPointF(px, py)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(p, &movimiento);
  EXPECT_TRUE(QString::fromStdString(p->Caption()).startsWith("Método (2,5"))
      << p->Caption();
  g_->hide();
}

TEST_F(UiTest, CopyPutsTheVisibleChartOnTheClipboard) {
  p_->Iragraficas1Click();
  g_->General1Click();
  QApplication::processEvents();
  QApplication::clipboard()->clear();
  g_->Formatobitmap1->trigger();
  const QImage imagen = QApplication::clipboard()->image();
  EXPECT_EQ(imagen.size(), g_->Plot3->size());
  g_->hide();
}

TEST_F(UiTest, ActivationFromTheMainWindowReselectsButNotFromItsOwnDialogs) {
  ElegirMetodo("R/S");
  p_->show();
  p_->activateWindow();
  QApplication::processEvents();
  p_->Iragraficas1Click();
  QApplication::processEvents();
  ASSERT_EQ(QGuiApplication::focusWindow(), g_->windowHandle());
  g_->General1Click();
  // One of the window's own dialogs comes and goes: the user's pick stays.
  {
    QDialog propio(g_);
    propio.show();
    propio.activateWindow();
    QApplication::processEvents();
    propio.hide();
    g_->activateWindow();
    QApplication::processEvents();
  }
  EXPECT_EQ(g_->Actual(), g_->Plot3);
  // Back from the main window: the method chart again.
  p_->activateWindow();
  QApplication::processEvents();
  g_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(g_->Actual(), g_->Plot1);
  g_->hide();
  p_->hide();
}

// The comparison chart saved as .grf and loaded into "General" is the same chart: the same
// records, the rows' names and the values' column in the rims, whatever the old chart file
// kinds around them.
TEST_F(UiTest, ComparacionEnGrfSeCargaIgual) {
  Cargar("traza1.sam");
  p_->CompararMetodos1->trigger();
  g_->show();
  g_->Metodo1Click();
  dialogos_.respuestasFichero.push_back(Ruta("comparacion.grf"));
  g_->Guardarcomo1Click();
  g_->General1Click();
  dialogos_.respuestasFichero.push_back(Ruta("comparacion.grf"));
  g_->Cargar1Click();
  ASSERT_EQ(g_->Plot3->ItemCount(), g_->Plot1->ItemCount());
  for (std::size_t i = 0; i < g_->Plot1->ItemCount(); ++i)
    EXPECT_TRUE(std::equal(g_->Plot1->Item(i).Bytes.begin() + 4, g_->Plot1->Item(i).Bytes.end(),
                           g_->Plot3->Item(i).Bytes.begin() + 4))
        << i;
  EXPECT_TRUE(g_->Plot3->HasLabels(lpLeftRim));
  EXPECT_TRUE(g_->Plot3->HasLabels(lpRightRim));
  // Drawn alike: the same picture but for the caption.
  g_->Plot3->SetCaption(g_->Plot1->Caption());
  g_->Plot3->AutoRange(2.0);
  g_->Plot1->AutoRange(2.0);
  EXPECT_EQ(g_->Plot3->RenderImage(), g_->Plot1->RenderImage());
}
