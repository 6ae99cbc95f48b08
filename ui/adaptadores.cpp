#include "ui/adaptadores.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTime>
#include <atomic>
#include <exception>
#include <thread>

#include "chart/qt/plot_fuentes.h"
#include "ui/dialogos.h"

namespace {
const QColor kGris(128, 128, 128);
}

void VistaResultados::Vaciar() { memo_->clear(); }

void VistaResultados::Anadir(const std::string& linea) {
  memo_->appendPlainText(QString::fromStdString(linea));
}

void VistaResultados::AnadirTabla(const std::string& linea) {
  memo_->appendPlainText(QString::fromStdString(linea));
  // The line just added, in the fixed-width face at the memo's size.
  QTextCursor cursor(memo_->document()->lastBlock());
  cursor.select(QTextCursor::BlockUnderCursor);
  QTextCharFormat formato;
  const QFont fuente = FuenteFenwaMonoespaciada(
      memo_->font().pixelSize() > 0 ? memo_->font().pixelSize() - 1 : 12);
  formato.setFont(fuente);
  cursor.mergeCharFormat(formato);
}

void VistaResultados::FijarColores(ColorFondo fondo, ColorTexto texto) {
  QPalette paleta = memo_->palette();
  const QPalette sistema = QApplication::palette(memo_);
  const QColor base = fondo == ColorFondo::Gris ? kGris : sistema.color(QPalette::Base);
  const QColor letra = texto == ColorTexto::Gris ? kGris : sistema.color(QPalette::Text);
  for (auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    paleta.setColor(grupo, QPalette::Base, base);
    paleta.setColor(grupo, QPalette::Text, letra);
  }
  memo_->setPalette(paleta);
}

std::optional<std::string> PreguntaGuardarAuto::PreguntarRuta(const std::string& titulo,
                                                            const std::string& nombrePropuesto) {
  OpcionesFichero opciones;
  opciones.titulo = QString::fromStdString(titulo);
  opciones.nombre = QString::fromStdString(nombrePropuesto);
  const QString ruta = dialogos_.GuardarFichero(padre_, opciones);
  if (ruta.isEmpty()) return std::nullopt;
  return ruta.toStdString();
}

void CajaMensajes::MostrarMensaje(const std::string& texto, TipoMensaje tipo) {
  dialogos_.Mensaje(padre_, QString::fromStdString(texto),
                    tipo == TipoMensaje::Error ? IconoMensaje::Error : IconoMensaje::Aviso);
}

void GanchosQt::ProcesarEventos() { QCoreApplication::processEvents(); }

void GanchosQt::FijarCursorOcupado(bool ocupado) {
  if (ocupado) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++pendientes_;
  } else if (pendientes_ > 0) {
    QApplication::restoreOverrideCursor();
    --pendientes_;
  }
}

void GanchosQt::Calcular(const std::function<void()>& calculo) {
  std::unique_ptr<ControlProgreso> propio;
  if (!control_) {
    propio = std::make_unique<ControlProgreso>();
    inicio_ = std::chrono::steady_clock::now();
  }
  ControlProgreso& control = control_ ? *control_ : *propio;
  std::atomic<bool> terminado{false};
  std::exception_ptr error;
  std::thread trabajador([&] {
    try {
      ProgresoInstalado instalado(control);
      calculo();
    } catch (...) {
      error = std::current_exception();
    }
    terminado.store(true);
  });
  const double transcurrido =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio_).count();
  const QString texto = texto_.isEmpty() ? QStringLiteral("Calculando...") : texto_;
  dialogos_.EsperarCalculo(padre_, texto, control, transcurrido,
                           [&terminado] { return terminado.load(); });
  trabajador.join();
  if (error) std::rethrow_exception(error);
  if (control.CancelacionPedida()) throw Cancelado();
}

GanchosQt::Operacion::Operacion(GanchosQt& ganchos, const QString& texto) : ganchos_(ganchos) {
  ganchos_.control_ = std::make_unique<ControlProgreso>();
  ganchos_.texto_ = texto;
  ganchos_.inicio_ = std::chrono::steady_clock::now();
}

GanchosQt::Operacion::~Operacion() {
  ganchos_.control_.reset();
  ganchos_.texto_.clear();
}

void GanchosQt::RestaurarCursor() {
  while (pendientes_ > 0) FijarCursorOcupado(false);
}

std::string GanchosQt::FechaActual() {
  return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::string GanchosQt::HoraActual() {
  // The long time format without the time zone ("10:45:12", not "10:45:12 (CET)").
  QString patron = QLocale().timeFormat(QLocale::LongFormat);
  patron.remove(QStringLiteral("(t)")).remove(QLatin1Char('t'));
  return QLocale().toString(QTime::currentTime(), patron.trimmed()).toStdString();
}

CursorOcupado::CursorOcupado() { QApplication::setOverrideCursor(Qt::WaitCursor); }
CursorOcupado::~CursorOcupado() { QApplication::restoreOverrideCursor(); }
