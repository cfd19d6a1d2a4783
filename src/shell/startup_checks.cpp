#include "shell/startup_checks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "media/sound_library.h"
#include "platform/cp1252.h"
#include "platform/random.h"
#include "users/lock.h"

namespace vork {

namespace {

namespace fs = std::filesystem;

// A media file the directory check accepts: "media.dir", then any ".avi",
// ".wav" or ".ogg" (names compare without regard to case, as on the file
// systems courses were made on).
std::string FirstMediaFile(const std::string& media_dir) {
  std::error_code error;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(media_dir, error))
    names.push_back(entry.path().filename().string());
  for (const auto& name : names)
    if (EqualsIgnoreCase(name, "media.dir")) return name;
  for (const char* extension : {".avi", ".wav", ".ogg"}) {
    for (const auto& name : names) {
      if (name.size() > 4 && EqualsIgnoreCase(std::string_view(name).substr(name.size() - 4), extension))
        return name;
    }
  }
  return {};
}

bool CanRead(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::string LockDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && fs::is_directory(runtime)) return runtime;
  return fs::temp_directory_path().string();
}

int64_t MillisecondsSinceStart() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::string CheckSoundLibrary(const std::string& executable_dir) {
  // The library stays loaded for the run: the audio players use it later.
  return LoadSoundLibrary(executable_dir);
}

bool AcquireSingleInstance(const std::string& program_file_name) {
  // The lock is named after "KESTROVA/" + the program's name; "/" cannot
  // stand in a file name.
  const std::string path = LockDirectory() + "/KESTROVA-" + UpperCase(program_file_name) + ".lock";
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;  // no place for the lock: do not refuse to run
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  return true;  // held, deliberately, until the process ends
}

std::string CheckDirectories(bool require_media_dir, const std::string& media_dir,
                             const std::string& users_dir) {
  if (require_media_dir) {
    // Drive letters (and with them the CD-ROM advice) do not exist here.
    if (!fs::is_directory(media_dir)) return "Cannot find media directory \"" + media_dir + "\".";
    std::string file = FirstMediaFile(media_dir);
    if (file.empty())
      return "Invalid media directory \"" + media_dir +
             "\" (cannot find media files or file media.dir).";
    if (!CanRead(media_dir + "/" + file))
      return "No READ access to media directory \"" + media_dir + "\".";
  }
  if (!fs::is_directory(users_dir))
    return "Cannot find users directory \"" + users_dir + "\".\r\n\r\n"
           "If the directory does not exist, please create it and verify that all users of this "
           "product have READ/WRITE/DELETE/LIST access to it.*";
  const std::string probe = users_dir + "/~" + std::to_string(MillisecondsSinceStart() % 10000) +
                            std::to_string(Random().Below(1000)) + ".tmp";
  try {
    TVkLock lock(probe);
  } catch (const std::exception&) {
    return "No READ/WRITE/DELETE/LIST access to users directory \"" + users_dir + "\".";
  }
  return {};
}

std::string StartupErrorText(const std::string& message) {
  if (!message.empty() && message.back() == '*') return message.substr(0, message.size() - 1);
  return message + "\r\n\r\nPlease correct the error and try again.";
}

}  // namespace vork
