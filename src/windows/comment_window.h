#pragma once
// The comment window: a comment text (HTML) in a small floating window,
// optionally with a sound; while the sound plays the text stays hidden
// until the learner asks to see it. TVkCommentWindowObject (class 12) owns
// one.
//
// The sound plays in a hidden standard media player, driven by the
// window's media button bar through a media director; the bar's extra
// button reveals the text.

#include <QPointer>
#include <memory>
#include <string>
#include <string_view>

#include "bridge/script_object.h"
#include "windows/floating_form.h"

namespace vork {

class TVkMediaControls;
class TVkMediaDirector;
class TVkStdMediaPlayer;

class TVkCommentForm : public TVkFloatingForm {
 public:
  // Loads the background picture and the button strip: the resource
  // manager's error when either is missing.
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
  TVkMediaControls* Controls() const { return controls_; }
  TVkStdMediaPlayer* Player() const { return player_; }

 private:
  std::string sound_name_;
  std::string text_name_;
  TVkHTMLViewer* viewer_;
  TVkMediaControls* controls_;
  TVkStdMediaPlayer* player_;
  // Members go before the base class deletes the child widgets, so the
  // director lets go of the bar and the player while both still exist.
  std::unique_ptr<TVkMediaDirector> director_;
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
