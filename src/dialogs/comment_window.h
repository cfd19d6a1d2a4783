#pragma once
// The comment window: a comment text (HTML) in a small floating window,
// optionally with a sound; while the sound plays the text stays hidden
// until the learner asks to see it. TVkCommentWindowObject (class 12) owns
// one.
//
// The sound plays through the shared audio player. The media button bar of
// this window (play, pause, stop and the extra button that reveals the
// text, at (61, 24)) belongs to the media players; until it is attached,
// RevealText is what its extra button calls.

#include <QPointer>
#include <string>
#include <string_view>

#include "bridge/script_object.h"
#include "dialogs/floating_form.h"

namespace vork {

class TVkCommentForm : public TVkFloatingForm {
 public:
  // Loads the background picture: the resource manager's error when it is
  // missing.
  explicit TVkCommentForm(TVkResManager& resources);
  ~TVkCommentForm() override;

  // "...?text=PAGE&sound=SOUND": stops the last sound, loads PAGE (hidden
  // while SOUND plays, shown at once without one) and shows the window. An
  // empty text name loads and plays nothing.
  void ShowComment(std::string_view command);
  // Shows the text hidden while the sound plays.
  void RevealText();

  const std::string& SoundName() const { return sound_name_; }
  const std::string& TextName() const { return text_name_; }
  TVkHTMLViewer* Viewer() const { return viewer_; }
  bool SoundOpen() const { return sound_open_; }

 private:
  void CloseSound();
  void PlaySound();

  TVkResManager& resources_;
  std::string sound_name_;
  std::string text_name_;
  TVkHTMLViewer* viewer_;
  bool sound_open_ = false;
};

class TVkCommentWindowObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  TVkCommentForm* Form() const { return form_; }

 private:
  QPointer<TVkCommentForm> form_;
};

}  // namespace vork
