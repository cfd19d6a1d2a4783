#pragma once
// The player's command line: the options of a headless or scripted run, the
// "/version" switch and the GNU-style --help and --version.

#include <optional>
#include <string>
#include <vector>

namespace vork {

struct PlayerOptions {
  std::string image;           // --image FILE: run this image instead of the embedded one
  std::string dev;             // --dev FILE: build the course source FILE, reload on changes
  std::string transcript;      // --transcript FILE ("-" = standard output); empty: a window run
  std::string answers;         // --answers LIST
  std::string events;          // --events FILE
  int timeout_ms = -1;         // --timeout MS; -1: none
  bool version_switch = false; // "/version" alone
  bool help = false;           // --help
  bool version = false;        // --version
  int zoom = 1;                // --zoom 1|2|3; 0: fit to the screen (--zoom fit)
  bool fullscreen = false;     // --fullscreen
  std::vector<std::string> rest;  // arguments left once the options are taken out
};

struct CommandLineError {
  std::string message;
};

// Parses argv[1..]. An option that needs a value and has none, a bad number or
// an unknown "--" option is an error; other words are left in rest.
std::optional<PlayerOptions> ParseCommandLine(const std::vector<std::string>& args,
                                              CommandLineError& error);

// The --help text; every option it lists is accepted by ParseCommandLine.
std::string HelpText(const std::string& program);

}  // namespace vork
