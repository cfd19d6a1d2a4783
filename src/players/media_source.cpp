#include "players/media_source.h"

#include <cctype>
#include <filesystem>

#include "archives/ark_reader.h"
#include "archives/file_stream.h"
#include "archives/file_vka.h"
#include "platform/errors.h"
#include "platform/path_resolver.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

MediaSource InArchives(TVkResManager& resources, std::string_view name) {
  const std::string stored = resources.FindResource(name);
  if (stored.empty()) return {};
  if (std::string file = resources.ResolveFile(name); !file.empty()) return {file, ""};
  // In an archive file: the same source the resource manager would read,
  // the last added that holds the name.
  const TVkMultiVka& archives = resources.Archives();
  for (size_t i = archives.SourceCount(); i-- > 0;) {
    const auto* archive = dynamic_cast<const TVkFileVka*>(&archives.Source(i));
    if (archive && archive->Reader().IndexOf(stored) >= 0) return {archive->SourcePath(), stored};
  }
  return {};
}

MediaSource InMediaDirectory(TVkResManager& resources, std::string_view name) {
  if (AudioLocation sound = resources.FindAudioFile(name); !sound.location.empty()) return {sound.location, ""};
  const std::string& directory = resources.MediaDirectory();
  if (!directory.empty() && CourseFileExists(directory, name)) return {ResolveCoursePath(directory, name), ""};
  return {};
}

}  // namespace

MediaSource LocateMedia(std::string_view name) {
  if (name.empty()) return {};
  TVkResManager& resources = ResManager();
  if (MediaSource source = InArchives(resources, name); source.Found()) return source;
  if (MediaSource source = InMediaDirectory(resources, name); source.Found()) return source;
  std::string path = ResolveCoursePath(name);
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) return {path, ""};
  return {};
}

bool IsMediaAddress(std::string_view name) {
  auto starts_with = [name](std::string_view scheme) {
    if (name.size() < scheme.size()) return false;
    for (size_t i = 0; i < scheme.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(name[i])) != scheme[i]) return false;
    return true;
  };
  return starts_with("http://") || starts_with("https://");
}

std::unique_ptr<TKsStream> OpenArchivedMedia(const MediaSource& source) {
  // A reader of our own: the resource manager's shares its file handle and
  // position with every resource the course opens.
  TKsArkReader reader(std::make_shared<TKsFileStream>(source.path));
  return reader.Open(source.entry);
}

}  // namespace vork
