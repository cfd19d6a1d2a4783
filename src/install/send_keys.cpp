#include "install/send_keys.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/cp1252.h"

namespace vork {
namespace {

struct NamedKey {
  const char* name;
  int virtual_key;
};

constexpr NamedKey kNamedKeys[] = {
    {"BACKSPACE", 8}, {"BS", 8},       {"BKSP", 8},        {"BREAK", 3},     {"CAPSLOCK", 20},
    {"CLEAR", 12},    {"DELETE", 46},  {"DEL", 46},        {"DOWN", 40},     {"END", 35},
    {"ENTER", 13},    {"ESC", 27},     {"ESCAPE", 27},     {"HELP", 47},     {"HOME", 36},
    {"INSERT", 45},   {"INS", 45},     {"LEFT", 37},       {"NUMLOCK", 144}, {"PGDN", 34},
    {"PGUP", 33},     {"PRTSC", 44},   {"RIGHT", 39},      {"SCROLLLOCK", 145}, {"TAB", 9},
    {"UP", 38},       {"ADD", 107},    {"SUBTRACT", 109},  {"MULTIPLY", 106}, {"DIVIDE", 111},
};

int VirtualKeyOfName(std::string_view name) {
  for (const NamedKey& key : kNamedKeys)
    if (EqualsIgnoreCase(name, key.name)) return key.virtual_key;
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int number = 0;
    const auto [end, error] = std::from_chars(name.data() + 1, name.data() + name.size(), number);
    if (error == std::errc() && end == name.data() + name.size() && number >= 1 && number <= 16)
      return 111 + number;
  }
  return 0;
}

// A character as a key: the control characters that have a key of their
// own become it; the others have none.
bool CharacterKey(unsigned char c, KeyStroke& key) {
  key = KeyStroke{};
  if (c == '\t') key.virtual_key = 9;
  else if (c == '\r' || c == '\n') key.virtual_key = 13;
  else if (c < 0x20 || c == 0x7F) return false;
  else key.character = c;
  return true;
}

struct Modifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  ParsedKeys Run() {
    ParsedKeys result;
    while (pos_ < text_.size() && result.error == SendKeysError::None) result.error = Step();
    if (result.error == SendKeysError::None) result.keys = std::move(keys_);
    return result;
  }

 private:
  SendKeysError Step() {
    const char c = text_[pos_++];
    switch (c) {
      case '+': pending_.shift = true; return SendKeysError::None;
      case '^': pending_.control = true; return SendKeysError::None;
      case '%': pending_.alt = true; return SendKeysError::None;
      case '(':
        groups_.push_back(Combined());
        pending_ = {};
        return SendKeysError::None;
      case ')':
        if (!groups_.empty()) groups_.pop_back();
        pending_ = {};
        return SendKeysError::None;
      case '~': return Add(KeyStroke{13}, 1);
      case '{': return Braced();
      default: {
        KeyStroke key;
        if (!CharacterKey(static_cast<unsigned char>(c), key)) return SendKeysError::InvalidKeyName;
        return Add(key, 1);
      }
    }
  }

  // After "{": "NAME}", "NAME COUNT}", or "}}" for the closing brace.
  SendKeysError Braced() {
    size_t close = text_.find('}', pos_);
    if (close == pos_ && close + 1 < text_.size() && text_[close + 1] == '}') ++close;
    if (close == std::string_view::npos) return SendKeysError::NoClose;
    std::string_view inside = text_.substr(pos_, close - pos_);
    pos_ = close + 1;
    int count = 1;
    if (const size_t blank = inside.rfind(' '); blank != std::string_view::npos && blank > 0) {
      std::string_view digits = inside.substr(blank + 1);
      const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
      if (error == std::errc::result_out_of_range) count = kMaxKeyRepeat;
      else if (error != std::errc() || end != digits.data() + digits.size() || count < 0)
        return SendKeysError::InvalidKeyName;
      inside = inside.substr(0, blank);
    }
    KeyStroke key;
    if (inside.size() == 1) {
      if (!CharacterKey(static_cast<unsigned char>(inside[0]), key)) return SendKeysError::InvalidKeyName;
    } else {
      key.virtual_key = VirtualKeyOfName(inside);
      if (key.virtual_key == 0) return SendKeysError::InvalidKeyName;
    }
    return Add(key, std::min(count, kMaxKeyRepeat));
  }

  Modifiers Combined() const {
    Modifiers held = groups_.empty() ? Modifiers{} : groups_.back();
    held.shift |= pending_.shift;
    held.control |= pending_.control;
    held.alt |= pending_.alt;
    return held;
  }

  SendKeysError Add(KeyStroke key, int count) {
    const Modifiers held = Combined();
    key.shift = held.shift;
    key.control = held.control;
    key.alt = held.alt;
    pending_ = {};
    const size_t room = kMaxKeys - std::min(kMaxKeys, keys_.size());
    keys_.insert(keys_.end(), std::min(static_cast<size_t>(count), room), key);
    return SendKeysError::None;
  }

  std::string_view text_;
  size_t pos_ = 0;
  Modifiers pending_;
  std::vector<Modifiers> groups_;
  std::vector<KeyStroke> keys_;
};

}  // namespace

ParsedKeys ParseSendKeys(std::string_view text) { return Parser(text).Run(); }

const char* SendKeysErrorText(SendKeysError error) {
  switch (error) {
    case SendKeysError::NoClose: return "No Close";
    case SendKeysError::InvalidKeyName: return "Invalid KeyName";
    default: return "";
  }
}

}  // namespace vork
