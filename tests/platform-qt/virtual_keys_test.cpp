#include "platform/qt/virtual_keys.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(VirtualKeys, MapQtKeysToWindowsCodes) {
  struct Case { int qt; int vk; } cases[] = {
      {Qt::Key_F1, 112}, {Qt::Key_F12, 123}, {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
      {Qt::Key_A, 65},   {Qt::Key_Z, 90},    {Qt::Key_5, 53},      {Qt::Key_Left, 37},
      {Qt::Key_Escape, 27}, {Qt::Key_NumLock, 144}, {Qt::Key_Space, 32}};
  for (auto c : cases) EXPECT_EQ(VirtualKeyOf(c.qt), c.vk) << c.qt;
  EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown), 0);
}

TEST(VirtualKeys, EveryCodeMapsBackToAKeyWithTheSameCode) {
  for (int vk = 1; vk < 256; ++vk) {
    int qt = QtKeyOf(vk);
    if (qt != 0) {
      EXPECT_EQ(VirtualKeyOf(qt), vk);
    }
  }
  EXPECT_EQ(QtKeyOf(13), Qt::Key_Return);
}

}  // namespace
}  // namespace vork
