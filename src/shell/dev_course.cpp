#include "shell/dev_course.h"

#include <stdlib.h>

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "archives/ark_writer.h"
#include "archives/file_stream.h"
#include "platform/errors.h"

namespace vork {

namespace fs = std::filesystem;

namespace {

// The compiler is quick; one that takes this long is stuck.
constexpr int kCompileTimeoutMs = 60000;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) throw EVkError("Cannot read \"" + path.string() + "\".");
  return bytes.str();
}

// A folder only this user may enter, named after the course.
fs::path MakeScratchFolder(const std::string& name) {
  std::string pattern = (fs::temp_directory_path() / ("vork-dev-" + name + ".XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw EVkError("Cannot create a scratch folder for \"" + name + "\" in " +
                   fs::temp_directory_path().string() + ".");
  }
  return pattern;
}

bool IsHidden(const fs::path& path) {
  const std::string name = path.filename().string();
  return !name.empty() && name[0] == '.';
}

}  // namespace

DevCourse::DevCourse(fs::path source, fs::path compiler)
    : source_(fs::absolute(source).lexically_normal()), compiler_(std::move(compiler)) {
  scratch_ = MakeScratchFolder(Name());
  LayOutFolders();
}

DevCourse::~DevCourse() {
  std::error_code ignored;
  fs::remove_all(scratch_, ignored);
}

std::string DevCourse::Name() const { return source_.stem().string(); }
fs::path DevCourse::ImagePath() const { return scratch_ / (Name() + ".vkbc"); }
fs::path DevCourse::MapPath() const { return scratch_ / (Name() + ".vkmap"); }
fs::path DevCourse::ArchivePath() const { return scratch_ / (Name() + ".vka"); }

fs::path DevCourse::DefaultCompiler(const fs::path& player) {
  fs::path beside = player.parent_path() / "vkc";
  std::error_code error;
  if (fs::is_regular_file(beside, error)) return beside;
  return "vkc";
}

void DevCourse::LayOutFolders() {
  // The player looks for media/ and users/ beside its image. The course's
  // own media folder is used where it is, so that a changed film or sound
  // needs no copy; without one the player gets an empty one it accepts.
  const fs::path own_media = source_.parent_path() / "media";
  std::error_code error;
  if (fs::is_directory(own_media, error)) {
    fs::create_directory_symlink(own_media, scratch_ / "media", error);
  } else {
    fs::create_directory(scratch_ / "media", error);
    if (!error) std::ofstream(scratch_ / "media" / "media.dir");
  }
  if (!error) fs::create_directory(scratch_ / "users", error);
  if (error) {
    throw EVkError("Cannot lay out the scratch folder \"" + scratch_.string() + "\": " + error.message());
  }
}

DevBuildResult DevCourse::Build() {
  DevBuildResult result = Compile();
  if (!result.ok) return result;
  try {
    PackResources();
  } catch (const std::exception& fault) {
    return {false, std::string("Packing resources/ failed: ") + fault.what()};
  }
  return result;
}

DevBuildResult DevCourse::Compile() {
  // Compiled into a folder of its own first, so that a failed compile never
  // leaves a partial image where the player reads it.
  const fs::path stage = scratch_ / ".stage";
  std::error_code error;
  fs::remove_all(stage, error);
  fs::create_directory(stage, error);
  const fs::path staged_image = stage / ImagePath().filename();

  QProcess compiler;
  compiler.setProcessChannelMode(QProcess::MergedChannels);
  compiler.start(QString::fromStdString(compiler_.string()),
                 {QString::fromStdString(source_.string()), "-o", QString::fromStdString(staged_image.string())});
  if (!compiler.waitForStarted()) {
    return {false, "Cannot run the compiler \"" + compiler_.string() + "\": " +
                       compiler.errorString().toStdString()};
  }
  if (!compiler.waitForFinished(kCompileTimeoutMs)) {
    compiler.kill();
    compiler.waitForFinished();
    return {false, "The compiler \"" + compiler_.string() + "\" did not finish."};
  }
  std::string output = compiler.readAll().toStdString();
  const bool compiled = compiler.exitStatus() == QProcess::NormalExit && compiler.exitCode() == 0 &&
                        fs::is_regular_file(staged_image, error);
  if (!compiled) {
    if (output.empty()) output = "The compiler \"" + compiler_.string() + "\" failed.";
    return {false, output};
  }
  fs::rename(staged_image, ImagePath(), error);
  if (error) return {false, "Cannot replace \"" + ImagePath().string() + "\": " + error.message()};
  const fs::path staged_map = stage / MapPath().filename();
  if (fs::is_regular_file(staged_map, error)) {
    fs::rename(staged_map, MapPath(), error);
  } else {
    fs::remove(MapPath(), error);
  }
  // Warnings of a good build still reach the author.
  return {true, output};
}

void DevCourse::PackResources() {
  const fs::path resources = source_.parent_path() / "resources";
  std::error_code error;
  if (!fs::is_directory(resources, error)) return;
  std::vector<std::pair<std::string, fs::path>> files;
  for (const auto& entry : fs::recursive_directory_iterator(resources)) {
    if (entry.is_regular_file() && !IsHidden(entry.path())) {
      files.emplace_back(entry.path().lexically_relative(resources).generic_string(), entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  const fs::path staged = scratch_ / ".stage" / "archive";
  {
    // Method 0: nothing to unscramble on every read while the author works.
    TKsArkWriter writer(std::make_shared<TKsFileStream>(staged.string(), TKsFileStream::Mode::Create), 0);
    for (const auto& [name, path] : files) writer.Add(name, ReadFile(path));
    writer.Finish();
  }
  fs::rename(staged, ArchivePath());
}

std::vector<fs::path> DevCourse::WatchedFolders() const {
  std::vector<fs::path> folders{source_.parent_path()};
  std::error_code error;
  for (fs::recursive_directory_iterator it(source_.parent_path(), error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_directory(error)) continue;
    if (IsHidden(it->path())) {
      it.disable_recursion_pending();
      continue;
    }
    folders.push_back(it->path());
  }
  return folders;
}

}  // namespace vork
