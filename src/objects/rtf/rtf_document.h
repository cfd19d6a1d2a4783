#pragma once
// What the RTF reader makes of a rich-text file: paragraphs of formatted
// runs plus the font and colour tables they refer to. It holds no Qt types,
// so the reader can be tested and fuzzed without a window system; a small
// adapter (rtf_text_document.h) turns it into a QTextDocument.
//
// Text is Unicode (UTF-32). A line break inside a paragraph is U+2028, the
// character QTextDocument uses for one.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vork {

inline constexpr char32_t kRtfLineBreak = U'\u2028';
// RTF's default size, \fs24.
inline constexpr int kRtfDefaultHalfPoints = 24;

struct RtfColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const RtfColor&) const = default;
};

struct RtfFont {
  int number = 0;  // the N of \fN
  std::u32string name;
};

struct RtfCharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  int font = -1;  // a font number of the table; -1 when none was chosen
  int half_points = kRtfDefaultHalfPoints;
  int color = 0;  // an index into the colour table; 0 is "automatic" by convention
  bool operator==(const RtfCharFormat&) const = default;
};

enum class RtfAlignment { kLeft, kCenter, kRight, kJustify };

// Lengths in twips (1/1440 inch), as the file gives them.
struct RtfParagraphFormat {
  RtfAlignment alignment = RtfAlignment::kLeft;
  int left_indent = 0;
  int right_indent = 0;
  int first_line_indent = 0;
  int space_before = 0;
  int space_after = 0;
  bool operator==(const RtfParagraphFormat&) const = default;
};

struct RtfRun {
  std::u32string text;
  RtfCharFormat format;
};

struct RtfParagraph {
  RtfParagraphFormat format;
  std::vector<RtfRun> runs;
  // The character format in force where the paragraph ended: an empty
  // paragraph still takes the height of its font.
  RtfCharFormat end_format;

  std::u32string Text() const;
};

struct RtfDocument {
  std::vector<RtfFont> fonts;
  // An entry without colour words is "automatic" (nullopt).
  std::vector<std::optional<RtfColor>> colors;
  std::vector<RtfParagraph> paragraphs;

  // The table entry for a font number, or null.
  const RtfFont* FindFont(int number) const;
  // The colour an index names, or nullopt for automatic and unknown indexes.
  std::optional<RtfColor> ColorAt(int index) const;
  // The paragraphs' texts joined with '\n'.
  std::u32string Text() const;
};

}  // namespace vork
