#include "install/zentor_controller.h"

#include <chrono>
#include <filesystem>

#include "install/registry.h"
#include "platform/course_directories.h"
#include "platform/deferred_saves.h"
#include "platform/message_boxes.h"
#include "platform/path_resolver.h"

namespace vork {
namespace {

constexpr char kAppPathsKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ZENTOR.EXE";

// As long as a window gets to answer a close request.
constexpr std::chrono::milliseconds kCloseGrace{1000};

std::unique_ptr<TVkZentorController>& Instance() {
  static std::unique_ptr<TVkZentorController> controller;
  return controller;
}

}  // namespace

TVkZentorController::TVkZentorController(std::string registry_path, std::string media_directory)
    : registry_path_(std::move(registry_path)), media_directory_(std::move(media_directory)) {}

TVkZentorController::~TVkZentorController() {
  if (!backup_valid_) return;
  Close();
  TVkRegistry registry(registry_path_);
  backup_->Write(registry);
}

std::string TVkZentorController::FindExecutable() const {
  const std::string path = TVkRegistry(registry_path_).ReadDefault(kAppPathsKey);
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return {};
  return path;
}

void TVkZentorController::SetWindowPositions(ScreenOrigin view, int video_x, int video_y,
                                             int small_x, int small_y) {
  if (!backup_) {
    backup_ = std::make_unique<TVkZentorSettings>();
    backup_valid_ = backup_->Read(TVkRegistry(registry_path_));
  }
  if (requested_) return;
  requested_ = std::make_unique<TVkZentorSettings>(
      TVkZentorSettings{1, 1, video_x, video_y, small_x, small_y});
  view_ = std::move(view);
}

void TVkZentorController::ApplyRequestedSettings() {
  // Zentor reads its settings when it starts: a running one must go first.
  Close();
  TVkZentorSettings screen = *requested_;
  const auto [left, top] = view_ ? view_() : std::pair<int, int>{0, 0};
  screen.video_x += left;
  screen.video_y += top;
  screen.small_x += left;
  screen.small_y += top;
  TVkRegistry registry(registry_path_);
  screen.Write(registry);
  applied_ = true;
}

void TVkZentorController::Play(const std::string& media_name) {
  const std::string executable = FindExecutable();
  if (executable.empty()) {
    ShowError("Zentor.exe not found.");
    return;
  }
  const std::string media_file = ResolveCoursePath(media_directory_, media_name);
  std::error_code error;
  if (!std::filesystem::is_regular_file(media_file, error)) {
    Close();
    ShowError("Media file \"" + media_name + "\" not found.");
    return;
  }
  if (requested_ && !applied_) ApplyRequestedSettings();
  // The learner's work is on disk before another program takes the screen.
  SaveDeferredChanges();
  // A sibling started earlier is let go (it goes on playing, as a second
  // start of the program would have let it).
  process_ = TSiblingProcess::Start(executable, {media_file, "/PLAY"});
  if (process_) {
    started_ = true;
    return;
  }
  Close();
  ShowError("Error executing \"" + executable + " " + media_file + " /PLAY\".");
}

void TVkZentorController::Close() {
  // A program that does not end within the grace has had its request; it is
  // let go, still waited for in the background.
  if (process_) process_->Close(kCloseGrace);
  process_.reset();
  started_ = false;
}

TVkZentorController& ZentorController() {
  auto& controller = Instance();
  if (!controller) controller = std::make_unique<TVkZentorController>(RegistryPath(), MediaDirectory());
  return *controller;
}

void CloseZentorIfStarted() {
  if (Instance() && Instance()->Started()) Instance()->Close();
}

void ReleaseZentorController() { Instance().reset(); }

}  // namespace vork
