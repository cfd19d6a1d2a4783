#include "objects/rtf/rtf_tokenizer.h"

#include <limits>

namespace vork {

namespace {

RtfToken Token(RtfTokenKind kind, unsigned char byte = 0) {
  RtfToken token;
  token.kind = kind;
  token.byte = byte;
  return token;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

RtfToken RtfTokenizer::Next() {
  while (position_ < data_.size()) {
    const char c = data_[position_++];
    switch (c) {
      case '{': return Token(RtfTokenKind::kGroupStart);
      case '}': return Token(RtfTokenKind::kGroupEnd);
      case '\\': return ReadControl();
      case '\r':
      case '\n': continue;
      default: return Token(RtfTokenKind::kText, static_cast<unsigned char>(c));
    }
  }
  return {};
}

void RtfTokenizer::SkipBinary(int64_t count) {
  if (count <= 0) return;
  const size_t left = data_.size() - position_;
  position_ += static_cast<uint64_t>(count) < left ? static_cast<size_t>(count) : left;
}

RtfToken RtfTokenizer::ReadControl() {
  if (AtEnd()) return {};  // a lone backslash at the very end
  const char c = data_[position_];
  if (IsLetter(c)) return ReadWord();
  ++position_;
  if (c == '\'' && data_.size() - position_ >= 2) {
    const int high = HexValue(data_[position_]);
    const int low = HexValue(data_[position_ + 1]);
    if (high >= 0 && low >= 0) {
      position_ += 2;
      return Token(RtfTokenKind::kHexByte, static_cast<unsigned char>(high * 16 + low));
    }
  }
  // A malformed \' stays a symbol the reader ignores; what follows is text.
  return Token(RtfTokenKind::kControlSymbol, static_cast<unsigned char>(c));
}

RtfToken RtfTokenizer::ReadWord() {
  const size_t start = position_;
  while (position_ < data_.size() && IsLetter(data_[position_])) ++position_;
  RtfToken token = Token(RtfTokenKind::kControlWord);
  token.word = data_.substr(start, position_ - start);
  const bool negative = position_ + 1 < data_.size() && data_[position_] == '-' && IsDigit(data_[position_ + 1]);
  if (negative) ++position_;
  if (position_ < data_.size() && IsDigit(data_[position_])) {
    token.has_parameter = true;
    token.parameter = ReadParameter(negative);
  }
  // One space delimits the word and belongs to it.
  if (position_ < data_.size() && data_[position_] == ' ') ++position_;
  return token;
}

int32_t RtfTokenizer::ReadParameter(bool negative) {
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t value = 0;
  while (position_ < data_.size() && IsDigit(data_[position_])) {
    if (value < kLimit) value = value * 10 + (data_[position_] - '0');
    ++position_;
  }
  if (negative) return value >= kLimit ? std::numeric_limits<int32_t>::min() : static_cast<int32_t>(-value);
  return value >= kLimit ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
}

}  // namespace vork
