#pragma once
// TVkObject: the base of everything the object manager owns. Three virtual
// operations in this order: Init (message -2, right after creation),
// HandleMessage (every message), Release (message -3, just before the
// object is freed). A subclass's HandleMessage is a switch over its own
// message indexes that passes every other index to its parent's.

#include <cstdint>
#include <string>
#include <string_view>

#include "bridge/tag_set.h"

namespace vork {

class TVkObjectManager;

class TVkObject {
 public:
  TVkObject() = default;
  TVkObject(const TVkObject&) = delete;
  TVkObject& operator=(const TVkObject&) = delete;
  virtual ~TVkObject() = default;

  virtual void Init() {}
  // -3 releases, -2 initialises, other negative indexes are ignored; an
  // index >= 0 that no class handled ends the program (fatal check).
  virtual void HandleMessage(int32_t message);
  virtual void Release() {}

  int32_t ClassIndex() const { return class_index_; }
  // The word that names this object to the bytecode.
  int32_t Handle() const { return handle_; }
  TVkObjectManager& Manager() const { return *manager_; }
  // Destroyed at every scene change (set for every class but 0 and 1; an
  // object that must outlive its scene, or that its owner destroys, clears it).
  bool AutoRelease() const { return auto_release_; }
  void SetAutoRelease(bool value) { auto_release_ = value; }

  std::string GetTags() const { return tags_.GetText(); }
  void SetTags(std::string_view text) { tags_.SetText(text); }
  TVkSet& Tags() { return tags_; }

 private:
  friend class TVkObjectManager;

  int32_t class_index_ = 0;
  TVkSet tags_;
  TVkObjectManager* manager_ = nullptr;
  bool auto_release_ = false;
  int32_t handle_ = 0;
  // Creation order over the run: finds the object in the manager's list.
  uint64_t serial_ = 0;
  // Messages being handled by this object further up the native stack; a
  // destroyed object is freed only when the last of them has returned.
  int busy_ = 0;
  bool destroyed_ = false;
};

}  // namespace vork
