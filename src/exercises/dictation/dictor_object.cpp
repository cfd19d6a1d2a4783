#include "exercises/dictation/dictor_object.h"

#include <string>

#include "bridge/messages.h"
#include "exercises/dictation/dictor.h"
#include "objects/event_routine.h"
#include "objects/stage_control.h"

namespace vork {

TVkDictor* TVkDictorObject::Dictor() const { return dictor_; }

void TVkDictorObject::Init() {
  QWidget* stage = StageParent(View());
  dictor_ = new TVkDictor(stage);
  dictor_->OnHotSpotClick = [this] { RunObjectEvent(*this, hot_spot_handler_); };
  if (stage) dictor_->show();
}

void TVkDictorObject::Release() {
  if (!dictor_) return;
  // The release may run inside the hot spot's own click: the control goes
  // from the event loop, silent from now on.
  dictor_->OnHotSpotClick = nullptr;
  dictor_->Player().Stop();
  dictor_->hide();
  dictor_->deleteLater();
  dictor_ = nullptr;
}

TVkDictor& TVkDictorObject::CheckedDictor() const {
  return RequireControl(dictor_, "Dictation");
}

void TVkDictorObject::HandleMessage(int32_t message) {
  switch (static_cast<DictationMessage>(message)) {
    case DictationMessage::Setup: {
      const std::string expected = PopString();
      const std::string recording = PopString();
      const std::string initial = PopString();
      const std::string instruction = PopString();
      const std::string picture = PopString();
      CheckedDictor().Setup(picture, instruction, initial, recording, expected);
      break;
    }
    case DictationMessage::SetOnHotSpot: hot_spot_handler_ = PopInt(); break;
    case DictationMessage::Result: PushInt(CheckedDictor().Result()); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
