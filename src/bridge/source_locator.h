#pragma once
// SourceLocator: says where in the course source the machine is, for the
// notices and error boxes a course author has to act on. With the source map
// the compiler wrote for the running image it turns an instruction pointer
// and the call frames on the value stack into
//   lesson.vkc:42 in answered, called from ask (scene, SHOWN)
// and a handle that a scene change released into
//   (a StringList, released by the scene change to ask).
//
// The place always goes to standard error; the boxes carry it only on a
// development machine in developer mode, or when the player was started for
// course development (SetInBoxes), so that the transcripts of ordinary runs
// stay as they are.
//
// A fault leaves the activation it happened in before anyone can look at the
// frames, so the processor's fault event notes the place while they are still
// there (NoteFault), and the event boundary that shows the fault takes it
// (PlaceOfFault).

#include <cstdint>
#include <exception>
#include <string>

#include "vm/source_map.h"

namespace vork {

class TVkProcessor;
class TVkStack;

class SourceLocator {
 public:
  explicit SourceLocator(SourceMap map) : map_(std::move(map)) {}

  // The locator of the running course; null when it came without a map.
  static const SourceLocator* Current();
  // Installs locator as Current() for its lifetime (the director holds one).
  class Installed {
   public:
    explicit Installed(SourceLocator* locator);
    ~Installed();
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

   private:
    SourceLocator* previous_;
  };

  // Whether boxes carry the place as well (standard error always does).
  static void SetInBoxes(bool in_boxes);
  static bool InBoxes();

  // "FILE:LINE in ROUTINE, called from ..." for the instruction before ip
  // (the processor has stepped past the one that is running), with fp the
  // frame of its activation; "" when the map knows nothing of ip.
  std::string Where(TVkStack& stack, int32_t ip, int32_t fp) const;
  // The same for the place the processor has saved.
  std::string Where(TVkProcessor& processor) const;
  // "(a StringList, released by the scene change to ask)".
  std::string Released(int32_t class_index, int32_t next_scene) const;
  // The routine's name, or "routine N" when the map does not list it.
  std::string RoutineName(int32_t entry) const;

  // Called by the processor while the fault being raised is still inside
  // the activation it happened in; only the innermost activation's place is
  // kept, however many activations the fault then leaves.
  void NoteFault(TVkProcessor& processor);
  // The place noted for fault, or "" when none was noted for it.
  std::string PlaceOfFault(const std::exception& fault) const;

  const SourceMap& Map() const { return map_; }

 private:
  SourceMap map_;
  std::exception_ptr fault_;  // the exception the place was noted for
  std::string fault_place_;
};

// Shows a notice or an error box of the course, and says where it happened
// when the running course has a map: the place and the detail (such as
// Released()) go to standard error, and into the box when InBoxes().
void ShowPlainAt(const std::string& text, const std::string& place, const std::string& detail = "");
void ShowErrorAt(const std::string& text, const std::string& place, const std::string& detail = "");

}  // namespace vork
