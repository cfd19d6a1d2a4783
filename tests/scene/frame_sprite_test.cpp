// Frame sprites: sizes and frame rectangles of picture strips, the pixels
// that frames and both kinds of masks put on the stage, and the hit test.
// Sprites paint into small RGB32 canvases like the stage buffer, and the
// expected pixels are worked out from the two raster operations (AND the
// mask, OR the frame).

#include "scene/frame_sprite.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "platform/errors.h"
#include "scene/stage_fixture.h"

namespace vork {
namespace {

using testing::PixelAt;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// A strip of `frames` frames of width x height, frame k filled with
// colours[k]; a masked strip gets a lower half of the given mask rows.
QImage Strip(int width, int height, const std::vector<QRgb>& colours) {
  QImage picture(width * static_cast<int>(colours.size()), height, QImage::Format_RGB32);
  for (size_t k = 0; k < colours.size(); ++k) {
    QPainter(&picture).fillRect(static_cast<int>(k) * width, 0, width, height, QColor::fromRgb(colours[k]));
  }
  return picture;
}

// A canvas like the stage buffer, every pixel a different colour.
QImage Canvas(int width, int height) {
  QImage canvas(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) canvas.setPixel(x, y, qRgb(x * 9 % 256, y * 13 % 256, (x * y) % 256));
  }
  return canvas;
}

void PaintInto(QImage& canvas, TFrameSprite& sprite, QRect clip) {
  QPainter painter(&canvas);
  painter.setClipRect(clip);
  sprite.Paint(painter, clip);
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVkError& error) {
    return error.what();
  }
  return "no error";
}

TEST(FrameSpriteSize, StripsAndMasksDivideThePicture) {
  TFrameSprite sprite;
  sprite.SetBitmap(Strip(100, 100, {kWhite, kWhite, kWhite}));
  sprite.SetFrameCount(3);
  EXPECT_EQ(sprite.Width(), 100);
  EXPECT_EQ(sprite.Height(), 100);
  EXPECT_EQ(sprite.FrameRect(2), QRect(200, 0, 100, 100));

  sprite.SetMasked(true);
  EXPECT_EQ(sprite.Width(), 100);
  EXPECT_EQ(sprite.Height(), 50);
  EXPECT_EQ(sprite.FrameRect(1), QRect(100, 0, 100, 50));
  EXPECT_EQ(sprite.MaskRect(0), QRect(0, 50, 100, 50));

  // Without a picture the size is the one set, and only that.
  TFrameSprite empty;
  empty.SetBounds(5, 6, 70, 40);
  EXPECT_EQ(empty.BoundsRect(), QRect(5, 6, 70, 40));
  sprite.SetWidth(7);
  EXPECT_EQ(sprite.Width(), 100);
  sprite.SetBitmap(QImage());
  EXPECT_EQ(sprite.Width(), 7);
}

TEST(FrameSpriteFrames, RangeErrorsLeaveTheSpriteAsItWas) {
  TFrameSprite sprite;
  sprite.SetBitmap(Strip(10, 10, {kWhite, kWhite, kWhite, kWhite, kWhite}));
  sprite.SetFrameCount(5);
  sprite.SetFrame(4);
  EXPECT_EQ(ErrorOf([&] { sprite.SetFrame(5); }), "TCustomFrameSprite: Frame out of range");
  EXPECT_EQ(ErrorOf([&] { sprite.SetFrame(-1); }), "TCustomFrameSprite: Frame out of range");
  EXPECT_EQ(ErrorOf([&] { sprite.SetFrameCount(0); }), "TCustomFrameSprite: FrameCount must be >= 1");
  EXPECT_EQ(ErrorOf([&] { sprite.MaskRect(0); }), "TCustomFrameSprite: Sprite is not masked");
  EXPECT_EQ(sprite.Frame(), 4);
  EXPECT_EQ(sprite.FrameCount(), 5);
  // Fewer frames than the one shown: the last frame is shown.
  sprite.SetFrameCount(2);
  EXPECT_EQ(sprite.Frame(), 1);
  EXPECT_EQ(sprite.Width(), 25);
}

TEST(FrameSpritePaint, ShowsTheCurrentFrameAtItsPosition) {
  const std::vector<QRgb> colours = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  QImage picture = Strip(4, 3, colours);
  picture.setPixel(4 * 2 + 1, 2, 0xFFFFFF00);  // a marker in frame 2 at (1, 2)
  TFrameSprite sprite;
  sprite.SetBitmap(picture);
  sprite.SetFrameCount(3);
  sprite.SetPosition({5, 6});
  for (int frame = 0; frame < 3; ++frame) {
    sprite.SetFrame(frame);
    QImage canvas = Canvas(16, 12);
    const QImage before = canvas;
    PaintInto(canvas, sprite, canvas.rect());
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 16; ++x) {
        QRgb expected = before.pixel(x, y);
        if (QRect(5, 6, 4, 3).contains(x, y)) expected = picture.pixel(frame * 4 + x - 5, y - 6);
        ASSERT_EQ(canvas.pixel(x, y), expected) << "frame " << frame << " at " << x << ", " << y;
      }
    }
  }
}

// Masked frames: (stage AND mask) OR frame, pixel by pixel, for frame
// pixels that are not black over white mask pixels too.
TEST(FrameSpritePaint, MaskedFramesAreAndedAndOred) {
  // Two frames of 3 x 2; upper half frames, lower half masks.
  QImage picture(6, 4, QImage::Format_RGB32);
  const QRgb pixels[4][6] = {
      {0xFF123456, 0xFF000000, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFF000000},
      {0xFF000000, 0xFF0F0F0F, 0xFFFFFFFF, 0xFF000000, 0xFF010203, 0xFF0000FF},
      {kBlack, kWhite, kBlack, kWhite, kBlack, kWhite},
      {kWhite, 0xFFF0F0F0, kBlack, kBlack, kWhite, kWhite},
  };
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) picture.setPixel(x, y, pixels[y][x]);
  }
  TFrameSprite sprite;
  sprite.SetBitmap(picture);
  sprite.SetFrameCount(2);
  sprite.SetMasked(true);
  sprite.SetPosition({2, 1});
  for (int frame = 0; frame < 2; ++frame) {
    sprite.SetFrame(frame);
    QImage canvas = Canvas(8, 5);
    const QImage before = canvas;
    PaintInto(canvas, sprite, canvas.rect());
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 8; ++x) {
        QRgb expected = before.pixel(x, y);
        if (QRect(2, 1, 3, 2).contains(x, y)) {
          const int px = frame * 3 + x - 2;
          const int py = y - 1;
          expected = (expected & pixels[py + 2][px]) | pixels[py][px];
        }
        ASSERT_EQ(canvas.pixel(x, y), expected) << "frame " << frame << " at " << x << ", " << y;
      }
    }
  }
}

TEST(FrameSpritePaint, ClippedPaintTakesTheMatchingPartOfTheFrame) {
  QImage picture(8, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) picture.setPixel(x, y, qRgb(x * 30, y * 60, 7));
  }
  TFrameSprite sprite;
  sprite.SetBitmap(picture);
  sprite.SetFrameCount(2);
  sprite.SetFrame(1);
  sprite.SetPosition({3, 3});
  QImage canvas = Canvas(10, 10);
  const QImage before = canvas;
  const QRect clip(5, 4, 10, 10);  // the sprite's lower right part
  PaintInto(canvas, sprite, clip);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool painted = QRect(3, 3, 4, 4).contains(x, y) && clip.contains(x, y);
      const QRgb expected = painted ? picture.pixel(4 + x - 3, y - 3) : before.pixel(x, y);
      ASSERT_EQ(canvas.pixel(x, y), expected) << x << ", " << y;
    }
  }
}

TEST(FrameSpritePaint, WithoutPictureOnlyAFilledSpriteShows) {
  TFrameSprite sprite;
  sprite.SetBounds(1, 1, 3, 2);
  QImage canvas = Canvas(6, 4);
  const QImage before = canvas;
  PaintInto(canvas, sprite, canvas.rect());
  EXPECT_EQ(canvas, before);
  sprite.SetFillColor(0x00336699);  // a colour word: blue 0x33, green 0x66, red 0x99
  sprite.SetFilled(true);
  PaintInto(canvas, sprite, canvas.rect());
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(0x99, 0x66, 0x33));
  EXPECT_EQ(canvas.pixel(3, 2), qRgb(0x99, 0x66, 0x33));
  EXPECT_EQ(canvas.pixel(4, 2), before.pixel(4, 2));
  EXPECT_EQ(canvas.pixel(1, 3), before.pixel(1, 3));
}

TEST(ColorMask, BottomLeftColourBecomesTransparent) {
  // 4 x 2, white in the bottom-left corner and at (2, 0).
  QImage picture(4, 2, QImage::Format_RGB32);
  picture.fill(0xFF804020);
  picture.setPixel(0, 1, kWhite);
  picture.setPixel(2, 0, kWhite);
  picture.setPixel(3, 1, 0xFFFFFFFE);  // nearly white stays
  TFrameSprite sprite;
  sprite.SetBitmap(picture);
  sprite.MakeMaskFromColor();
  sprite.SetMasked(true);
  ASSERT_EQ(sprite.Bitmap().size(), QSize(4, 4));
  EXPECT_EQ(sprite.Height(), 2);
  const QRgb expected[4][4] = {
      {0xFF804020, 0xFF804020, kBlack, 0xFF804020},
      {kBlack, 0xFF804020, 0xFF804020, 0xFFFFFFFE},
      {kBlack, kBlack, kWhite, kBlack},
      {kWhite, kBlack, kBlack, kBlack},
  };
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(sprite.Bitmap().pixel(x, y), expected[y][x]) << x << ", " << y;
  }
  // On a canvas the transparent pixels keep the stage's colour.
  QImage canvas = Canvas(4, 2);
  const QImage before = canvas;
  PaintInto(canvas, sprite, canvas.rect());
  EXPECT_EQ(canvas.pixel(2, 0), before.pixel(2, 0));
  EXPECT_EQ(canvas.pixel(0, 1), before.pixel(0, 1));
  EXPECT_EQ(canvas.pixel(1, 1), 0xFF804020u);
  EXPECT_EQ(canvas.pixel(3, 1), 0xFFFFFFFEu);

  TFrameSprite empty;
  empty.MakeMaskFromColor();
  EXPECT_TRUE(empty.Bitmap().isNull());
}

TEST(FrameSpriteHit, OpaqueWhereTheMaskIsBlack) {
  QImage picture(4, 2, QImage::Format_RGB32);
  picture.fill(0xFF804020);
  picture.setPixel(0, 1, kWhite);  // transparent colour at (0, 1) ...
  picture.setPixel(3, 0, kWhite);  // ... and (3, 0)
  TFrameSprite sprite;
  sprite.SetBitmap(picture);
  sprite.SetFrameCount(2);
  struct Case {
    int x, y;
    bool unmasked, masked_frame0, masked_frame1;
  };
  const Case cases[] = {
      {0, 0, true, true, true},    {0, 1, true, false, true},   {1, 0, true, true, false},
      {1, 1, true, true, true},    {2, 0, false, false, false}, {-1, 0, false, false, false},
      {0, 2, false, false, false},
  };
  for (const Case& c : cases) EXPECT_EQ(sprite.IsOpaqueAt(c.x, c.y), c.unmasked) << c.x << ", " << c.y;
  sprite.MakeMaskFromColor();
  sprite.SetMasked(true);
  for (const Case& c : cases) {
    sprite.SetFrame(0);
    EXPECT_EQ(sprite.IsOpaqueAt(c.x, c.y), c.masked_frame0) << c.x << ", " << c.y;
    sprite.SetFrame(1);
    EXPECT_EQ(sprite.IsOpaqueAt(c.x, c.y), c.masked_frame1) << c.x << ", " << c.y;
  }
  // Without a picture it is hit everywhere.
  TFrameSprite empty;
  empty.SetBounds(0, 0, 5, 5);
  EXPECT_TRUE(empty.IsOpaqueAt(4, 4));
}

TEST(FrameSpritePixels, WholePictureColourWordsOrMinusOne) {
  QImage picture(4, 2, QImage::Format_RGB32);
  picture.fill(qRgb(0x11, 0x22, 0x33));
  TFrameSprite sprite;
  EXPECT_EQ(sprite.PixelAt(0, 0), -1);
  sprite.SetBitmap(picture);
  sprite.SetFrameCount(2);
  EXPECT_EQ(sprite.PixelAt(3, 1), 0x332211);  // beyond frame 0: the whole picture counts
  EXPECT_EQ(sprite.PixelAt(-1, 0), -1);
  EXPECT_EQ(sprite.PixelAt(4, 0), -1);
  EXPECT_EQ(sprite.PixelAt(0, 2), -1);
}

class FrameSpriteOnStage : public testing::StageTest {};

TEST_F(FrameSpriteOnStage, TransparentPixelsShowAndPassTheMouseToTheSpriteBelow) {
  stage->SetColor(0x00FF0000);  // blue stage
  testing::BoxSprite* below = AddBox(QRect(10, 10, 40, 40), QColor(0, 255, 0));
  int presses_below = 0;
  below->OnMouseDown = [&](TSprite*, TMouseButton, TShiftState, int, int) { ++presses_below; };

  // 20 x 20, white (transparent) left half, red right half.
  QImage picture(20, 20, QImage::Format_RGB32);
  picture.fill(qRgb(255, 0, 0));
  QPainter(&picture).fillRect(0, 0, 10, 20, Qt::white);
  auto* sprite = new TFrameSprite;
  sprite->SetBitmap(picture);
  sprite->MakeMaskFromColor();
  sprite->SetMasked(true);
  sprite->SetPosition({20, 20});
  sprite->SetBackground(stage);
  int presses_on_top = 0;
  sprite->OnMouseDown = [&](TSprite*, TMouseButton, TShiftState, int, int) { ++presses_on_top; };
  QApplication::processEvents();

  const QImage screen = Screen();
  EXPECT_EQ(PixelAt(screen, 25, 25), QColor(0, 255, 0));  // the box through the transparent half
  EXPECT_EQ(PixelAt(screen, 35, 25), QColor(255, 0, 0));
  EXPECT_EQ(PixelAt(screen, 45, 45), QColor(0, 255, 0));
  EXPECT_EQ(PixelAt(screen, 5, 5), QColor(0, 0, 255));

  Click({25, 25});
  EXPECT_EQ(presses_below, 1);
  EXPECT_EQ(presses_on_top, 0);
  Click({35, 25});
  EXPECT_EQ(presses_below, 1);
  EXPECT_EQ(presses_on_top, 1);
}

}  // namespace
}  // namespace vork
