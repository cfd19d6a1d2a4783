#pragma once
// What the media player tests share: the committed clips, a folder that
// stands for the course's place, and waiting on the event loop.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <filesystem>
#include <string>

#include "media/oggaudio/sound_fixtures.h"
#include "platform/program_location.h"
#include "resources/res_manager.h"

namespace vork::testing {

// One second (or a little less) of colour bars with a tone, MPEG-1 in an
// MPEG program stream, 160 x 120.
inline std::string BarsClip() { return VORK_SOURCE_DIR "/tests/players/clips/bars.mpg"; }
// One second of a tone as MP3.
inline std::string ToneClip() { return VORK_SOURCE_DIR "/tests/players/clips/tone.mp3"; }

// Runs the event loop until done() holds; false after ms without it.
template <typename Done>
bool WaitUntil(Done done, int ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

// The course's folder, one for the test program (the resource manager is
// made once, for the first program path): media/ is the media directory,
// and the archive set is course.vka beside course.vkbc.
class CourseFolder {
 public:
  static CourseFolder& Get() {
    static CourseFolder folder;
    return folder;
  }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

 private:
  CourseFolder() {
    std::filesystem::create_directory(dir_ / "media");
    SetProgramPath((dir_ / "course.vkbc").string());
    ResManager().SetMediaDirectory((dir_ / "media").string());
  }
  TempDir dir_;
};

}  // namespace vork::testing
