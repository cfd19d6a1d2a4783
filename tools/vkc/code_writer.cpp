#include "vkc/code_writer.h"

#include <algorithm>
#include <cstdio>

namespace vork {

std::vector<RoutineCode::Item> RoutineCode::CutFrom(size_t position) {
  std::vector<Item> cut(items_.begin() + static_cast<std::ptrdiff_t>(position), items_.end());
  items_.resize(position);
  return cut;
}

void RoutineCode::Append(const std::vector<Item>& items) { items_.insert(items_.end(), items.begin(), items.end()); }

std::string QuoteForListing(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 32 || byte == 127) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

void ImageWriter::AddGlobal(const std::string& name, int32_t initial) {
  builder_.AddGlobal(name, initial);
  data_listing_ += ".global " + name + (initial != 0 ? " = " + std::to_string(initial) : "") + "\n";
}

void ImageWriter::AddString(const std::string& name, const std::string& text) {
  builder_.AddString(name, text);
  data_listing_ += ".string " + name + ", " + QuoteForListing(text) + "\n";
}

void ImageWriter::PushWord(int32_t value) {
  builder_.EmitPush(value);
  // The same choice of instruction as EmitPush, so the listing assembles alike.
  if (value == 0) {
    Instruction("zero");
  } else if (value == 1) {
    Instruction("one");
  } else if (value == -1) {
    Instruction("minusone");
  } else if (value >= -128 && value <= 127) {
    Instruction("loadc " + std::to_string(value));
  } else {
    Instruction("loadcon " + std::to_string(value));
  }
}

void ImageWriter::Write(const RoutineCode::Item& item, const RoutineFrame& frame) {
  using Kind = RoutineCode::Item::Kind;
  switch (item.kind) {
    case Kind::Op:
      builder_.Emit(item.op);
      Instruction(std::string(kOpcodeTable[static_cast<int>(item.op)].name));
      break;
    case Kind::Push:
      PushWord(item.value);
      break;
    case Kind::PushAddress:
      builder_.EmitLoadCon(item.text);
      Instruction("loadcon " + item.text);
      break;
    case Kind::PushTemp:
      PushWord(4 * (1 + frame.named_locals + item.value));
      break;
    case Kind::Label:
      builder_.DefineLabel(item.text);
      code_listing_ += item.text + ":\n";
      break;
    case Kind::Comment:
      code_listing_ += "    ; " + item.text + "\n";
      break;
    case Kind::Line:
      map_.addLine(builder_.CodeSize(), item.file, item.value);
      break;
  }
}

void ImageWriter::AddRoutine(const std::string& label, const RoutineFrame& frame, const RoutineCode& code,
                             std::optional<SourceRoutineKind> kind) {
  if (kind) map_.addRoutine(builder_.CodeSize(), *kind, label);
  // The prologue belongs to the routine's first line, not to the end of
  // whatever routine lies before it.
  const auto& items = code.Items();
  const auto first_line = std::find_if(items.begin(), items.end(),
                                       [](const RoutineCode::Item& item) { return item.kind == RoutineCode::Item::Kind::Line; });
  if (first_line != items.end()) Write(*first_line, frame);
  builder_.DefineLabel(label);
  code_listing_ += "\n" + label + ":\n";
  PushWord(frame.arguments);
  const int locals = frame.named_locals + frame.temporaries;
  if (locals <= 2) {
    for (int i = 0; i < locals; ++i) Write({RoutineCode::Item::Kind::Op, Opcode::Zero, 0, {}}, frame);
  } else {
    PushWord(locals);
    Write({RoutineCode::Item::Kind::Op, Opcode::ZeroFill, 0, {}}, frame);
  }
  const auto is_swap = [&](size_t i) {
    return i < items.size() && items[i].kind == RoutineCode::Item::Kind::Op && items[i].op == Opcode::Swap;
  };
  for (size_t i = 0; i < items.size(); ++i) {
    // Two swaps in a row (a join whose operands both needed no fix-up) cancel.
    if (is_swap(i) && is_swap(i + 1)) {
      ++i;
      continue;
    }
    Write(items[i], frame);
  }
}

std::string ImageWriter::Listing(const std::string& start, const std::string& stop) const {
  return ".start " + start + "\n.stop " + stop + "\n" + code_listing_ + "\n" + data_listing_;
}

}  // namespace vork
