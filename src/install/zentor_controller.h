#pragma once
// TVkZentorController: hands media files over to the sibling program Zentor.
// It finds Zentor through its App Paths registration, writes the window
// positions a course asked for into Zentor's settings before the first start
// (saving Zentor's own settings first), and restores those settings when the
// player ends. One lives for the whole run (ZentorController()).
//
// Closing: the platform gives no portable way to find another program's
// window by its title, so Close ends the process this player started, which
// stays this player's child until then (TSiblingProcess).

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "install/sibling_process.h"
#include "install/zentor_settings.h"

namespace vork {

class TVkZentorController {
 public:
  // The screen position of the stage view's client origin, asked for when
  // the positions are applied (the window may have moved since).
  using ScreenOrigin = std::function<std::pair<int, int>()>;

  TVkZentorController(std::string registry_path, std::string media_directory);
  // Program end: restores Zentor's settings when they were read completely.
  ~TVkZentorController();
  TVkZentorController(const TVkZentorController&) = delete;
  TVkZentorController& operator=(const TVkZentorController&) = delete;

  // The registered executable, when it names an existing file; else "".
  std::string FindExecutable() const;
  bool IsInstalled() const { return !FindExecutable().empty(); }
  // Positions relative to the view; only the first call's are used.
  void SetWindowPositions(ScreenOrigin view, int video_x, int video_y, int small_x, int small_y);
  void Play(const std::string& media_name);
  void Close();
  bool Started() const { return started_; }

 private:
  void ApplyRequestedSettings();

  std::string registry_path_;
  std::string media_directory_;
  bool started_ = false;
  bool backup_valid_ = false;
  std::unique_ptr<TVkZentorSettings> backup_;
  bool applied_ = false;
  std::unique_ptr<TVkZentorSettings> requested_;
  ScreenOrigin view_;
  std::unique_ptr<TSiblingProcess> process_;
};

// The controller of this run, made on first use with RegistryPath() and the
// media directory.
TVkZentorController& ZentorController();
// A scene change closes Zentor when this player started it (and makes no
// controller when there is none yet).
void CloseZentorIfStarted();
// Ends the run's controller (restoring Zentor's settings); the next
// ZentorController() makes a new one.
void ReleaseZentorController();

}  // namespace vork
