#include "dialogs/comment_window.h"

#include <QCoreApplication>
#include <QPointer>
#include <memory>

#include "dialogs/link_command.h"
#include "media/audio_player.h"
#include "objects/html/html_viewer.h"
#include "platform/errors.h"
#include "platform/path_resolver.h"
#include "shell/res_manager.h"

namespace vork {

TVkCommentForm::TVkCommentForm(TVkResManager& resources)
    : TVkFloatingForm(QSize(236, 248), QRect(210, 7, 23, 53)), resources_(resources) {
  LoadBackground(resources, "_commbg.img");
  viewer_ = NewViewer(QRect(6, 73, 224, 168), resources);
  viewer_->hide();
  // A link in a comment is never followed; it shows the text.
  viewer_->OnHotSpotClick = [this](const std::string&) { RevealText(); };
  move(0, 0);
}

TVkCommentForm::~TVkCommentForm() { CloseSound(); }

void TVkCommentForm::CloseSound() {
  if (!sound_open_) return;
  sound_open_ = false;
  TKsAudioPlayer::ArchivePlayer().Stop();
}

void TVkCommentForm::PlaySound() {
  // A logical ".aud" name, a file in the media folder, or a resource stored
  // in an archive folder.
  AudioLocation where = resources_.LocateAudio(sound_name_);
  if (where.location.empty() && CourseFileExists(resources_.MediaDirectory(), sound_name_))
    where.location = ResolveCoursePath(resources_.MediaDirectory(), sound_name_);
  if (where.location.empty()) where.location = resources_.ResolveFile(sound_name_);
  if (where.location.empty()) throw EVkError("Cannot open the sound \"" + sound_name_ + "\"");
  sound_open_ = true;
  if (!TKsAudioPlayer::ArchivePlayer().Play(where.location, false)) {
    sound_open_ = false;
    throw EVkError("Cannot play the sound \"" + sound_name_ + "\"");
  }
}

void TVkCommentForm::ShowComment(std::string_view command) {
  const TVkLinkCommand parsed = ParseLinkCommand(command);
  sound_name_ = parsed.Parameter("sound");
  text_name_ = parsed.Parameter("text");
  CloseSound();
  viewer_->hide();
  viewer_->ClearDocument();
  // Pending events may run bytecode that releases the window's owner.
  QPointer<TVkCommentForm> alive(this);
  QCoreApplication::processEvents();
  if (!alive) return;
  if (!text_name_.empty()) {
    viewer_->LoadDocument(text_name_);
    viewer_->ScrollToTop();
    if (!sound_name_.empty()) PlaySound();
    else viewer_->show();
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
  switch (message) {
    case 0: {
      const std::string command = PopString();
      if (!form_) throw EVkError("comment window " + HandleText(Handle()) + " has no window any more");
      form_->ShowComment(command);
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
