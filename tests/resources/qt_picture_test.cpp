// Decoded pixels keep their colours in the QImage the stage draws.

#include <gtest/gtest.h>

#include "resources/qt_picture.h"

namespace vork {
namespace {

TEST(ToQImage, KeepsEveryPixelsColourAndPlace) {
  Picture picture{3, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF123456}};
  QImage image = ToQImage(picture);
  ASSERT_EQ(image.width(), 3);
  ASSERT_EQ(image.height(), 2);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(2, 0), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(2, 1), QColor(0x12, 0x34, 0x56));
}

}  // namespace
}  // namespace vork
