#pragma once
// Starting another program or document the way a course asks for it:
//   "[/hide|]FILE[|PARAMETERS]" with "%DESKTOPDIR%" standing for the
// learner's desktop folder. Executables start detached with the media
// folder as working folder; other files open with their desktop
// application. A refusal shows the "Execution error." box.

#include <string>

namespace vork {

struct ProgramCommand {
  std::string file;
  std::string parameters;
  bool hidden = false;
};

// Splits the command (after expanding "%DESKTOPDIR%" to desktop).
ProgramCommand ParseProgramCommand(std::string command, const std::string& desktop);

// Starts the command; on failure shows the error box and answers false.
bool RunProgram(const std::string& command);

}  // namespace vork
