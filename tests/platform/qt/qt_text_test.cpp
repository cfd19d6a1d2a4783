#include "platform/qt/qt_text.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(QtText, CourseTextCrossesTheQtBoundaryUnchanged) {
  std::string all;
  for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(FromQString(ToQString(all)), all);
  EXPECT_EQ(ToQString("Gr\xFC\xDF" "e \x80"), QString::fromUtf8("Grüße €"));
  EXPECT_EQ(FromQString(QString::fromUtf8("Grüße € 日")), "Gr\xFC\xDF" "e \x80 ?");
}

}  // namespace
}  // namespace vork
