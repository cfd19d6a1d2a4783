#include "players/media_player_objects.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "bridge/event_boundary.h"
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

void StagePlayerObject::HandleMessage(int32_t message) {
  switch (message) {
    case 0: {
      const Bounds b = PopBounds();
      RequirePlayer().setGeometry(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
      break;
    }
    case 1: RequirePlayer().Close(); break;
    case 2: PushInt(RequirePlayer().GetLength()); break;
    case 3: PushString(RequirePlayer().GetFileName()); break;
    case 4: PushInt(on_notify_); break;
    case 5: on_notify_ = PopInt(); break;
    case 6: {
      std::string name = PopString();
      TVkCustomMediaPlayer& player = RequirePlayer();
      player.SetFileName(std::move(name));
      player.Open();
      break;
    }
    case 7: RequirePlayer().Play(); break;
    case 8: PushInt(RequirePlayer().GetPosition()); break;
    case 9: {
      const int32_t ms = PopInt();
      RequirePlayer().Seek(ms);
      break;
    }
    case 10: PushInt(RequirePlayer().GetState()); break;
    case 11: RequirePlayer().Stop(); break;
    case 12: SetControls(PopInt()); break;
    case 13: {
      const bool visible = PopFlag(*this);
      RequirePlayer().setVisible(visible);
      break;
    }
    case 14: PushString(RequirePlayer().HtmlName()); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

void TVkStdMediaPlayerObject::HandleMessage(int32_t message) {
  switch (message) {
    case 6:
    case 9:
      StagePlayerObject::HandleMessage(message);
      QCoreApplication::processEvents();
      break;
    case 15: {
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
