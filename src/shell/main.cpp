// The player's entry point: the command line, the start-up checks, then the
// main window with the course, and the event loop.

#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "archives/embedded_resources.h"
#include "bridge/source_locator.h"
#include "install/install_leftovers.h"
#include "platform/course_directories.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "platform/player_host.h"
#include "platform/program_location.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/random.h"
#include "platform/version.h"
#include "shell/command_line.h"
#include "shell/dev_course.h"
#include "shell/dev_reloader.h"
#include "resources/config.h"
#include "shell/event_player.h"
#include "shell/form.h"
#include "shell/player_classes.h"
#include "resources/res_manager.h"
#include "shell/shell_host.h"
#include "shell/stage_zoom.h"
#include "shell/startup_checks.h"
#include "shell/volume_keys.h"
#include "shell/watchdog.h"
#include "shell/whole_pixel_mouse.h"
#include "vm/image.h"

namespace vork {
namespace {

std::string ExecutablePath() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

// The whole file; what names the file in the error ("the course image").
std::string ReadWholeFile(const std::string& path, const char* what) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  if (in) bytes << in.rdbuf();
  if (!in) throw EVkError(std::string("Cannot read ") + what + " \"" + path + "\".");
  return bytes.str();
}

// The image: the file given with --image, else the resource the bundling
// tool appended to this executable.
std::vector<uint8_t> CourseImage(const PlayerOptions& options) {
  std::string bytes = options.image.empty()
                          ? ReadEmbeddedResource(ExecutablePath(), "BYTECODE_BIN")
                          : ReadWholeFile(options.image, "the course image");
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The compiler's map of the course: NAME.vkmap beside the image file, or the
// resource the bundling tool appended beside the image; "" when there is none.
std::string CourseSourceMap(const PlayerOptions& options) {
  if (!options.image.empty()) {
    const std::string path = WithoutExtension(options.image) + ".vkmap";
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? ReadWholeFile(path, "the source map") : "";
  }
  const std::string executable = ExecutablePath();
  return FindEmbeddedResource(executable, "SOURCE_MAP") ? ReadEmbeddedResource(executable, "SOURCE_MAP") : "";
}

// Where transcript lines go, for the whole run.
struct Transcript {
  std::ofstream file;
  TranscriptAnswers answers;
  std::unique_ptr<TranscriptBoxes> boxes;

  Transcript(const PlayerOptions& options) : answers(options.answers) {
    std::ostream* out = &std::cout;
    if (options.transcript != "-") {
      file.open(options.transcript, std::ios::binary | std::ios::trunc);
      if (!file) throw EVkError("Cannot write the transcript \"" + options.transcript + "\".");
      out = &file;
    }
    boxes = std::make_unique<TranscriptBoxes>(*out, answers);
  }
};

// The files named on the command line mean the launch directory, but the
// course runs in its media directory: anchor them before that change.
void AnchorOptionPaths(PlayerOptions& options) {
  options.image = FromLaunchDirectory(options.image);
  options.dev = FromLaunchDirectory(options.dev);
  options.events = FromLaunchDirectory(options.events);
  if (options.transcript != "-") options.transcript = FromLaunchDirectory(options.transcript);
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLineError error;
  auto parsed = ParseCommandLine(args, error);
  const std::string program = argc > 0 ? FileNameOf(argv[0]) : "vork";
  if (!parsed) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                 error.message.c_str(), program.c_str());
    return 2;
  }
  AnchorOptionPaths(*parsed);
  // Under --dev the player runs the image it builds in a scratch folder.
  std::unique_ptr<DevCourse> dev_course;
  if (!parsed->dev.empty()) {
    try {
      dev_course = std::make_unique<DevCourse>(parsed->dev, DevCourse::DefaultCompiler(ExecutablePath()));
    } catch (const std::exception& fault) {
      std::fprintf(stderr, "%s: %s\n", program.c_str(), fault.what());
      return 1;
    }
    parsed->image = dev_course->ImagePath().string();
    // The author is at the machine: the boxes say where, too.
    SourceLocator::SetInBoxes(true);
  }
  const PlayerOptions& options = *parsed;
  if (options.help) {
    std::fputs(HelpText(program).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("vork %s (%s)\n", kReleaseNumber, kVersionText);
    return 0;
  }
  if (options.timeout_ms >= 0) StartWatchdog(options.timeout_ms);

  const std::string executable = ExecutablePath();
  SetProgramPath(options.image.empty() ? executable : options.image);

  QApplication app(argc, argv);
  // Numbers are written without the locale, and libmpv insists on "C".
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationDisplayName(QString::fromStdString(ProgramName()));
  WholePixelMouse whole_pixel_mouse;
  app.installEventFilter(&whole_pixel_mouse);
  if (dev_course) {
    DevBuildResult built = dev_course->Build();
    std::fputs(built.errors.c_str(), stderr);
    if (!built.ok) return 1;
  }

  std::unique_ptr<Transcript> transcript;
  QtMessageBoxes window_boxes;
  if (!options.transcript.empty()) {
    try {
      transcript = std::make_unique<Transcript>(options);
    } catch (const std::exception& fault) {
      // There is no transcript to write the error into.
      std::fprintf(stderr, "%s: %s\n", program.c_str(), fault.what());
      return 1;
    }
  }
  MessageBoxes& boxes = transcript ? static_cast<MessageBoxes&>(*transcript->boxes) : window_boxes;
  ShellHost host(boxes, transcript ? DialogStyle::Transcript : DialogStyle::Windows);
  ScopedHost installed_host(host);

  if (std::string problem = CheckSoundLibrary(DirectoryOf(executable)); !problem.empty()) {
    ShowError(problem);
    return 1;
  }
  if (!AcquireSingleInstance(FileNameOf(ProgramPath()))) return 0;
  RemoveInstallLeftovers(ProgramDirectory(), ProcessStartTime());
  if (options.version_switch) {
    ShowPlain(kVersionText);
    return 0;
  }
  try {
    SeedRandomAtStartUp();
    ResManager().SetMediaDirectory(MediaDirectory());
    std::string problem =
        CheckDirectories(Config().RequireMediaDir(), MediaDirectory(), UsersDirectory());
    if (!problem.empty()) {
      ShowError(StartupErrorText(problem));
      return 1;
    }
    EnterMediaDirectory();

    std::vector<ScriptedEvent> events;
    if (!options.events.empty()) {
      events = ParseEventScript(ReadWholeFile(options.events, "the events file"));
    }

    TVkForm form(QSize(Config().SceneWidth(), Config().SceneHeight()), RegisterPlayerClasses);
    form.Zoom()->SetZoom(options.zoom);
    InstallVolumeKeys(&form, PlayerConfigDirectory() + "/sound.ini");
    EventPlayer player(&form, std::move(events),
                       [&form](QPoint stage) { return form.Zoom()->WindowPointOf(stage); });
    // VORK_SCREENSHOTS=DIR saves the window as DIR/scene-NN.png each time a
    // scene has been shown (for the README's pictures and for reviews).
    const char* screenshots = std::getenv("VORK_SCREENSHOTS");
    int shown = 0;
    host.on_scene_shown = [&, screenshots] {
      if (screenshots && *screenshots) {
        char name[32];
        std::snprintf(name, sizeof name, "/scene-%02d.png", ++shown);
        form.grab().save(QString::fromStdString(screenshots + std::string(name)));
      }
      if (transcript) player.Start();
    };
    if (transcript) {
      // Nothing can happen once the course has stopped: end the run.
      form.OnCourseEnded = [](bool) { QCoreApplication::quit(); };
    }
    // The start routine runs before the window is first shown.
    form.StartCourse(CourseImage(options), CourseSourceMap(options));
    std::unique_ptr<DevReloader> reloader;
    if (dev_course) reloader = std::make_unique<DevReloader>(form, *dev_course);
    if (options.fullscreen) form.Zoom()->SetFullScreen(true);
    else form.show();
    int status = QApplication::exec();
    host.on_scene_shown = nullptr;
    return status;
  } catch (const EVkSilentAbort&) {
    // Already shown; it still ends the program.
    return 1;
  } catch (const std::exception& fault) {
    // A failure during start-up ends the program.
    ShowError(fault.what());
    return 1;
  }
}

}  // namespace
}  // namespace vork

int main(int argc, char** argv) { return vork::Run(argc, argv); }
