#include "Bitmap.h"
#include "PanelButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

// A shown parent window with one button at (50, 50), 100 × 30, recording its events.
class PanelButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FParent.resize(300, 200);
    FButton = new TPanelButton(&FParent);
    FButton->setGeometry(50, 50, 100, 30);
    FButton->SetCaption("Speed");
    FButton->OnClick = [this](QObject* sender) {
      EXPECT_EQ(sender, FButton);
      FEvents.push_back("click");
    };
    FButton->OnMouseEnter = [this](QObject*) { FEvents.push_back("enter"); };
    FButton->OnMouseExit = [this](QObject*) { FEvents.push_back("exit"); };
    FParent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FParent));
  }

  void Press(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QTest::mousePress(FButton, Qt::LeftButton, keys, at);
  }
  void Release(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QTest::mouseRelease(FButton, Qt::LeftButton, keys, at);
  }
  void Click(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Press(at, keys);
    Release(at, keys);
  }
  // A move as the window system reports it to the button.
  void Move(QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), FButton->mapToGlobal(QPointF(at)),
                     Qt::NoButton, QApplication::mouseButtons(), Qt::NoModifier);
    QApplication::sendEvent(FButton, &move);
  }

  QWidget FParent;
  TPanelButton* FButton = nullptr;
  std::vector<std::string> FEvents;
};

using Events = std::vector<std::string>;

// Pixel colour of a widget's own painting.
TColor PixelOf(QWidget& widget, int x, int y) {
  return FromQColor(widget.grab().toImage().pixelColor(x, y));
}

}  // namespace

TEST(PanelButtonCaption, PlacementFollowsTheLayoutAngles) {
  struct TCase {
    int Orientation;
    int Width, Height;  // button
    QPoint Origin;
    int ExtentWidth, ExtentHeight;
  };
  // A caption 60 pixels wide and 13 high.
  const TCase cases[] = {
      {0, 100, 20, {20, 3}, 60, 13},
      {900, 20, 100, {3, 79}, 13, 60},    // starts low, reads upwards
      {905, 20, 100, {3, 79}, 13, 60},    // tenths of a degree do not count
      {2700, 20, 100, {16, 20}, 13, 60},  // starts high, reads downwards
      {450, 100, 100, {24, 66}, 51, 51},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(CaptionOrigin(c.Width, c.Height, 60, 13, c.Orientation), c.Origin) << c.Orientation;
    EXPECT_EQ(CaptionExtentWidth(60, 13, c.Orientation), c.ExtentWidth) << c.Orientation;
    EXPECT_EQ(CaptionExtentHeight(60, 13, c.Orientation), c.ExtentHeight) << c.Orientation;
  }
}

TEST_F(PanelButtonTest, HoverRaisesAndAClickInsideEndsFlat) {
  EXPECT_EQ(FButton->BevelOuter(), bvNone);
  Move({10, 10});
  Move({20, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvRaised);
  EXPECT_TRUE(FButton->MouseIn());
  Press({20, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvLowered);
  Move({200, 10});  // dragged off while held: raised again
  EXPECT_EQ(FButton->BevelOuter(), bvRaised);
  Move({20, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvLowered);
  Release({20, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvNone);
  EXPECT_FALSE(FButton->Pressed());
  Move({30, 10});  // the next move is a new entry
  Move({-1, 10});  // and a move outside ends it
  EXPECT_EQ(FEvents, (Events{"enter", "click", "enter", "exit"}));
  EXPECT_EQ(FButton->BevelOuter(), bvNone);
}

TEST_F(PanelButtonTest, ReleasesOnTheEdgeOrOutsideClickWithoutEffects) {
  QMenu menu;
  menu.addAction("Power");
  struct TCase {
    TPanelButtonStyle Style;
    QPoint Release;
    bool Down, MenuShown;
  };
  const TCase cases[] = {
      {pbsCheck, {20, 10}, true, false},    {pbsCheck, {0, 10}, false, false},
      {pbsCheck, {20, 0}, false, false},    {pbsCheck, {100, 10}, false, false},
      {pbsCheck, {250, 100}, false, false}, {pbsDropDown, {20, 10}, false, true},
      {pbsDropDown, {0, 10}, false, false}, {pbsDropDown, {20, 30}, false, false},
  };
  for (const TCase& c : cases) {
    FEvents.clear();
    FButton->SetDown(false);
    FButton->SetStyle(c.Style);
    FButton->SetDropdownMenu(&menu);
    Press({20, 10});
    Release(c.Release);
    EXPECT_EQ(FEvents, Events{"click"}) << c.Style << " " << c.Release.x() << "," << c.Release.y();
    EXPECT_EQ(FButton->Down(), c.Down) << c.Style << " " << c.Release.x();
    EXPECT_EQ(menu.isVisible(), c.MenuShown) << c.Style << " " << c.Release.x();
    menu.hide();
  }
}

TEST_F(PanelButtonTest, CtrlClickNeedsTheCtrlKeyAlone) {
  int ctrlClicks = 0;
  Click({20, 10}, Qt::ControlModifier);  // no Ctrl-click handler: a plain click
  FButton->OnCtrlClick = [&](QObject*) { ++ctrlClicks; };
  Click({20, 10}, Qt::ControlModifier);
  Click({20, 10}, Qt::ControlModifier | Qt::ShiftModifier);
  Click({20, 10}, Qt::ShiftModifier);
  // Ctrl with the right mouse button still held is not a Ctrl click either.
  Press({20, 10}, Qt::ControlModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(20, 10),
                      FButton->mapToGlobal(QPointF(20, 10)), Qt::LeftButton, Qt::RightButton,
                      Qt::ControlModifier);
  QApplication::sendEvent(FButton, &release);
  EXPECT_EQ(ctrlClicks, 1);
  EXPECT_EQ(FEvents, (Events{"click", "click", "click", "click"}));
}

TEST_F(PanelButtonTest, DownButtonStaysLoweredAndIgnoresReleasesOutside) {
  FButton->SetStyle(pbsCodeControl);
  FButton->SetDown(true);
  Move({20, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvLowered);
  Move({-5, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvLowered);
  Press({20, 10});
  Release({150, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvLowered);
  Click({20, 10});
  EXPECT_EQ(FButton->BevelOuter(), bvLowered);
  EXPECT_EQ(FEvents, (Events{"enter", "exit", "click"}));
}

TEST_F(PanelButtonTest, DisabledButtonIgnoresTheMouseAndShowsTheHatch) {
  FButton->setEnabled(false);
  FButton->SetCaption("");
  Move({20, 10});
  Click({20, 10});
  EXPECT_TRUE(FEvents.empty());
  EXPECT_EQ(FButton->BevelOuter(), bvNone);

  // The hatch is white on dark faces and near-black on light ones; the face shows between.
  struct TCase {
    TColor Face, Hatch;
  };
  for (const TCase& c : {TCase{clNavy, clWhite}, TCase{clSilver, 0x0A0A0A}}) {
    FButton->SetColor(c.Face);
    const QImage image = FButton->grab().toImage();
    int face = 0, hatch = 0, other = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const TColor pixel = FromQColor(image.pixelColor(x, y));
        (pixel == c.Face ? face : pixel == c.Hatch ? hatch : other)++;
      }
    }
    EXPECT_GT(hatch, 100) << std::hex << c.Face;
    EXPECT_GT(face, 100) << std::hex << c.Face;
    EXPECT_EQ(other, 0) << std::hex << c.Face;
  }
  EXPECT_EQ(GrayScale(RGBColor(127, 127, 128)), 127);
  EXPECT_EQ(GrayScale(clBtnFace), GrayScale(ColorToRGB(clBtnFace)));
}

TEST_F(PanelButtonTest, DragStyleMovesTheButtonWithinItsParent) {
  FButton->SetStyle(pbsDrag);
  std::vector<QPoint> ends;
  FButton->OnStartDrag = [&](QObject*) { FEvents.push_back("start"); };
  FButton->OnEndDrag = [&](QObject* sender, QObject* target, int x, int y) {
    EXPECT_EQ(sender, FButton);
    EXPECT_EQ(target, &FParent);
    ends.push_back({x, y});
  };
  Press({10, 5});
  QTest::mouseMove(FButton, {40, 25});
  EXPECT_EQ(FButton->pos(), QPoint(80, 70));
  Release({40, 25});
  EXPECT_EQ(FButton->pos(), QPoint(80, 70));

  // Far beyond the parent: the point that was taken stays over the parent.
  Press({10, 5});
  QTest::mouseMove(FButton, {1000, -500});
  Release({1000, -500});
  EXPECT_EQ(FButton->pos(), QPoint(299 - 10, 0 - 5));
  EXPECT_EQ(ends, (std::vector<QPoint>{{80, 70}, {289, -5}}));
  EXPECT_EQ(FEvents, (Events{"start", "start"}));  // no clicks
  EXPECT_TRUE(FButton->MouseIn());
}

TEST_F(PanelButtonTest, RightClickOpensThePopupMenu) {
  QMenu menu;
  menu.addAction("Close");
  int rightClicks = 0;
  FButton->OnRightClick = [&](QObject*) { ++rightClicks; };
  QTest::mouseClick(FButton, Qt::RightButton, Qt::NoModifier, {20, 10});
  EXPECT_EQ(rightClicks, 1);
  EXPECT_FALSE(menu.isVisible());
  FButton->SetPopupMenu(&menu);
  QTest::mouseClick(FButton, Qt::RightButton, Qt::NoModifier, {20, 10});
  EXPECT_EQ(rightClicks, 2);
  EXPECT_TRUE(menu.isVisible());
  menu.hide();
  EXPECT_TRUE(FEvents.empty());
}

TEST_F(PanelButtonTest, BevelsFaceAndCaptionArePainted) {
  FButton->SetColor(clWhite);
  FButton->SetBevelOuter(bvRaised);
  EXPECT_EQ(PixelOf(*FButton, 0, 0), 0xF0F0F0u);
  EXPECT_EQ(PixelOf(*FButton, 99, 29), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(*FButton, 1, 1), clWhite);
  FButton->SetDown(true);
  EXPECT_EQ(PixelOf(*FButton, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(*FButton, 99, 29), ColorToRGB(clBtnHighlight));

  // Onto another canvas at the button's place; transparent, so the background stays.
  FButton->SetDown(false);
  FButton->SetBevelOuter(bvNone);
  FButton->SetTransparent(true);
  FButton->setGeometry(10, 10, 30, 100);
  FButton->SetOrientation(900);
  TBitmap page(60, 130);
  page.Canvas().Brush().FColor = clYellow;
  page.Canvas().FillRect(0, 0, 60, 130);
  FButton->PaintToCanvas(page.Canvas());
  int ink = 0;
  QRect inked;
  for (int y = 0; y < 130; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (page.Canvas().Pixel(x, y) == clYellow) continue;
      ++ink;
      inked |= QRect(x, y, 1, 1);
    }
  }
  EXPECT_GT(ink, 20);
  // Upright text turned a quarter: taller than wide, inside the button, about centred.
  EXPECT_GT(inked.height(), inked.width());
  EXPECT_TRUE(QRect(10, 10, 30, 100).contains(inked));
  EXPECT_NEAR(inked.center().y(), 60, 4);
  // The turned extents that size axis buttons: the caption's width runs upwards now.
  EXPECT_NEAR(FButton->CaptionHeight(), inked.height(), 4);
  EXPECT_NEAR(FButton->CaptionWidth(), inked.width(), 5);
}
