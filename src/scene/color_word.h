#pragma once
// Colours travel between the bytecode and the stage as Windows colour words:
// red in bits 0-7, green in bits 8-15, blue in bits 16-23.

#include <QColor>
#include <cstdint>

namespace vork {

// The top byte (palette and system-colour flags of the original platform) is
// ignored: only the three colour bytes count.
QColor ColorFromWord(std::int32_t word);
std::int32_t WordFromColor(const QColor& color);

}  // namespace vork
