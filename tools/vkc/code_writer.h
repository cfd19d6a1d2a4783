#pragma once
// Code generation output. A routine's instructions are collected first,
// because its prologue (the number of zeroed locals) is known only once its
// body has been compiled and because a message send moves the code of its
// receiver behind the arguments. ImageWriter then puts each routine and every
// data item onto the ImageBuilder and writes the same program as assembly
// text for --listing (text that vkasm assembles to the same image).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vkasm/image_builder.h"
#include "vm/source_map.h"

namespace vork {

class RoutineCode {
 public:
  struct Item {
    enum class Kind { Op, Push, PushAddress, PushTemp, Label, Comment, Line };
    Kind kind;
    Opcode op = Opcode::Stop;
    int32_t value = 0;   // Push: the word; PushTemp: the temporary's number; Line: the line
    std::string text;    // PushAddress, Label: a symbol; Comment: the text
    int file = 0;        // Line: the file's index in the source map
  };

  void Op(Opcode op) { items_.push_back({Item::Kind::Op, op, 0, {}}); }
  void Push(int32_t value) { items_.push_back({Item::Kind::Push, Opcode::Stop, value, {}}); }
  void PushAddress(const std::string& symbol) {
    items_.push_back({Item::Kind::PushAddress, Opcode::Stop, 0, symbol});
  }
  // The frame offset of temporary slot number temp, which lies above every
  // named local; resolved when the routine is written.
  void PushTemp(int temp) { items_.push_back({Item::Kind::PushTemp, Opcode::Stop, temp, {}}); }
  void Label(const std::string& name) { items_.push_back({Item::Kind::Label, Opcode::Stop, 0, name}); }
  void Comment(const std::string& text) { items_.push_back({Item::Kind::Comment, Opcode::Stop, 0, text}); }
  // The code that follows came from this line of that file (for the source map).
  void Line(int file, int line) { items_.push_back({Item::Kind::Line, Opcode::Stop, line, {}, file}); }

  size_t Size() const { return items_.size(); }
  // Removes and returns the items from position on.
  std::vector<Item> CutFrom(size_t position);
  void Append(const std::vector<Item>& items);
  const std::vector<Item>& Items() const { return items_; }

 private:
  std::vector<Item> items_;
};

struct RoutineFrame {
  int arguments = 0;
  int named_locals = 0;  // words at frame offsets 4, 8, ... (the result first, if any)
  int temporaries = 0;   // words above the named locals
};

class ImageWriter {
 public:
  void AddGlobal(const std::string& name, int32_t initial);
  void AddString(const std::string& name, const std::string& text);
  // The label, the prologue (argument count, zeroed locals), then the code.
  // A routine of the course's own (kind given) is named in the source map.
  void AddRoutine(const std::string& label, const RoutineFrame& frame, const RoutineCode& code,
                  std::optional<SourceRoutineKind> kind = std::nullopt);

  ImageBuilder& Builder() { return builder_; }
  SourceMap& Map() { return map_; }
  // The listing so far, followed by the entry directives.
  std::string Listing(const std::string& start, const std::string& stop) const;

 private:
  void Write(const RoutineCode::Item& item, const RoutineFrame& frame);
  void Instruction(const std::string& text) { code_listing_ += "    " + text + "\n"; }
  void PushWord(int32_t value);

  ImageBuilder builder_;
  SourceMap map_;
  std::string code_listing_;
  std::string data_listing_;
};

// A text as a vkasm string literal.
std::string QuoteForListing(const std::string& text);

}  // namespace vork
