#include "platform/diagnostic_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace vork {

namespace {

struct LogFile {
  FILE* file = nullptr;
  std::mutex mutex;
  LogFile() {
    const char* path = std::getenv("VORK_LOG");
    if (path && *path) {
      file = std::strcmp(path, "-") == 0 ? stderr : std::fopen(path, "a");
    } else if (IsDevelopmentMachine()) {
      file = stderr;
    }
  }
};

LogFile& Log() {
  static LogFile log;
  return log;
}

}  // namespace

bool IsDevelopmentMachine() {
  static const bool developer = [] {
    const char* value = std::getenv("VORK_DEVELOPER");
    return value && std::strcmp(value, "1") == 0;
  }();
  return developer;
}

bool DiagnosticLogEnabled() { return Log().file != nullptr; }

void DiagnosticLog(std::string_view line) {
  LogFile& log = Log();
  if (!log.file) return;
  // Sound callbacks and the watchdog may log from their own threads.
  std::lock_guard lock(log.mutex);
  std::fwrite(line.data(), 1, line.size(), log.file);
  std::fputc('\n', log.file);
  std::fflush(log.file);
}

}  // namespace vork
