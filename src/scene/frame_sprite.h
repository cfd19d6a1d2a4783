#pragma once
// TCustomFrameSprite / TFrameSprite: the concrete sprite of the stage. Its
// picture is a strip of equally wide frames side by side, of which one is
// shown; a masked picture holds the frames in its upper half and their masks
// (black opaque, white transparent) in its lower half. A sprite without a
// picture has a size of its own and may be filled with a colour. Every
// sprite carries a caption drawn over it.
//
// A masked frame is put on the stage as two raster operations: the mask
// ANDed onto the stage, then the frame ORed onto it. Transparent pixels
// therefore have to be black in the frame and white in the mask, which is
// what MakeMaskFromColor produces.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <string>

#include "scene/draw_text.h"
#include "scene/sprite.h"

namespace vork {

class TCustomFrameSprite : public TSprite {
 public:
  TCustomFrameSprite();
  ~TCustomFrameSprite() override;

  const QImage& Bitmap() const { return bitmap_; }
  // Takes a copy of picture (a null image removes the picture).
  void SetBitmap(const QImage& picture);
  bool Masked() const { return masked_; }
  void SetMasked(bool masked);
  int32_t FillColor() const { return fill_color_; }
  void SetFillColor(int32_t color);
  bool Filled() const { return filled_; }
  void SetFilled(bool filled);
  int Frame() const { return frame_; }
  // Raises "TCustomFrameSprite: Frame out of range" outside 0 .. FrameCount-1.
  void SetFrame(int frame);
  int FrameCount() const { return frame_count_; }
  // Raises "TCustomFrameSprite: FrameCount must be >= 1" below 1; a frame
  // beyond the new count becomes the last one.
  void SetFrameCount(int count);
  const std::string& PictureName() const { return picture_name_; }
  void SetPictureName(std::string name) { picture_name_ = std::move(name); }
  int EmptyWidth() const { return empty_width_; }
  int EmptyHeight() const { return empty_height_; }
  TDrawText& Caption() { return caption_; }
  const TDrawText& Caption() const { return caption_; }

  // In picture coordinates. FrameRect raises the frame range error;
  // MaskRect also raises "TCustomFrameSprite: Sprite is not masked".
  QRect FrameRect(int frame) const;
  QRect MaskRect(int frame) const;

  // The colour word of a pixel of the whole picture, or -1 without a
  // picture or outside it.
  int32_t PixelAt(int x, int y) const;
  // Makes every pixel of the colour of the bottom-left pixel transparent:
  // black in the picture, white in a mask added below it. The caller sets
  // Masked.
  void MakeMaskFromColor();

  void Paint(QPainter& canvas, const QRect& clip) override;
  bool IsOpaqueAt(int x, int y) const override;
  // Store the size used while there is no picture.
  void SetWidth(int width) override;
  void SetHeight(int height) override;

 protected:
  int GetWidth() const override;
  int GetHeight() const override;
  // The picture was replaced or altered.
  virtual void PictureChanged();

 private:
  int Rows() const { return masked_ ? 2 : 1; }
  void CheckFrame(int frame) const;
  // Adds the whole stage to the dirty area: a new picture may change the
  // sprite's size.
  void InvalidateStage();

  QImage bitmap_;
  bool masked_ = false;
  int32_t fill_color_ = 0;
  bool filled_ = false;
  int frame_ = 0;
  int frame_count_ = 1;
  std::string picture_name_;
  int empty_width_ = 0;
  int empty_height_ = 0;
  TDrawText caption_;
};

// The frame sprite the stage uses; it adds nothing.
class TFrameSprite : public TCustomFrameSprite {};

}  // namespace vork
