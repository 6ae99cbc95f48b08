// Charts with every use of the chart font (caption, axis numbers and titles, character
// marks, text items in each style and size), saved under FENWA_CAPTURAS when it names a
// folder: the font test runs compare them between font configurations. Also checks that a
// run's font configuration offers (FENWA_FUENTES_PRESENTES) and hides
// (FENWA_FUENTES_AUSENTES) the families it should, comma-separated.
#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <gtest/gtest.h>
#include <utility>

#include "chart/plot_model.h"
#include "chart/qt/plot_render.h"

namespace {

QStringList Familias(const char* variable) {
  return qEnvironmentVariable(variable).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

TEST(FotosGrafica, LaConfiguracionDeFuentesEsLaPedida) {
  const QStringList presentes = Familias("FENWA_FUENTES_PRESENTES");
  const QStringList ausentes = Familias("FENWA_FUENTES_AUSENTES");
  if (presentes.isEmpty() && ausentes.isEmpty()) GTEST_SKIP() << "no font configuration named";
  // Qt names a family offered by two foundries "Family [Foundry]".
  auto ofrecida = [familias = QFontDatabase::families()](const QString& f) {
    for (const QString& g : familias)
      if (g == f || g.startsWith(f + QStringLiteral(" ["))) return true;
    return false;
  };
  for (const QString& f : presentes)
    EXPECT_TRUE(ofrecida(f)) << f.toStdString() << " missing: install fonts-liberation2 "
                             << "fonts-urw-base35 (scripts/install-deps.sh)";
  for (const QString& f : ausentes) EXPECT_FALSE(ofrecida(f)) << f.toStdString();
}

// A chart as the charts window draws it (black, white scales, 13-pixel font), with labels,
// titles, a caption, character marks and text items at several sizes, all in one style.
void Dibujar(TPlotModel& m, TFontStyles estilo) {
  m.SetControlSize(414, 329);
  m.SetRRim(20);
  m.SetTRim(30);
  m.SetBRim(40);
  m.SetDecPlaceY(2);
  m.SetChartColor(clBlack);
  m.SetWindColor(clBlack);
  m.SetScaleColor(clWhite);
  m.SetDataColor(clYellow);
  TPlotFont f = m.Font();
  f.Name = "MS Sans Serif";
  f.Height = 13;
  f.Color = clWhite;
  f.Style = estilo;
  m.SetFont(f);
  m.SetTextFontStyle(estilo);
  m.SetRange(0.7, -1.25, 3.3, 2.75);
  m.SetCaption("Método R/S: H = 0,7526");
  m.SetIdAbscissa("log10(d)");
  m.SetIdOrdinate("log10(R/S)");
  m.MoveTo(0.8, -1);
  m.LineTo(3.2, 2.5);
  for (int c = 65; c < 71; ++c) m.MarkAt(0.9 + (c - 65) * 0.4, 2.3, static_cast<std::uint8_t>(c));
  m.MarkAt(3.1, 2.3, 0xE1);  // a with acute accent in Latin-1
  double y = 0.2;
  for (int puntos : {0, 8, 10, 14}) {
    m.TextAt(1.6, y, puntos, "Texto ñá 0,5");
    y += 0.45;
  }
}

TEST(FotosGrafica, TextosDeLaGraficaEnCadaEstilo) {
  const QString carpeta = qEnvironmentVariable("FENWA_CAPTURAS");
  const std::pair<TFontStyles, const char*> estilos[] = {
      {0, "normal"}, {fsBold, "negrita"}, {fsUnderline, "subrayado"}, {fsStrikeOut, "tachado"}};
  for (auto [estilo, nombre] : estilos) {
    TPlotModel m;
    Dibujar(m, estilo);
    const QImage img = RenderPlotImage(m);
    // Text reached the picture: many grey (anti-aliased) or white pixels on the black.
    int claros = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = QColor::fromRgb(img.pixel(x, y));
        claros += c.red() > 0 && c.red() == c.green() && c.green() == c.blue();
      }
    EXPECT_GT(claros, 2500) << nombre;
    if (carpeta.isEmpty()) continue;
    QDir().mkpath(carpeta);
    const QString base = QDir(carpeta).filePath(QStringLiteral("grafica_%1").arg(nombre));
    EXPECT_TRUE(img.save(base + QStringLiteral(".png")));
    if (estilo != 0) continue;
    OpcionesRender bn;  // as printed: black on white, at another size
    bn.BlancoNegro = true;
    bn.WindColor = clWhite;
    bn.ChartColor = clWhite;
    bn.ScaleColor = clBlack;
    EXPECT_TRUE(RenderPlotImage(m, 600, 420, bn).save(base + QStringLiteral("_bn.png")));
  }
}

}  // namespace
