#include "scene/frame_sprite.h"

#include <QPainter>

#include "platform/errors.h"
#include "scene/background.h"
#include "scene/color_word.h"

namespace vork {

namespace {

constexpr QRgb kColorBits = 0x00FFFFFF;
constexpr QRgb kOpaqueBlack = 0xFF000000;
constexpr QRgb kOpaqueWhite = 0xFFFFFFFF;

}  // namespace

TCustomFrameSprite::TCustomFrameSprite() {
  caption_.OnChange = [this] {
    UpdateBatch batch(Background());
    Invalidate();
  };
}

TCustomFrameSprite::~TCustomFrameSprite() {
  // The caption goes with the sprite; nothing may reach back into it.
  caption_.OnChange = nullptr;
}

void TCustomFrameSprite::SetBitmap(const QImage& picture) {
  bitmap_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
  PictureChanged();
}

void TCustomFrameSprite::PictureChanged() { InvalidateStage(); }

void TCustomFrameSprite::InvalidateStage() {
  TBackground* background = Background();
  if (!background) return;
  UpdateBatch batch(background);
  background->InvalidateRect(background->rect());
}

void TCustomFrameSprite::SetMasked(bool masked) {
  UpdateBatch batch(Background());
  Invalidate();
  masked_ = masked;
  Invalidate();
}

void TCustomFrameSprite::SetFillColor(int32_t color) {
  UpdateBatch batch(Background());
  fill_color_ = color;
  Invalidate();
}

void TCustomFrameSprite::SetFilled(bool filled) {
  UpdateBatch batch(Background());
  filled_ = filled;
  Invalidate();
}

void TCustomFrameSprite::CheckFrame(int frame) const {
  if (frame < 0 || frame >= frame_count_) throw EVkError("TCustomFrameSprite: Frame out of range");
}

void TCustomFrameSprite::SetFrame(int frame) {
  CheckFrame(frame);
  if (frame == frame_) return;
  UpdateBatch batch(Background());
  frame_ = frame;
  Invalidate();
}

void TCustomFrameSprite::SetFrameCount(int count) {
  if (count < 1) throw EVkError("TCustomFrameSprite: FrameCount must be >= 1");
  UpdateBatch batch(Background());
  Invalidate();
  frame_count_ = count;
  if (frame_ >= count) frame_ = count - 1;
  Invalidate();
}

void TCustomFrameSprite::SetWidth(int width) {
  UpdateBatch batch(Background());
  Invalidate();
  empty_width_ = width;
  Invalidate();
}

void TCustomFrameSprite::SetHeight(int height) {
  UpdateBatch batch(Background());
  Invalidate();
  empty_height_ = height;
  Invalidate();
}

int TCustomFrameSprite::GetWidth() const {
  return bitmap_.isNull() ? empty_width_ : bitmap_.width() / frame_count_;
}

int TCustomFrameSprite::GetHeight() const {
  return bitmap_.isNull() ? empty_height_ : bitmap_.height() / Rows();
}

QRect TCustomFrameSprite::FrameRect(int frame) const {
  CheckFrame(frame);
  const int cell_width = bitmap_.width() / frame_count_;
  const int cell_height = bitmap_.height() / Rows();
  return QRect(frame * cell_width, 0, cell_width, cell_height);
}

QRect TCustomFrameSprite::MaskRect(int frame) const {
  if (!masked_) throw EVkError("TCustomFrameSprite: Sprite is not masked");
  return FrameRect(frame).translated(0, GetHeight());
}

int32_t TCustomFrameSprite::PixelAt(int x, int y) const {
  if (bitmap_.isNull() || !bitmap_.rect().contains(x, y)) return -1;
  return WordFromColor(QColor(bitmap_.pixel(x, y)));
}

bool TCustomFrameSprite::IsOpaqueAt(int x, int y) const {
  if (bitmap_.isNull()) return true;
  if (x < 0 || x >= Width() || y < 0 || y >= Height()) return false;
  if (!masked_) return true;
  const QPoint at = MaskRect(frame_).topLeft() + QPoint(x, y);
  return (bitmap_.pixel(at) & kColorBits) == 0;
}

void TCustomFrameSprite::MakeMaskFromColor() {
  if (bitmap_.isNull()) return;
  const int width = bitmap_.width();
  const int height = bitmap_.height();
  const QRgb transparent = bitmap_.pixel(0, height - 1) & kColorBits;
  QImage doubled(width, height * 2, QImage::Format_RGB32);
  if (doubled.isNull()) {
    throw EVkError("no memory for the mask of the picture \"" + picture_name_ + "\" (" +
                   std::to_string(width) + " x " + std::to_string(height) + ")");
  }
  for (int y = 0; y < height; ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(bitmap_.constScanLine(y));
    auto* picture = reinterpret_cast<QRgb*>(doubled.scanLine(y));
    auto* mask = reinterpret_cast<QRgb*>(doubled.scanLine(y + height));
    for (int x = 0; x < width; ++x) {
      const bool clear = (source[x] & kColorBits) == transparent;
      picture[x] = clear ? kOpaqueBlack : source[x];
      mask[x] = clear ? kOpaqueWhite : kOpaqueBlack;
    }
  }
  bitmap_ = std::move(doubled);
  PictureChanged();
}

void TCustomFrameSprite::Paint(QPainter& canvas, const QRect& clip) {
  const QRect bounds = BoundsRect();
  const QRect target = bounds & clip;
  if (bitmap_.isNull()) {
    if (filled_ && !target.isEmpty()) canvas.fillRect(target, ColorFromWord(fill_color_));
  } else if (!target.isEmpty()) {
    // The same area in sprite coordinates.
    const QPoint offset = target.topLeft() - bounds.topLeft();
    QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
    if (masked_) {
      canvas.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
      canvas.drawImage(target.topLeft(), bitmap_,
                       QRect(MaskRect(frame_).topLeft() + offset, target.size()));
      mode = QPainter::RasterOp_SourceOrDestination;
    }
    canvas.setCompositionMode(mode);
    canvas.drawImage(target.topLeft(), bitmap_, QRect(FrameRect(frame_).topLeft() + offset, target.size()));
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  caption_.Draw(canvas, bounds);
}

}  // namespace vork
