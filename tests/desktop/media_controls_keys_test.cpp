// The media button bar from the keyboard: which button Left, Right and Space
// reach, with the extra button shown or left out, and disabled buttons.

#include <gtest/gtest.h>

#include <QImage>
#include <QtTest/QTest>
#include <vector>

#include "players/media_controls.h"

namespace vork {
namespace {

std::vector<int> Press(TVkMediaControls& bar, const std::vector<Qt::Key>& keys) {
  std::vector<int> clicked;
  bar.OnButtonClick = [&clicked](TVkMediaControls*, int button) { clicked.push_back(button); };
  for (Qt::Key key : keys) QTest::keyClick(&bar, key);
  bar.OnButtonClick = nullptr;
  return clicked;
}

TEST(MediaControlsKeys, ArrowsMoveAmongTheShownButtonsAndSpacePressesTheCurrentOne) {
  TVkMediaControls bar;
  bar.SetStrip(QImage(6 * 20, 3 * 16, QImage::Format_RGB32));
  EXPECT_EQ(bar.focusPolicy(), Qt::TabFocus);
  using K = Qt::Key;
  EXPECT_EQ(Press(bar, {K::Key_Space}), std::vector<int>{0});
  EXPECT_EQ(Press(bar, {K::Key_Left, K::Key_Return}), std::vector<int>{0});
  EXPECT_EQ(Press(bar, {K::Key_Right, K::Key_Space}), std::vector<int>{1});
  for (int i = 0; i < 8; ++i) QTest::keyClick(&bar, Qt::Key_Right);
  EXPECT_EQ(bar.CurrentButton(), 5);

  // Without the extra button the keyboard steps over it, and a bar that
  // loses it while it is current moves back to play.
  bar.SetShowExtra(false);
  EXPECT_EQ(Press(bar, {K::Key_Left, K::Key_Left, K::Key_Left, K::Key_Space}),
            std::vector<int>{2});
  EXPECT_EQ(Press(bar, {K::Key_Left, K::Key_Right, K::Key_Space}), std::vector<int>{2});
  EXPECT_EQ(Press(bar, {K::Key_Left, K::Key_Space}), std::vector<int>{0});
  bar.SetShowExtra(true);
  Press(bar, {K::Key_Left, K::Key_Left, K::Key_Right});
  EXPECT_EQ(bar.CurrentButton(), 1);
  bar.SetShowExtra(false);
  EXPECT_EQ(bar.CurrentButton(), 0);

  // A disabled button does nothing.
  bar.SetState(0, TVkMediaControls::kDisabled);
  EXPECT_TRUE(Press(bar, {K::Key_Space}).empty());
}

TEST(MediaControlsKeys, TheExtraButtonRunsItsOwnRoutineFromTheKeyboardToo) {
  TVkMediaControls bar;
  bar.SetStrip(QImage(6 * 20, 3 * 16, QImage::Format_RGB32));
  int extra = 0;
  bar.OnExtraClick = [&extra](TVkMediaControls*) { ++extra; };
  EXPECT_EQ(Press(bar, {Qt::Key_Right, Qt::Key_Space}), std::vector<int>{1});
  EXPECT_EQ(extra, 1);
}

}  // namespace
}  // namespace vork
