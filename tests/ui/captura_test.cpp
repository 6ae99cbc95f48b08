// "Archivo > Importar captura...": a capture counted into a series off the window thread,
// the refusals that keep the dialog open or add nothing, and "Cancelar".
#include <QFile>

#include "support/capturas_prueba.h"
#include "ui/dialogo_captura.h"
#include "ui/ui_fixture.h"

namespace {

void Escribir(const QString& ruta, const std::string& bytes) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace

TEST_F(UiTest, ImportarCapturaCuentaLosBytesComoLaRegla) {
  using namespace prueba_capturas;
  const std::vector<Paquete> paquetes = Paquetes(3000, 5);
  const QString ruta = Ruta("traza.pcap.gz");
  Escribir(ruta, Gzip(Pcap(paquetes, true, false)));
  const Esperado esperado = Contar(paquetes, 10'000'000, true, [](const Paquete&) { return true; });

  dialogos_.respuestasFichero.push_back(ruta);
  dialogos_.guionesModales.push_back([](QDialog* d) {
    auto* c = static_cast<TFCaptura*>(d);
    EXPECT_EQ(c->windowTitle(), "Importar captura");
    c->BAnadir->click();
    c->EIntervalo->setText("0,01");
    c->CBUnidad->setCurrentText("s");
    c->RGContar->SetItemIndex(1);
    c->BOK->click();
  });
  p_->Importarcaptura1->trigger();
  EXPECT_EQ(dialogos_.calculos, std::vector<QString>{"Contando la captura..."});
  EXPECT_TRUE(dialogos_.mensajes.empty()) << dialogos_.mensajes.front().toStdString();
  EXPECT_EQ(p_->CBSeries->currentText(), "traza_bytes_10ms");
  const Series* serie = p_->Almacen().Current();
  ASSERT_NE(serie, nullptr);
  ASSERT_EQ(serie->data.Longitud(), esperado.cuentas.size());
  for (std::size_t i = 0; i < esperado.cuentas.size(); ++i)
    ASSERT_EQ(serie->data(static_cast<std::uint32_t>(i + 1)), static_cast<double>(esperado.cuentas[i])) << i;
  EXPECT_EQ(Lineas().value(0), "Serie importada: traza_bytes_10ms");
  EXPECT_TRUE(p_->Copiarresult1->isEnabled());
}

// Each refusal says why; those of the dialog's own fields keep it open, those of the count
// close it and add nothing. "Cancelar" in the progress dialog adds nothing either.
TEST_F(UiTest, ImportarCapturaRechazosYCancelar) {
  using namespace prueba_capturas;
  const QString captura = Ruta("a.pcap"), texto = Ruta("a.txt");
  Escribir(captura, Pcap(Paquetes(500, 2), false, true));
  Escribir(texto, Texto(Paquetes(500, 2)));
  struct Caso {
    const char* que;
    QString fichero;  // empty: none added
    const char* intervalo;
    const char* filtro;
    bool cancelar;
    const char* mensaje;  // part of the message; nullptr: none
  };
  const Caso casos[] = {
      {"sin capturas", "", "10", "", false, "Añada al menos una captura"},
      {"anchura mala", captura, "abc", "", false, "abc"},
      {"texto sin marcar", texto, "10", "", false, "Trazas de texto"},
      {"filtro malo", captura, "10", "tcp and and", false, "filtro"},
      {"cancelada", captura, "10", "", true, nullptr},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.que);
    dialogos_.mensajes.clear();
    if (!c.fichero.isEmpty()) dialogos_.respuestasFichero.push_back(c.fichero);
    if (c.cancelar) dialogos_.cancelarCalculo = static_cast<int>(dialogos_.calculos.size()) + 1;
    bool abierto = false;
    dialogos_.guionesModales.push_back([&](QDialog* d) {
      auto* v = static_cast<TFCaptura*>(d);
      v->LBCapturas->clear();
      if (!c.fichero.isEmpty()) v->BAnadir->click();
      v->EIntervalo->setText(c.intervalo);
      v->CBUnidad->setCurrentText("ms");
      v->EFiltro->setText(c.filtro);
      v->BOK->click();
      abierto = v->isVisible() || v->result() != QDialog::Accepted;
      if (abierto) v->BCancelar->click();
    });
    p_->Importarcaptura1Click();
    if (c.mensaje) {
      ASSERT_EQ(dialogos_.mensajes.size(), 1u);
      EXPECT_TRUE(dialogos_.mensajes[0].contains(QString::fromUtf8(c.mensaje)))
          << dialogos_.mensajes[0].toStdString();
    } else {
      EXPECT_TRUE(dialogos_.mensajes.empty());
    }
    EXPECT_EQ(p_->Almacen().FreeSlots(), 10u);
  }
}
