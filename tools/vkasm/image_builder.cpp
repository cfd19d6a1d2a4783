#include "vkasm/image_builder.h"

#include "vm/word_io.h"

namespace vork {

void ImageBuilder::Emit(Opcode opcode) { code_.push_back(static_cast<uint8_t>(opcode)); }

void ImageBuilder::EmitLoadCon(int32_t value) {
  Emit(Opcode::LoadCon);
  EmitWord(value);
}

void ImageBuilder::EmitLoadCon(std::string_view symbol, int line) {
  Emit(Opcode::LoadCon);
  fixups_.push_back({code_.size(), std::string(symbol), line});
  EmitWord(0);
}

void ImageBuilder::EmitLoadC(int8_t value) {
  Emit(Opcode::LoadC);
  code_.push_back(static_cast<uint8_t>(value));
}

void ImageBuilder::EmitPush(int32_t value) {
  if (value == 0) {
    Emit(Opcode::Zero);
  } else if (value == 1) {
    Emit(Opcode::One);
  } else if (value == -1) {
    Emit(Opcode::MinusOne);
  } else if (value >= -128 && value <= 127) {
    EmitLoadC(static_cast<int8_t>(value));
  } else {
    EmitLoadCon(value);
  }
}

void ImageBuilder::EmitByte(uint8_t byte) { code_.push_back(byte); }

void ImageBuilder::EmitWord(int32_t word) {
  uint8_t bytes[4];
  WriteWord(bytes, word);
  code_.insert(code_.end(), bytes, bytes + 4);
}

void ImageBuilder::Define(std::string_view name, Symbol symbol, int line) {
  if (!symbols_.emplace(std::string(name), symbol).second) {
    throw AssemblyError(line, "symbol '" + std::string(name) + "' is defined twice");
  }
}

void ImageBuilder::DefineLabel(std::string_view name, int line) {
  Define(name, {false, CodeSize()}, line);
}

void ImageBuilder::AddGlobal(std::string_view name, int32_t initial, int line) {
  Define(name, {true, static_cast<int32_t>(data_.size())}, line);
  uint8_t bytes[4];
  WriteWord(bytes, initial);
  data_.insert(data_.end(), bytes, bytes + 4);
  if (first_global_.empty()) first_global_ = std::string(name);
}

void ImageBuilder::AddString(std::string_view name, std::string_view text, int line) {
  Define(name, {true, static_cast<int32_t>(data_.size())}, line);
  data_.insert(data_.end(), text.begin(), text.end());
  data_.push_back(0);
}

std::string ImageBuilder::AddAnonymousString(std::string_view text) {
  // A name that no source symbol can spell.
  std::string name = "$string" + std::to_string(++anonymous_strings_);
  AddString(name, text);
  return name;
}

void ImageBuilder::DefineAlias(std::string_view name, std::string_view existing, int line) {
  const auto found = symbols_.find(existing);
  if (found == symbols_.end()) {
    throw AssemblyError(line, "undefined symbol '" + std::string(existing) + "'");
  }
  Define(name, found->second, line);
}

bool ImageBuilder::IsDefined(std::string_view name) const { return symbols_.contains(name); }

int32_t ImageBuilder::Resolve(std::string_view name, int line) const {
  const auto found = symbols_.find(name);
  if (found == symbols_.end()) {
    throw AssemblyError(line, "undefined symbol '" + std::string(name) + "'");
  }
  return found->second.in_data ? CodeSize() + found->second.offset : found->second.offset;
}

std::map<std::string, int32_t, std::less<>> ImageBuilder::ResolvedSymbols() const {
  std::map<std::string, int32_t, std::less<>> resolved;
  for (const auto& [name, symbol] : symbols_) {
    if (name.front() != '$') resolved.emplace(name, Resolve(name));
  }
  return resolved;
}

std::vector<uint8_t> ImageBuilder::Build() const {
  std::vector<uint8_t> area = code_;
  for (const Fixup& fixup : fixups_) WriteWord(area.data() + fixup.at, Resolve(fixup.symbol, fixup.line));
  area.insert(area.end(), data_.begin(), data_.end());
  return area;
}

}  // namespace vork
