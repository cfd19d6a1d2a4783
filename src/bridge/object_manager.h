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
//
// Strings are made and destroyed by the million (every literal, every string
// result), so the built-in string class skips the factory call and reuses
// the storage of freed string objects, and each slot remembers whether it
// holds a string, so that string arguments are found without a cast.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "bridge/messages.h"
#include "bridge/object.h"
#include "vm/processor.h"

namespace vork {

class TVkStack;
class TVkStringObject;
class TVkView;  // the stage; opaque here

// What the director hands to the manager.
struct TVkManagerSetup {
  TVkProcessor* processor = nullptr;
  TVkStack* stack = nullptr;
  TVkView* view = nullptr;
};

// "$" and the handle as 8 upper-case hexadecimal digits, as the notices show it.
std::string HandleText(int32_t handle);

class TVkObjectManager : private TVkObjectEvents {
 public:
  using Factory = std::function<std::unique_ptr<TVkObject>(TVkObjectManager&)>;
  static constexpr int32_t kStringClass = 0;
  static constexpr int32_t kSystemClass = 1;
  static constexpr int32_t kMaxClassIndex = 1023;

  explicit TVkObjectManager(const TVkManagerSetup& setup);
  TVkObjectManager(const TVkObjectManager&) = delete;
  TVkObjectManager& operator=(const TVkObjectManager&) = delete;
  // Destroys every live object in the shutdown order (DestroyAllObjects).
  virtual ~TVkObjectManager();

  // Makes class_index creatable (0 .. kMaxClassIndex; replaces an earlier
  // factory, for class 0 the built-in string class).
  void RegisterClass(int32_t class_index, Factory factory);
  // The same for a class whose objects need nothing but their constructor.
  template <typename T>
  void RegisterClass(int32_t class_index) {
    RegisterClass(class_index, [](TVkObjectManager&) { return std::make_unique<T>(); });
  }
  template <typename T>
  void RegisterClass(ClassIndex class_index) {
    RegisterClass<T>(ToWord(class_index));
  }
  // Points the processor's createobj and method events at this manager.
  void BindProcessorEvents();

  // A new object of the class; returns its handle. An unregistered index
  // shows "CreateObject: Invalid class (ClassIndex=N)" and ends the program.
  int32_t CreateObject(int32_t class_index);
  // Message -1 destroys; every other index goes to the object's handler.
  // A handle that names no live object shows the invalid-handle notices and
  // has no further effect.
  void SendMsg(int32_t handle, int32_t message);
  void SendMsg(int32_t handle, CommonMessage message) { SendMsg(handle, ToWord(message)); }

  // Destroys every auto-release object, newest first, for the scene change to
  // the routine next_scene (0 when the course ends its scenes).
  void ReleaseSceneObjects(int32_t next_scene = 0);

  // What a scene change released, for notices about a handle that a course
  // kept in a global past its scene. The last kRememberedReleases are kept.
  struct ReleasedObject {
    int32_t class_index = 0;
    int32_t next_scene = 0;  // the routine of the scene change that released it
  };
  static constexpr size_t kRememberedReleases = 4096;
  // Null when the handle was not among them.
  const ReleasedObject* ReleasedByScene(int32_t handle) const;
  // Destroys every object but the oldest in creation order, then the oldest.
  void DestroyAllObjects();

  // The live object named by handle, or null.
  TVkObject* Find(int32_t handle) const {
    const Slot* slot = SlotOf(handle);
    return slot != nullptr ? slot->object.get() : nullptr;
  }
  // The live string object named by handle, or null (also for a live object
  // that is not a string).
  TVkStringObject* FindString(int32_t handle) const {
    const Slot* slot = SlotOf(handle);
    return slot != nullptr ? slot->string : nullptr;
  }
  bool IsLive(int32_t handle) const { return Find(handle) != nullptr; }

  // Keeps an object's memory while native code works with it, as its own
  // message handlers are kept: a routine run meanwhile may destroy it (its
  // handle names nothing from then on, so IsLive(Handle()) tells), but it is
  // freed only when the last such scope or handler has returned. Events from
  // outside the machine that call an object's methods directly hold one.
  class KeepAlive {
   public:
    KeepAlive(TVkObjectManager& manager, TVkObject& object);
    ~KeepAlive();
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

   private:
    TVkObjectManager& manager_;
    TVkObject& object_;
  };

  int Count() const { return static_cast<int>(objects_.size()); }
  // By position in creation order (0 is the oldest).
  TVkObject& ObjectAt(int position) const { return *objects_.at(static_cast<size_t>(position)); }

  TVkProcessor& Processor() const { return *setup_.processor; }
  TVkStack& Stack() const { return *setup_.stack; }
  TVkView* View() const { return setup_.view; }

 private:
  // The processor's createobj and method events (BindProcessorEvents).
  int32_t CreateObjectEvent(int32_t class_index) final { return CreateObject(class_index); }
  void SendMessageEvent(int32_t handle, int32_t message) final { SendMsg(handle, message); }
  // A string literal: a built-in string object holding the constant.
  int32_t CreateFromConstantEvent(int32_t constant) final;
  // The string messages and the destroy of a built-in string, which run no
  // bytecode, taken inside the processor's loop.
  DirectReply DirectMessageEvent(int32_t handle, int32_t message, int32_t argument) final;

  // Handle layout: bit 31 clear, generation in bits 20..30 (1 .. 2047), slot
  // index in bits 0..19: room for 2^31 handles over a run before creation
  // fails.
  static constexpr int kSlotBits = 20;
  static constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
  static constexpr uint32_t kMaxSlots = 1u << kSlotBits;
  static constexpr uint32_t kMaxGeneration = (1u << (31 - kSlotBits)) - 1;

  // Thirty-two bytes, so that finding one by index is a shift.
  struct alignas(32) Slot {
    std::unique_ptr<TVkObject> object;
    TVkStringObject* string = nullptr;  // the object, when it is a string object
    uint32_t generation = 1;
    bool built_in_string = false;  // made by MakeBuiltInString: its storage is reused
  };
  // Freed built-in string objects kept for reuse, at most this many.
  static constexpr size_t kMaxSpareStrings = 64;

  const Slot* SlotOf(int32_t handle) const {
    const auto word = static_cast<uint32_t>(handle);
    const uint32_t slot = word & kSlotMask;
    if (slot >= slots_.size()) return nullptr;
    const Slot& entry = slots_[slot];
    return entry.generation == word >> kSlotBits ? &entry : nullptr;
  }
  std::unique_ptr<TVkObject> MakeObject(int32_t class_index);
  // A new object of the built-in string class, listed; it needs no Init.
  TVkStringObject& CreateBuiltInString();
  // Gives a new object its handle and its place in the creation order;
  // returns its slot, for the caller to fill.
  Slot& List(TVkObject& object, int32_t class_index);
  // Takes the object out of the creation order and the handle table: from
  // then on its handle names nothing. Returns its ownership.
  std::unique_ptr<TVkObject> Unlist(TVkObject& object);
  // Frees an object whose handlers have all returned.
  void Dispose(std::unique_ptr<TVkObject> object, bool built_in_string);
  // Keeps a freed built-in string for reuse while there is room for it.
  void Recycle(std::unique_ptr<TVkStringObject> string);
  int32_t AllocateHandle();
  void Destroy(TVkObject& object);
  // Destroy for a built-in string object that no handler holds: it has no
  // release handler, and its storage goes back to the spares at once.
  void DestroyBuiltInString(TVkStringObject& string);
  void RememberRelease(const TVkObject& object, int32_t next_scene);
  // The invalid-handle notices, with the place and what became of the
  // handle when the course has a source map.
  void ShowInvalidHandle(const std::string& notice, int32_t handle, bool with_hint);
  // SendMsg for every message that DirectMessageEvent declines.
  [[gnu::noinline]] void SendOtherMsg(int32_t handle, int32_t message);
  // Takes the live object out of objects_.
  void RemoveFromCreationOrder(const TVkObject& object);
  // Runs the handler with the object marked busy, and frees a destroyed
  // object once its last handler has returned.
  void Deliver(TVkObject& object, int32_t message);
  void FreeDestroyed(TVkObject& object);

  TVkManagerSetup setup_;
  std::vector<Factory> factories_;
  bool built_in_strings_ = true;  // class 0 has no factory of its own
  std::vector<std::unique_ptr<TVkStringObject>> spare_strings_;
  std::vector<Slot> slots_;
  std::vector<uint32_t> free_slots_;
  // Live, in creation order. A deque, so that removing the oldest or the
  // newest costs the same, and found by serial, so that destroying every
  // object of a long run stays linear.
  std::deque<TVkObject*> objects_;
  uint64_t next_serial_ = 1;
  std::vector<std::unique_ptr<TVkObject>> destroyed_;  // awaiting their handlers' return
  // ReleasedByScene's memory: the handles by age, and what each was. Handles
  // never come round again, so an entry cannot name a later object.
  std::deque<int32_t> release_order_;
  std::unordered_map<int32_t, ReleasedObject> released_;
};

}  // namespace vork
