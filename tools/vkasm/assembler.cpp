#include "vkasm/assembler.h"

#include <charconv>
#include <sstream>

#include "platform/cp1252.h"
#include "vkasm/image_builder.h"
#include "vm/image.h"

namespace vork {

namespace {

// The symbol through which sendsys reaches the system object: the first
// global slot, which is known only once the whole source has been read.
constexpr std::string_view kSystemSymbol = "$system";

struct Operand {
  enum class Kind { Number, Symbol, String, Local };
  Kind kind;
  int32_t number = 0;
  std::string text;  // symbol name or string contents
};

bool IsIdentifierStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9') || c == '.'; }

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool IsIdentifier(std::string_view text) {
  if (text.empty() || !IsIdentifierStart(text[0])) return false;
  for (char c : text) {
    if (!IsIdentifierChar(c)) return false;
  }
  return true;
}

class LineAssembler {
 public:
  explicit LineAssembler(ImageBuilder& builder) : builder_(builder) {}

  void Assemble(std::string_view line, int number);

  // The operands of .start and .stop, resolved at the end.
  Operand start{Operand::Kind::Number, 0, {}};
  Operand stop{Operand::Kind::Number, 0, {}};
  bool uses_system = false;

 private:
  [[noreturn]] void Fail(const std::string& message) const { throw AssemblyError(line_, message); }

  std::vector<std::string_view> SplitOperands(std::string_view text) const;
  Operand ParseOperand(std::string_view text) const;
  int32_t ParseNumber(std::string_view text) const;
  std::string ParseString(std::string_view text) const;
  int32_t CharConstant(std::string_view text) const;

  void Directive(std::string_view name, const std::vector<std::string_view>& operands);
  void Instruction(std::string_view name, const std::vector<std::string_view>& operands);
  bool PseudoInstruction(std::string_view name, const std::vector<std::string_view>& operands);

  void ExpectCount(const std::vector<std::string_view>& operands, size_t low, size_t high,
                   std::string_view name) const;
  int32_t NumberOperand(std::string_view text) const;
  // A number or a symbol, pushed with the shortest instruction that can
  // (a symbol always takes loadcon, since its offset is not known yet).
  void EmitPushValue(const Operand& value);
  Operand ValueOperand(std::string_view text) const;
  void EmitSend(std::string_view name, const std::vector<std::string_view>& operands, Opcode send);

  ImageBuilder& builder_;
  int line_ = 0;
};

std::vector<std::string_view> LineAssembler::SplitOperands(std::string_view text) const {
  std::vector<std::string_view> operands;
  if (Trim(text).empty()) return operands;
  size_t begin = 0;
  char quote = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (quote != 0) {
      if (c == '\\') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ',') {
      const auto operand = Trim(text.substr(begin, i - begin));
      if (operand.empty()) Fail("empty operand");
      operands.push_back(operand);
      begin = i + 1;
    }
  }
  if (quote != 0) Fail("unterminated quote");
  return operands;
}

int32_t LineAssembler::ParseNumber(std::string_view text) const {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value < 0) {
    Fail("bad number '" + std::string(text) + "'");
  }
  if (negative) value = -value;
  // Hexadecimal words may be written unsigned (0xFFFFFFFF is -1).
  if (value < INT32_MIN || value > UINT32_MAX) Fail("number out of range: " + std::string(text));
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::string LineAssembler::ParseString(std::string_view text) const {
  const char quote = text.front();
  if (text.size() < 2 || text.back() != quote) Fail("unterminated quote");
  std::string out;
  const auto body = text.substr(1, text.size() - 2);
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '\\') {
      out += body[i];
      continue;
    }
    if (++i == body.size()) Fail("lone backslash at the end of " + std::string(text));
    switch (body[i]) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case '0': out += '\0'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case '\'': out += '\''; break;
      case 'x': {
        int value = 0;
        if (i + 2 >= body.size()) Fail("\\x needs two hex digits");
        const auto [end, error] = std::from_chars(body.data() + i + 1, body.data() + i + 3, value, 16);
        if (error != std::errc() || end != body.data() + i + 3) Fail("\\x needs two hex digits");
        out += static_cast<char>(value);
        i += 2;
        break;
      }
      default: Fail(std::string("unknown escape \\") + body[i]);
    }
  }
  return out;
}

int32_t LineAssembler::CharConstant(std::string_view text) const {
  const std::string value = ParseString(text);
  if (value.size() != 1) Fail("a character constant holds one character: " + std::string(text));
  return static_cast<unsigned char>(value[0]);
}

Operand LineAssembler::ParseOperand(std::string_view text) const {
  if (text.front() == '"') return {Operand::Kind::String, 0, ParseString(text)};
  if (text.front() == '\'') return {Operand::Kind::Number, CharConstant(text), {}};
  if (text.size() > 6 && EqualsIgnoreCase(text.substr(0, 6), "local ")) {
    return {Operand::Kind::Local, ParseNumber(Trim(text.substr(6))), {}};
  }
  if (IsIdentifier(text)) return {Operand::Kind::Symbol, 0, std::string(text)};
  return {Operand::Kind::Number, ParseNumber(text), {}};
}

void LineAssembler::ExpectCount(const std::vector<std::string_view>& operands, size_t low,
                                size_t high, std::string_view name) const {
  if (operands.size() >= low && operands.size() <= high) return;
  std::string expected = low == high ? std::to_string(low) : std::to_string(low) + " to " + std::to_string(high);
  if (high == 0) Fail(std::string(name) + " takes no operand");
  Fail(std::string(name) + " takes " + expected + " operand(s), not " + std::to_string(operands.size()));
}

int32_t LineAssembler::NumberOperand(std::string_view text) const {
  const Operand operand = ParseOperand(text);
  if (operand.kind != Operand::Kind::Number) Fail("expected a number, not '" + std::string(text) + "'");
  return operand.number;
}

Operand LineAssembler::ValueOperand(std::string_view text) const {
  Operand operand = ParseOperand(text);
  if (operand.kind != Operand::Kind::Number && operand.kind != Operand::Kind::Symbol) {
    Fail("expected a number or a symbol, not '" + std::string(text) + "'");
  }
  return operand;
}

void LineAssembler::EmitPushValue(const Operand& value) {
  if (value.kind == Operand::Kind::Symbol) {
    builder_.EmitLoadCon(value.text, line_);
  } else {
    builder_.EmitPush(value.number);
  }
}

void LineAssembler::Assemble(std::string_view line, int number) {
  line_ = number;
  // Cut the comment: a ';' outside quotes.
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (quote != 0) {
      if (line[i] == '\\') ++i;
      else if (line[i] == quote) quote = 0;
    } else if (line[i] == '"' || line[i] == '\'') {
      quote = line[i];
    } else if (line[i] == ';') {
      line = line.substr(0, i);
      break;
    }
  }
  std::string_view rest = Trim(line);
  // An optional label.
  size_t word_end = 0;
  while (word_end < rest.size() && IsIdentifierChar(rest[word_end])) ++word_end;
  if (word_end > 0 && word_end < rest.size() && rest[word_end] == ':') {
    const auto label = rest.substr(0, word_end);
    if (!IsIdentifier(label)) Fail("bad label name '" + std::string(label) + "'");
    builder_.DefineLabel(label, line_);
    rest = Trim(rest.substr(word_end + 1));
  }
  if (rest.empty()) return;
  size_t name_end = 0;
  while (name_end < rest.size() && rest[name_end] != ' ' && rest[name_end] != '\t') ++name_end;
  const auto name = rest.substr(0, name_end);
  const auto operands = SplitOperands(rest.substr(name_end));
  if (name.front() == '.') {
    Directive(name, operands);
  } else if (!PseudoInstruction(name, operands)) {
    Instruction(name, operands);
  }
}

void LineAssembler::Directive(std::string_view name, const std::vector<std::string_view>& operands) {
  if (EqualsIgnoreCase(name, ".start") || EqualsIgnoreCase(name, ".stop")) {
    ExpectCount(operands, 1, 1, name);
    (EqualsIgnoreCase(name, ".start") ? start : stop) = ValueOperand(operands[0]);
  } else if (EqualsIgnoreCase(name, ".global")) {
    ExpectCount(operands, 1, SIZE_MAX, name);
    for (auto operand : operands) {
      const auto equals = operand.find('=');
      const auto symbol = Trim(operand.substr(0, equals));
      if (!IsIdentifier(symbol)) Fail("bad global name '" + std::string(symbol) + "'");
      const int32_t initial =
          equals == std::string_view::npos ? 0 : NumberOperand(Trim(operand.substr(equals + 1)));
      builder_.AddGlobal(symbol, initial, line_);
    }
  } else if (EqualsIgnoreCase(name, ".string")) {
    ExpectCount(operands, 2, 2, name);
    if (!IsIdentifier(operands[0])) Fail("bad string name '" + std::string(operands[0]) + "'");
    const Operand text = ParseOperand(operands[1]);
    if (text.kind != Operand::Kind::String) Fail(".string needs a quoted text");
    builder_.AddString(operands[0], text.text, line_);
  } else if (EqualsIgnoreCase(name, ".byte")) {
    ExpectCount(operands, 1, SIZE_MAX, name);
    for (auto operand : operands) {
      const int32_t value = NumberOperand(operand);
      if (value < -128 || value > 255) Fail(".byte value out of range: " + std::string(operand));
      builder_.EmitByte(static_cast<uint8_t>(value));
    }
  } else if (EqualsIgnoreCase(name, ".word")) {
    ExpectCount(operands, 1, SIZE_MAX, name);
    for (auto operand : operands) builder_.EmitWord(NumberOperand(operand));
  } else {
    Fail("unknown directive " + std::string(name));
  }
}

void LineAssembler::EmitSend(std::string_view name, const std::vector<std::string_view>& operands,
                             Opcode send) {
  ExpectCount(operands, 1, 2, name);
  EmitPushValue(ValueOperand(operands[0]));
  if (operands.size() == 1) {
    // The handle was pushed before the message index: bring it back on top.
    builder_.Emit(Opcode::Swap);
  } else {
    const Operand target = ParseOperand(operands[1]);
    if (target.kind == Operand::Kind::Symbol) {
      builder_.EmitLoadCon(target.text, line_);
      builder_.Emit(Opcode::GLoad);
    } else if (target.kind == Operand::Kind::Local) {
      builder_.EmitPush(target.number);
      builder_.Emit(Opcode::Load);
    } else {
      Fail("a send target is a global name or 'local N', not '" + std::string(operands[1]) + "'");
    }
  }
  builder_.Emit(send);
}

bool LineAssembler::PseudoInstruction(std::string_view name, const std::vector<std::string_view>& operands) {
  if (EqualsIgnoreCase(name, "push")) {
    ExpectCount(operands, 1, 1, name);
    EmitPushValue(ValueOperand(operands[0]));
  } else if (EqualsIgnoreCase(name, "enter")) {
    // The routine prologue: the argument count at frame offset 0, then the
    // locals from offset 4 on, all 0.
    ExpectCount(operands, 1, 2, name);
    builder_.EmitPush(NumberOperand(operands[0]));
    const int32_t locals = operands.size() == 2 ? NumberOperand(operands[1]) : 0;
    if (locals < 0) Fail("enter: negative number of locals");
    if (locals <= 2) {
      for (int32_t i = 0; i < locals; ++i) builder_.Emit(Opcode::Zero);
    } else {
      builder_.EmitPush(locals);
      builder_.Emit(Opcode::ZeroFill);
    }
  } else if (EqualsIgnoreCase(name, "str")) {
    // A string literal: a new string object filled from the constant.
    ExpectCount(operands, 1, 1, name);
    const Operand text = ParseOperand(operands[0]);
    if (text.kind == Operand::Kind::String) {
      builder_.EmitLoadCon(builder_.AddAnonymousString(text.text), line_);
    } else if (text.kind == Operand::Kind::Symbol) {
      builder_.EmitLoadCon(text.text, line_);
    } else {
      Fail("str takes a quoted text or the name of a .string");
    }
    builder_.Emit(Opcode::One);
    builder_.Emit(Opcode::Zero);
    builder_.Emit(Opcode::CreateObj);
    builder_.Emit(Opcode::Method2);
  } else if (EqualsIgnoreCase(name, "send")) {
    EmitSend(name, operands, Opcode::Method);
  } else if (EqualsIgnoreCase(name, "send2")) {
    EmitSend(name, operands, Opcode::Method2);
  } else if (EqualsIgnoreCase(name, "sendsys")) {
    ExpectCount(operands, 1, 1, name);
    uses_system = true;
    EmitPushValue(ValueOperand(operands[0]));
    builder_.EmitLoadCon(kSystemSymbol, line_);
    builder_.Emit(Opcode::GLoad);
    builder_.Emit(Opcode::Method);
  } else {
    return false;
  }
  return true;
}

void LineAssembler::Instruction(std::string_view name, const std::vector<std::string_view>& operands) {
  const auto opcode = OpcodeByName(name);
  if (!opcode) Fail("unknown instruction '" + std::string(name) + "'");
  switch (*opcode) {
    case Opcode::LoadCon: {
      ExpectCount(operands, 1, 1, name);
      const Operand value = ValueOperand(operands[0]);
      if (value.kind == Operand::Kind::Symbol) {
        builder_.EmitLoadCon(value.text, line_);
      } else {
        builder_.EmitLoadCon(value.number);
      }
      return;
    }
    case Opcode::LoadC: {
      ExpectCount(operands, 1, 1, name);
      const int32_t value = NumberOperand(operands[0]);
      if (value < -128 || value > 127) Fail("loadc takes -128 to 127, not " + std::to_string(value));
      builder_.EmitLoadC(static_cast<int8_t>(value));
      return;
    }
    // The operand these pop last may be written after the name: it is pushed first.
    case Opcode::Jump:
    case Opcode::BrFalse:
    case Opcode::BrTrue:
    case Opcode::Call:
    case Opcode::ZeroFill:
    case Opcode::Load:
    case Opcode::GLoad:
    case Opcode::CreateObj:
      ExpectCount(operands, 0, 1, name);
      if (!operands.empty()) EmitPushValue(ValueOperand(operands[0]));
      builder_.Emit(*opcode);
      return;
    // These pop a value above the address: the address goes under it.
    case Opcode::Store:
    case Opcode::GStore:
      ExpectCount(operands, 0, 1, name);
      if (!operands.empty()) {
        EmitPushValue(ValueOperand(operands[0]));
        builder_.Emit(Opcode::Swap);
      }
      builder_.Emit(*opcode);
      return;
    default:
      ExpectCount(operands, 0, 0, name);
      builder_.Emit(*opcode);
  }
}

}  // namespace

AssembledImage Assemble(std::string_view source, std::string_view file_name) {
  ImageBuilder builder;
  LineAssembler assembler(builder);
  int number = 0;
  const auto where = [&](int line) {
    return std::string(file_name) + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": ";
  };
  try {
    size_t begin = 0;
    while (begin <= source.size()) {
      const auto end = std::min(source.find('\n', begin), source.size());
      assembler.Assemble(source.substr(begin, end - begin), ++number);
      begin = end + 1;
    }
    if (assembler.uses_system) {
      if (builder.FirstGlobal().empty()) throw AssemblyError(0, "sendsys needs a .global for the system object");
      builder.DefineAlias(kSystemSymbol, builder.FirstGlobal());
    }
    AssembledImage image;
    image.area = builder.Build();
    const auto entry = [&](const Operand& operand) {
      return operand.kind == Operand::Kind::Symbol ? builder.Resolve(operand.text) : operand.number;
    };
    image.start_entry = entry(assembler.start);
    image.stop_entry = entry(assembler.stop);
    image.symbols = builder.ResolvedSymbols();
    return image;
  } catch (const AssemblyError& e) {
    throw EVkError(where(e.Line()) + e.what());
  }
}

std::string ImageFileBytes(const AssembledImage& image) {
  std::ostringstream out;
  WriteImage(out, image.start_entry, image.stop_entry, image.area);
  return out.str();
}

}  // namespace vork
