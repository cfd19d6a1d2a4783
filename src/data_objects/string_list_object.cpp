#include "data_objects/string_list_object.h"

#include <algorithm>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "bridge/string_object.h"
#include "text/text_edits.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "resources/res_manager.h"

namespace vork {

std::vector<std::string> TVkStringListObject::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(lines_.size());
  for (const TVkListLine& line : lines_) texts.push_back(line.text);
  return texts;
}

void TVkStringListObject::SetTexts(const std::vector<std::string>& texts) {
  std::vector<TVkListLine> lines;
  lines.reserve(texts.size());
  for (const std::string& text : texts) lines.push_back({text, 0});
  lines_ = std::move(lines);
}

void TVkStringListObject::Sort() {
  std::stable_sort(lines_.begin(), lines_.end(), [](const TVkListLine& a, const TVkListLine& b) {
    return CompareIgnoreCase(a.text, b.text) < 0;
  });
}

int32_t TVkStringListObject::IndexOf(std::string_view text) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (EqualsIgnoreCase(lines_[i].text, text)) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string TVkStringListObject::Value(std::string_view name) const {
  for (const TVkListLine& line : lines_) {
    const size_t equals = line.text.find('=');
    if (equals != std::string::npos && EqualsIgnoreCase(std::string_view(line.text).substr(0, equals), name)) {
      return line.text.substr(equals + 1);
    }
  }
  return {};
}

std::string TVkStringListObject::Join(std::string_view separator) const {
  // The result becomes a string object; a runaway list must fail here, with
  // a message, rather than exhaust memory.
  size_t length = 0;
  for (const TVkListLine& line : lines_) length += line.text.size() + separator.size();
  if (length > TVkStringObject::max_text_length) {
    throw EVkError("StringList.join: the text would be longer than " +
                   std::to_string(TVkStringObject::max_text_length) + " bytes");
  }
  std::string joined;
  joined.reserve(length);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) joined += separator;
    joined += lines_[i].text;
  }
  return joined;
}

void TVkStringListObject::Split(std::string_view separator, std::string_view text) {
  lines_.clear();
  if (text.empty()) return;
  if (separator.empty()) {
    Add(std::string(text));
    return;
  }
  while (!text.empty()) {
    const size_t found = text.find(separator);
    if (found == std::string_view::npos) {
      Add(std::string(text));
      return;
    }
    Add(std::string(text.substr(0, found)));
    text.remove_prefix(found + separator.size());
  }
}

void TVkStringListObject::CheckIndex(int32_t index, bool may_append) const {
  const auto count = static_cast<int64_t>(lines_.size());
  if (index < 0 || index > count || (index == count && !may_append)) {
    throw EVkError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

TVkListLine& TVkStringListObject::LineAt(int32_t index) {
  CheckIndex(index);
  return lines_[static_cast<size_t>(index)];
}

void TVkStringListObject::HandleMessage(int32_t message) {
  switch (static_cast<StringListMessage>(message)) {
    case StringListMessage::Clear: lines_.clear(); break;
    case StringListMessage::Count: PushInt(static_cast<int32_t>(lines_.size())); break;
    case StringListMessage::Add: Add(PopString()); break;
    case StringListMessage::AddAll: {
      // A copy first: the other list may be this one.
      const std::vector<TVkListLine> other = StringListAt(Manager(), PopInt()).Lines();
      lines_.insert(lines_.end(), other.begin(), other.end());
      break;
    }
    case StringListMessage::Remove: {
      const int32_t index = PopInt();
      CheckIndex(index);
      lines_.erase(lines_.begin() + index);
      break;
    }
    case StringListMessage::Insert: {
      std::string text = PopString();
      const int32_t index = PopInt();
      CheckIndex(index, true);
      lines_.insert(lines_.begin() + index, {std::move(text), 0});
      break;
    }
    case StringListMessage::IndexOf: PushInt(IndexOf(PopString())); break;
    case StringListMessage::Get: PushString(LineAt(PopInt()).text); break;
    case StringListMessage::Set: {
      std::string text = PopString();
      LineAt(PopInt()).text = std::move(text);
      break;
    }
    case StringListMessage::Join: PushString(Join(PopString())); break;
    case StringListMessage::Split: {
      const std::string separator = PopString();
      const std::string text = PopString();
      Split(separator, text);
      break;
    }
    case StringListMessage::LoadResource: {
      std::vector<std::string> texts;
      ResManager().LoadStrings(texts, PopString());
      SetTexts(texts);
      break;
    }
    case StringListMessage::Number: PushInt(ParseInteger(LineAt(PopInt()).text)); break;
    case StringListMessage::Sort: Sort(); break;
    case StringListMessage::Assign: lines_ = StringListAt(Manager(), PopInt()).Lines(); break;
    case StringListMessage::AddWithWord:
    case StringListMessage::AppendWithWord: {
      const int32_t word = PopInt();
      Add(PopString(), word);
      break;
    }
    case StringListMessage::InsertWithWord: {
      const int32_t word = PopInt();
      std::string text = PopString();
      const int32_t index = PopInt();
      CheckIndex(index, true);
      lines_.insert(lines_.begin() + index, {std::move(text), word});
      break;
    }
    case StringListMessage::WordAt: PushInt(LineAt(PopInt()).word); break;
    case StringListMessage::Value: PushString(Value(PopString())); break;
    case StringListMessage::NumberValue: PushInt(ParseInteger(Value(PopString()))); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

TVkStringListObject& StringListAt(TVkObjectManager& manager, int32_t handle) {
  auto* list = dynamic_cast<TVkStringListObject*>(manager.Find(handle));
  if (list == nullptr) throw EVkError("string list argument " + HandleText(handle) + " is not a live string list");
  return *list;
}

}  // namespace vork
