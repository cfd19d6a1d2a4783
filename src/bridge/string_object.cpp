#include "bridge/string_object.h"

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "vm/processor.h"

namespace vork {

namespace {

// Kept out of line, so that the message handler stays small.
[[noreturn, gnu::cold, gnu::noinline]] void ThrowTooLong() {
  throw EVkError("string message 2: the text would grow beyond " +
                 std::to_string(TVkStringObject::max_text_length) + " bytes");
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowNotAString(int32_t handle) {
  throw EVkError("string message: argument " + HandleText(handle) + " is not a live string object");
}

}  // namespace

static_assert(ToWord(StringMessage::Compare) == TVkStringObject::kLastStringMessage);

void TVkStringObject::HandleMessage(int32_t message) {
  if (message >= 0 && message <= kLastStringMessage) {
    HandleStringMessage(message);
  } else {
    TVkScriptObject::HandleMessage(message);
  }
}

void TVkStringObject::HandleStringMessage(int32_t message) {
  const int32_t answer = ApplyStringMessage(message, PopInt());
  if (message == ToWord(StringMessage::Compare)) PushInt(answer);
}

int32_t TVkStringObject::ApplyStringMessage(int32_t message, int32_t argument) {
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

void TVkStringObject::AssignConstant(int32_t offset) { text_.assign(Processor().ConstantText(offset)); }

void TVkStringObject::ClearForReuse() {
  constexpr size_t kKeptCapacity = 256;
  if (text_.capacity() > kKeptCapacity) {
    std::string().swap(text_);
  } else {
    text_.clear();
  }
  ClearProperties();
}

const std::string& TVkStringObject::ArgumentText(int32_t handle) const {
  const TVkStringObject* other = Manager().FindString(handle);
  if (other == nullptr) ThrowNotAString(handle);
  return other->text_;
}

}  // namespace vork
