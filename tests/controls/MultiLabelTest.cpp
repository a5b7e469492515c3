#include "Bitmap.h"
#include "MultiLabel.h"

#include <gtest/gtest.h>

#include <QTest>

#include <cmath>
#include <limits>

namespace {

class MultiLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FParent.resize(1000, 600);
    FBox = new TMultiLabel(&FParent);
    FBox->SetStyle(pbsDrag);
    FBox->SetTransparent(true);
    FParent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FParent));
  }

  // Two rows whose cells are 40 and 30 pixels wide and 13 high.
  void TwoRows() {
    FBox->SetNumLabels(2);
    for (int row = 0; row < 2; ++row) {
      FBox->Label(row, 0)->resize(40, 13);
      FBox->Label(row, 1)->resize(30, 13);
    }
  }

  QWidget FParent;
  TMultiLabel* FBox = nullptr;
};

QImage Icon16(TColor color) {
  QImage icon(16, 16, QImage::Format_RGB32);
  icon.fill(ToQColor(color));
  return icon;
}

}  // namespace

TEST_F(MultiLabelTest, RowsAreArrangedAndTheBoxSizedAroundThem) {
  FBox->CheckLabels();
  EXPECT_EQ(FBox->size(), QSize(0, 2));  // no rows

  TwoRows();
  FBox->CheckLabels();
  EXPECT_EQ(FBox->Label(0, 0)->pos(), QPoint(2, 2));
  EXPECT_EQ(FBox->Label(0, 1)->pos(), QPoint(42, 2));
  EXPECT_EQ(FBox->Label(1, 0)->pos(), QPoint(2, 17));
  EXPECT_EQ(FBox->Label(1, 1)->pos(), QPoint(42, 17));
  EXPECT_EQ(FBox->size(), QSize(74, 33));

  const QImage icon = Icon16(clRed);
  FBox->SetIconImage(&icon, 0);
  FBox->SetIconImage(&icon, 1);
  FBox->CheckLabels();
  EXPECT_EQ(FBox->Label(0, 0)->x(), 20);
  EXPECT_EQ(FBox->Label(1, 1)->x(), 60);
  EXPECT_EQ(FBox->width(), 92);

  // A row whose cells have no height takes no room.
  FBox->SetNumLabels(3);
  FBox->Label(2, 0)->resize(10, 13);
  FBox->Label(2, 1)->resize(10, 13);
  FBox->Label(0, 0)->resize(40, 0);
  FBox->Label(0, 1)->resize(30, 0);
  FBox->CheckLabels();
  EXPECT_EQ(FBox->Label(0, 0)->y(), 2);
  EXPECT_EQ(FBox->Label(1, 0)->y(), 2);
  EXPECT_EQ(FBox->Label(2, 0)->y(), 17);
  EXPECT_EQ(FBox->height(), 33);
}

TEST_F(MultiLabelTest, CellsSizeToTheirTextAndPassTheMouseOn) {
  FBox->SetNumLabels(1);
  TLabelCell* cell = FBox->Label(0, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->parent(), FBox);
  TFont font;
  font.FHeight = -12;
  cell->SetFont(font);
  const int space = cell->width();
  EXPECT_GT(space, 0);  // an empty caption measures as a space
  EXPECT_GT(cell->height(), 12);
  cell->SetCaption("R&D 1 Max Power = 120.00");
  TCanvas measure;
  measure.Font() = font;
  EXPECT_EQ(cell->width(), measure.TextWidth("R&D 1 Max Power = 120.00"));

  // The mouse over a cell is the mouse over the box.
  int entered = 0;
  FBox->OnMouseEnter = [&](QObject* sender) {
    EXPECT_EQ(sender, FBox);
    ++entered;
  };
  FBox->CheckLabels();
  FBox->move(100, 100);
  FBox->show();
  QTest::mouseMove(&FParent, FBox->pos() + cell->geometry().center());
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(FBox->Label(0, 2), nullptr);
  EXPECT_EQ(FBox->Label(1, 0), nullptr);
  EXPECT_EQ(FBox->Label(-1, 0), nullptr);
}

TEST_F(MultiLabelTest, RowCountShrinksAndGrowsWithFreshRows) {
  TwoRows();
  const QImage icon = Icon16(clBlue);
  FBox->SetIconImage(&icon, 1);
  FBox->Label(1, 0)->SetCaption("old");
  FBox->SetNumLabels(-3);
  EXPECT_EQ(FBox->NumLabels(), 0);
  EXPECT_TRUE(FBox->findChildren<TLabelCell*>().isEmpty());
  FBox->SetNumLabels(2);
  EXPECT_EQ(FBox->NumLabels(), 2);
  EXPECT_EQ(FBox->GetIconImage(1), nullptr);
  EXPECT_EQ(FBox->Label(1, 0)->Caption(), "");
  EXPECT_EQ(FBox->findChildren<TLabelCell*>().size(), 4);

  FBox->SetIconImage(&icon, 0);
  ASSERT_NE(FBox->GetIconImage(0), nullptr);
  EXPECT_EQ(*FBox->GetIconImage(0), icon);
  FBox->SetIconImage(nullptr, 0);
  EXPECT_EQ(FBox->GetIconImage(0), nullptr);
  FBox->SetIconImage(&icon, 5);  // outside: ignored
  EXPECT_EQ(FBox->GetIconImage(5), nullptr);
}

TEST_F(MultiLabelTest, PlacedInPercentOfItsReference) {
  FBox->SetXPercent(25);
  FBox->SetYPercent(50);
  FBox->SetRect(QRect(100, 50, 400, 200));  // (100, 50, 500, 250)
  EXPECT_EQ(FBox->pos(), QPoint(200, 150));
  FBox->SetRect(QRect(100, 50, 800, 400));  // (100, 50, 900, 450)
  EXPECT_EQ(FBox->pos(), QPoint(300, 250));

  // Stored percentages that are no numbers, or far off, leave the box where it can be seen.
  FBox->SetXPercent(std::numeric_limits<float>::quiet_NaN());
  FBox->SetYPercent(1e30f);
  FBox->SetRect(QRect(100, 50, 800, 400));
  EXPECT_EQ(FBox->pos(), QPoint(300, 599));
}

TEST_F(MultiLabelTest, DraggingRecordsTheNewPlaceInPercent) {
  TwoRows();
  FBox->CheckLabels();
  FBox->SetXPercent(0);
  FBox->SetYPercent(0);
  FBox->SetRect(QRect(100, 50, 400, 200));
  ASSERT_EQ(FBox->pos(), QPoint(100, 50));
  bool moved = false;
  FBox->OnEndDrag = [&](QObject*, QObject*, int x, int y) {
    moved = true;
    EXPECT_EQ(QPoint(x, y), QPoint(300, 150));
  };
  QTest::mousePress(FBox, Qt::LeftButton, Qt::NoModifier, {5, 5});
  QTest::mouseMove(FBox, {205, 105});
  QTest::mouseRelease(FBox, Qt::LeftButton, Qt::NoModifier, {205, 105});
  EXPECT_TRUE(moved);
  EXPECT_FLOAT_EQ(FBox->XPercent(), 50.0f);
  EXPECT_FLOAT_EQ(FBox->YPercent(), 50.0f);

  // Without a reference the parent's client area is the reference.
  FBox->SetRect(QRect(0, 0, 0, 0));
  ASSERT_EQ(FBox->pos(), QPoint(0, 0));
  FBox->OnEndDrag = nullptr;
  QTest::mousePress(FBox, Qt::LeftButton, Qt::NoModifier, {5, 5});
  QTest::mouseMove(FBox, {105, 5});
  QTest::mouseRelease(FBox, Qt::LeftButton, Qt::NoModifier, {105, 5});
  EXPECT_EQ(FBox->RefRect(), FParent.rect());
  EXPECT_FLOAT_EQ(FBox->XPercent(), 10.0f);
  EXPECT_FLOAT_EQ(FBox->YPercent(), 0.0f);

  // A reference without width or height keeps the percentages.
  FBox->SetRect(QRect(10, 10, 0, 0));
  QTest::mousePress(FBox, Qt::LeftButton, Qt::NoModifier, {5, 5});
  QTest::mouseRelease(FBox, Qt::LeftButton, Qt::NoModifier, {5, 5});
  EXPECT_FLOAT_EQ(FBox->XPercent(), 10.0f);
  EXPECT_FLOAT_EQ(FBox->YPercent(), 0.0f);
}

TEST_F(MultiLabelTest, IconsArePaintedBesideTheirRows) {
  TwoRows();
  const QImage red = Icon16(clRed), blue = Icon16(clBlue);
  FBox->SetIconImage(&red, 0);
  FBox->SetIconImage(&blue, 1);
  FBox->CheckLabels();
  FBox->move(10, 20);
  TBitmap page(200, 100);
  FBox->PaintToCanvas(page.Canvas());
  EXPECT_EQ(page.Canvas().Pixel(10 + 2, 20 + 2), clRed);
  EXPECT_EQ(page.Canvas().Pixel(10 + 17, 20 + 16), clRed);
  EXPECT_EQ(page.Canvas().Pixel(10 + 2, 20 + 17 + 13), clBlue);
  EXPECT_EQ(page.Canvas().Pixel(10 + 1, 20 + 1), clWhite);  // transparent box
}
