#pragma once
// ImageBuilder: encodes instructions and lays out a code-and-data area the
// way compiled courses are laid out: routines from offset 0, then the data
// area (global slots and string constants in the order they were added).
// Symbols (labels, globals, strings) may be used before they are defined;
// Build resolves them. The assembler and the course compiler both use it.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "vm/opcodes.h"

namespace vork {

// A fault in assembly source; line is 0 when no source line is involved.
class AssemblyError : public EVkError {
 public:
  AssemblyError(int line, const std::string& message) : EVkError(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

class ImageBuilder {
 public:
  void Emit(Opcode opcode);
  void EmitLoadCon(int32_t value);
  // loadcon with the offset of symbol, resolved by Build; line names the use.
  void EmitLoadCon(std::string_view symbol, int line = 0);
  void EmitLoadC(int8_t value);
  // The shortest instruction that pushes value (zero, one, minusone, loadc, loadcon).
  void EmitPush(int32_t value);
  // Raw bytes in the code, for images that tests damage on purpose.
  void EmitByte(uint8_t byte);
  void EmitWord(int32_t word);

  // A label at the current code offset. Duplicate names are an error.
  void DefineLabel(std::string_view name, int line = 0);
  // A 4-byte global slot in the data area.
  void AddGlobal(std::string_view name, int32_t initial = 0, int line = 0);
  // A NUL-terminated string constant in the data area.
  void AddString(std::string_view name, std::string_view text, int line = 0);
  // An unnamed string constant; returns the symbol that names it.
  std::string AddAnonymousString(std::string_view text);

  // name stands for the same offset as existing (which must be defined).
  void DefineAlias(std::string_view name, std::string_view existing, int line = 0);

  bool IsDefined(std::string_view name) const;
  // The first global slot added, or "" when there is none.
  const std::string& FirstGlobal() const { return first_global_; }
  int32_t CodeSize() const { return static_cast<int32_t>(code_.size()); }

  // The finished area; AssemblyError for a symbol that was never defined.
  std::vector<uint8_t> Build() const;
  // The offset of a symbol in the finished area.
  int32_t Resolve(std::string_view name, int line = 0) const;
  // Every named symbol with its offset in the finished area.
  std::map<std::string, int32_t, std::less<>> ResolvedSymbols() const;

 private:
  struct Symbol {
    bool in_data;    // offset is relative to the start of the data area
    int32_t offset;
  };
  struct Fixup {
    size_t at;  // position of the loadcon immediate in code_
    std::string symbol;
    int line;
  };
  void Define(std::string_view name, Symbol symbol, int line);

  std::vector<uint8_t> code_;
  std::vector<uint8_t> data_;
  std::map<std::string, Symbol, std::less<>> symbols_;
  std::vector<Fixup> fixups_;
  std::string first_global_;
  int anonymous_strings_ = 0;
};

}  // namespace vork
