#include "windows/comment_window.h"

#include <QCoreApplication>
#include <QPointer>
#include <memory>

#include "bridge/messages.h"
#include "dialogs/link_command.h"
#include "players/media_controls.h"
#include "players/media_director.h"
#include "players/std_media_player.h"
#include "objects/html/html_viewer.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"

namespace vork {

TVkCommentForm::TVkCommentForm(TVkResManager& resources)
    : TVkFloatingForm(QSize(236, 248), QRect(210, 7, 23, 53)),
      director_(std::make_unique<TVkMediaDirector>()) {
  LoadBackground(resources, "_commbg.img");
  controls_ = new TVkMediaControls(this);
  controls_->move(61, 24);
  controls_->SetStrip(LoadBitmapImage(resources, "_mbtns.img"));
  controls_->OnExtraClick = [this](TVkMediaControls*) { RevealText(); };
  player_ = new TVkStdMediaPlayer(this);
  player_->setGeometry(-1000, -1000, 1, 1);
  director_->SetControls(controls_);
  director_->SetPlayer(player_);
  viewer_ = NewViewer(QRect(6, 73, 224, 168), resources);
  viewer_->hide();
  // A link in a comment is never followed; it shows the text.
  viewer_->OnHotSpotClick = [this](const std::string&) { RevealText(); };
  move(0, 0);
}

TVkCommentForm::~TVkCommentForm() = default;

void TVkCommentForm::ShowComment(std::string_view command) {
  const TVkLinkCommand parsed = ParseLinkCommand(command);
  sound_name_ = parsed.Parameter("sound");
  text_name_ = parsed.Parameter("text");
  if (player_->GetState() != TVkCustomMediaPlayer::kClosed) player_->Close();
  viewer_->hide();
  viewer_->ClearDocument();
  // Pending events may run bytecode that releases the window's owner.
  QPointer<TVkCommentForm> alive(this);
  QCoreApplication::processEvents();
  if (!alive) return;
  if (!text_name_.empty()) {
    viewer_->LoadDocument(text_name_);
    viewer_->ScrollToTop();
    if (!sound_name_.empty()) {
      player_->SetFileName(sound_name_);
      player_->Open();
      if (!alive) return;
      player_->Play();
      if (!alive) return;
    } else {
      viewer_->show();
    }
  }
  show();
  raise();
  QCoreApplication::processEvents();
}

void TVkCommentForm::RevealText() { viewer_->show(); }

void TVkCommentWindowObject::Init() {
  auto form = std::make_unique<TVkCommentForm>(ResManager());
  form_ = form.release();
}

void TVkCommentWindowObject::Release() {
  if (form_) {
    form_->hide();
    form_->deleteLater();
  }
  form_ = nullptr;
}

void TVkCommentWindowObject::HandleMessage(int32_t message) {
  switch (static_cast<CommentWindowMessage>(message)) {
    case CommentWindowMessage::ShowComment: {
      const std::string command = PopString();
      RequireControl(form_, "Comment window").ShowComment(command);
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
