#pragma once
// The compiler's map from code addresses back to the course source: which
// file and line an instruction came from, and which routine it belongs to.
// Addresses are offsets into the code-and-data area, the same numbers the
// processor's instruction pointer holds.
//
// Text form, one record a line:
//   vkmap 1
//   file <index> <path>                     indices 0, 1, 2, ... in order
//   routine <address> <kind> <name>         kind: main | routine | scene
//   line <address> <file-index> <line>
// Routine and line records are sorted by address. A routine spans up to the
// next routine record; an address belongs to the last line record at or
// before it. Paths and names run to the end of their line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

enum class SourceRoutineKind { Main, Routine, Scene };

// "main", "routine" or "scene".
std::string_view SourceRoutineKindName(SourceRoutineKind kind);

struct SourceLocation {
  std::string file;  // as the map names it
  int line = 0;
};

struct SourceRoutine {
  int32_t address = 0;  // the routine's first instruction
  SourceRoutineKind kind = SourceRoutineKind::Routine;
  std::string name;
};

struct SourceLine {
  int32_t address = 0;
  int file = 0;
  int line = 0;
};

class SourceMap {
 public:
  // EVkError "source map line N: ..." for anything malformed: an unknown
  // record, a number out of range, records out of address order, a line
  // naming a file that was not listed.
  static SourceMap Parse(std::string_view text);
  std::string Format() const;

  // Building a map, in address order; an address before the previous
  // record's, or a file index that is not listed, is an EVkError.
  int addFile(const std::string& path);
  void addRoutine(int32_t address, SourceRoutineKind kind, const std::string& name);
  void addLine(int32_t address, int file, int line);

  // Where the instruction at address came from; nothing before the first
  // line record.
  std::optional<SourceLocation> where(int32_t address) const;
  // The routine the address lies in; nothing before the first routine.
  std::optional<SourceRoutine> routineAt(int32_t address) const;
  // The routine called name, if the map lists one.
  std::optional<SourceRoutine> findRoutine(std::string_view name) const;

  const std::vector<std::string>& files() const { return files_; }
  const std::vector<SourceRoutine>& routines() const { return routines_; }
  const std::vector<SourceLine>& lines() const { return lines_; }
  bool empty() const { return routines_.empty() && lines_.empty(); }

 private:
  std::vector<std::string> files_;
  std::vector<SourceRoutine> routines_;
  std::vector<SourceLine> lines_;
};

}  // namespace vork
