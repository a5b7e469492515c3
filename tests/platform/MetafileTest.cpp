#include "Bitmap.h"
#include "Metafile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The same drawing for every target: a frame, a filled block and a diagonal.
void DrawSample(TCanvas& canvas) {
  canvas.Brush().FColor = clBlue;
  canvas.FillRect(10, 10, 30, 20);
  canvas.Brush().FStyle = bsClear;
  canvas.Pen().FColor = clRed;
  canvas.Rectangle(0, 0, 100, 50);
  canvas.MoveTo(40, 10);
  canvas.LineTo(90, 40);
}

std::string Head(const std::filesystem::path& file, std::size_t n) {
  std::ifstream in(file, std::ios::binary);
  std::string text(n, '\0');
  in.read(text.data(), static_cast<std::streamsize>(n));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

}  // namespace

TEST(Metafile, ReplaysLikeDirectDrawingAtAnyScale) {
  TMetafile metafile(100, 50);
  DrawSample(metafile.Canvas());
  TBitmap direct(100, 50);
  DrawSample(direct.Canvas());
  EXPECT_EQ(metafile.ToImage(100, 50), direct.Image());

  // Twice the size: every recorded pixel becomes a 2 × 2 block.
  const QImage twice = metafile.ToImage(200, 100);
  ASSERT_EQ(twice.size(), QSize(200, 100));
  EXPECT_EQ(FromQColor(twice.pixel(20, 20)), clBlue);
  EXPECT_EQ(FromQColor(twice.pixel(59, 39)), clBlue);
  EXPECT_EQ(FromQColor(twice.pixel(60, 40)), clWhite);
  int red = 0;  // the right edge of the frame, two pixels wide now
  for (int x = 190; x < 200; ++x)
    red += FromQColor(twice.pixel(x, 50)) == clRed;
  EXPECT_EQ(red, 2);

  // Stretched into part of another canvas.
  TBitmap page(300, 300);
  page.Canvas().StretchDraw(100, 100, 150, 125, metafile);
  EXPECT_EQ(page.Canvas().Pixel(107, 107), clBlue);
  EXPECT_EQ(page.Canvas().Pixel(99, 99), clWhite);
}

TEST(Metafile, RecordingContinuesAfterItWasRead) {
  TMetafile metafile(20, 20);
  metafile.Canvas().Brush().FColor = clRed;
  metafile.Canvas().FillRect(0, 0, 10, 10);
  EXPECT_FALSE(metafile.Picture().isNull());
  metafile.Canvas().FillRect(10, 10, 20, 20);
  const QImage image = metafile.ToImage(20, 20);
  EXPECT_EQ(FromQColor(image.pixel(5, 5)), clRed);
  EXPECT_EQ(FromQColor(image.pixel(15, 15)), clRed);
  EXPECT_EQ(FromQColor(image.pixel(15, 5)), clWhite);
}

TEST(Metafile, SvgAndPdfFilesAreWritten) {
  tw_test::TTempDir dir;
  TMetafile metafile(100, 50);
  DrawSample(metafile.Canvas());
  metafile.Canvas().Font().FHeight = -12;
  metafile.Canvas().TextOut(5, 30, "Power");

  ASSERT_TRUE(metafile.SaveToSvg(QString::fromStdString((dir / "graph.svg").string()), "Runs"));
  const std::string svg = Head(dir / "graph.svg", 4096);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 100 50\""), std::string::npos);
  EXPECT_NE(svg.find("<title>Runs</title>"), std::string::npos);

  ASSERT_TRUE(metafile.SaveToPdf(QString::fromStdString((dir / "graph.pdf").string()), "Runs"));
  EXPECT_EQ(Head(dir / "graph.pdf", 5), "%PDF-");
  EXPECT_GT(std::filesystem::file_size(dir / "graph.pdf"), 500u);
}

TEST(Metafile, FailedExportsLeaveFilesAlone) {
  tw_test::TTempDir dir;
  TMetafile metafile(100, 50);
  DrawSample(metafile.Canvas());
  EXPECT_FALSE(metafile.SaveToSvg(QString::fromStdString((dir / "no" / "such.svg").string())));
  std::filesystem::create_directories(dir / "folder.pdf");
  EXPECT_FALSE(metafile.SaveToPdf(QString::fromStdString((dir / "folder.pdf").string())));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.pdf"));

  { std::ofstream(dir / "old.svg") << "kept"; }
  TMetafile empty(0, 50);
  EXPECT_FALSE(empty.SaveToSvg(QString::fromStdString((dir / "old.svg").string())));
  EXPECT_EQ(Head(dir / "old.svg", 10), "kept");
  EXPECT_TRUE(empty.ToImage(10, 10).isNull() ||
              FromQColor(empty.ToImage(10, 10).pixel(0, 0)) == clWhite);
}
