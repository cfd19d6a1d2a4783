#include "media/play_audio.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "media/audio_player.h"
#include "media/stoppable_media.h"
#include "text/normalize.h"
#include "text/text_edits.h"
#include "platform/diagnostic_log.h"
#include "platform/path_resolver.h"
#include "scene/background.h"
#include "scene/view.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

constexpr int32_t kStandardMediaPlayerClass = 5;
constexpr int32_t kBrowserMediaPlayerClass = 7;
constexpr int32_t kAudioRecorderClass = 21;

bool IsMediaClass(int32_t class_index) {
  return class_index == kStandardMediaPlayerClass || class_index == kBrowserMediaPlayerClass ||
         class_index == kAudioRecorderClass;
}

// The hourglass for as long as it lives, on every path.
class WaitCursor {
 public:
  WaitCursor() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      shown_ = true;
    }
  }
  ~WaitCursor() {
    if (shown_) QApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool shown_ = false;
};

// Keeps the stage disabled while a synchronous sound plays. The stage may be
// gone by the end (events run meanwhile), hence the guarded pointer.
class DisabledStage {
 public:
  explicit DisabledStage(QWidget* stage) : stage_(stage) {
    if (stage_) stage_->setEnabled(false);
  }
  ~DisabledStage() {
    if (stage_) stage_->setEnabled(true);
  }
  DisabledStage(const DisabledStage&) = delete;
  DisabledStage& operator=(const DisabledStage&) = delete;

 private:
  QPointer<QWidget> stage_;
};

bool PlayToTheEnd(const std::string& location, QWidget* stage) {
  WaitCursor hourglass;
  DisabledStage disabled(stage);
  const bool played = TKsAudioPlayer::ArchivePlayer().Play(location, true);
  QCoreApplication::processEvents();
  return played;
}

std::string AudioReport(std::string_view name) {
  return "Audio \"" + std::string(name) + "\" (\"" + ChangeExtension(name, ".ogg") + "\" or \"" +
         ChangeExtension(name, ".wav") + "\")";
}

}  // namespace

void StopAllMedia(TVkObjectManager& manager) {
  TKsAudioPlayer::ArchivePlayer().Stop();
  // Handles first: stopping one object must not disturb the walk over the
  // manager's list.
  std::vector<int32_t> media;
  for (int i = 0; i < manager.Count(); ++i) {
    const TVkObject& object = manager.ObjectAt(i);
    if (IsMediaClass(object.ClassIndex())) media.push_back(object.Handle());
  }
  for (int32_t handle : media) {
    if (auto* stoppable = dynamic_cast<StoppableMedia*>(manager.Find(handle))) stoppable->StopMedia();
  }
}

void PlayAudio(TVkScriptObject& caller, std::string_view name) {
  StopAllMedia(caller.Manager());
  const bool wait = !name.empty() && name.front() == '!';
  if (wait) name.remove_prefix(1);
  QPointer<TBackground> stage = caller.View() ? caller.View()->Background() : nullptr;

  const std::string location = ResManager().LocateAudio(name).location;
  std::string report = AudioReport(name);
  if (location.empty()) {
    report += " not found.";
  } else {
    const bool played = wait ? PlayToTheEnd(location, stage) : TKsAudioPlayer::ArchivePlayer().Play(location, false);
    if (played) return;
    report += " found but could not be played.";
  }
  if (stage) stage->AddOverlayMessage(1, report);
  DiagnosticLog(report);
}

std::string LetterSoundFile(unsigned char letter) {
  char name[16];
  std::snprintf(name, sizeof name, "say_%03u.wav", static_cast<unsigned>(letter));
  std::error_code error;
  const std::string& media = ResManager().MediaDirectory();
  const std::string directory = !media.empty() && std::filesystem::is_directory(media, error) ? media : ".";
  return CourseFileExists(directory, name) ? ResolveCoursePath(directory, name) : std::string();
}

void SayLetters(TVkScriptObject& caller, std::string_view text) {
  WaitCursor hourglass;
  TVkObjectManager& manager = caller.Manager();
  const int32_t handle = caller.Handle();
  for (unsigned char letter : NormalizeAnswer(text)) {
    const std::string file = LetterSoundFile(letter);
    if (file.empty()) continue;
    TKsAudioPlayer::FilePlayer().Play(file, true);
    if (!manager.IsLive(handle)) return;
  }
}

}  // namespace vork
