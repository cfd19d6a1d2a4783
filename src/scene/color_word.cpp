#include "scene/color_word.h"

namespace vork {

QColor ColorFromWord(std::int32_t word) {
  const auto bits = static_cast<std::uint32_t>(word);
  return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

std::int32_t WordFromColor(const QColor& color) {
  const auto bits = static_cast<std::uint32_t>(color.red()) |
                    (static_cast<std::uint32_t>(color.green()) << 8) |
                    (static_cast<std::uint32_t>(color.blue()) << 16);
  return static_cast<std::int32_t>(bits);
}

}  // namespace vork
