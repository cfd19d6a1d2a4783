#include "shell/player_classes.h"

#include <memory>

#include "bridge/object_manager.h"
#include "media/audio_recorder_object.h"
#include "media/play_audio.h"
#include "objects/memo_object.h"
#include "objects/system_object.h"

namespace vork {

namespace {

template <typename T>
void Register(TVkObjectManager& manager, int32_t class_index) {
  manager.RegisterClass(class_index, [](TVkObjectManager&) { return std::make_unique<T>(); });
}

}  // namespace

void RegisterPlayerClasses(TVkObjectManager& manager) {
  // Class 0, the string, is built into the manager.
  Register<TVkSystemObject>(manager, 1);
  Register<TVkMemoObject>(manager, 9);
  Register<TVkAudioRecorderObject>(manager, 21);
  TVkSystemObject::StopAllMediaHook = [] {
    if (TVkSystemObject* system = TVkSystemObject::Current()) StopAllMedia(system->Manager());
  };
}

}  // namespace vork
