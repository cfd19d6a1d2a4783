#include "text/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/random.h"

namespace vork {
namespace {

constexpr int kTries = 1000;

bool CreateExclusively(const std::string& name) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::int64_t MillisecondsOfTicks() {
  return (MonotonicMilliseconds() % 1000 + 1000) % 1000;
}

}  // namespace

std::string TempDirectory() {
  const char* configured = std::getenv("TMPDIR");
  std::string directory = configured != nullptr && *configured != '\0' ? configured : "/tmp";
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

std::string CreateTempFileWithPrefix(std::string_view prefix, std::string_view extension) {
  if (extension.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos ||
      prefix.find('\0') != std::string_view::npos) {
    return {};
  }
  for (int attempt = 0; attempt < kTries; ++attempt) {
    std::string name(prefix);
    name += std::to_string(MillisecondsOfTicks());
    name += std::to_string(Random().Below(10000));
    name += extension;
    if (CreateExclusively(name)) return name;
  }
  return {};
}

std::string CreateTempFile(std::string_view extension) {
  return CreateTempFileWithPrefix(TempDirectory() + "/~", extension);
}

}  // namespace vork
