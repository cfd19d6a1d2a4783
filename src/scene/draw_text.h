#pragma once
// TCustomDrawText / TDrawText: a few lines of text drawn into a rectangle,
// with alignment, offsets, an optional background behind each line and a
// drop shadow. A frame sprite draws its caption with one; the Text object
// lets the bytecode edit it.
//
// Text is cut into lines at every "<BR>". The lines are drawn without
// anti-aliasing, as the course pictures around them were designed for: a
// one-pixel shadow stays one crisp pixel.

#include <QFont>
#include <QRect>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/qt/font.h"

class QFontMetrics;
class QPainter;

namespace vork {

class TCustomDrawText {
 public:
  // HAlign values.
  static constexpr int32_t kAlignLeft = 0;
  static constexpr int32_t kAlignRight = 1;
  static constexpr int32_t kAlignCenter = 2;
  // VAlign values.
  static constexpr int32_t kAlignTop = 0;
  static constexpr int32_t kAlignBottom = 1;
  static constexpr int32_t kAlignMiddle = 2;

  // White "Arial", 9 points.
  TCustomDrawText();
  virtual ~TCustomDrawText() = default;
  // The font's change notice points at this object.
  TCustomDrawText(const TCustomDrawText&) = delete;
  TCustomDrawText& operator=(const TCustomDrawText&) = delete;

  const std::string& Text() const { return text_; }
  void SetText(std::string_view text);
  const std::vector<std::string>& Lines() const { return lines_; }

  int32_t BackColor() const { return back_color_; }
  void SetBackColor(int32_t color);
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool opaque);
  // Changes of the font fire OnChange too.
  TVkFont& Font() { return font_; }
  const TVkFont& Font() const { return font_; }
  int32_t XOffset() const { return x_offset_; }
  void SetXOffset(int32_t offset);
  // Values other than the three align left.
  int32_t HAlign() const { return h_align_; }
  void SetHAlign(int32_t align);
  int32_t ShadowColor() const { return shadow_color_; }
  void SetShadowColor(int32_t color);
  int32_t ShadowX() const { return shadow_x_; }
  void SetShadowX(int32_t x);
  int32_t ShadowY() const { return shadow_y_; }
  void SetShadowY(int32_t y);
  int32_t YOffset() const { return y_offset_; }
  void SetYOffset(int32_t offset);
  // Values other than the three align to the top.
  int32_t VAlign() const { return v_align_; }
  void SetVAlign(int32_t align);

  // Fired after every change, changes of the font included.
  std::function<void()> OnChange;

  // The width of the whole Text as one line ("<BR>" measured as text) in
  // the drawn font, on a canvas like the stage's.
  int TextWidth() const;
  // Draws the lines into rect, clipped to it (and to the canvas's clip).
  void Draw(QPainter& canvas, const QRect& rect) const;

  // The font as it is drawn (the course's face mapped, no anti-aliasing).
  QFont DrawnFont() const;

 private:
  void Changed();
  void DrawLines(QPainter& canvas, const QFontMetrics& metrics, int left, int top, int line_height,
                 int32_t color) const;

  std::string text_;
  std::vector<std::string> lines_;
  int32_t back_color_ = 0;
  bool opaque_ = false;
  TVkFont font_;
  int32_t x_offset_ = 0;
  int32_t h_align_ = kAlignLeft;
  int32_t shadow_color_ = 0;
  int32_t shadow_x_ = 0;
  int32_t shadow_y_ = 0;
  int32_t y_offset_ = 0;
  int32_t v_align_ = kAlignTop;
};

// The drawn text the stage uses; it adds nothing.
class TDrawText : public TCustomDrawText {};

// Text cut at every "<BR>" (the markers removed). An empty text has no
// lines; a text ending in "<BR>" ends in an empty line.
std::vector<std::string> SplitCaptionLines(std::string_view text);

}  // namespace vork
