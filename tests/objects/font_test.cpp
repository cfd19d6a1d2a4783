// The course font: face names mapped to installed faces, sizes kept within
// what can be drawn, and change notices only for real changes.

#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/qt/font.h"

namespace vork {
namespace {

TEST(FontTest, CourseFaceNamesMapToMetricCompatibleFaces) {
  const std::pair<const char*, const char*> cases[] = {
      {"Arial", "Liberation Sans"},           {"ARIAL", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},   {"Times New Roman", "Liberation Serif"},
      {"courier new", "Liberation Mono"},     {"Liberation Serif", "Liberation Serif"},
      {"Schrift\xFC", "Schrift\xC3\xBC"},     {"Arial ", "Arial "},
  };
  for (auto [course, family] : cases) EXPECT_EQ(FontFamilyFor(course), QString::fromUtf8(family)) << course;
}

TEST(FontTest, MappedFacesAreInstalled) {
  TVkFont font("Courier New", 10, 0);
  EXPECT_EQ(QFontInfo(font.ToQFont()).family(), "Liberation Mono");
  font.SetName("Times New Roman");
  EXPECT_EQ(QFontInfo(font.ToQFont()).family(), "Liberation Serif");
}

TEST(FontTest, DrawnSizeStaysWithinLimitsWhileTheSetSizeReadsBack) {
  TVkFont font;
  for (auto [set, drawn] : {std::pair{0, 1}, {-12, 1}, {1, 1}, {72, 72}, {100000, TVkFont::kMaxDrawnPoints}}) {
    font.SetSize(set);
    EXPECT_EQ(font.Size(), set);
    EXPECT_EQ(font.ToQFont().pointSize(), drawn) << "set " << set;
  }
}

TEST(FontTest, OnlyRealChangesAreAnnounced) {
  TVkFont font;
  int changes = 0;
  font.OnChange = [&] { ++changes; };
  font.SetName("MS Sans Serif");
  font.SetSize(8);
  font.SetStyle(16);  // no style bit among the four
  font.SetColor(0);
  EXPECT_EQ(changes, 0);
  font.SetName("Arial");
  font.SetSize(9);
  font.SetStyle(TVkFont::kBold | 32);
  font.SetColor(static_cast<int32_t>(0x80000008));
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(font.Style(), TVkFont::kBold);
  EXPECT_EQ(font.Color(), static_cast<int32_t>(0x80000008)) << "the colour word reads back whole";
}

}  // namespace
}  // namespace vork
