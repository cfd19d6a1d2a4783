#pragma once
// TVkFont: a font as courses name it (a face name, a size in points, four
// style bits and a Windows colour word), shared by whatever shows course
// text: a control, a drawn text. Its owner listens to OnChange and applies
// the font to what it draws; a font object lets the bytecode edit it.
//
// The face names courses use come from another platform; they map once, in
// FontFamilyFor, to metric-compatible faces.

#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vork {

class TVkFont {
 public:
  enum StyleBit : int32_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };
  static constexpr int32_t kStyleMask = 15;
  // The size a font is drawn at is kept within 1 .. kMaxDrawnPoints: a
  // course asking for more gets the largest, not a glyph cache filling memory.
  static constexpr int32_t kMaxDrawnPoints = 1000;

  // The default font of a control: black "MS Sans Serif", 8 points.
  TVkFont() = default;
  TVkFont(std::string name, int32_t points, int32_t color);

  const std::string& Name() const { return name_; }
  void SetName(std::string_view name);
  // As set, even where it is drawn clamped.
  int32_t Size() const { return size_; }
  void SetSize(int32_t points);
  int32_t Style() const { return style_; }
  // Only the four style bits are kept.
  void SetStyle(int32_t bits);
  // The colour word as set (its top byte included).
  int32_t Color() const { return color_; }
  void SetColor(int32_t word);

  // The colour is not part of a QFont: see Color().
  QFont ToQFont() const;

  // Runs after every change that alters a value.
  std::function<void()> OnChange;

 private:
  void Changed();

  std::string name_ = "MS Sans Serif";
  int32_t size_ = 8;
  int32_t style_ = 0;
  int32_t color_ = 0;
};

// The family to ask Qt for when a course names a face (Windows-1252 bytes):
// Arial and MS Sans Serif become Liberation Sans, Times New Roman Liberation
// Serif, Courier New Liberation Mono (letter case ignored); any other name is
// passed on for fontconfig to resolve.
QString FontFamilyFor(std::string_view face_name);

}  // namespace vork
