#pragma once
// TVkScriptProcessorObject (class 24): the bytecode's handle on a text-script
// processor. The bytecode registers its command tables (message 0), loads a
// script from a string list (1), runs it (3, 4), and from inside each command
// routine reads the command's arguments and the script's variables back.
//
// It owns nothing on the stage, so it builds without Qt.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "bridge/script_object.h"
#include "textscript/script_processor.h"
#include "users/reg.h"

namespace vork {

class TVkScriptProcessorObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

 private:
  // The current user's settings (PlayerHost::CurrentUserSettings), asked at
  // every use, so a processor never holds on to the store of a user the
  // course has since replaced (system message 79 frees that user).
  TVkReg& UserVars();
  // Runs the processor, kept alive for the run: a command routine may
  // destroy this very object.
  void RunProcessor(const std::function<void(TVkScriptProcessor&)>& run);

  std::shared_ptr<TVkScriptProcessor> processor_;
  // User variables while no user is current; they live in memory only.
  TVkReg no_user_vars_;
};

// System message 104: a new string list (class 19) holding the script
// resource with its includes expanded; answers its handle. When the
// expansion fails the list is destroyed again and the error passes on.
int32_t NewExpandedScript(TVkObjectManager& manager, std::string_view resource);

}  // namespace vork
