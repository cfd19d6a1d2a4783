#include "platform/qt/font.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/cp1252.h"
#include "platform/qt/qt_text.h"

namespace vork {

namespace {

struct FaceMapping {
  std::string_view course_face;
  const char* family;
};

constexpr std::array kFaceMappings{
    FaceMapping{"Arial", "Liberation Sans"},
    FaceMapping{"MS Sans Serif", "Liberation Sans"},
    FaceMapping{"Times New Roman", "Liberation Serif"},
    FaceMapping{"Courier New", "Liberation Mono"},
};

}  // namespace

QString FontFamilyFor(std::string_view face_name) {
  for (const FaceMapping& mapping : kFaceMappings) {
    if (EqualsIgnoreCase(face_name, mapping.course_face)) return QString::fromLatin1(mapping.family);
  }
  return ToQString(face_name);
}

TVkFont::TVkFont(std::string name, int32_t points, int32_t color)
    : name_(std::move(name)), size_(points), color_(color) {}

void TVkFont::Changed() {
  if (OnChange) OnChange();
}

void TVkFont::SetName(std::string_view name) {
  if (name_ == name) return;
  name_ = std::string(name);
  Changed();
}

void TVkFont::SetSize(int32_t points) {
  if (size_ == points) return;
  size_ = points;
  Changed();
}

void TVkFont::SetStyle(int32_t bits) {
  bits &= kStyleMask;
  if (style_ == bits) return;
  style_ = bits;
  Changed();
}

void TVkFont::SetColor(int32_t word) {
  if (color_ == word) return;
  color_ = word;
  Changed();
}

QFont TVkFont::ToQFont() const {
  QFont font(FontFamilyFor(name_));
  font.setPointSize(std::clamp(size_, 1, kMaxDrawnPoints));
  font.setBold((style_ & kBold) != 0);
  font.setItalic((style_ & kItalic) != 0);
  font.setUnderline((style_ & kUnderline) != 0);
  font.setStrikeOut((style_ & kStrikeOut) != 0);
  return font;
}

}  // namespace vork
