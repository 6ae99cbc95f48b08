#include "ui/aplicacion.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "ui/dialogo_series.h"
#include "ui/dialogos.h"
#include "ui/dialogos_parametros.h"
#include "ui/graficas.h"
#include "ui/principal.h"

namespace {

// Memory kept back so that the message can still be shown when memory runs out.
char* reserva = nullptr;

void SinMemoria() {
  delete[] reserva;
  reserva = nullptr;
  std::set_new_handler(nullptr);
  static const char texto[] = "No hay suficiente memoria.\nEl programa se cerrará";
  std::fputs(texto, stderr);
  std::fputc('\n', stderr);
  if (QCoreApplication::instance()) {
    try {
      QMessageBox::critical(nullptr, QStringLiteral("FENWA"), QString::fromUtf8(texto));
    } catch (...) {
    }
  }
  std::_Exit(1);
}

}  // namespace

void InstalarManejadorMemoria() {
  if (!reserva) reserva = new char[1 << 20];
  std::set_new_handler(SinMemoria);
}

void CargarTraducciones(QTranslator& traductor) {
  if (traductor.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&traductor);
}

Aplicacion::Aplicacion(PlatformDialogs& dialogos) {
  principal_ = std::make_unique<TFPrinc>(dialogos);
  TFPrinc* p = principal_.get();
  metodosH_ = new TFMetodosH(p);
  auto_ = new TFAuto(p);
  series_ = new TFSeries(p->Almacen(), dialogos, p);
  metodosT0_ = new TFMetodosT0(p);
  estacion_ = new TFEstacion(p);
  graficas_ = new TFGraf(dialogos, p);

  VentanasFenwa ventanas;
  ventanas.metodosH = metodosH_;
  ventanas.autocorrelacion = auto_;
  ventanas.series = series_;
  ventanas.metodosT0 = metodosT0_;
  ventanas.estacion = estacion_;
  ventanas.graficas = graficas_;
  p->Conectar(ventanas);
  graficas_->Conectar(p->Graficametodo1, p->Graficaauto1, series_->CBMetodos, series_->ChAuto);
}

Aplicacion::~Aplicacion() = default;

void Aplicacion::CargarFicheros(const QStringList& rutas) {
  for (const QString& ruta : rutas) principal_->CargarFichero(ruta);
}
