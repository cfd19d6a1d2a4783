#include "media/sound_level.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "platform/ini_file.h"

namespace vork {

namespace {

constexpr char kSection[] = "Sound";

int ParseVolume(const std::string& text, int fallback) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return fallback;
  return std::clamp(value, 0, 100);
}

struct Listeners {
  SoundLevel level;
  std::map<int, SoundVolume::Listener> listeners;
  int last_ticket = 0;
};

Listeners& State() {
  static Listeners state;
  return state;
}

}  // namespace

SoundLevel SoundLevel::Stepped(int steps) const {
  SoundLevel next = *this;
  next.volume = std::clamp(volume + steps * kStep, 0, 100);
  next.muted = false;
  return next;
}

SoundLevel LoadSoundLevel(const std::string& path) {
  const IniFile file = IniFile::Load(path);
  SoundLevel level;
  level.volume = ParseVolume(file.Get(kSection, "Volume"), level.volume);
  level.muted = file.Get(kSection, "Muted") == "1";
  return level;
}

void SaveSoundLevel(const std::string& path, const SoundLevel& level) {
  IniFile file = IniFile::Load(path);
  file.Set(kSection, "Volume", std::to_string(level.volume));
  file.Set(kSection, "Muted", level.muted ? "1" : "0");
  file.Save(path);
}

const SoundLevel& SoundVolume::Level() { return State().level; }

void SoundVolume::Set(const SoundLevel& level) {
  Listeners& state = State();
  state.level = level;
  // A copy: a listener may come or go while it is told.
  const auto listeners = state.listeners;
  for (const auto& [ticket, listener] : listeners) listener(level.Effective());
}

int SoundVolume::Listen(Listener listener) {
  Listeners& state = State();
  const int ticket = ++state.last_ticket;
  listener(state.level.Effective());
  state.listeners.emplace(ticket, std::move(listener));
  return ticket;
}

void SoundVolume::Unlisten(int ticket) { State().listeners.erase(ticket); }

}  // namespace vork
