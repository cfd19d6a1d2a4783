#pragma once
// How wide and how tall a text is in one font, in pixels: what the page
// layout needs of a font, so that the layout itself needs no window system.

#include <cstdint>
#include <string_view>

namespace vork {

class TVkTextMeasure {
 public:
  virtual ~TVkTextMeasure() = default;
  // The advance of text (Windows-1252 bytes) drawn in one run.
  virtual int32_t TextWidth(std::string_view text) const = 0;
  virtual int32_t TextHeight(std::string_view text) const = 0;
};

}  // namespace vork
