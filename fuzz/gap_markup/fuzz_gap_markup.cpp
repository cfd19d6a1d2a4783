// Gap-fill texts come from course resources unchecked. The input is the
// text itself (lines at CR and LF); its first byte also sets the control's
// width, so that rows wrap at many places. Reading and laying out must end
// with a page or a clear failure, and every placed thing lies on the page.

#include <cstdint>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/gapfill/gapfill_layout.h"
#include "platform/errors.h"

namespace {

void Expect(bool condition) {
  if (!condition) std::abort();
}

// Proportional enough to vary the widths: a byte is 3 to 10 pixels wide.
class ByteMeasure : public vork::TVkTextMeasure {
 public:
  explicit ByteMeasure(int32_t extra) : extra_(extra) {}
  int32_t TextWidth(std::string_view text) const override {
    int64_t width = 0;
    for (unsigned char c : text) width += 3 + (c % 8) + extra_;
    return static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX));
  }
  int32_t TextHeight(std::string_view) const override { return 14; }

 private:
  int32_t extra_;
};

std::vector<std::string> SplitAtLineBreaks(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vork;
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::vector<std::string> lines = SplitAtLineBreaks(text);
  for (const std::string& line : lines) {
    for (const GapMarkupToken& token : ReadGapMarkupLine(line)) {
      Expect(!token.text.empty() && token.text.size() <= line.size());
      Expect(token.kind == GapTokenKind::kText || token.text.starts_with("<gap "));
    }
  }
  const ByteMeasure text_font(0);
  const ByteMeasure gap_font(1);
  const GapfillPageSettings settings{data[0] * 4 - 100, 200, 17, (data[0] & 1) != 0};
  try {
    const GapfillLayout page = LayoutGapfillPage(lines, text_font, gap_font, settings);
    Expect(page.height >= settings.client_height && page.height <= kMaxGapfillPageHeight);
    for (const PlacedWord& word : page.words) Expect(word.top + page.row_height <= page.height);
    for (const PlacedGap& gap : page.gaps) {
      Expect(gap.top + page.row_height + 2 <= page.height);
      Expect(!gap.items.empty());
      Expect(gap.kind != GapTokenKind::kMultiGap || gap.items.front().text.empty());
    }
  } catch (const EVkError&) {
    // Too tall a page or too many gaps: reported, not laid out.
  }
  return 0;
}
