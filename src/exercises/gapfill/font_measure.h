#pragma once
// TVkTextMeasure over a Qt font: what the page layout measures with.

#include <QFontMetrics>

#include "exercises/gapfill/text_measure.h"

namespace vork {

class TVkFontMeasure : public TVkTextMeasure {
 public:
  explicit TVkFontMeasure(const QFont& font) : metrics_(font) {}
  // Never negative, however long the text.
  int32_t TextWidth(std::string_view text) const override;
  // The font's line height, whatever the text.
  int32_t TextHeight(std::string_view text) const override;

 private:
  QFontMetrics metrics_;
};

}  // namespace vork
