// canvas_sample: paints one picture of every canvas primitive, shows it in a
// window, or writes it to a PNG when there is no display.
//   canvas_sample [output.png]
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace {

using namespace zkw;

void Caption(TCanvas& C, int X, int Y, const std::string& Text) {
  const TFontStyles KeptStyle = C.Font().Style();
  const std::string KeptName = C.Font().Name();
  C.Brush().SetStyle(bsClear);
  C.Font().SetColor(clBlack);
  C.Font().SetName("MS Sans Serif");
  C.Font().SetStyle(TFontStyles{});
  C.TextOut(X, Y, Text);
  C.Font().SetName(KeptName);
  C.Font().SetStyle(KeptStyle);
  C.Brush().SetStyle(bsSolid);
}

void PaintSample(TBitmap& B) {
  B.SetSize(640, 420);
  TCanvas& C = B.Canvas();
  C.Brush().SetColor(clBtnFace);
  C.FillRect(TRect{0, 0, 640, 420});
  C.Font().SetName("MS Sans Serif");
  C.Font().SetHeight(-13);

  // Pen styles and widths.
  Caption(C, 10, 6, "Pen styles and widths");
  const TPenStyle Styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psInsideFrame};
  for (int I = 0; I < 6; ++I) {
    C.Pen().SetStyle(Styles[I]);
    C.Pen().SetColor(clNavy);
    C.MoveTo(10, 30 + I * 10);
    C.LineTo(200, 30 + I * 10);
  }
  C.Pen().SetStyle(psSolid);
  for (int W = 1; W <= 5; ++W) {
    C.Pen().SetWidth(W);
    C.Pen().SetColor(clMaroon);
    C.MoveTo(10, 100 + W * 12);
    C.LineTo(200, 90 + W * 16);
  }
  C.Pen().SetWidth(1);

  // A fan of lines, end pixels excluded.
  Caption(C, 230, 6, "Lines");
  C.Pen().SetColor(clBlack);
  for (int A = 0; A < 24; ++A) {
    const double T = A * 3.14159265358979 / 12;
    C.MoveTo(300, 95);
    C.LineTo(300 + static_cast<int>(70 * std::cos(T)), 95 + static_cast<int>(70 * std::sin(T)));
  }

  // Rectangles and ellipses, filled, hollow and with wide pens.
  Caption(C, 400, 6, "Rectangles, ellipses, arcs");
  C.Pen().SetColor(clBlack);
  C.Brush().SetColor(clYellow);
  C.Rectangle(400, 30, 470, 80);
  C.Brush().SetColor(clAqua);
  C.Ellipse(480, 30, 560, 80);
  C.Pen().SetWidth(3);
  C.Brush().SetStyle(bsClear);
  C.Rectangle(570, 30, 630, 80);
  C.Pen().SetColor(clRed);
  C.Arc(400, 95, 470, 165, 470, 130, 435, 95);
  C.Pen().SetColor(clGreen);
  C.Arc(480, 95, 560, 165, 520, 95, 560, 130);
  C.Pen().SetWidth(1);
  C.Brush().SetStyle(bsSolid);
  C.Pen().SetColor(clPurple);
  C.Brush().SetColor(clFuchsia);
  C.Ellipse(580, 100, 620, 160);

  // Polygons: a triangle and an even-odd star.
  Caption(C, 10, 200, "Polygons");
  C.Pen().SetColor(clBlack);
  C.Brush().SetColor(clLime);
  C.Polygon(std::vector<TPoint>{{20, 230}, {120, 230}, {70, 320}});
  C.Brush().SetColor(clBlue);
  C.Polygon(std::vector<TPoint>{{190, 220}, {225, 320}, {140, 255}, {240, 255}, {155, 320}});

  // Text in several fonts, opaque and transparent.
  Caption(C, 270, 200, "Text");
  C.Font().SetColor(clNavy);
  C.Brush().SetColor(clWhite);
  C.TextOut(270, 225, "Opaque MS Sans Serif -13");
  C.Font().SetStyle(TFontStyles{fsBold});
  C.Font().SetHeight(-20);
  C.Brush().SetStyle(bsClear);
  C.TextOut(270, 250, "Bold, clear brush");
  C.Font().SetStyle(TFontStyles{fsItalic, fsUnderline});
  C.Font().SetName("Liberation Serif");
  C.TextOut(270, 280, "Italic underlined serif");
  C.Brush().SetStyle(bsSolid);

  // Exclusive-or: the band over the stripes inverts them; drawn twice it vanishes.
  Caption(C, 10, 340, "Exclusive-or pen mode");
  for (int X = 10; X < 630; X += 20) {
    C.Brush().SetColor((X - 10) / 20 % 2 ? clSilver : clGray);
    C.FillRect(TRect{X, 360, X + 20, 410});
  }
  C.Pen().SetMode(pmXor);
  C.Pen().SetColor(clWhite);
  C.Brush().SetColor(clWhite);
  C.Rectangle(40, 370, 300, 400);
  C.Rectangle(340, 370, 600, 400);
  C.Rectangle(340, 370, 600, 400);
  C.Pen().SetMode(pmCopy);
}

}  // namespace

int main(int argc, char** argv) {
  const char* Display = std::getenv("DISPLAY");
  const bool Headless = Display == nullptr || *Display == '\0' || argc > 1;
  if (Headless && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication App(argc, argv);

  TBitmap Picture;
  PaintSample(Picture);

  if (Headless) {
    const std::string Out =
        argc > 1 ? argv[1] : (QCoreApplication::applicationDirPath() + "/canvas_sample.png").toStdString();
    try {
      Picture.SaveToFile(Out);
    } catch (const Exception& E) {
      std::cerr << "canvas_sample: " << E.what() << '\n';
      return 1;
    }
    std::cout << "canvas_sample: no display; wrote the sample picture to " << Out << '\n';
    return 0;
  }
  QLabel Window;
  Window.setWindowTitle("Canvas sample");
  Window.setPixmap(QPixmap::fromImage(Picture.Image()));
  Window.show();
  std::cout << "canvas_sample: showing the sample picture in a window\n";
  return QApplication::exec();
}
