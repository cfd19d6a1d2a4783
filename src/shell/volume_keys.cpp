#include "shell/volume_keys.h"

#include <QShortcut>
#include <QWidget>
#include <exception>
#include <functional>

#include "media/sound_level.h"
#include "platform/diagnostic_log.h"

namespace vork {

void InstallVolumeKeys(QWidget* window, const std::string& settings_path) {
  SoundVolume::Set(LoadSoundLevel(settings_path));
  auto change = [settings_path](const std::function<SoundLevel(const SoundLevel&)>& how) {
    const SoundLevel level = how(SoundVolume::Level());
    SoundVolume::Set(level);
    try {
      SaveSoundLevel(settings_path, level);
    } catch (const std::exception& failure) {
      // The course goes on at the new level; only keeping it failed.
      DiagnosticLog(failure.what());
    }
  };
  const std::pair<QKeySequence, std::function<SoundLevel(const SoundLevel&)>> bindings[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_M),
       [](const SoundLevel& level) {
         SoundLevel next = level;
         next.muted = !level.muted;
         return next;
       }},
      {QKeySequence(Qt::CTRL | Qt::Key_Up), [](const SoundLevel& level) { return level.Stepped(1); }},
      {QKeySequence(Qt::CTRL | Qt::Key_Down), [](const SoundLevel& level) { return level.Stepped(-1); }},
  };
  for (const auto& [keys, how] : bindings) {
    auto* shortcut = new QShortcut(keys, window);
    QObject::connect(shortcut, &QShortcut::activated, window, [change, how = how] { change(how); });
  }
}

}  // namespace vork
