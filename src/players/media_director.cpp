#include "players/media_director.h"

#include <algorithm>
#include <exception>

#include "platform/message_boxes.h"

namespace vork {

TVkMediaDirector::~TVkMediaDirector() {
  SetPlayer(nullptr);
  DetachControls();
}

void TVkMediaDirector::SetPlayer(TVkCustomMediaPlayer* player) {
  if (player_) player_->SetOnNotify(saved_notify_);
  saved_notify_ = nullptr;
  player_ = player;
  if (player_) {
    saved_notify_ = player_->GetOnNotify();
    player_->SetOnNotify([this](TVkCustomMediaPlayer* sender, int code) { PlayerNotified(sender, code); });
  }
  UpdateButtons();
}

void TVkMediaDirector::DetachControls() {
  if (!controls_) return;
  controls_->OnButtonClick = nullptr;
  for (int button = 0; button < TVkMediaControls::kButtons; ++button)
    controls_->SetState(button, TVkMediaControls::kDisabled);
  controls_ = nullptr;
}

void TVkMediaDirector::SetControls(TVkMediaControls* controls) {
  DetachControls();
  controls_ = controls;
  if (controls_) controls_->OnButtonClick = [this](TVkMediaControls*, int button) { ButtonClicked(button); };
  UpdateButtons();
}

void TVkMediaDirector::PlayerNotified(TVkCustomMediaPlayer* sender, int code) {
  switch (code) {
    case kNotifyOpened:
    case kNotifyPlaying:
    case kNotifyStopped:
    case kNotifyPlayedToEnd:
    case kNotifySought:
    case kNotifyClosed: UpdateButtons(); break;
    default: break;
  }
  // Last: the course's routine may free this director.
  if (const TVkMediaNotifyEvent next = saved_notify_) next(sender, code);
}

void TVkMediaDirector::ButtonClicked(int button) {
  if (!player_) return;
  TVkCustomMediaPlayer& player = *player_;
  // A click is an event of its own: a failing command is shown, never
  // passed on into Qt's event dispatch.
  try {
    switch (button) {
      case 0: player.Play(); break;
      case 2: player.Stop(); break;
      case 3: player.Seek(0); break;
      case 4: player.Seek(std::max(0, player.GetPosition() - kSkipMs)); break;
      case 5: player.Seek(std::min(player.GetLength(), player.GetPosition() + kSkipMs)); break;
      default: break;  // the extra button is the bar's own business
    }
  } catch (const std::exception& failure) {
    ShowError(failure.what());
  }
}

std::bitset<TVkMediaControls::kButtons> TVkMediaDirector::EnabledButtons() const {
  std::bitset<TVkMediaControls::kButtons> enabled;
  if (!player_) return enabled;
  switch (player_->GetState()) {
    case TVkCustomMediaPlayer::kPlaying: return enabled.set().reset(0);
    case TVkCustomMediaPlayer::kOpen: {
      enabled.set(0).set(1);
      const int32_t position = player_->GetPosition();
      if (position <= 0) return enabled;
      enabled.set(3).set(4);
      if (position < player_->GetLength()) enabled.set(5);
      return enabled;
    }
    default: return enabled;
  }
}

void TVkMediaDirector::UpdateButtons() {
  if (!controls_) return;
  const auto enabled = EnabledButtons();
  for (int button = 0; button < TVkMediaControls::kButtons; ++button) {
    if (!enabled[static_cast<size_t>(button)]) controls_->SetState(button, TVkMediaControls::kDisabled);
    else if (controls_->State(button) == TVkMediaControls::kDisabled)
      controls_->SetState(button, TVkMediaControls::kNormal);
  }
}

}  // namespace vork
