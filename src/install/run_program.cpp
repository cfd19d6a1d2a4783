#include "install/run_program.h"

#include <unistd.h>

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <filesystem>

#include "platform/course_directories.h"
#include "platform/deferred_saves.h"
#include "platform/message_boxes.h"
#include "platform/path_resolver.h"
#include "platform/qt/qt_text.h"

namespace vork {
namespace {

// The shell's answers that the error box reports.
constexpr int kFileNotFound = 2;
constexpr int kBadFormat = 11;
constexpr int kNoAssociation = 31;

void ReplaceAll(std::string& text, std::string_view from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

bool LooksLikeUrl(const std::string& file) {
  const size_t colon = file.find("://");
  return (colon != std::string::npos && colon > 1) || file.rfind("mailto:", 0) == 0;
}

// The file a name stands for: a course path relative to the media folder,
// an absolute path, or a program found on the search path.
std::string Locate(const std::string& file) {
  const std::string plain = WithForwardSlashes(file);
  std::error_code error;
  const std::string resolved = !plain.empty() && plain.front() == '/'
                                   ? ResolveCoursePath(plain)
                                   : ResolveCoursePath(MediaDirectory(), plain);
  if (std::filesystem::exists(resolved, error)) return resolved;
  if (plain.find('/') == std::string::npos) {
    const QString found = QStandardPaths::findExecutable(ToQString(plain));
    if (!found.isEmpty()) return FromQString(found);
  }
  return {};
}

int Start(const ProgramCommand& command) {
  if (LooksLikeUrl(command.file))
    return QDesktopServices::openUrl(QUrl(ToQString(command.file))) ? 0 : kNoAssociation;
  const std::string path = Locate(command.file);
  if (path.empty()) return kFileNotFound;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0) {
    // A hidden start has no meaning for a program on this platform; it
    // simply runs without a terminal of its own.
    const bool started = QProcess::startDetached(
        ToQString(path), QProcess::splitCommand(ToQString(command.parameters)),
        ToQString(MediaDirectory()));
    return started ? 0 : kBadFormat;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path))) ? 0 : kNoAssociation;
}

}  // namespace

ProgramCommand ParseProgramCommand(std::string command, const std::string& desktop) {
  ReplaceAll(command, "%DESKTOPDIR%", desktop);
  ProgramCommand result;
  if (command.rfind("/hide|", 0) == 0) {
    result.hidden = true;
    command.erase(0, 6);
  }
  const size_t bar = command.find('|');
  result.file = command.substr(0, bar);
  if (bar != std::string::npos) result.parameters = command.substr(bar + 1);
  return result;
}

bool RunProgram(const std::string& command) {
  const std::string desktop =
      FromQString(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
  const ProgramCommand program = ParseProgramCommand(command, desktop);
  // The program started may read what the course has just written, or be
  // the reason the learner closes the player.
  SaveDeferredChanges();
  const int code = Start(program);
  if (code == 0) return true;
  ShowError("Execution error.\r\n\r\n   File = \"" + program.file + "\"\r\n   Parameters = \"" +
            program.parameters + "\"\r\n   Error code = " + std::to_string(code));
  return false;
}

}  // namespace vork
