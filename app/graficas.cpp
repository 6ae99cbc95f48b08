#include "app/graficas.h"

void AplicarDisenoGrafica(TPlotModel& g) {
  g.SetRRim(20);
  g.SetTRim(30);
  g.SetBRim(40);
  g.BackgroundImage().SetFillMode(bfStretch);
  g.SetClassDefault(0);
  g.SetDecPlaceY(2);
  g.SetGridStyle(gsNone);
  g.SetGridDx(1.0);
  g.SetGridDy(1.0);
  g.SetRangeHiX(10);
  g.SetRangeHiY(10);
  g.SetDataColor(clYellow);
  g.SetScaleColor(clWhite);
  g.SetChartColor(clBlack);
  g.SetWindColor(clBlack);
  g.SetGridColor(clGray);
  g.SetMouseAction(maNone);
  g.SetShadowStyle(ssFlying);
  g.SetShadowColor(clGrayText);
  g.SetShadowBakColor(clBtnFace);
  g.SetShortTicksX(true);
  g.SetShortTicksY(true);
  g.SetTextBkStyle(tbClear);
  g.SetTextBkColor(clWhite);
  g.SetXLabelType(ftNum);
  g.SetYLabelType(ftNum);
  TPlotFont fuente = g.Font();
  fuente.Name = "MS Sans Serif";
  fuente.Height = 13;
  fuente.Color = clWhite;
  g.SetFont(fuente);
}
