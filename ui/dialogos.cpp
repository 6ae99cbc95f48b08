#include "ui/dialogos.h"

#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

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

void QtPlatformDialogs::Mensaje(QWidget* padre, const QString& texto, IconoMensaje icono) {
  QMessageBox caja(icono == IconoMensaje::Error ? QMessageBox::Critical : QMessageBox::Information,
                   QStringLiteral("FENWA"), texto, QMessageBox::Ok, padre);
  caja.exec();
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
