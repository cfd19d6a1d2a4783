#include "media/player_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace vork::testing {

namespace fs = std::filesystem;

namespace {

// Paths made by the tests hold no single quotes.
std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Plain appends: GCC 12 sees a false overflow in long chains of "+".
void AppendWord(std::string& command, std::string_view word, bool quoted = true) {
  command += ' ';
  if (quoted) command += '\'';
  command += word;
  if (quoted) command += '\'';
}

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Samples ReadSamples(const fs::path& path) {
  std::error_code error;
  if (!fs::exists(path, error)) return {};
  const std::string bytes = ReadFile(path);
  Samples samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

std::size_t FirstSoundingFrame(const Samples& samples) {
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (samples[i] != 0) return i / kOutputChannels;
  }
  return samples.size() / kOutputChannels;
}

// Frames of the sound compared when looking for where it starts.
constexpr std::size_t kProbeFrames = 256;

}  // namespace

CourseFolder::CourseFolder() {
  for (const char* folder : {"media", "users", "runtime", "config", "tmp", "resources"})
    fs::create_directory(dir_ / folder);
  fs::permissions(dir_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  WriteFile(dir_ / "media" / "media.dir", "");
  Microphone({});
}

void CourseFolder::Archive(const std::map<std::string, std::string>& resources) {
  for (const auto& [name, bytes] : resources) WriteFile(dir_ / "resources" / name, bytes);
  const std::string command = Quoted(VORK_BINARY_DIR "/vka") + " pack " + Quoted((dir_ / "resources").string()) +
                              " " + Quoted((dir_ / "course.vka").string()) + " >/dev/null";
  if (RunCommand(command) != 0) throw std::runtime_error("vka pack failed");
}

void CourseFolder::MediaFile(const std::string& name, const std::string& bytes) {
  WriteFile(dir_ / "media" / name, bytes);
}

void CourseFolder::Microphone(const Samples& samples) {
  WriteFile(dir_ / "microphone.raw",
            std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2));
}

PlayerResult CourseFolder::Run(const std::string& source, const std::vector<std::string>& environment) {
  const fs::path image = dir_ / "course.vkbc";
  WriteFile(dir_ / "course.vkc", source);
  if (RunCommand(Quoted(VORK_BINARY_DIR "/vkc") + " " + Quoted((dir_ / "course.vkc").string()) + " -o " +
                 Quoted(image.string())) != 0) {
    throw std::runtime_error("the course does not compile");
  }
  fs::remove(dir_ / "output.raw");
  fs::remove(dir_ / "log");
  std::vector<std::string> variables = {
      "QT_QPA_PLATFORM=offscreen",
      "SDL_AUDIODRIVER=disk",
      "SDL_DISKAUDIOFILE=" + (dir_ / "output.raw").string(),
      "SDL_DISKAUDIOFILEIN=" + (dir_ / "microphone.raw").string(),
      "VORK_LOG=" + (dir_ / "log").string(),
      "VORK_SEED=1",
      "XDG_RUNTIME_DIR=" + (dir_ / "runtime").string(),
      "XDG_CONFIG_HOME=" + (dir_ / "config").string(),
      "HOME=" + dir_.Path().string(),
      "TMPDIR=" + TempPath().string(),
  };
  variables.insert(variables.end(), environment.begin(), environment.end());
  std::string command = "cd";
  AppendWord(command, dir_.Path().string());
  AppendWord(command, "&& env", false);
  for (const std::string& variable : variables) AppendWord(command, variable);
  for (const std::string& word : {std::string(VORK_BINARY_DIR "/vork"), std::string("--image"), image.string(),
                                  std::string("--transcript"), (dir_ / "transcript").string(),
                                  std::string("--timeout"), std::string("30000")}) {
    AppendWord(command, word);
  }
  AppendWord(command, ">/dev/null 2>&1", false);

  PlayerResult result;
  result.status = RunCommand(command);
  std::error_code error;
  if (fs::exists(dir_ / "transcript", error)) result.transcript = ReadFile(dir_ / "transcript");
  if (fs::exists(dir_ / "log", error)) result.log = ReadFile(dir_ / "log");
  result.output = ReadSamples(dir_ / "output.raw");
  return result;
}

Samples Sounding(const Samples& samples) {
  const std::size_t first = FirstSoundingFrame(samples);
  const std::size_t end = std::max(EndOfSound(samples), first);
  return Samples(samples.begin() + static_cast<std::ptrdiff_t>(first * kOutputChannels),
                 samples.begin() + static_cast<std::ptrdiff_t>(end * kOutputChannels));
}

std::size_t FindSound(const Samples& output, const Samples& sound, std::size_t from) {
  const std::size_t probe = std::min(sound.size(), kProbeFrames * kOutputChannels);
  if (probe == 0) return std::string::npos;
  for (std::size_t frame = from; (frame * kOutputChannels) + probe <= output.size(); ++frame) {
    if (std::equal(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(probe),
                   output.begin() + static_cast<std::ptrdiff_t>(frame * kOutputChannels))) {
      return frame;
    }
  }
  return std::string::npos;
}

bool HoldsWholeSound(const Samples& output, const Samples& sound, std::size_t at) {
  const std::size_t start = at * kOutputChannels;
  return start + sound.size() <= output.size() &&
         std::equal(sound.begin(), sound.end(), output.begin() + static_cast<std::ptrdiff_t>(start));
}

std::size_t EndOfSound(const Samples& samples) {
  for (std::size_t i = samples.size(); i > 0; --i) {
    if (samples[i - 1] != 0) return (i - 1) / kOutputChannels + 1;
  }
  return 0;
}

}  // namespace vork::testing
