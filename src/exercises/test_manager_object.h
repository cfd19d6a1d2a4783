#pragma once
// TVkSa1TestManagerObject (class 25): the bytecode's handle on a test
// manager. The course keeps the manager's state itself (message 3 to read
// it, message 0 to give it back), typically in a user setting.

#include <memory>

#include "bridge/script_object.h"
#include "exercises/test_manager.h"

namespace vork {

class TVkSa1TestManagerObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  TSa1TestManager& Model() { return *manager_; }

 private:
  std::unique_ptr<TSa1TestManager> manager_;
};

}  // namespace vork
