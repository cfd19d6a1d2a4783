#include "shell/dev_reloader.h"

#include <QFileSystemWatcher>
#include <QLabel>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "objects/system_object.h"
#include "shell/dev_course.h"
#include "shell/form.h"

namespace vork {

namespace fs = std::filesystem;

namespace {

// How long the folder must stay quiet before a rebuild: an editor's save is
// a write, a rename and a touch, and a rebuild per step would be wasted.
constexpr int kSettleMs = 40;
// A routine still running (a modal box open in a scene) delays the restart.
constexpr int kBusyRetryMs = 100;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsInside(const fs::path& path, const fs::path& folder) {
  const auto [end, ignored] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return end == folder.end();
}

}  // namespace

DevReloader::DevReloader(TVkForm& form, DevCourse& course)
    : QObject(&form), form_(form), course_(course), watcher_(new QFileSystemWatcher(this)) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &DevReloader::ReloadIfChanged);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });

  problem_ = new QLabel(&form);
  problem_->setWordWrap(true);
  problem_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  problem_->setMargin(8);
  problem_->setStyleSheet("QLabel { background: rgba(120, 0, 0, 220); color: white; "
                          "font-family: monospace; }");
  problem_->hide();

  map_ = ParseMap(ReadMapText(course_.MapPath()));
  built_from_ = TakeSnapshot();
  Watch();
}

DevReloader::~DevReloader() = default;

std::string DevReloader::ReadMapText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  return text.str();
}

SourceMap DevReloader::ParseMap(const std::string& text) {
  if (text.empty()) return {};
  try {
    return SourceMap::Parse(text);
  } catch (const std::exception& fault) {
    std::fprintf(stderr, "vork --dev: the source map was not read: %s\n", fault.what());
    return {};
  }
}

int32_t DevReloader::SceneAfterReload(const SourceMap& old_map, int32_t old_scene, const SourceMap& new_map) {
  if (old_scene == 0) return 0;
  const auto old_routine = old_map.routineAt(old_scene);
  if (!old_routine || old_routine->address != old_scene) return 0;
  const auto new_routine = new_map.findRoutine(old_routine->name);
  if (!new_routine || new_routine->kind != SourceRoutineKind::Scene) return 0;
  return new_routine->address;
}

DevReloader::Snapshot DevReloader::TakeSnapshot() const {
  Snapshot snapshot;
  for (const fs::path& folder : course_.WatchedFolders()) {
    if (IsInside(folder, course_.Scratch())) continue;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (!entry.is_regular_file(error)) continue;
      const std::string name = entry.path().filename().string();
      if (name.empty() || name[0] == '.') continue;
      snapshot[entry.path()] = {entry.last_write_time(error), entry.file_size(error)};
    }
  }
  return snapshot;
}

void DevReloader::Watch() {
  // Files are watched as well as their folders: a save that writes in place
  // changes no folder, and one that renames a new file over the old ends
  // the watch on the old file, so the list is renewed after every change.
  QStringList paths;
  for (const fs::path& folder : course_.WatchedFolders()) {
    if (!IsInside(folder, course_.Scratch())) paths << QString::fromStdString(folder.string());
  }
  for (const auto& [file, stamp] : built_from_) paths << QString::fromStdString(file.string());
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
  watcher_->addPaths(paths);
}

void DevReloader::ReloadIfChanged() {
  if (!form_.CanRestartCourse()) {
    settle_.start(kBusyRetryMs);
    return;
  }
  Snapshot now = TakeSnapshot();
  if (now == built_from_) return;
  built_from_ = std::move(now);
  Watch();
  Reload();
}

void DevReloader::Reload() {
  const auto started = std::chrono::steady_clock::now();
  DevBuildResult built = course_.Build();
  if (!built.ok) {
    std::fprintf(stderr, "vork --dev: the course was not rebuilt:\n%s", built.errors.c_str());
    if (!built.errors.empty() && built.errors.back() != '\n') std::fputc('\n', stderr);
    ShowProblem(built.errors);
    return;
  }
  if (!built.errors.empty()) std::fputs(built.errors.c_str(), stderr);
  const std::string map_text = ReadMapText(course_.MapPath());
  SourceMap new_map = ParseMap(map_text);
  const TVkSystemObject* system = TVkSystemObject::Current();
  const int32_t scene = SceneAfterReload(map_, system ? system->CurrentScene() : 0, new_map);
  map_ = std::move(new_map);
  HideProblem();
  try {
    form_.RestartCourse(ReadBytes(course_.ImagePath()), map_text, scene);
  } catch (const std::exception& fault) {
    // The start routine failed: the author fixes it and saves again.
    std::fprintf(stderr, "vork --dev: the course did not start: %s\n", fault.what());
    ShowProblem(std::string("The course did not start: ") + fault.what());
    return;
  }
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  std::fprintf(stderr, "vork --dev: reloaded in %lld ms\n", static_cast<long long>(took.count()));
}

void DevReloader::ShowProblem(const std::string& text) {
  problem_->setText(QString::fromStdString(text));
  problem_->setGeometry(0, 0, form_.width(), form_.height() / 2);
  problem_->show();
  problem_->raise();
}

void DevReloader::HideProblem() { problem_->hide(); }

}  // namespace vork
