#include "bridge/source_locator.h"

#include <cstdio>
#include <optional>

#include "bridge/messages.h"
#include "platform/developer_mode.h"
#include "platform/message_boxes.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

namespace vork {

namespace {

SourceLocator* current = nullptr;
bool in_boxes = false;

// Calls deeper than this are a runaway recursion; its first frames say enough.
constexpr int kMaxCallersShown = 8;

// The frames of a fault in the processor's loop may lie above the length
// the stack was last told.
std::optional<int32_t> WordAt(const TVkStack& stack, int32_t offset) { return stack.WordInBuffer(offset); }

std::string PhaseName(int32_t phase) {
  switch (phase) {
    case 0: return "BUILD";
    case 1: return "SHOWN";
    case 3: return "LEAVE";
    default: return "phase " + std::to_string(phase);
  }
}

void Show(BoxKind kind, const std::string& text, const std::string& place, const std::string& detail) {
  std::string where = place;
  if (!detail.empty()) where += (where.empty() ? "" : " ") + detail;
  if (where.empty()) {
    Boxes().Show(kind, text, BoxButtons::Ok);
    return;
  }
  std::fprintf(stderr, "%s\n  at %s\n", text.c_str(), where.c_str());
  std::fflush(stderr);
  Boxes().Show(kind, SourceLocator::InBoxes() ? text + "\n" + where : text, BoxButtons::Ok);
}

}  // namespace

const SourceLocator* SourceLocator::Current() { return current; }

SourceLocator::Installed::Installed(SourceLocator* locator) : previous_(current) { current = locator; }
SourceLocator::Installed::~Installed() { current = previous_; }

void SourceLocator::SetInBoxes(bool on) { in_boxes = on; }
bool SourceLocator::InBoxes() { return in_boxes || DeveloperMode(); }

std::string SourceLocator::RoutineName(int32_t entry) const {
  const auto routine = map_.routineAt(entry);
  return routine ? routine->name : "routine " + std::to_string(entry);
}

std::string SourceLocator::Where(TVkStack& stack, int32_t ip, int32_t fp) const {
  // The instruction pointer has moved past the running instruction's first
  // byte, and a saved return address past the call: one back is inside it.
  const auto location = map_.where(ip - 1);
  const auto routine = map_.routineAt(ip - 1);
  if (!location || !routine) return "";
  std::string text = location->file + ":" + std::to_string(location->line) + " in ";
  for (int shown = 0; shown <= kMaxCallersShown; ++shown) {
    const auto frame_routine = map_.routineAt(ip - 1);
    if (!frame_routine) break;
    if (shown > 0) text += ", called from ";
    text += frame_routine->name;
    if (frame_routine->kind == SourceRoutineKind::Scene) {
      // A scene routine's one argument, the phase, lies just below the saved
      // registers.
      if (const auto phase = WordAt(stack, fp - 12)) text += " (scene, " + PhaseName(*phase) + ")";
    }
    const auto saved_ip = WordAt(stack, fp - 8);
    const auto saved_fp = WordAt(stack, fp - 4);
    // The outermost activation of an event saved the idle registers: the
    // chain ends there.
    if (!saved_ip || !saved_fp || *saved_fp <= 0 || *saved_fp >= fp) break;
    ip = *saved_ip;
    fp = *saved_fp;
  }
  return text;
}

std::string SourceLocator::Where(TVkProcessor& processor) const {
  return Where(processor.Stack(), processor.InstructionPointer(), processor.FramePointer());
}

std::string SourceLocator::Released(int32_t class_index, int32_t next_scene) const {
  const char* class_name = ClassNameOf(class_index);
  std::string text = std::string("(a ") + (class_name ? class_name : "class " + std::to_string(class_index));
  if (next_scene == 0) return text + ", released when the course ended its scenes)";
  return text + ", released by the scene change to " + RoutineName(next_scene) + ")";
}

void SourceLocator::NoteFault(TVkProcessor& processor) {
  // The innermost activation notes it first; the ones the fault then leaves
  // see the same exception. Holding it keeps its address from being reused
  // by a later fault.
  std::exception_ptr fault = std::current_exception();
  if (!fault || fault == fault_) return;
  fault_ = fault;
  fault_place_ = Where(processor);
}

std::string SourceLocator::PlaceOfFault(const std::exception& fault) const {
  if (!fault_) return "";
  try {
    std::rethrow_exception(fault_);
  } catch (const std::exception& noted) {
    if (&noted == &fault) return fault_place_;
  } catch (...) {
  }
  return "";
}

void ShowPlainAt(const std::string& text, const std::string& place, const std::string& detail) {
  Show(BoxKind::Plain, text, place, detail);
}

void ShowErrorAt(const std::string& text, const std::string& place, const std::string& detail) {
  Show(BoxKind::Error, text, place, detail);
}

}  // namespace vork
