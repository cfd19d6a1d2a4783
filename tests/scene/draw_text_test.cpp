// Drawn text: lines cut at "<BR>", where alignment and offsets put each
// line, the background cells of an opaque text, the drop shadow, and the
// clipping to the rectangle. Positions are read from the pixels: an opaque
// text's background cell marks exactly where its line was put.

#include "scene/draw_text.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <set>

#include "scene/stage_fixture.h"

namespace vork {
namespace {

constexpr QRgb kCanvas = 0xFF202020;
constexpr int32_t kRedWord = 0x0000FF;  // Windows colour words
constexpr int32_t kBlueWord = 0xFF0000;
constexpr int32_t kWhiteWord = 0xFFFFFF;

QImage Render(const TDrawText& text, QSize size, QRect rect = {}) {
  QImage canvas(size, QImage::Format_RGB32);
  canvas.fill(kCanvas);
  QPainter painter(&canvas);
  text.Draw(painter, rect.isNull() ? canvas.rect() : rect);
  return canvas;
}

// The bounding box of the pixels that are not the canvas colour.
QRect Painted(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != kCanvas) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

QFontMetrics MetricsOf(const TDrawText& text) {
  static const QImage canvas(1, 1, QImage::Format_RGB32);
  return QFontMetrics(text.DrawnFont(), &canvas);
}

int LineHeight(const TDrawText& text) { return MetricsOf(text).height(); }
int Advance(const TDrawText& text, const char* line) { return MetricsOf(text).horizontalAdvance(line); }

// An opaque text on a red background, so that its cells show.
void MakeOpaque(TDrawText& text, std::string_view content) {
  text.SetText(content);
  text.SetBackColor(kRedWord);
  text.SetOpaque(true);
}

TEST(CaptionLines, CutAtEveryLineBreakMarker) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitCaptionLines(""), Lines{});
  EXPECT_EQ(SplitCaptionLines("a"), Lines{"a"});
  EXPECT_EQ(SplitCaptionLines("a<BR>b"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitCaptionLines("a<BR>"), (Lines{"a", ""}));
  EXPECT_EQ(SplitCaptionLines("<BR><BR>"), (Lines{"", "", ""}));
  EXPECT_EQ(SplitCaptionLines("a<BR<BR>>"), (Lines{"a<BR", ">"}));
}

TEST(DrawText, HorizontalAlignmentPutsTheLineCell) {
  TDrawText text;
  MakeOpaque(text, "Mill");
  const int width = text.TextWidth();
  ASSERT_GT(width, 10);
  const int h = LineHeight(text);
  struct Case {
    int32_t align;
    int32_t offset;
    int left;
  };
  const Case cases[] = {
      {TCustomDrawText::kAlignLeft, 7, 7},
      {TCustomDrawText::kAlignLeft, -7, 0},  // a negative base stops at the edge
      {TCustomDrawText::kAlignRight, 5, 200 - 5 - width},
      {TCustomDrawText::kAlignCenter, 3, 100 + 3 - width / 2},
  };
  for (const Case& c : cases) {
    text.SetHAlign(c.align);
    text.SetXOffset(c.offset);
    EXPECT_EQ(Painted(Render(text, {200, 40})), QRect(c.left, 0, width, h))
        << "align " << c.align << " offset " << c.offset;
  }
}

TEST(DrawText, VerticalAlignmentCountsLinesAndShadow) {
  TDrawText text;
  MakeOpaque(text, "Mill<BR>");  // two lines, the second empty
  const int h = LineHeight(text);
  const int width = Advance(text, "Mill");
  struct Case {
    int32_t align;
    int32_t offset;
    int32_t shadow_y;
    int top;
  };
  const Case cases[] = {
      {TCustomDrawText::kAlignTop, 4, 0, 4},
      {TCustomDrawText::kAlignBottom, 3, 0, 100 - 3 - 2 * h},
      {TCustomDrawText::kAlignMiddle, 0, 0, (100 - 2 * h) / 2},
      {TCustomDrawText::kAlignMiddle, 5, 0, (100 - 2 * h) / 2 + 5},
      // The shadow's height belongs to the block, whichever way it points.
      {TCustomDrawText::kAlignBottom, 0, -4, 100 - 2 * h - 4},
  };
  for (const Case& c : cases) {
    text.SetVAlign(c.align);
    text.SetYOffset(c.offset);
    text.SetShadowY(c.shadow_y);
    const QImage image = Render(text, {60, 100});
    // The empty second line has an empty cell: only the first one shows.
    if (c.shadow_y == 0) {
      EXPECT_EQ(Painted(image), QRect(0, c.top, width, h)) << "align " << c.align << " offset " << c.offset;
    } else {
      // The shadow's cell, drawn first 4 pixels higher, shows above the
      // main one.
      EXPECT_EQ(Painted(image), QRect(0, c.top + c.shadow_y, width, h - c.shadow_y));
    }
  }
}

TEST(DrawText, LinesStackAtTheLineHeight) {
  TDrawText text;
  MakeOpaque(text, "i<BR>Mill");
  text.SetHAlign(TCustomDrawText::kAlignRight);
  const int h = LineHeight(text);
  const QImage image = Render(text, {100, 100});
  const int wide = Advance(text, "Mill");
  // Each line ends at the right edge; the narrow first line leaves the
  // left part of the first line's height bare.
  EXPECT_EQ(Painted(image), QRect(100 - wide, 0, wide, 2 * h));
  EXPECT_EQ(image.pixel(100 - wide, 0), kCanvas);
  EXPECT_EQ(image.pixel(100 - wide, h), qRgb(255, 0, 0));
}

TEST(DrawText, ShadowIsTheTextMovedByItsOffsetUnderTheText) {
  TDrawText text;
  text.SetText("Sh");
  text.Font().SetSize(14);
  text.SetXOffset(3);
  text.SetYOffset(3);
  const QImage plain = Render(text, {80, 40});
  std::set<std::pair<int, int>> glyph;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 80; ++x) {
      if (plain.pixel(x, y) == kCanvas) continue;
      ASSERT_EQ(plain.pixel(x, y), 0xFFFFFFFFu) << "only whole white pixels, no smoothing";
      glyph.insert({x, y});
    }
  }
  ASSERT_FALSE(glyph.empty());

  text.SetShadowColor(kBlueWord);
  text.SetShadowX(2);
  text.SetShadowY(1);
  const QImage shadowed = Render(text, {80, 40});
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 80; ++x) {
      QRgb expected = kCanvas;
      if (glyph.count({x - 2, y - 1})) expected = qRgb(0, 0, 255);
      if (glyph.count({x, y})) expected = qRgb(255, 255, 255);
      ASSERT_EQ(shadowed.pixel(x, y), expected) << x << ", " << y;
    }
  }
}

TEST(DrawText, DrawsOnlyInsideItsRectangle) {
  TDrawText text;
  MakeOpaque(text, "Millimetre");
  text.SetHAlign(TCustomDrawText::kAlignCenter);
  const QRect rect(10, 5, 20, 8);
  EXPECT_EQ(Painted(Render(text, {60, 30}, rect)), rect);
  // A text without lines draws nothing, even opaque.
  text.SetText("");
  EXPECT_TRUE(Painted(Render(text, {60, 30})).isNull());
}

TEST(DrawText, EveryChangeIsAnnounced) {
  TDrawText text;
  int changes = 0;
  text.OnChange = [&] { ++changes; };
  text.SetText("a");
  text.SetHAlign(1);
  text.SetShadowX(1);
  text.Font().SetColor(kWhiteWord + 1);
  text.Font().SetName("Courier New");
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(text.DrawnFont().family(), "Liberation Mono");
}

}  // namespace
}  // namespace vork
