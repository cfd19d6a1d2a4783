#include "exercises/gapfill/font_measure.h"

#include <algorithm>

#include "platform/qt/qt_text.h"

namespace vork {

// Qt sums advances in 26.6 fixed point, which wraps for a word of some
// million characters; a wrapped width must not move things leftwards.
int32_t TVkFontMeasure::TextWidth(std::string_view text) const {
  return std::max(0, metrics_.horizontalAdvance(ToQString(text)));
}

int32_t TVkFontMeasure::TextHeight(std::string_view) const { return metrics_.height(); }

}  // namespace vork
