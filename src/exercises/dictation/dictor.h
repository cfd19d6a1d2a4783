#pragma once
// TVkDictor: the dictation exercise, one 640 x 480 control: a picture strip
// with a hot spot, an instruction text, the learner's writing area, and
// buttons to play and pause the recording, go back to its beginning, and
// show the expected text beside the learner's. Its result only says whether
// the learner wrote nothing, less than half or at least half as much as the
// expected text.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "exercises/dictation/recording_player.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vork {

class TVkDictor : public QWidget {
 public:
  explicit TVkDictor(QWidget* parent = nullptr);

  // Every name may be empty: an empty recording hides the playback
  // buttons, an empty expected text the button that shows it.
  void Setup(const std::string& picture_name, const std::string& instruction_name,
             const std::string& initial_text_name, const std::string& recording_name,
             const std::string& expected_text_name);
  // 0 nothing written, 1 less than half the expected text, 2 at least half.
  int Result() const;

  std::function<void()> OnHotSpotClick;

  QPushButton* ListenButton() const { return listen_; }
  QPushButton* BeginningButton() const { return beginning_; }
  QPushButton* ShowTextButton() const { return show_text_; }
  QPlainTextEdit* WritingMemo() const { return writing_; }
  QPlainTextEdit* ExpectedMemo() const { return expected_; }
  QPlainTextEdit* InstructionMemo() const { return instruction_; }
  QWidget* HotSpot() const { return hot_spot_; }
  TVkRecordingPlayer& Player() { return player_; }
  bool Written() const { return written_; }

 private:
  void BuildLayout();
  void ListenClicked();
  void BeginningClicked();
  void ShowTextClicked();
  void PlayerNotified();
  void WritingChanged();
  // Button handlers run from Qt's event dispatch: a failure is shown in the
  // error box there.
  void Guarded(const std::function<void()>& action);

  std::string expected_text_name_;
  // Handed to the player at the first Listen; a later Setup does not change
  // an open recording.
  std::string recording_name_;
  bool written_ = false;
  QLabel* top_picture_ = nullptr;
  QWidget* hot_spot_ = nullptr;
  QPlainTextEdit* instruction_ = nullptr;
  QPlainTextEdit* writing_ = nullptr;
  QPlainTextEdit* expected_ = nullptr;
  QPushButton* listen_ = nullptr;
  QPushButton* beginning_ = nullptr;
  QPushButton* show_text_ = nullptr;
  TVkRecordingPlayer player_;
  bool paused_by_learner_ = false;
  bool loading_initial_text_ = false;
  bool expected_shown_ = false;
};

}  // namespace vork
