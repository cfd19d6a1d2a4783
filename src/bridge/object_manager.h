#pragma once
// TVkObjectManager: owns every script object the bytecode creates. It makes
// objects by class index from a table of factories that the player fills at
// start-up (only the string class, index 0, is built in), checks every handle
// the bytecode presents, routes messages, and destroys objects on request, at
// a scene change and at shutdown.
//
// A handle is a slot index with a generation count: checking one is O(1), a
// destroyed object's handle never names a later object (a slot whose
// generation count is used up is retired, not reused), and 0 names nothing.
// The creation-order list serves the destroy orders.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bridge/object.h"

namespace vork {

class TVkProcessor;
class TVkStack;
class TVkView;  // the stage; opaque here

// What the director hands to the manager.
struct TVkManagerSetup {
  TVkProcessor* processor = nullptr;
  TVkStack* stack = nullptr;
  TVkView* view = nullptr;
};

// "$" and the handle as 8 upper-case hexadecimal digits, as the notices show it.
std::string HandleText(int32_t handle);

class TVkObjectManager {
 public:
  using Factory = std::function<std::unique_ptr<TVkObject>(TVkObjectManager&)>;
  static constexpr int32_t kStringClass = 0;
  static constexpr int32_t kSystemClass = 1;
  static constexpr int32_t kMaxClassIndex = 1023;

  explicit TVkObjectManager(const TVkManagerSetup& setup);
  TVkObjectManager(const TVkObjectManager&) = delete;
  TVkObjectManager& operator=(const TVkObjectManager&) = delete;
  // Destroys every live object in the shutdown order (DestroyAllObjects).
  ~TVkObjectManager();

  // Makes class_index creatable (0 .. kMaxClassIndex; replaces an earlier factory).
  void RegisterClass(int32_t class_index, Factory factory);
  // Points the processor's createobj and method events at this manager.
  void BindProcessorEvents();

  // A new object of the class; returns its handle. An unregistered index
  // shows "CreateObject: Invalid class (ClassIndex=N)" and ends the program.
  int32_t CreateObject(int32_t class_index);
  // Message -1 destroys; every other index goes to the object's handler.
  // A handle that names no live object shows the invalid-handle notices and
  // has no further effect.
  void SendMsg(int32_t handle, int32_t message);

  // Destroys every auto-release object, newest first.
  void ReleaseSceneObjects();
  // Destroys every object but the oldest in creation order, then the oldest.
  void DestroyAllObjects();

  // The live object named by handle, or null.
  TVkObject* Find(int32_t handle) const;
  bool IsLive(int32_t handle) const { return Find(handle) != nullptr; }
  int Count() const { return static_cast<int>(objects_.size()); }
  // By position in creation order (0 is the oldest).
  TVkObject& ObjectAt(int position) const { return *objects_.at(static_cast<size_t>(position)); }

  TVkProcessor& Processor() const { return *setup_.processor; }
  TVkStack& Stack() const { return *setup_.stack; }
  TVkView* View() const { return setup_.view; }

 private:
  struct Slot {
    std::unique_ptr<TVkObject> object;
    uint32_t generation = 1;
  };

  int32_t AllocateHandle();
  void Destroy(TVkObject& object);
  // Runs the handler with the object marked busy, and frees a destroyed
  // object once its last handler has returned.
  void Deliver(TVkObject& object, int32_t message);
  void FreeDestroyed(TVkObject& object);

  TVkManagerSetup setup_;
  std::vector<Factory> factories_;
  std::vector<Slot> slots_;
  std::vector<uint32_t> free_slots_;
  std::vector<TVkObject*> objects_;  // live, in creation order
  std::vector<std::unique_ptr<TVkObject>> destroyed_;  // awaiting their handlers' return
};

}  // namespace vork
