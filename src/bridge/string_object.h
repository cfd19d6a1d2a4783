#pragma once
// TVkStringObject, class 0: how strings exist in the machine. The stack
// holds only words, so every string value is one of these and travels as its
// handle.

#include <string>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "vm/processor.h"

namespace vork {

class TVkStringObject : public TVkScriptObject {
 public:
  // 0 assign, 1 assign a string constant, 2 append, 3 compare. The argument
  // of 0, 2 and 3 is kept (not destroyed); it must be a live string object.
  void HandleMessage(int32_t message) override;
  // The four string messages (0 .. kLastStringMessage) with the argument
  // already popped: returns the word that message 3 pushes (0 for the
  // others, which push nothing). They run no bytecode and cannot destroy the
  // object, so the manager applies them directly, inline, without a virtual
  // call or keeping the object alive.
  static constexpr int32_t kLastStringMessage = 3;
  int32_t ApplyStringMessage(int32_t message, int32_t argument);

  // Appending beyond this length is runaway code (a text doubling itself in
  // a loop); it fails with EVkError before memory runs out.
  static inline size_t max_text_length = size_t{16} << 20;

  // Message 1: the text of the string constant at offset in the image.
  void AssignConstant(int32_t offset);

  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

 private:
  friend class TVkObjectManager;  // reuses freed string objects

  // Back to the state of a new string object; a short text's storage is kept.
  void ClearForReuse();

  // The text of the string object named by an argument handle.
  const std::string& ArgumentText(int32_t handle) const;

  [[noreturn, gnu::cold, gnu::noinline]] static void ThrowTooLong();
  [[noreturn, gnu::cold, gnu::noinline]] static void ThrowNotAString(int32_t handle);

  std::string text_;
};

inline int32_t TVkStringObject::ApplyStringMessage(int32_t message, int32_t argument) {
  switch (static_cast<StringMessage>(message)) {
    case StringMessage::Assign:
      text_ = ArgumentText(argument);  // may be text_ itself
      break;
    case StringMessage::FromConstant:
      AssignConstant(argument);
      break;
    case StringMessage::Append: {
      const std::string& other = ArgumentText(argument);
      if (text_.size() + other.size() > max_text_length) ThrowTooLong();
      text_.append(other);  // safe when other is text_ itself
      break;
    }
    case StringMessage::Compare: {
      const int order = text_.compare(ArgumentText(argument));  // bytes as unsigned values
      return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
  }
  return 0;
}

inline void TVkStringObject::AssignConstant(int32_t offset) {
  // Clearing first lets a text that fits reuse its storage without the
  // general replace.
  text_.clear();
  text_.append(Manager().Processor().ConstantText(offset));
}

inline void TVkStringObject::ClearForReuse() {
  constexpr size_t kKeptCapacity = 256;
  if (text_.capacity() > kKeptCapacity) {
    std::string().swap(text_);
  } else {
    text_.clear();
  }
  ClearProperties();
}

inline const std::string& TVkStringObject::ArgumentText(int32_t handle) const {
  const TVkStringObject* other = Manager().FindString(handle);
  if (other == nullptr) ThrowNotAString(handle);
  return other->text_;
}

}  // namespace vork
