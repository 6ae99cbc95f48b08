// The whole program's windows over scripted dialogs, in a temporary folder that is also the
// current folder (where bare result file names are written).
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <charconv>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "ui/aplicacion.h"
#include "ui/dialogo_series.h"
#include "ui/dialogos_parametros.h"
#include "support/dialogos_falsos.h"
#include "support/herramientas.h"
#include "ui/graficas.h"
#include "ui/principal.h"

inline void EscribirMuestras(const QString& ruta, const std::vector<double>& valores) {
  std::string texto;
  char buffer[64];
  for (double v : valores) {
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    texto.append(buffer, r.ptr);
    texto += '\n';
  }
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(texto.data(), static_cast<qint64>(texto.size()));
}

// Deterministic noise with a slow wave, long enough for every estimator.
inline std::vector<double> Ruido(int n, std::uint64_t semilla = prueba::Congruencial::kSemilla) {
  prueba::Congruencial g(semilla);
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(g.Uniforme() + 0.3 * ((i / 50) % 2));
  return v;
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    carpetaAnterior_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    app_ = std::make_unique<Aplicacion>(dialogos_);
    p_ = app_->Principal();
    s_ = app_->Series();
    g_ = app_->Graficas();
  }
  void TearDown() override {
    app_.reset();
    QDir::setCurrent(carpetaAnterior_);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "busy cursor left on";
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }

  QString Ruta(const QString& nombre) const { return dir_.filePath(nombre); }

  // Writes a sample file and loads it through "&Cargar serie..." with the scripted dialog.
  QString Cargar(const QString& nombre, const std::vector<double>& valores) {
    const QString ruta = Ruta(nombre);
    EscribirMuestras(ruta, valores);
    dialogos_.respuestasFichero.push_back(ruta);
    p_->Cargarserie1Click();
    return ruta;
  }
  QString Cargar(const QString& nombre) { return Cargar(nombre, Ruido(1024)); }

  void ElegirMetodo(const QString& metodo) {
    p_->CBMetodos->setCurrentIndex(p_->CBMetodos->findText(metodo));
    emit p_->CBMetodos->activated(p_->CBMetodos->currentIndex());
  }

  QStringList Lineas() const { return p_->MResult->toPlainText().split(QLatin1Char('\n')); }
  QStringList Entradas(QComboBox* lista) const {
    QStringList e;
    for (int i = 0; i < lista->count(); ++i) e << lista->itemText(i);
    return e;
  }
  QColor FondoMemo() const { return p_->MResult->palette().color(QPalette::Base); }

  QTemporaryDir dir_;
  QString carpetaAnterior_;
  DialogosFalsos dialogos_;
  std::unique_ptr<Aplicacion> app_;
  TFPrinc* p_ = nullptr;
  TFSeries* s_ = nullptr;
  TFGraf* g_ = nullptr;
};
