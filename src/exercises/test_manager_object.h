#pragma once
// TVkSa1TestManagerObject (class 25): the bytecode's handle on a test
// manager. The course keeps the manager's state itself (message 3 to read
// it, message 0 to give it back), typically in a user setting.

#include <functional>
#include <memory>
#include <string>

#include "bridge/script_object.h"
#include "exercises/test_manager.h"

namespace vork {

class TVkSa1TestManagerObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  TSa1TestManager& Model() { return *manager_; }

  // Where a development machine shows what Setup dropped from a stored
  // state (the stage's message overlay); filled by the player, which has a
  // stage. Without one the diagnostic log alone says it.
  using NoteShower = std::function<void(TVkScriptObject& object, const std::string& note)>;
  static void SetNoteShower(NoteShower shower);

 private:
  std::unique_ptr<TSa1TestManager> manager_;
};

}  // namespace vork
