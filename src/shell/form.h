#pragma once
// TVkForm: the main window, a fixed-size frame around the stage. It owns the
// director, previews every key release in the window for the course's key
// routing, and closes when the course ends.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "shell/director.h"

namespace vork {

class StageZoom;
class TVkSystemObject;
class TVkView;

class TVkForm : public QWidget {
  Q_OBJECT

 public:
  // A window whose client area is the scene size, titled with the
  // application's title, centred on the screen as far as it fits.
  TVkForm(QSize scene_size, const TVkDirector::ClassRegistration& register_classes);
  ~TVkForm() override;

  // Creates the director on the view and runs the course's start routine.
  // Faults propagate (a failed start ends the program).
  // source_map: the compiler's map of the image ("" when there is none).
  void StartCourse(std::span<const uint8_t> image_file, const std::string& source_map = "");
  // Frees the running course at once and starts image_file in its place; the
  // first scene change the new course asks for goes to first_scene instead
  // (0: where it asks). Only while CanRestartCourse().
  void RestartCourse(std::span<const uint8_t> image_file, const std::string& source_map,
                     int32_t first_scene);
  // No routine of the course is running and none waits in a nested pump.
  bool CanRestartCourse() const { return !releasing_ && (!director_ || director_->CanBeFreed()); }

  TVkView* View() const { return view_; }
  // How large the stage shows: zoom and full screen.
  StageZoom* Zoom() const { return zoom_; }
  // Null once the course has ended.
  TVkDirector* Director() const { return director_.get(); }

  // Raised once the director has been freed: after the stop routine
  // (stopped = true) or after a scene change to routine 0 (stopped = false).
  std::function<void(bool stopped)> OnCourseEnded;

  // The window position for a frame of outer size `frame` on a screen of
  // size `screen`: centred, never above or left of the screen's corner.
  static QPoint CentredPosition(QSize frame, QSize screen);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void KeyReleased(int virtual_key, int shift);
  // Runs body on the live system object named by handle, at an event boundary.
  void RunOnSystemObject(int32_t handle, const std::function<void(TVkSystemObject&)>& body);
  void ToggleDeveloperMode();
  void Quit();
  // Frees the director now, or as soon as its outermost activation returns.
  void ReleaseDirector(bool stopped);
  void FreeDirectorWhenIdle(bool stopped);

  TVkView* view_;
  StageZoom* zoom_;
  std::unique_ptr<TVkDirector> director_;
  TVkDirector::ClassRegistration register_classes_;
  bool releasing_ = false;
  int32_t first_scene_ = 0;  // RestartCourse's scene, until the first scene change
  struct Previewed {
    const QEvent* event = nullptr;
    quint64 timestamp = 0;
    int key = 0;
  } previewed_;  // the key release being offered up the chain
};


}  // namespace vork
