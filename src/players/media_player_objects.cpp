#include "players/media_player_objects.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "bridge/event_boundary.h"
#include "bridge/messages.h"
#include "players/media_buttons_object.h"
#include "objects/stage_control.h"
#include "platform/errors.h"
#include "vm/processor.h"

namespace vork {

namespace {

bool PopFlag(TVkScriptObject& object) { return (object.PopInt() & 0xff) != 0; }

}  // namespace

void StagePlayerObject::Init() {
  player_ = MakePlayer(StageParent(View()));
  player_->SetOnNotify([this](TVkCustomMediaPlayer*, int code) { Notified(code); });
  director_ = std::make_unique<TVkMediaDirector>();
  director_->SetPlayer(player_);
  player_->show();
}

void StagePlayerObject::Release() {
  director_.reset();
  if (!player_) return;
  player_->SetOnNotify(nullptr);
  // Silenced now; the window goes once the event that runs this release
  // (perhaps the player's own notification) is over.
  player_->Engine().Unload();
  player_->hide();
  player_->deleteLater();
  player_ = nullptr;
}

void StagePlayerObject::StopMedia() {
  if (player_) player_->Stop();
}

TVkCustomMediaPlayer& StagePlayerObject::RequirePlayer() const {
  return RequireControl(player_, "Media player");
}

void StagePlayerObject::Notified(int code) {
  if (on_notify_ == 0) return;
  TVkProcessor& processor = Processor();
  const int32_t handle = Handle();
  const int32_t routine = on_notify_;
  RunAtEventBoundary(processor, [&] {
    processor.Stack().Push(handle);
    processor.Stack().Push(code);
    processor.Run(routine);
  });
}

void StagePlayerObject::SetControls(int32_t buttons_handle) {
  auto* buttons = dynamic_cast<TVkMediaButtonsObject*>(Manager().Find(buttons_handle));
  if (!buttons && buttons_handle != 0)
    throw EVkError("media player object " + HandleText(Handle()) + ": " + HandleText(buttons_handle) +
                   " is not a media buttons object");
  director_->SetControls(buttons ? buttons->Controls() : nullptr);
}

// The browser media player's messages 0-14 are the standard player's.
void StagePlayerObject::HandleMessage(int32_t message) {
  switch (static_cast<StdMediaPlayerMessage>(message)) {
    case StdMediaPlayerMessage::SetBounds: {
      const Bounds b = PopBounds();
      RequirePlayer().setGeometry(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
      break;
    }
    case StdMediaPlayerMessage::Close: RequirePlayer().Close(); break;
    case StdMediaPlayerMessage::Length: PushInt(RequirePlayer().GetLength()); break;
    case StdMediaPlayerMessage::FileName: PushString(RequirePlayer().GetFileName()); break;
    case StdMediaPlayerMessage::OnNotify: PushInt(on_notify_); break;
    case StdMediaPlayerMessage::SetOnNotify: on_notify_ = PopInt(); break;
    case StdMediaPlayerMessage::Open: {
      std::string name = PopString();
      TVkCustomMediaPlayer& player = RequirePlayer();
      player.SetFileName(std::move(name));
      player.Open();
      break;
    }
    case StdMediaPlayerMessage::Play: RequirePlayer().Play(); break;
    case StdMediaPlayerMessage::Position: PushInt(RequirePlayer().GetPosition()); break;
    case StdMediaPlayerMessage::Seek: {
      const int32_t ms = PopInt();
      RequirePlayer().Seek(ms);
      break;
    }
    case StdMediaPlayerMessage::State: PushInt(RequirePlayer().GetState()); break;
    case StdMediaPlayerMessage::Stop: RequirePlayer().Stop(); break;
    case StdMediaPlayerMessage::SetControls: SetControls(PopInt()); break;
    case StdMediaPlayerMessage::SetVisible: {
      const bool visible = PopFlag(*this);
      RequirePlayer().setVisible(visible);
      break;
    }
    case StdMediaPlayerMessage::HtmlName: PushString(RequirePlayer().HtmlName()); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

void TVkStdMediaPlayerObject::HandleMessage(int32_t message) {
  switch (static_cast<StdMediaPlayerMessage>(message)) {
    case StdMediaPlayerMessage::Open:
    case StdMediaPlayerMessage::Seek:
      StagePlayerObject::HandleMessage(message);
      QCoreApplication::processEvents();
      break;
    case StdMediaPlayerMessage::ShowFirstFrame: {
      auto& player = static_cast<TVkStdMediaPlayer&>(RequirePlayer());
      player.ShowFirstFrame();
      break;
    }
    default: StagePlayerObject::HandleMessage(message); break;
  }
}

void TVkMediaPlayerObject::Init() {
  // The transcript and any other output are flushed, as a normal exit would.
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace vork
