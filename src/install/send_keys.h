#pragma once
// Keystrokes a course sends, in the usual send-keys notation:
//   "+" Shift, "^" Ctrl, "%" Alt for the next key or the next "(...)" group;
//   "~" Enter; "{NAME}" a named key, "{NAME 4}" four of them, "{x 3}" three
//   x; "{{}" and "{}}" the braces themselves; "{+}" and the like the
//   character; any other character its own key.

#include <cstddef>
#include <string_view>
#include <vector>

namespace vork {

struct KeyStroke {
  int virtual_key = 0;    // a named key (Windows virtual-key code), else 0
  unsigned char character = 0;  // the character typed when virtual_key is 0
  bool shift = false;
  bool control = false;
  bool alt = false;
};

enum class SendKeysError { None, NoClose, InvalidKeyName };

struct ParsedKeys {
  std::vector<KeyStroke> keys;
  SendKeysError error = SendKeysError::None;
};

// A repeat count larger than this is taken as this: a course text must not
// make the player queue millions of key events.
constexpr int kMaxKeyRepeat = 1000;
// Keys beyond this many in one text are dropped, for the same reason.
constexpr size_t kMaxKeys = 10000;

// On an error the keys are empty: nothing of a malformed text is sent.
ParsedKeys ParseSendKeys(std::string_view text);

// The message box text for an error ("No Close", "Invalid KeyName").
const char* SendKeysErrorText(SendKeysError error);

}  // namespace vork
