#pragma once
// Splits RTF bytes into tokens: braces, control words with their optional
// numeric parameter, control symbols, \'xx escapes and plain text bytes.
// Line ends in the data carry no meaning in RTF and are dropped here.
//
// The tokenizer never allocates and never reads past the data: a word's
// letters are a view into the data, and a parameter with more digits than a
// word holds saturates instead of overflowing.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vork {

enum class RtfTokenKind { kEnd, kGroupStart, kGroupEnd, kControlWord, kControlSymbol, kHexByte, kText };

struct RtfToken {
  RtfTokenKind kind = RtfTokenKind::kEnd;
  std::string_view word;  // the letters of a control word
  bool has_parameter = false;
  int32_t parameter = 0;
  // A text byte, the value of a \'xx escape, or the character of a symbol.
  unsigned char byte = 0;
};

class RtfTokenizer {
 public:
  explicit RtfTokenizer(std::string_view data) : data_(data) {}

  RtfToken Next();
  // Skips the data of \binN (all that is left when it is shorter).
  void SkipBinary(int64_t count);
  bool AtEnd() const { return position_ >= data_.size(); }

 private:
  RtfToken ReadControl();
  RtfToken ReadWord();
  int32_t ReadParameter(bool negative);

  std::string_view data_;
  size_t position_ = 0;
};

}  // namespace vork
