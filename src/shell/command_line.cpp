#include "shell/command_line.h"

#include <charconv>

namespace vork {

namespace {

struct ValueOption {
  const char* name;
  std::string PlayerOptions::*field;
};

constexpr ValueOption kValueOptions[] = {
    {"--image", &PlayerOptions::image},
    {"--dev", &PlayerOptions::dev},
    {"--transcript", &PlayerOptions::transcript},
    {"--answers", &PlayerOptions::answers},
    {"--events", &PlayerOptions::events},
};

bool ParseMilliseconds(const std::string& text, int& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

// "1", "2", "3", or "fit" (0).
bool ParseZoom(const std::string& text, int& out) {
  if (text == "fit") {
    out = 0;
    return true;
  }
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && out >= 1 && out <= 3;
}

}  // namespace

std::optional<PlayerOptions> ParseCommandLine(const std::vector<std::string>& args,
                                              CommandLineError& error) {
  PlayerOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error.message = "option " + arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    bool matched = false;
    for (const auto& option : kValueOptions) {
      if (arg == option.name) {
        if (!value(options.*option.field)) return std::nullopt;
        matched = true;
      }
    }
    if (matched) continue;
    if (arg == "--timeout") {
      std::string text;
      if (!value(text)) return std::nullopt;
      if (!ParseMilliseconds(text, options.timeout_ms)) {
        error.message = "option --timeout needs a number of milliseconds, not '" + text + "'";
        return std::nullopt;
      }
    } else if (arg == "--zoom") {
      std::string text;
      if (!value(text)) return std::nullopt;
      if (!ParseZoom(text, options.zoom)) {
        error.message = "option --zoom needs 1, 2, 3 or fit, not '" + text + "'";
        return std::nullopt;
      }
    } else if (arg == "--fullscreen") {
      options.fullscreen = true;
    } else if (arg == "--help") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error.message = "unrecognized option '" + arg + "'";
      return std::nullopt;
    } else {
      options.rest.push_back(arg);
    }
  }
  if (!options.dev.empty() && !options.image.empty()) {
    error.message = "options --dev and --image cannot be used together";
    return std::nullopt;
  }
  options.version_switch = options.rest.size() == 1 && options.rest[0] == "/version";
  return options;
}

std::string HelpText(const std::string& program) {
  return "Usage: " + program + " [OPTION]...\n"
         "Plays the course carried by this program, or the image given with --image.\n"
         "\n"
         "  --image FILE       run the course image in FILE; the course's files are\n"
         "                     looked for beside FILE\n"
         "  --dev FILE         build the course source FILE (and its resources/ folder)\n"
         "                     and run it; every saved change rebuilds it and restarts\n"
         "                     it at the scene that was showing\n"
         "  --transcript FILE  run headless: write every box and dialog as one line\n"
         "                     \"KIND: TEXT\" to FILE (- for standard output)\n"
         "  --answers LIST     comma-separated answers for the boxes and dialogs of a\n"
         "                     transcript run (ok, yes, no, cancel, 11, 12, 13, or a\n"
         "                     hot-spot name)\n"
         "  --events FILE      mouse and key input for a transcript run, one a line\n"
         "  --timeout MS       end after MS milliseconds with exit status 124\n"
         "  --zoom N           show the stage N times larger (1, 2 or 3), or as large\n"
         "                     as the screen allows (fit)\n"
         "  --fullscreen       start in full screen, the stage centred (F11 toggles)\n"
         "  --help             show this help and exit\n"
         "  --version          show the version and exit\n"
         "  /version           show the build text in a box\n"
         "\n"
         "Keys: F11 full screen, Ctrl++ and Ctrl+- zoom, Ctrl+0 zoom 1,\n"
         "Ctrl+M mute, Ctrl+Up and Ctrl+Down sound volume.\n";
}

}  // namespace vork
