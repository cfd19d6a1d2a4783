#include "objects/rtf/rtf_document.h"

namespace vork {

std::u32string RtfParagraph::Text() const {
  std::u32string text;
  for (const RtfRun& run : runs) text += run.text;
  return text;
}

const RtfFont* RtfDocument::FindFont(int number) const {
  // A later entry with the same number wins, as it would when the table is
  // read into a map.
  for (auto it = fonts.rbegin(); it != fonts.rend(); ++it)
    if (it->number == number) return &*it;
  return nullptr;
}

std::optional<RtfColor> RtfDocument::ColorAt(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= colors.size()) return std::nullopt;
  return colors[static_cast<size_t>(index)];
}

std::u32string RtfDocument::Text() const {
  std::u32string text;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) text += U'\n';
    text += paragraphs[i].Text();
  }
  return text;
}

}  // namespace vork
