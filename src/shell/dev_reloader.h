#pragma once
// DevReloader: the author's loop under --dev. It watches the course's folder;
// when a source or resource file has changed it rebuilds the course and, if
// that worked, restarts it in the same window at the scene that was showing
// (found by the scene routine's name in the old and the new source map). A
// failed build is shown over the stage and on standard error, and the course
// that was running goes on as it was.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "vm/source_map.h"

class QFileSystemWatcher;
class QLabel;

namespace vork {

class DevCourse;
class TVkForm;

class DevReloader : public QObject {
  Q_OBJECT

 public:
  // course has been built once and form runs its image.
  DevReloader(TVkForm& form, DevCourse& course);
  ~DevReloader() override;

  // Rebuilds and restarts now if anything changed since the last build.
  void ReloadIfChanged();

  // Where the next restart goes: the entry of the scene routine called like
  // the one at old_scene in old_map, if new_map has such a scene; else 0.
  static int32_t SceneAfterReload(const SourceMap& old_map, int32_t old_scene, const SourceMap& new_map);

 private:
  using Snapshot = std::map<std::filesystem::path, std::pair<std::filesystem::file_time_type, uintmax_t>>;

  Snapshot TakeSnapshot() const;
  void Watch();
  void Reload();
  void ShowProblem(const std::string& text);
  void HideProblem();
  static std::string ReadMapText(const std::filesystem::path& path);
  static SourceMap ParseMap(const std::string& text);

  TVkForm& form_;
  DevCourse& course_;
  QFileSystemWatcher* watcher_;
  QTimer settle_;  // editors write a file in several steps
  QLabel* problem_;
  Snapshot built_from_;
  SourceMap map_;  // of the image that runs
};

}  // namespace vork
