// The tool bar pictures: every index the tool bar uses has a picture of its own in both sizes.

#include "ToolbarIcons.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const int kUsed[] = {tiZoom,      tiOneGraph,  tiTwoGraphs, tiThreeGraphs, tiPan,
                     tiPointMode, tiRemoveAll, tiRescale,   tiOpen};

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      count += qAlpha(image.pixel(x, y)) > 0;
  return count;
}

}  // namespace

TEST(ToolbarIconsTest, EveryUsedIndexHasItsOwnPictureInBothSizes) {
  for (const int size : {16, 24}) {
    std::vector<QImage> seen;
    for (const int index : kUsed) {
      SCOPED_TRACE(testing::Message() << "size " << size << " index " << index);
      const QImage image = ToolbarPixmap(index, size).toImage();
      ASSERT_EQ(image.size(), QSize(size, size));
      // Drawn, and leaving some of the square clear so it sits on any tool bar.
      const int opaque = OpaquePixels(image);
      EXPECT_GT(opaque, size * size / 8);
      EXPECT_LT(opaque, size * size);
      for (const QImage& other : seen)
        EXPECT_NE(image, other);
      seen.push_back(image);
    }
  }
}

TEST(ToolbarIconsTest, SizesAndIndexesOutsideTheSetsStayHarmless) {
  EXPECT_EQ(ToolbarImageSize(16), 16);
  for (const int size : {24, 20, 0, -16, 100000})
    EXPECT_EQ(ToolbarImageSize(size), 24);
  EXPECT_EQ(ToolbarPixmap(tiOpen, 20).size(), QSize(24, 24));

  for (const int index : {0, 5, -1, kToolbarImageCount, 1 << 30}) {
    SCOPED_TRACE(index);
    const QImage image = ToolbarPixmap(index, 16).toImage();
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(OpaquePixels(image), 0);
  }
  // A wild pixel ratio is held to a sane one.
  EXPECT_LE(ToolbarPixmap(tiOpen, 24, 1e9).width(), 24 * 4);
  EXPECT_EQ(ToolbarPixmap(tiOpen, 24, -3).width(), 24);
  EXPECT_EQ(ToolbarPixmap(tiOpen, 24, std::nan("")).width(), 24);
}

TEST(ToolbarIconsTest, IconCarriesADoubleResolutionPicture) {
  const QIcon icon = ToolbarIcon(tiZoom, 16);
  ASSERT_FALSE(icon.isNull());
  const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
  EXPECT_EQ(sharp.size(), QSize(32, 32));
  EXPECT_EQ(sharp.toImage(), ToolbarPixmap(tiZoom, 16, 2.0).toImage());
}
