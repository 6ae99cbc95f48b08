#include "ui/dialogos.h"

#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinter>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTimer>

#include "numeric/progreso.h"

QString ExtensionDeFiltro(const QString& filtro) {
  const qsizetype abre = filtro.lastIndexOf(QLatin1Char('('));
  const qsizetype cierra = filtro.lastIndexOf(QLatin1Char(')'));
  if (abre < 0 || cierra < abre) return {};
  const QString patron = filtro.mid(abre + 1, cierra - abre - 1).trimmed();
  static const QRegularExpression simple(QStringLiteral("^\\*\\.([A-Za-z0-9]+)$"));
  const QRegularExpressionMatch m = simple.match(patron);
  return m.hasMatch() ? m.captured(1) : QString();
}

QtPlatformDialogs::QtPlatformDialogs() = default;

QProgressDialog* NuevoDialogoProgreso(QWidget* padre, const QString& texto) {
  auto* dialogo = new QProgressDialog(texto, QStringLiteral("Cancelar"), 0, 1000, padre);
  dialogo->setObjectName(QStringLiteral("DialogoProgreso"));
  dialogo->setWindowTitle(QStringLiteral("FENWA"));
  dialogo->setWindowModality(Qt::ApplicationModal);
  dialogo->setMinimumDuration(0);
  dialogo->setAutoClose(false);
  dialogo->setAutoReset(false);
  dialogo->setMinimumWidth(300);
  return dialogo;
}

void QtPlatformDialogs::EsperarCalculo(QWidget* padre, const QString& texto,
                                       ControlProgreso& control, double yaTranscurrido,
                                       const std::function<bool()>& terminado) {
  constexpr double kSegundosSinDialogo = 0.5;
  QEventLoop bucle;
  QElapsedTimer reloj;
  reloj.start();
  std::unique_ptr<QProgressDialog> dialogo;
  QTimer latido;
  latido.setInterval(20);
  QObject::connect(&latido, &QTimer::timeout, &bucle, [&] {
    if (terminado()) {
      bucle.quit();
    } else if (!dialogo) {
      if (yaTranscurrido + static_cast<double>(reloj.elapsed()) / 1000.0 >= kSegundosSinDialogo)
        bucle.quit();  // time for the dialog
    } else {
      dialogo->setValue(static_cast<int>(control.Fraccion() * 1000.0));
    }
  });
  latido.start();
  // Short work runs without a dialog, and without taking the user's clicks and keys.
  if (!terminado()) bucle.exec(QEventLoop::ExcludeUserInputEvents);
  if (terminado()) return;
  dialogo.reset(NuevoDialogoProgreso(padre, texto));
  QObject::connect(dialogo.get(), &QProgressDialog::canceled, dialogo.get(), [&] {
    control.Cancelar();
    dialogo->setLabelText(QStringLiteral("Cancelando..."));
    dialogo->setCancelButton(nullptr);
  });
  dialogo->setValue(static_cast<int>(control.Fraccion() * 1000.0));
  dialogo->show();
  bucle.exec();
}

QString QtPlatformDialogs::EjecutarFichero(QWidget* padre, const OpcionesFichero& opciones,
                                           bool guardar) {
  QFileDialog dialogo(padre, opciones.titulo, QDir::currentPath());
  dialogo.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialogo.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialogo.setOption(QFileDialog::ReadOnly, false);
  if (!opciones.filtros.isEmpty()) {
    dialogo.setNameFilters(opciones.filtros);
    if (opciones.filtroInicial >= 0 && opciones.filtroInicial < opciones.filtros.size())
      dialogo.selectNameFilter(opciones.filtros.at(opciones.filtroInicial));
  }
  if (!opciones.extensionDefecto.isEmpty()) dialogo.setDefaultSuffix(opciones.extensionDefecto);
  if (guardar) {
    // The extension added to a bare name follows the filter the user picks.
    QObject::connect(&dialogo, &QFileDialog::filterSelected, &dialogo,
                     [&dialogo, &opciones](const QString& filtro) {
                       const QString extension = ExtensionDeFiltro(filtro);
                       dialogo.setDefaultSuffix(extension.isEmpty() ? opciones.extensionDefecto
                                                                    : extension);
                     });
  }
  if (!opciones.nombre.isEmpty()) dialogo.selectFile(opciones.nombre);
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
  const QString ruta = QDir::toNativeSeparators(dialogo.selectedFiles().first());
  QDir::setCurrent(QFileInfo(ruta).absolutePath());
  return ruta;
}

QString QtPlatformDialogs::AbrirFichero(QWidget* padre, const OpcionesFichero& opciones) {
  return EjecutarFichero(padre, opciones, false);
}

QString QtPlatformDialogs::GuardarFichero(QWidget* padre, const OpcionesFichero& opciones) {
  return EjecutarFichero(padre, opciones, true);
}

QMessageBox::Icon IconoDeMensaje(IconoMensaje icono) {
  switch (icono) {
    case IconoMensaje::Informacion: return QMessageBox::Information;
    case IconoMensaje::Aviso: return QMessageBox::Warning;
    case IconoMensaje::Error: return QMessageBox::Critical;
  }
  return QMessageBox::Warning;
}

void QtPlatformDialogs::Mensaje(QWidget* padre, const QString& texto, IconoMensaje icono) {
  QMessageBox caja(IconoDeMensaje(icono), QStringLiteral("FENWA"), texto, QMessageBox::Ok, padre);
  caja.exec();
}

bool QtPlatformDialogs::Confirmar(QWidget* padre, const QString& texto) {
  QMessageBox caja(QMessageBox::Question, QStringLiteral("FENWA"), texto,
                   QMessageBox::Yes | QMessageBox::No, padre);
  caja.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
  caja.button(QMessageBox::No)->setText(QStringLiteral("No"));
  caja.setDefaultButton(QMessageBox::No);
  return caja.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPlatformDialogs::PedirTexto(QWidget* padre, const QString& titulo,
                                                     const QString& etiqueta,
                                                     const QString& defecto) {
  bool aceptado = false;
  QString texto = QInputDialog::getText(padre, titulo, etiqueta, QLineEdit::Normal, defecto,
                                        &aceptado);
  if (!aceptado) return std::nullopt;
  return texto;
}

std::optional<QColor> QtPlatformDialogs::ElegirColor(QWidget* padre, const QColor& inicial) {
  // Basic colours only: the custom-colour panel stays out of the way.
  QColor color = QColorDialog::getColor(inicial, padre, QString(),
                                        QColorDialog::DontUseNativeDialog);
  if (!color.isValid()) return std::nullopt;
  return color;
}

bool QtPlatformDialogs::ConfigurarImpresora(QWidget* padre, QPrinter& impresora) {
  QPrintDialog dialogo(&impresora, padre);
  return dialogo.exec() == QDialog::Accepted;
}

int QtPlatformDialogs::EjecutarModal(QDialog* dialogo) { return dialogo->exec(); }
