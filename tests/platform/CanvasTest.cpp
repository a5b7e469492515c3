#include "Bitmap.h"
#include "Canvas.h"
#include "Font.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include <climits>
#include <string>

namespace {

// Row y of the image from x0 to x1 (excluded): '#' for a pixel that is not white.
std::string Row(const TBitmap& bitmap, int y, int x0, int x1) {
  std::string row;
  for (int x = x0; x < x1; ++x)
    row += bitmap.Image().pixel(x, y) == 0xFFFFFFFF ? '.' : '#';
  return row;
}

std::string Column(const TBitmap& bitmap, int x, int y0, int y1) {
  std::string column;
  for (int y = y0; y < y1; ++y)
    column += bitmap.Image().pixel(x, y) == 0xFFFFFFFF ? '.' : '#';
  return column;
}

// The bounding box (left, top, right, bottom; exclusive) of the pixels that are not white.
QRect InkBox(const TBitmap& bitmap) {
  const QImage& image = bitmap.Image();
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == 0xFFFFFFFF) continue;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x + 1);
      bottom = std::max(bottom, y + 1);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace

TEST(Canvas, PenStylesDrawTheOriginalDashesAndStopBeforeTheEnd) {
  struct TCase {
    TPenStyle Style;
    std::string Pattern;  // the first 40 pixels of a line 40 long
  };
  const TCase cases[] = {
      {psSolid, std::string(39, '#') + "."},
      {psInsideFrame, std::string(39, '#') + "."},
      {psClear, std::string(40, '.')},
      {psDash, "##################......##################......"},
      {psDot, "###...###...###...###...###...###...###...###..."},
      {psDashDot, "#########......###......#########......###......"},
      {psDashDotDot, "#########...###...###...#########...###...###..."},
  };
  for (const TCase& c : cases) {
    TBitmap bitmap(60, 5);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().FStyle = c.Style;
    canvas.MoveTo(0, 2);
    canvas.LineTo(39, 2);
    EXPECT_EQ(Row(bitmap, 2, 0, 40), c.Pattern.substr(0, 39) + ".") << int(c.Style);
    EXPECT_EQ(canvas.PenPos(), QPoint(39, 2));
  }
}

TEST(Canvas, LinesAndShapesCoverTheirPixels) {
  TBitmap bitmap(20, 20);
  TCanvas& canvas = bitmap.Canvas();
  canvas.MoveTo(2, 1);
  canvas.LineTo(2, 6);  // vertical: rows 1..5
  EXPECT_EQ(Column(bitmap, 2, 0, 8), ".#####..");

  // Drawn upwards or leftwards the start is still coloured and the end still left out.
  canvas.MoveTo(4, 6);
  canvas.LineTo(4, 1);  // rows 6..2
  EXPECT_EQ(Column(bitmap, 4, 0, 8), "..#####.");
  canvas.MoveTo(9, 0);
  canvas.LineTo(3, 0);  // columns 9..4
  EXPECT_EQ(Row(bitmap, 0, 0, 12), "....######..");

  canvas.Pen().FWidth = 3;
  canvas.MoveTo(10, 10);
  canvas.LineTo(18, 10);
  EXPECT_EQ(Column(bitmap, 14, 8, 13), ".###.");

  TBitmap shapes(20, 20);
  TCanvas& s = shapes.Canvas();
  s.Brush().FColor = clRed;
  s.Rectangle(2, 2, 8, 6);  // outline on columns 2..7 and rows 2..5, red inside
  EXPECT_EQ(Row(shapes, 2, 0, 10), "..######..");
  EXPECT_EQ(Row(shapes, 4, 0, 10), "..######..");
  EXPECT_EQ(s.Pixel(3, 3), clRed);
  EXPECT_EQ(s.Pixel(7, 3), clBlack);
  EXPECT_EQ(Row(shapes, 6, 0, 10), "..........");

  s.Brush().FColor = clBlue;
  s.FillRect(10, 10, 13, 12);
  EXPECT_EQ(Row(shapes, 10, 9, 14), ".###.");
  EXPECT_EQ(s.Pixel(12, 11), clBlue);
  EXPECT_EQ(s.Pixel(12, 12), clWhite);
  s.Brush().FStyle = bsClear;
  s.FillRect(0, 15, 20, 20);
  EXPECT_EQ(Row(shapes, 16, 0, 20), std::string(20, '.'));

  s.Brush() = TBrush{clGreen, bsSolid};
  s.FrameRect(14, 0, 19, 4);
  EXPECT_EQ(Row(shapes, 0, 13, 20), ".#####.");
  EXPECT_EQ(Row(shapes, 1, 13, 20), ".#...#.");
  EXPECT_EQ(Row(shapes, 3, 13, 20), ".#####.");
}

TEST(Canvas, RoundRectLeavesItsCornersAndClipsFollowIt) {
  TBitmap bitmap(40, 30);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().FColor = clBlack;
  canvas.RoundRect(0, 0, 40, 30, 20, 20);
  EXPECT_EQ(canvas.Pixel(0, 0), clWhite);
  EXPECT_EQ(canvas.Pixel(39, 29), clWhite);
  EXPECT_EQ(canvas.Pixel(20, 0), clBlack);
  EXPECT_EQ(canvas.Pixel(0, 15), clBlack);

  TBitmap clipped(40, 30);
  TCanvas& c = clipped.Canvas();
  c.SetClipRoundRect(0, 0, 40, 30, 20, 20);
  c.Brush().FColor = clBlack;
  c.FillRect(0, 0, 40, 30);
  EXPECT_EQ(c.Pixel(0, 0), clWhite);
  EXPECT_EQ(c.Pixel(20, 15), clBlack);

  c.SetClipRect(0, 0, 5, 5);
  c.End();  // the clip outlives the painter
  c.Brush().FColor = clRed;
  c.FillRect(0, 0, 40, 30);
  EXPECT_EQ(c.Pixel(4, 4), clRed);
  EXPECT_EQ(c.Pixel(5, 5), clBlack);
  c.ClearClip();
  c.FillRect(0, 0, 40, 30);
  EXPECT_EQ(c.Pixel(39, 29), clRed);
}

TEST(Canvas, NotXorDrawnTwiceRestoresThePicture) {
  TBitmap bitmap(30, 30);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().FColor = RGBColor(200, 100, 50);
  canvas.FillRect(0, 0, 15, 30);
  const QImage before = bitmap.Image().copy();

  canvas.Pen() = TCanvasPen{clBlack, 1, psSolid, pmNotXor};
  canvas.Brush().FStyle = bsClear;
  canvas.Rectangle(5, 5, 25, 25);
  EXPECT_EQ(canvas.Pixel(10, 5), RGBColor(55, 155, 205));  // inverted
  EXPECT_EQ(canvas.Pixel(20, 5), clBlack);
  EXPECT_EQ(canvas.Pixel(10, 10), RGBColor(200, 100, 50));  // inside untouched
  canvas.Rectangle(5, 5, 25, 25);
  EXPECT_EQ(bitmap.Image(), before);
}

TEST(Canvas, FontHeightConventionAndLimits) {
  TFont font;
  font.FHeight = -10;
  EXPECT_EQ(ToQFont(font).pixelSize(), 10);
  EXPECT_EQ(font.Size(), 8);  // 7.5 points, rounded half away from zero
  font.SetSize(10);
  EXPECT_EQ(font.FHeight, -13);
  font.FHeight = 0;
  EXPECT_EQ(ToQFont(font).pixelSize(), -kDefaultFontHeight);

  // A positive height is the cell height, leading included.
  TBitmap bitmap(10, 10);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font().FHeight = 30;
  EXPECT_NEAR(canvas.TextHeight("W"), 30, 1);
  canvas.Font().FHeight = -30;
  EXPECT_GT(canvas.TextHeight("W"), 30);

  // Heights from damaged settings are bounded.
  for (int height : {INT_MIN, INT_MIN + 1, INT_MAX, -100000}) {
    font.FHeight = height;
    EXPECT_EQ(ToQFont(font).pixelSize(), kMaxFontPixels) << height;
  }
}

TEST(Canvas, FacesMapToInstalledOnes) {
  for (const char* face :
       {"Verdana", "MS Sans Serif", "Arial", "Courier New", "Times New Roman", "No Such Face"}) {
    const QString mapped = MapFontFace(QString::fromLatin1(face));
    EXPECT_TRUE(QFontDatabase::hasFamily(mapped)) << face << " -> " << mapped.toStdString();
  }
  EXPECT_TRUE(QFontInfo(QFont(MapFontFace("Courier New"))).fixedPitch());
  EXPECT_TRUE(FontAvailable("Verdana"));
  EXPECT_FALSE(FontAvailable("No Such Face"));
  EXPECT_FALSE(FontAvailable(""));
}

TEST(Canvas, TextTurnsAboutItsTopLeftCorner) {
  struct TCase {
    int Orientation;
    QRect Cell;  // where the text's cell lies, for width w and height h from (60, 60)
  };
  TBitmap probe(1, 1);
  probe.Canvas().Font().FHeight = -14;
  const int w = probe.Canvas().TextWidth("Wide text");
  const int h = probe.Canvas().TextHeight("Wide text");
  const TCase cases[] = {
      {0, QRect(60, 60, w, h)},
      {900, QRect(60, 60 - w, h, w)},   // reads upwards, glyph tops to the left
      {2700, QRect(60 - h, 60, h, w)},  // reads downwards, glyph tops to the right
  };
  for (const TCase& c : cases) {
    TBitmap bitmap(120, 120);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().FHeight = -14;
    canvas.Font().FOrientation = c.Orientation;
    canvas.Font().FColor = clBlack;
    canvas.Brush().FStyle = bsClear;
    canvas.TextOut(60, 60, "Wide text");
    const QRect ink = InkBox(bitmap);
    ASSERT_FALSE(ink.isNull()) << c.Orientation;
    EXPECT_TRUE(c.Cell.adjusted(-1, -1, 1, 1).contains(ink))
        << c.Orientation << ": ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
        << ink.height();
    // The ink fills most of the cell's long side.
    const int along = c.Orientation == 0 ? ink.width() : ink.height();
    EXPECT_GT(along, w * 3 / 4) << c.Orientation;
  }

  // With a solid brush the whole text cell takes the brush colour first.
  TBitmap bitmap(120, 40);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font().FHeight = -14;
  canvas.Brush().FColor = clYellow;
  canvas.TextOut(10, 10, "Wide text");
  EXPECT_EQ(canvas.Pixel(10, 10), clYellow);
  EXPECT_EQ(canvas.Pixel(10 + w - 1, 10 + h - 1), clYellow);
  EXPECT_EQ(canvas.Pixel(10 + w, 10 + h), clWhite);
  EXPECT_EQ(canvas.PenPos(), QPoint(10 + w, 10));
}

TEST(Canvas, ImagesCopyStretchAndKeepTheirTransparentColour) {
  QImage source(2, 2, QImage::Format_RGB32);
  source.setPixel(0, 0, qRgb(255, 0, 0));
  source.setPixel(1, 0, qRgb(0, 255, 0));
  source.setPixel(0, 1, qRgb(0, 0, 255));
  source.setPixel(1, 1, qRgb(255, 255, 255));

  TBitmap bitmap(10, 10);
  TCanvas& canvas = bitmap.Canvas();
  canvas.StretchDraw(0, 0, 4, 4, source);
  EXPECT_EQ(canvas.Pixel(1, 1), clRed);
  EXPECT_EQ(canvas.Pixel(2, 1), clLime);
  EXPECT_EQ(canvas.Pixel(1, 3), clBlue);

  // A copy within the same image reads the pixels as they were.
  canvas.CopyRect(2, 0, 6, 4, bitmap.Image(), 0, 0, 4, 4);
  EXPECT_EQ(canvas.Pixel(2, 0), clRed);
  EXPECT_EQ(canvas.Pixel(4, 0), clLime);
  EXPECT_EQ(canvas.Pixel(0, 0), clRed);

  TBitmap keyed(4, 4);
  keyed.Canvas().Brush().FColor = clBlack;
  keyed.Canvas().FillRect(0, 0, 4, 4);
  keyed.Canvas().DrawTransparent(0, 0, source, clWhite);
  EXPECT_EQ(keyed.Canvas().Pixel(0, 0), clRed);
  EXPECT_EQ(keyed.Canvas().Pixel(1, 1), clBlack);  // the white pixel let black through

  canvas.SetPixel(9, 9, clFuchsia);
  EXPECT_EQ(canvas.Pixel(9, 9), clFuchsia);
  EXPECT_EQ(canvas.Pixel(10, 9), clBlack);  // outside
  EXPECT_EQ(canvas.Pixel(-1, 0), clBlack);
}

TEST(Bitmap, ResizingKeepsPixelsAndRefusesAbsurdSizes) {
  TBitmap bitmap(4, 4);
  bitmap.Canvas().Brush().FColor = clRed;
  bitmap.Canvas().FillRect(0, 0, 4, 4);
  bitmap.SetSize(6, 3);
  EXPECT_EQ(bitmap.Canvas().Pixel(3, 2), clRed);
  EXPECT_EQ(bitmap.Canvas().Pixel(5, 0), clWhite);

  for (auto [w, h] : {std::pair{-5, 10}, {10, 0}, {32767, 32767}, {INT_MAX, INT_MAX}}) {
    bitmap.SetSize(w, h);
    EXPECT_TRUE(bitmap.Empty()) << w << "x" << h;
    bitmap.Canvas().FillRect(0, 0, 10, 10);  // drawing on nothing does nothing
    bitmap.Canvas().TextOut(0, 0, "x");
  }
}
