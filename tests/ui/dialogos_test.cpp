// Parameter dialogs and the series dialog: snapshot and restore, enabling rules, pending
// renames and removals, commit and mirroring into the main window.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTest>
#include <QListWidget>
#include <QTabBar>
#include <QPushButton>
#include <QLabel>
#include <QFormLayout>
#include <memory>
#include <algorithm>
#include <set>
#include <string_view>

#include "ui/ui_fixture.h"

namespace {

void Escape(QWidget* w) {
  QKeyEvent tecla(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(w, &tecla);
}

// The label a person reads for a control: a check box's text, a radio group's title, the
// label of its form row, or the title of the group it sits alone in.
QString EtiquetaMostrada(QWidget* control) {
  if (auto* casilla = qobject_cast<QCheckBox*>(control)) return casilla->text();
  if (auto* grupo = qobject_cast<TRadioGroup*>(control)) return grupo->title();
  for (QWidget* w = control; w->parentWidget(); w = w->parentWidget()) {
    QWidget* padre = w->parentWidget();
    if (auto* formulario = qobject_cast<QFormLayout*>(padre->layout())) {
      auto* etiqueta = qobject_cast<QLabel*>(formulario->labelForField(w));
      return etiqueta ? etiqueta->text() : QString();
    }
    if (auto* grupo = qobject_cast<QGroupBox*>(padre)) return grupo->title();
  }
  return {};
}

}  // namespace

// The four dialogs' values as the analysis reads them.
AnalysisParameters Leidos(Aplicacion& app) {
  AnalysisParameters p;
  app.MetodosH()->LeerEn(p);
  app.MetodosT0()->LeerEn(p);
  app.Estacion()->LeerEn(p);
  app.Auto()->LeerEn(p);
  return p;
}

// The defaults as the dialogs show them under the Spanish locale of the tests: decimals
// with a comma (the significance keeps the text of the original design).
AnalysisParameters OmisionesMostradas() {
  AnalysisParameters p;
  for (const DefinicionCampo& c : TablaCampos()) {
    const bool decimal = c.tipo == TipoCampo::Decimal || c.tipo == TipoCampo::ListaDecimal;
    if (decimal && std::string_view(c.clave) != campo::ESigni)
      std::replace(p[c.clave].begin(), p[c.clave].end(), '.', ',');
  }
  return p;
}

// Every field of the parameter table has its control, named after it, in its dialog and on
// its page, showing the table's default beside the label of its row.
TEST_F(UiTest, CadaCampoDeLaTablaTieneSuControl) {
  EXPECT_EQ(Leidos(*app_), OmisionesMostradas());
  const std::pair<Dialogo, TDialogoParametros*> dialogos[] = {
      {Dialogo::MetodosH, app_->MetodosH()},
      {Dialogo::MetodosT0, app_->MetodosT0()},
      {Dialogo::Estacion, app_->Estacion()},
      {Dialogo::Autocorrelacion, app_->Auto()}};
  for (const DefinicionCampo& c : TablaCampos()) {
    SCOPED_TRACE(c.clave);
    for (const auto& [dialogo, ventana] : dialogos) {
      QWidget* control = ventana->Control(c.clave);
      ASSERT_EQ(control != nullptr, dialogo == c.dialogo);
      if (!control) continue;
      EXPECT_EQ(control->objectName().toStdString(), c.control);
      EXPECT_EQ(EtiquetaMostrada(control).toStdString(), c.etiqueta);
      auto* paginas = ventana->findChild<QTabWidget*>();
      if (paginas) {
        int pagina = -1;
        for (int i = 0; i < paginas->count(); ++i)
          if (paginas->widget(i)->isAncestorOf(control)) pagina = i;
        ASSERT_GE(pagina, 0);
        EXPECT_EQ(paginas->tabText(pagina).toStdString(), c.pagina);
      }
    }
  }
  TFMetodosH* h = app_->MetodosH();
  std::set<std::string> paginas;
  for (const DefinicionCampo& c : TablaCampos())
    if (c.dialogo == Dialogo::MetodosH) paginas.insert(c.pagina);
  EXPECT_EQ(h->PageControl->count(), static_cast<int>(paginas.size()));
  EXPECT_EQ(h->PageControl->tabText(h->PageControl->currentIndex()), "R/S");
  EXPECT_FALSE(h->EOrdenp->isEnabled());
  EXPECT_FALSE(h->EOrdenq->isEnabled());
  EXPECT_TRUE(h->EMinmDif->isEnabled());
  EXPECT_TRUE(h->BOK->isDefault());
  EXPECT_EQ(app_->Estacion()->MAyuda->toPlainText().split('\n').size(), 21);
}

// Each dialog opens with the focus in its first field; Tab runs through the fields in
// reading order, then "Aceptar" and "Cancelar".
TEST_F(UiTest, TecladoPrimerCampoYOrdenDeTabulacion) {
  struct Caso {
    TDialogoParametros* dialogo;
    std::vector<QWidget*> orden;
  };
  TFMetodosT0* t = app_->MetodosT0();
  TFEstacion* e = app_->Estacion();
  TFAuto* a = app_->Auto();
  TFMetodosH* h = app_->MetodosH();
  const Caso casos[] = {
      {t, {t->EInicial, t->EFinal, t->EDecada, t->BOK, t->BCancelar}},
      {e, {e->EBloques, e->ESigni, e->BOK, e->BCancelar}},
      {a, {a->RGSesgo->Boton(0), a->EPuntos, a->ChLongitud, a->ChGuardar, a->BOK, a->BCancelar}},
      {h, {h->EMind, h->EMinRS, h->EBloques, h->EDecadaRS, h->BOK, h->BCancelar}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.dialogo->objectName().toStdString());
    std::vector<QWidget*> visitados;
    dialogos_.guionesModales.push_back([&](QDialog* d) {
      for (std::size_t i = 0; i < c.orden.size() && d->focusWidget(); ++i) {
        visitados.push_back(d->focusWidget());
        QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
      }
      d->reject();
    });
    dialogos_.EjecutarModal(c.dialogo);
    EXPECT_EQ(visitados, c.orden);
  }
}

TEST_F(UiTest, CancelRestoresAndAcceptKeepsEMind) {
  TFMetodosH* h = app_->MetodosH();
  dialogos_.guionesModales.push_back([h](QDialog*) {
    h->EMind->setText("3");
    h->BCancelar->click();
  });
  p_->MetodosH1Click();
  EXPECT_EQ(h->EMind->text(), "10");
  dialogos_.guionesModales.push_back([h](QDialog*) {
    h->EMind->setText("3");
    h->BOK->click();
  });
  p_->MetodosH1Click();
  EXPECT_EQ(h->EMind->text(), "3");
  // The next R/S analysis uses it.
  Cargar("traza1.sam");
  ElegirMetodo("R/S");
  p_->SBAnalizar->click();
  EXPECT_TRUE(Lineas().contains("      Mínimo valor de 'd': 3"));
}

TEST_F(UiTest, EscapeCancelsAndTheCloseBoxAccepts) {
  TFAuto* a = app_->Auto();
  dialogos_.guionesModales.push_back([a](QDialog* d) {
    a->EPuntos->setText("7");
    a->RGSesgo->SetItemIndex(1);
    Escape(d);
  });
  p_->Autocorrelacion1Click();
  EXPECT_EQ(Leidos(*app_), OmisionesMostradas());
  dialogos_.guionesModales.push_back([a](QDialog* d) {
    a->EPuntos->setText("7");
    d->close();
  });
  p_->Autocorrelacion1Click();
  EXPECT_EQ(a->EPuntos->text(), "7");
  EXPECT_FALSE(a->isVisible());
}

TEST_F(UiTest, EnablingRulesFollowTheirSwitchesAndCancel) {
  TFMetodosH* h = app_->MetodosH();
  TFAuto* a = app_->Auto();
  dialogos_.guionesModales.push_back([h](QDialog*) {
    h->ChMismos->setChecked(true);
    EXPECT_FALSE(h->EMinmDif->isEnabled());
    EXPECT_FALSE(h->EMinVarDif->isEnabled());
    EXPECT_FALSE(h->EDecadaVarDif->isEnabled());
    h->RGModelo->Boton(1)->click();
    EXPECT_TRUE(h->EOrdenp->isEnabled());
    EXPECT_TRUE(h->EOrdenq->isEnabled());
    h->BCancelar->click();
  });
  p_->MetodosH1Click();
  EXPECT_FALSE(h->ChMismos->isChecked());
  EXPECT_TRUE(h->EMinmDif->isEnabled());
  EXPECT_EQ(h->RGModelo->ItemIndex(), 0);
  EXPECT_FALSE(h->EOrdenp->isEnabled());
  dialogos_.guionesModales.push_back([a](QDialog*) {
    a->ChLongitud->click();
    a->BOK->click();
  });
  p_->Autocorrelacion1Click();
  EXPECT_FALSE(a->EPuntos->isEnabled());
  EXPECT_EQ(a->EPuntos->text(), "100");
}

TEST_F(UiTest, EditableListsAcceptTypedValues) {
  TFMetodosH* h = app_->MetodosH();
  dialogos_.guionesModales.push_back([h](QDialog*) {
    h->CBNivel->setFocus();
    h->CBNivel->lineEdit()->selectAll();
    QTest::keyClicks(h->CBNivel->lineEdit(), "7");
    QTest::keyClick(h->CBNivel->lineEdit(), Qt::Key_Return);  // Enter = "Aceptar"
  });
  p_->MetodosH1Click();
  EXPECT_FALSE(h->isVisible());
  EXPECT_EQ(Leidos(*app_)[campo::CBNivel], "7");
  EXPECT_EQ(h->CBNivel->count(), 5);  // typed values are not added to the list
}

TEST_F(UiTest, CancelarRestauraCadaCampo) {
  // Every field changed away from its default, then "Cancelar" in every dialog.
  AnalysisParameters cambiado;
  for (const DefinicionCampo& c : TablaCampos()) {
    cambiado[c.clave] = c.EsTexto() ? "1" + std::string(c.omision)
                                    : std::string(c.omision) == "1" ? "0" : "1";
  }
  TDialogoParametros* dialogos[] = {app_->MetodosH(), app_->MetodosT0(), app_->Estacion(),
                                    app_->Auto()};
  for (TDialogoParametros* d : dialogos) {
    dialogos_.guionesModales.push_back([&, d](QDialog*) {
      d->Mostrar(cambiado);
      AnalysisParameters leido;
      d->LeerEn(leido);
      for (const DefinicionCampo& c : TablaCampos()) {
        if (d->Control(c.clave)) {
          EXPECT_EQ(leido[c.clave], cambiado[c.clave]) << c.clave;
        }
      }
      d->BCancelar->click();
    });
    dialogos_.EjecutarModal(d);
  }
  EXPECT_EQ(Leidos(*app_), OmisionesMostradas());
}

// ---- series dialog ----------------------------------------------------------------------------

TEST_F(UiTest, RenameThenAnalizarReportsTheNewName) {
  Cargar("a.sam", {1, 2, 3});
  Cargar("b.sam", {4, 5, 6});
  dialogos_.respuestasTexto.push_back(QString("zeta"));
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->CBSeries->setCurrentIndex(s_->CBSeries->findText("a"));
    emit s_->CBSeries->activated(s_->CBSeries->currentIndex());
    s_->BRenombrar->click();
    EXPECT_EQ(Entradas(s_->CBSeries), QStringList({"b", "zeta"}));
    EXPECT_EQ(s_->CBSeries->currentText(), "zeta");
    // Select the other entry and the renamed one again.
    s_->CBSeries->setCurrentIndex(0);
    emit s_->CBSeries->activated(0);
    s_->CBSeries->setCurrentIndex(1);
    emit s_->CBSeries->activated(1);
    s_->BAnalizar->click();
  });
  p_->Series1Click();
  EXPECT_FALSE(s_->isVisible());
  EXPECT_EQ(Lineas().value(0), "Nombre: zeta");
  EXPECT_EQ(p_->Almacen().FindSlot("zeta"), 0u);
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({"b", "zeta"}));
  EXPECT_EQ(p_->CBSeries->currentText(), "zeta");
}

TEST_F(UiTest, RenameWithAnEmptyAnswerChangesNothing) {
  Cargar("a.sam", {1, 2, 3});
  dialogos_.respuestasTexto.push_back(QString());
  dialogos_.respuestasTexto.push_back(std::nullopt);
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->BRenombrar->click();
    s_->BRenombrar->click();
    s_->BOK->click();
  });
  p_->Series1Click();
  EXPECT_EQ(dialogos_.preguntasTexto, 2);
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({"a"}));
  EXPECT_EQ(p_->Almacen().Slot(0).name, "a");
}

TEST_F(UiTest, RemoveAllThenCancelBringsEverythingBack) {
  Cargar("a.sam", {1, 2, 3});
  Cargar("b.sam", {4, 5, 6});
  Cargar("c.sam", {7, 8, 9});
  s_->CBSeries->setCurrentIndex(1);
  s_->CBSeriesChange();
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->ChMedia->setChecked(false);
    s_->CBMetodos->setCurrentIndex(s_->CBMetodos->findText("Varianza"));
    for (int i = 0; i < 3; ++i) s_->BEliminar->click();
    EXPECT_EQ(s_->CBSeries->count(), 0);
    EXPECT_FALSE(s_->BAnalizar->isEnabled());
    EXPECT_FALSE(s_->CBSeries->isEnabled());
    EXPECT_FALSE(p_->Series1->isEnabled());
    EXPECT_FALSE(p_->Guardarcomo1->isEnabled());
    s_->BCancelar->click();
  });
  p_->Series1Click();
  EXPECT_EQ(Entradas(s_->CBSeries), QStringList({"a", "b", "c"}));
  EXPECT_EQ(s_->CBSeries->currentText(), "b");
  EXPECT_EQ(p_->Almacen().CurrentSlot(), 1u);
  EXPECT_EQ(p_->Almacen().FreeSlots(), 7u);
  EXPECT_TRUE(s_->ChMedia->isChecked());
  EXPECT_EQ(s_->CBMetodos->currentText(), "Ninguno");
  for (QWidget* w : std::initializer_list<QWidget*>{s_->BAnalizar, s_->BRenombrar, s_->BEliminar,
                                                    s_->CBSeries})
    EXPECT_TRUE(w->isEnabled());
  EXPECT_TRUE(p_->Series1->isEnabled());
  EXPECT_TRUE(p_->Guardarcomo1->isEnabled());
  p_->SBAnalizar->click();
  EXPECT_EQ(Lineas().value(0), "Nombre: b");
}

TEST_F(UiTest, RemoveAllThenAcceptEmptiesAndDisablesUntilTheNextLoad) {
  Cargar("a.sam", {1, 2, 3});
  Cargar("b.sam", {4, 5, 6});
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->BEliminar->click();
    s_->BEliminar->click();
    s_->BOK->click();
  });
  p_->Series1Click();
  EXPECT_EQ(p_->Almacen().FreeSlots(), 10u);
  EXPECT_EQ(p_->CBSeries->count(), 0);
  EXPECT_FALSE(p_->CBSeries->isEnabled());
  EXPECT_FALSE(p_->SBAnalizar->isEnabled());
  EXPECT_FALSE(p_->Series1->isEnabled());
  Cargar("c.sam", {1, 2});
  EXPECT_TRUE(p_->CBSeries->isEnabled());
  EXPECT_TRUE(p_->SBAnalizar->isEnabled());
  EXPECT_TRUE(p_->Series1->isEnabled());
  EXPECT_TRUE(s_->BEliminar->isEnabled());
  EXPECT_EQ(p_->Almacen().FindSlot("c"), 0u);
}

TEST_F(UiTest, TheCloseBoxOfTheSeriesDialogCancelsPendingChanges) {
  Cargar("a.sam", {1, 2, 3});
  Cargar("b.sam", {4, 5, 6});
  dialogos_.guionesModales.push_back([this](QDialog* d) {
    s_->BEliminar->click();
    d->close();
  });
  p_->Series1Click();
  EXPECT_EQ(p_->Almacen().FreeSlots(), 8u);
  EXPECT_EQ(Entradas(s_->CBSeries), QStringList({"a", "b"}));
  // A later "Aceptar" commits nothing that the closed opening left behind.
  dialogos_.guionesModales.push_back([this](QDialog*) { s_->BOK->click(); });
  p_->Series1Click();
  EXPECT_EQ(p_->Almacen().FreeSlots(), 8u);
}

TEST_F(UiTest, AcceptMirrorsMethodChecksAndListIntoTheMainWindow) {
  Cargar("a.sam", {1, 2, 3});
  Cargar("b.sam", {4, 5, 6});
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->CBMetodos->setCurrentIndex(s_->CBMetodos->findText("Whittle Local"));
    s_->ChMedia->setChecked(false);
    s_->ChAuto->setChecked(true);
    s_->CBSeries->setCurrentIndex(0);
    emit s_->CBSeries->activated(0);
    s_->BOK->click();
  });
  p_->Series1Click();
  EXPECT_EQ(p_->CBMetodos->currentText(), "Whittle Local");
  EXPECT_FALSE(p_->SBMedia->isChecked());
  EXPECT_TRUE(p_->SBVar->isChecked());
  EXPECT_TRUE(p_->SBAuto->isChecked());
  EXPECT_EQ(p_->CBSeries->currentText(), "a");
  EXPECT_EQ(p_->Almacen().CurrentSlot(), 0u);
}

TEST_F(UiTest, MainSeriesListSelectsTheDuplicateLowerSlot) {
  EscribirMuestras(Ruta("x.sam"), {1, 2});
  dialogos_.respuestasFichero = {Ruta("x.sam"), Ruta("x.sam")};
  p_->Cargarserie1Click();
  p_->Cargarserie1Click();
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({"x", "x"}));
  EXPECT_EQ(p_->Almacen().CurrentSlot(), 1u);
  p_->CBSeries->setCurrentIndex(1);
  emit p_->CBSeries->activated(1);
  EXPECT_EQ(s_->CBSeries->currentIndex(), 1);
  EXPECT_EQ(p_->Almacen().CurrentSlot(), 0u);
}

TEST_F(UiTest, AnalizarInTheDialogCommitsAPendingRemovalFirst) {
  Cargar("a.sam", {1, 2, 3});
  Cargar("b.sam", {4, 5, 6});
  dialogos_.guionesModales.push_back([this](QDialog*) {
    s_->BEliminar->click();  // removes "b", selects "a"
    s_->BAnalizar->click();
  });
  p_->Series1Click();
  EXPECT_EQ(p_->Almacen().FreeSlots(), 9u);
  EXPECT_EQ(Lineas().value(0), "Nombre: a");
  EXPECT_EQ(Entradas(p_->CBSeries), QStringList({"a"}));
}

TEST_F(UiTest, AnalizarEnElDialogoLoMantieneHastaElFinDelAnalisis) {
  Cargar("a.sam");
  Cargar("b.sam");
  bool visibleAlEmpezar = false, visibleAlGuardar = false;
  QStringList memoAlGuardar;
  int resultado = -1;
  const auto analizar = s_->analizar;
  s_->analizar = [&] {
    visibleAlEmpezar = s_->isVisible();
    analizar();
  };
  dialogos_.alPreguntarFichero = [&](const OpcionesFichero&) {
    visibleAlGuardar = s_->isVisible();
    memoAlGuardar = Lineas();
  };
  dialogos_.respuestasFichero.push_back(Ruta("a.atc"));
  dialogos_.guionesModales.push_back([&](QDialog* d) {
    s_->ChAuto->setChecked(true);
    s_->BEliminar->click();  // removes "b", selects "a"
    s_->BAnalizar->click();
    EXPECT_FALSE(d->isVisible());  // closed once the analysis has finished
    resultado = d->result();
  });
  p_->Series1Click();
  EXPECT_TRUE(visibleAlEmpezar);
  EXPECT_TRUE(visibleAlGuardar);
  EXPECT_EQ(memoAlGuardar.value(0), "Nombre: a");
  EXPECT_EQ(resultado, QDialog::Accepted);
  EXPECT_EQ(p_->Almacen().FreeSlots(), 9u);
  EXPECT_TRUE(QFile::exists(Ruta("a.atc")));
  EXPECT_FALSE(s_->isVisible());
}

// "Métodos H" shows every method at once (a list beside the page, no tabs), and every field
// of every dialog says what it does in its hint and, where it has limits, shows them beside
// it with the regional separator. "Valores por omisión" puts back the defaults of its own
// page only.
TEST_F(UiTest, DialogosQueSeExplican) {
  TFMetodosH* h = app_->MetodosH();
  EXPECT_FALSE(h->PageControl->tabBar()->isVisibleTo(h));
  ASSERT_EQ(h->LMetodos->count(), h->PageControl->count());
  for (int i = 0; i < h->PageControl->count(); ++i) {
    EXPECT_EQ(h->LMetodos->item(i)->text(), h->PageControl->tabText(i));
    h->LMetodos->setCurrentRow(i);
    EXPECT_EQ(h->PageControl->currentIndex(), i);
  }
  h->PageControl->setCurrentIndex(2);
  EXPECT_EQ(h->LMetodos->currentRow(), 2);
  h->PageControl->setCurrentIndex(0);

  const TDialogoParametros* dialogos[] = {app_->MetodosH(), app_->MetodosT0(), app_->Estacion(),
                                          app_->Auto()};
  for (const DefinicionCampo& c : TablaCampos()) {
    SCOPED_TRACE(c.clave);
    QWidget* control = nullptr;
    for (const TDialogoParametros* d : dialogos)
      if (!control) control = d->Control(c.clave);
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(control->toolTip().isEmpty());
    QWidget* raiz = control->window();
    auto* limites = raiz->findChild<QLabel*>("Limites" + control->objectName());
    if (c.tipo == TipoCampo::Casilla || c.tipo == TipoCampo::Opciones) {
      EXPECT_EQ(limites, nullptr);
    } else {
      ASSERT_NE(limites, nullptr);
      EXPECT_FALSE(limites->text().isEmpty());
    }
  }
  EXPECT_EQ(h->findChild<QLabel*>("LimitesEExponenteGPH")->text(), "0,3 a 0,9");
  EXPECT_EQ(h->EExponenteGPH->text(), "0,5");

  // The defaults of the page on show, and nothing else.
  h->EMind->setText("99");
  h->EBloques->setText("3");
  h->EMinm->setText("77");
  h->EExponenteGPH->setText("0,7");
  QPushButton* omision = nullptr;
  for (QPushButton* b : h->PageControl->widget(0)->findChildren<QPushButton*>())
    if (b->text() == "Valores por omisión") omision = b;
  ASSERT_NE(omision, nullptr);
  omision->click();
  EXPECT_EQ(h->EMind->text(), "10");
  EXPECT_EQ(h->EBloques->text(), "8");
  EXPECT_EQ(h->EMinm->text(), "77");
  EXPECT_EQ(h->EExponenteGPH->text(), "0,7");
  const int gph = h->PageControl->indexOf(h->EExponenteGPH->parentWidget()->parentWidget()->parentWidget());
  ASSERT_GE(gph, 0);
  for (QPushButton* b : h->PageControl->widget(gph)->findChildren<QPushButton*>())
    if (b->text() == "Valores por omisión") b->click();
  EXPECT_EQ(h->EExponenteGPH->text(), "0,5");
  // Every page has its button.
  for (int i = 0; i < h->PageControl->count(); ++i) {
    int botones = 0;
    for (QPushButton* b : h->PageControl->widget(i)->findChildren<QPushButton*>())
      botones += b->text() == "Valores por omisión";
    EXPECT_EQ(botones, 1) << h->PageControl->tabText(i).toStdString();
  }
}

// A page without a layout of its own is laid out from its rows alone: the group
// "Parámetros" with a row per field in their order, an edit field or list labelled on the
// left with its limits in grey beside it, a check box or radio group across, each control
// of its kind with its name, default and hint. Rows of a method that is not in the table.
TEST_F(UiTest, PaginaGeneradaDeSusFilas) {
  using enum TipoCampo;
  const std::vector<DefinicionCampo> filas = {
      {"EPruebaN", "EPruebaN", Dialogo::MetodosH, "Prueba", Entero, "3", {},
       "Número de prueba:", "1 a 9", "Un entero de prueba."},
      {"EPruebaX", "EPruebaX", Dialogo::MetodosH, "Prueba", Decimal, "0.5", {},
       "Exponente de prueba:", "0.1 a 0.9", "Un decimal, 0.5 por omisión."},
      {"ChPrueba", "ChPrueba", Dialogo::MetodosH, "Prueba", Casilla, "1", {},
       "Casilla de prueba", "", "Una casilla de prueba."},
      {"CBPrueba", "CBPrueba", Dialogo::MetodosH, "Prueba", ListaEntera, "8", {"4", "8"},
       "Lista de prueba:", "≥ 2", "Una lista de prueba."},
      {"RGPrueba", "RGPrueba", Dialogo::MetodosH, "Prueba", Opciones, "1", {"una", "otra"},
       "Opciones de prueba", "", "Un grupo de prueba."},
  };
  struct Esperado {
    const char* clase;
    const char* valor;
    const char* limites;
    const char* ayuda;
  };
  const Esperado esperados[] = {
      {"QLineEdit", "3", "1 a 9", "Un entero de prueba."},
      {"QLineEdit", "0,5", "0,1 a 0,9", "Un decimal, 0,5 por omisión."},
      {"QCheckBox", "1", nullptr, "Una casilla de prueba."},
      {"QComboBox", "8", "≥ 2", "Una lista de prueba."},
      {"TRadioGroup", "1", nullptr, "Un grupo de prueba."},
  };
  QWidget padre;
  std::vector<std::pair<const DefinicionCampo*, QWidget*>> campos;
  for (const DefinicionCampo& c : filas) campos.emplace_back(&c, NuevoControl(c, &padre));
  const std::unique_ptr<QGroupBox> grupo(GrupoGenerado(campos));
  EXPECT_EQ(grupo->title(), "Parámetros");
  auto* formulario = qobject_cast<QFormLayout*>(grupo->layout());
  ASSERT_NE(formulario, nullptr);
  ASSERT_EQ(formulario->rowCount(), static_cast<int>(filas.size()));
  for (int i = 0; i < formulario->rowCount(); ++i) {
    const DefinicionCampo& c = filas[static_cast<std::size_t>(i)];
    const Esperado& e = esperados[i];
    SCOPED_TRACE(c.clave);
    QWidget* control = campos[static_cast<std::size_t>(i)].second;
    EXPECT_EQ(grupo->findChild<QWidget*>(c.control), control);
    EXPECT_STREQ(control->metaObject()->className(), e.clase);
    EXPECT_EQ(control->toolTip(), e.ayuda);
    EXPECT_EQ(EtiquetaMostrada(control).toStdString(), c.etiqueta);
    QString valor;
    if (auto* edicion = qobject_cast<QLineEdit*>(control)) valor = edicion->text();
    if (auto* lista = qobject_cast<QComboBox*>(control)) valor = lista->currentText();
    if (auto* casilla = qobject_cast<QCheckBox*>(control)) valor = casilla->isChecked() ? "1" : "0";
    if (auto* opciones = qobject_cast<TRadioGroup*>(control)) valor = QString::number(opciones->ItemIndex());
    EXPECT_EQ(valor, e.valor);
    auto* limites = grupo->findChild<QLabel*>("Limites" + control->objectName());
    if (!e.limites) {
      EXPECT_EQ(limites, nullptr);
      ASSERT_NE(formulario->itemAt(i, QFormLayout::SpanningRole), nullptr);
      EXPECT_EQ(formulario->itemAt(i, QFormLayout::SpanningRole)->widget(), control);
      continue;
    }
    ASSERT_NE(limites, nullptr);
    EXPECT_EQ(limites->text(), e.limites);
    ASSERT_NE(formulario->itemAt(i, QFormLayout::FieldRole), nullptr);
    QWidget* fila = formulario->itemAt(i, QFormLayout::FieldRole)->widget();
    EXPECT_TRUE(fila->isAncestorOf(control) && fila->isAncestorOf(limites));
  }
}
