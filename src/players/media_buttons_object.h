#pragma once
// TVkMediaButtonsObject (class 6): a media button bar on the stage, for a
// player object to take (its message 12). A click on the extra button runs
// the course's OnExtra routine with the object's handle.

#include <QPointer>
#include <cstdint>

#include "bridge/script_object.h"
#include "players/media_controls.h"

namespace vork {

class TVkMediaButtonsObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  TVkMediaControls* Controls() const { return controls_; }

 private:
  TVkMediaControls& RequireControls() const;

  QPointer<TVkMediaControls> controls_;
  int32_t on_extra_ = 0;
};

}  // namespace vork
