#include "bridge/object_manager.h"

#include <algorithm>
#include <cstdio>

#include "bridge/source_locator.h"
#include "bridge/string_object.h"
#include "platform/message_boxes.h"
#include "vm/fatal_check.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

namespace vork {

std::string HandleText(int32_t handle) {
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<uint32_t>(handle));
  return text;
}

TVkObjectManager::TVkObjectManager(const TVkManagerSetup& setup) : setup_(setup) {
  factories_.resize(kStringClass + 1);
  spare_strings_.reserve(kMaxSpareStrings);
}

TVkObjectManager::~TVkObjectManager() {
  // A failing release handler must not keep the others from being released;
  // nothing is left to catch its fault, so it is reported here. Each round
  // makes progress: the failing object has left the list before its handler ran.
  while (!objects_.empty()) {
    try {
      DestroyAllObjects();
    } catch (const std::exception& e) {
      ShowError(std::string("Releasing the script objects failed: ") + e.what());
    }
  }
}

void TVkObjectManager::RegisterClass(int32_t class_index, Factory factory) {
  if (class_index < 0 || class_index > kMaxClassIndex) {
    throw EVkError("RegisterClass: class index out of range (ClassIndex=" + std::to_string(class_index) + ")");
  }
  if (factories_.size() <= static_cast<size_t>(class_index)) factories_.resize(static_cast<size_t>(class_index) + 1);
  factories_[static_cast<size_t>(class_index)] = std::move(factory);
  if (class_index == kStringClass) built_in_strings_ = false;
}

void TVkObjectManager::BindProcessorEvents() {
  Processor().SetObjectEvents(this);
}

int32_t TVkObjectManager::AllocateHandle() {
  uint32_t slot;
  if (!free_slots_.empty()) {
    slot = free_slots_.back();
    free_slots_.pop_back();
  } else {
    if (slots_.size() >= kMaxSlots) throw EVkError("CreateObject: no object handle is left");
    slot = static_cast<uint32_t>(slots_.size());
    slots_.emplace_back();
  }
  return static_cast<int32_t>((slots_[slot].generation << kSlotBits) | slot);
}

std::unique_ptr<TVkObject> TVkObjectManager::MakeObject(int32_t class_index) {
  const bool known = class_index >= 0 && static_cast<size_t>(class_index) < factories_.size() &&
                     factories_[static_cast<size_t>(class_index)];
  if (!known) {
    ShowError("CreateObject: Invalid class (ClassIndex=" + std::to_string(class_index) + ")");
    FailFatalCheck();
  }
  std::unique_ptr<TVkObject> object = factories_[static_cast<size_t>(class_index)](*this);
  if (!object) {
    throw EVkError("CreateObject: the factory of class " + std::to_string(class_index) + " made no object");
  }
  return object;
}

void TVkObjectManager::Dispose(std::unique_ptr<TVkObject> object, bool built_in_string) {
  if (built_in_string) Recycle(std::unique_ptr<TVkStringObject>(static_cast<TVkStringObject*>(object.release())));
}

inline void TVkObjectManager::Recycle(std::unique_ptr<TVkStringObject> string) {
  if (spare_strings_.size() >= kMaxSpareStrings) return;
  // A reused string object is a fresh one, without the text, tags or
  // properties of its earlier life; List sets the rest.
  string->ClearForReuse();
  string->tags_.Clear();
  string->destroyed_ = false;
  spare_strings_.push_back(std::move(string));
}

inline TVkObjectManager::Slot& TVkObjectManager::List(TVkObject& object, int32_t class_index) {
  const int32_t handle = AllocateHandle();
  object.serial_ = next_serial_++;
  objects_.push_back(&object);
  object.auto_release_ = class_index != kStringClass && class_index != kSystemClass;
  object.class_index_ = class_index;
  object.manager_ = this;
  object.handle_ = handle;
  return slots_[static_cast<uint32_t>(handle) & kSlotMask];
}

TVkStringObject& TVkObjectManager::CreateBuiltInString() {
  std::unique_ptr<TVkStringObject> string;
  if (spare_strings_.empty()) {
    string = std::make_unique<TVkStringObject>();
  } else {
    string = std::move(spare_strings_.back());
    spare_strings_.pop_back();
  }
  TVkStringObject& created = *string;
  Slot& slot = List(created, kStringClass);
  slot.string = &created;
  slot.built_in_string = true;
  slot.object = std::move(string);
  return created;
}

int32_t TVkObjectManager::CreateObject(int32_t class_index) {
  // The built-in string class neither initialises nor releases anything.
  if (class_index == kStringClass && built_in_strings_) return CreateBuiltInString().handle_;
  std::unique_ptr<TVkObject> object = MakeObject(class_index);
  TVkObject& created = *object;
  Slot& slot = List(created, class_index);
  slot.string = dynamic_cast<TVkStringObject*>(&created);
  slot.object = std::move(object);
  Deliver(created, ToWord(CommonMessage::Init));
  return created.handle_;
}

int32_t TVkObjectManager::CreateFromConstantEvent(int32_t constant) {
  // A string class of the player's own may run bytecode on creation.
  if (!built_in_strings_) return 0;
  TVkStringObject& created = CreateBuiltInString();
  created.AssignConstant(constant);
  return created.handle_;
}

void TVkObjectManager::SendMsg(int32_t handle, int32_t message) {
  // The hot path of string-heavy code, as the processor's loop takes it.
  if (TVkStack* stack = setup_.stack; stack != nullptr && stack->Length() >= 4) {
    const int32_t top = stack->Length() - 4;
    const DirectReply reply = DirectMessageEvent(handle, message, stack->Peek(top));
    switch (reply.outcome) {
      case DirectReply::kTookNothing:
        return;
      case DirectReply::kTookArgument:
        stack->Pop();
        return;
      case DirectReply::kReplacedArgument:
        stack->Poke(top, reply.word);
        return;
      case DirectReply::kDeclined:
        break;
    }
  }
  // Kept apart, so that the path above saves no registers.
  SendOtherMsg(handle, message);
}

TVkObjectEvents::DirectReply TVkObjectManager::DirectMessageEvent(int32_t handle, int32_t message,
                                                                  int32_t argument) {
  const Slot* slot = SlotOf(handle);
  if (slot == nullptr || !slot->built_in_string) return {};
  TVkStringObject& string = *slot->string;
  if (static_cast<uint32_t>(message) <= TVkStringObject::kLastStringMessage) {
    const int32_t answer = string.ApplyStringMessage(message, argument);
    if (message == ToWord(StringMessage::Compare)) return {DirectReply::kReplacedArgument, answer};
    return {DirectReply::kTookArgument};
  }
  if (message == ToWord(CommonMessage::Destroy) && string.busy_ == 0) {
    DestroyBuiltInString(string);
    return {DirectReply::kTookNothing};
  }
  return {};
}

void TVkObjectManager::SendOtherMsg(int32_t handle, int32_t message) {
  if (message == ToWord(CommonMessage::Destroy)) {
    if (handle == 0) return;
    TVkObject* object = Find(handle);
    if (object == nullptr) {
      ShowInvalidHandle("sendmsg/gmi_destroy: invalid handle: " + HandleText(handle), handle, false);
      return;
    }
    Destroy(*object);
    return;
  }
  TVkObject* object = Find(handle);
  if (object == nullptr) {
    ShowInvalidHandle("sendmsg: invalid handle: " + HandleText(handle), handle, true);
    return;
  }
  Deliver(*object, message);
}

inline std::unique_ptr<TVkObject> TVkObjectManager::Unlist(TVkObject& object) {
  RemoveFromCreationOrder(object);
  const uint32_t index = static_cast<uint32_t>(object.handle_) & kSlotMask;
  Slot& slot = slots_[index];
  std::unique_ptr<TVkObject> owned = std::move(slot.object);
  slot.string = nullptr;
  slot.built_in_string = false;
  if (slot.generation < kMaxGeneration) {
    ++slot.generation;
    free_slots_.push_back(index);
  }  // else the slot is retired, so that no handle comes round again
  return owned;
}

void TVkObjectManager::Destroy(TVkObject& object) {
  // Out of the list and the handle table first: from here on the handle
  // names nothing, also for code that the release handler runs.
  const bool built_in_string = slots_[static_cast<uint32_t>(object.handle_) & kSlotMask].built_in_string;
  std::unique_ptr<TVkObject> owned = Unlist(object);
  object.destroyed_ = true;
  if (object.busy_ > 0) {
    // Destroyed from inside one of its own handlers: freed when the last of
    // them returns (Deliver).
    destroyed_.push_back(std::move(owned));
    Deliver(object, ToWord(CommonMessage::Release));
    return;
  }
  // No handler of the object is running, and its handle names nothing any
  // more, so nothing but this release can reach it before it is freed here.
  if (!built_in_string) Deliver(object, ToWord(CommonMessage::Release));
  Dispose(std::move(owned), built_in_string);
}

void TVkObjectManager::DestroyBuiltInString(TVkStringObject& string) {
  Unlist(string).release();  // owned by string from here on
  Recycle(std::unique_ptr<TVkStringObject>(&string));
}

void TVkObjectManager::RemoveFromCreationOrder(const TVkObject& object) {
  // Most objects die young (string temporaries): try the newest first.
  if (objects_.back() == &object) {
    objects_.pop_back();
    return;
  }
  objects_.erase(std::lower_bound(objects_.begin(), objects_.end(), object.serial_,
                                  [](const TVkObject* listed, uint64_t serial) { return listed->serial_ < serial; }));
}

TVkObjectManager::KeepAlive::KeepAlive(TVkObjectManager& manager, TVkObject& object)
    : manager_(manager), object_(object) {
  ++object_.busy_;
}

TVkObjectManager::KeepAlive::~KeepAlive() {
  if (--object_.busy_ == 0 && object_.destroyed_) manager_.FreeDestroyed(object_);
}

void TVkObjectManager::Deliver(TVkObject& object, int32_t message) {
  KeepAlive keep(*this, object);
  object.HandleMessage(message);
}

void TVkObjectManager::FreeDestroyed(TVkObject& object) {
  const auto found = std::find_if(destroyed_.begin(), destroyed_.end(),
                                  [&](const auto& owned) { return owned.get() == &object; });
  if (found == destroyed_.end()) return;
  auto owned = std::move(*found);
  destroyed_.erase(found);
  Dispose(std::move(owned), false);
}

void TVkObjectManager::ReleaseSceneObjects(int32_t next_scene) {
  std::vector<int32_t> handles;
  for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
    if ((*it)->auto_release_) handles.push_back((*it)->handle_);
  }
  // A release handler may already have destroyed a later one.
  for (int32_t handle : handles) {
    if (TVkObject* object = Find(handle)) {
      RememberRelease(*object, next_scene);
      SendMsg(handle, CommonMessage::Destroy);
    }
  }
}

void TVkObjectManager::RememberRelease(const TVkObject& object, int32_t next_scene) {
  if (release_order_.size() >= kRememberedReleases) {
    released_.erase(release_order_.front());
    release_order_.pop_front();
  }
  release_order_.push_back(object.handle_);
  released_[object.handle_] = {object.class_index_, next_scene};
}

const TVkObjectManager::ReleasedObject* TVkObjectManager::ReleasedByScene(int32_t handle) const {
  const auto found = released_.find(handle);
  return found == released_.end() ? nullptr : &found->second;
}

void TVkObjectManager::ShowInvalidHandle(const std::string& notice, int32_t handle, bool with_hint) {
  const SourceLocator* locator = SourceLocator::Current();
  std::string place;
  std::string released;
  if (locator) {
    if (setup_.processor) place = locator->Where(Processor());
    if (const ReleasedObject* object = ReleasedByScene(handle)) {
      released = locator->Released(object->class_index, object->next_scene);
    }
  }
  ShowPlainAt(notice, place, released);
  if (with_hint) ShowPlain("Check that object was created before use.");
}

void TVkObjectManager::DestroyAllObjects() {
  while (objects_.size() > 1) SendMsg(objects_[1]->handle_, CommonMessage::Destroy);
  if (!objects_.empty()) SendMsg(objects_[0]->handle_, CommonMessage::Destroy);
}

}  // namespace vork
