// Parameter dialogs and the series dialog: snapshot and restore, enabling rules, pending
// renames and removals, commit and mirroring into the main window.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTest>

#include "ui/ui_fixture.h"

namespace {

void Escape(QWidget* w) {
  QKeyEvent tecla(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(w, &tecla);
}

}  // namespace

TEST_F(UiTest, ParameterDefaultsMatchTheParameterRecord) {
  EXPECT_EQ(app_->MetodosH()->Valores(), ParametrosMetodosH{});
  EXPECT_EQ(app_->MetodosT0()->Valores(), ParametrosMetodosT0{});
  EXPECT_EQ(app_->Estacion()->Valores(), ParametrosEstacion{});
  EXPECT_EQ(app_->Auto()->Valores(), ParametrosAuto{});
  TFMetodosH* h = app_->MetodosH();
  EXPECT_EQ(h->PageControl->count(), 5);
  EXPECT_EQ(h->PageControl->tabText(h->PageControl->currentIndex()), "R/S");
  EXPECT_FALSE(h->EOrdenp->isEnabled());
  EXPECT_FALSE(h->EOrdenq->isEnabled());
  EXPECT_TRUE(h->EMinmDif->isEnabled());
  EXPECT_TRUE(h->BOK->isDefault());
  EXPECT_EQ(app_->Estacion()->MAyuda->toPlainText().split('\n').size(), 21);
  EXPECT_EQ(app_->Estacion()->PageControl->tabText(0), "Test T");
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
  EXPECT_EQ(a->Valores(), ParametrosAuto{});
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
  EXPECT_EQ(h->Valores().CBNivel, "7");
  EXPECT_EQ(h->CBNivel->count(), 5);  // typed values are not added to the list
}

TEST_F(UiTest, EveryParameterSnapshotIsRestoredByCancel) {
  TFMetodosH* h = app_->MetodosH();
  ParametrosMetodosH cambiado;
  cambiado.EMind = "1";
  cambiado.EMinRS = "2";
  cambiado.EBloques = "3";
  cambiado.EDecadaRS = "4";
  cambiado.EMinm = "5";
  cambiado.EMinVar = "6";
  cambiado.EDecadaVar = "7";
  cambiado.ChLineal = true;
  cambiado.EMinmDif = "8";
  cambiado.EMinVarDif = "9";
  cambiado.EDecadaVarDif = "11";
  cambiado.ChMismos = true;
  cambiado.CBPorcentaje = "0.1";
  cambiado.RGModelo = 1;
  cambiado.EOrdenp = "1";
  cambiado.EOrdenq = "1";
  cambiado.CBFactor = "64";
  cambiado.CBNivel = "500";
  dialogos_.guionesModales.push_back([&](QDialog*) {
    h->AsignarValores(cambiado);
    EXPECT_EQ(h->Valores(), cambiado);
    h->BCancelar->click();
  });
  p_->MetodosH1Click();
  EXPECT_EQ(h->Valores(), ParametrosMetodosH{});
  TFMetodosT0* t = app_->MetodosT0();
  TFEstacion* e = app_->Estacion();
  dialogos_.guionesModales.push_back([t](QDialog*) {
    t->AsignarValores({"1.5", "20", "3"});
    t->BCancelar->click();
  });
  dialogos_.guionesModales.push_back([e](QDialog*) {
    e->AsignarValores({"4", "0.1"});
    e->BCancelar->click();
  });
  p_->MetodosT01Click();
  p_->Estacion1Click();
  EXPECT_EQ(t->Valores(), ParametrosMetodosT0{});
  EXPECT_EQ(e->Valores(), ParametrosEstacion{});
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
