#include "players/media_buttons_object.h"

#include "bridge/messages.h"
#include "objects/event_routine.h"
#include "objects/stage_control.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

bool PopFlag(TVkScriptObject& object) { return (object.PopInt() & 0xff) != 0; }

}  // namespace

void TVkMediaButtonsObject::Init() {
  controls_ = new TVkMediaControls(StageParent(View()));
  controls_->OnExtraClick = [this](TVkMediaControls*) { RunObjectEvent(*this, on_extra_); };
  controls_->show();
}

void TVkMediaButtonsObject::Release() {
  if (!controls_) return;
  controls_->OnExtraClick = nullptr;
  controls_->OnButtonClick = nullptr;
  controls_->hide();
  // Its own click may be the event that runs this release.
  controls_->deleteLater();
  controls_ = nullptr;
}

TVkMediaControls& TVkMediaButtonsObject::RequireControls() const {
  return RequireControl(controls_, "Media buttons");
}

void TVkMediaButtonsObject::HandleMessage(int32_t message) {
  switch (static_cast<MediaButtonsMessage>(message)) {
    case MediaButtonsMessage::SetPosition: {
      const int32_t top = PopInt();
      const int32_t left = PopInt();
      RequireControls().move(left, top);
      break;
    }
    case MediaButtonsMessage::LoadStrip: {
      const std::string name = PopString();
      RequireControls().SetStrip(LoadBitmapImage(ResManager(), name));
      break;
    }
    case MediaButtonsMessage::OnExtra: PushInt(on_extra_); break;
    case MediaButtonsMessage::SetOnExtra: on_extra_ = PopInt(); break;
    case MediaButtonsMessage::SetShowExtra: {
      const bool show = PopFlag(*this);
      RequireControls().SetShowExtra(show);
      break;
    }
    case MediaButtonsMessage::SetExtraEnabled: {
      const bool enabled = PopFlag(*this);
      RequireControls().SetExtraEnabled(enabled);
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
