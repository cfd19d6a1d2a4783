#include "shell/res_manager.h"

#include <algorithm>

#include "archives/archive_location.h"
#include "archives/dir_vka.h"
#include "archives/file_vka.h"
#include "platform/cp1252.h"
#include "platform/diagnostic_log.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "platform/path_resolver.h"
#include "platform/program_location.h"
#include "shell/archive_parts.h"
#include "platform/button_dialog.h"

namespace vork {

namespace {

bool HasExtension(std::string_view name, std::string_view extension) {
  return EqualsIgnoreCase(ExtensionOf(WithForwardSlashes(name)), extension);
}

// name with its extension replaced ("a\b.img", ".jpg" → "a\b.jpg").
std::string WithExtension(std::string_view name, std::string_view extension) {
  std::string forward = WithForwardSlashes(name);
  return std::string(name.substr(0, forward.size() - ExtensionOf(forward).size())) +
         std::string(extension);
}

enum class Choice { Directories, Files, Neither };

Choice ChooseParts(bool directories_usable, bool files_usable) {
  if (directories_usable && files_usable) {
    int answer = ButtonDialog("Use .vka-directories or .vka-files?\r\n", "Confirm",
                              "&Directories|&Files", DialogPlacement::Screen);
    return answer == kFirstButton       ? Choice::Directories
           : answer == kFirstButton + 1 ? Choice::Files
                                        : Choice::Neither;
  }
  if (directories_usable) return Choice::Directories;
  if (files_usable) return Choice::Files;
  return Choice::Neither;
}

}  // namespace

TVkResManager::TVkResManager(std::string program_path, std::string media_directory)
    : program_path_(std::move(program_path)), media_directory_(std::move(media_directory)) {
  Rescan();
}

TVkResManager::~TVkResManager() = default;

void TVkResManager::Rescan() {
  archives_ = std::make_unique<TVkMultiVka>();
  std::string directory_base = DirectoryBase(program_path_);
  std::vector<std::string> directories;
  if (!directory_base.empty()) directories = FindArchiveParts(directory_base, PartKind::Directories);
  std::vector<std::string> files =
      FindArchiveParts(WithoutExtension(program_path_), PartKind::Files);

  switch (ChooseParts(ArePartsUsable(directories), ArePartsUsable(files))) {
    case Choice::Directories:
      for (const auto& path : directories) archives_->Add(std::make_unique<TVkDirVka>(path));
      break;
    case Choice::Files:
      // A damaged part costs only its own resources: the course still runs
      // from the others, and the author learns which file to replace.
      for (const auto& path : files) {
        try {
          archives_->Add(std::make_unique<TVkFileVka>(path));
        } catch (const std::exception& error) {
          DiagnosticLog(std::string("Cannot open resource archive \"") + path + "\": " + error.what());
          ShowError("Cannot open resource archive \"" + path + "\": " + error.what());
        }
      }
      break;
    case Choice::Neither:
      break;
  }
}

std::string TVkResManager::FindAudioInArchives(std::string_view name) {
  if (!HasExtension(name, ".aud")) return {};
  std::string stored = WithExtension(name, ".ogg");
  return archives_->Exists(stored) ? stored : std::string();
}

AudioLocation TVkResManager::FindAudioFile(std::string_view name) const {
  if (!HasExtension(name, ".aud")) return {};
  for (const auto& [extension, is_ogg] : {std::pair{".ogg", true}, std::pair{".wav", false}}) {
    std::string file = WithExtension(name, extension);
    if (CourseFileExists(media_directory_, file))
      return {ResolveCoursePath(media_directory_, file), is_ogg};
  }
  return {};
}

AudioLocation TVkResManager::LocateArchivedAudio(std::string_view name) {
  std::string stored = FindAudioInArchives(name);
  if (stored.empty()) return {};
  return {archives_->Locate(stored), true};
}

AudioLocation TVkResManager::LocateAudio(std::string_view name) {
  AudioLocation archived = LocateArchivedAudio(name);
  return archived.location.empty() ? FindAudioFile(name) : archived;
}

std::string TVkResManager::FindImage(std::string_view name) {
  if (!HasExtension(name, ".img")) return {};
  for (const char* extension : {".jpg", ".bmp"}) {
    std::string stored = WithExtension(name, extension);
    if (archives_->Exists(stored)) return stored;
  }
  return {};
}

std::string TVkResManager::FindResource(std::string_view name) {
  std::string stored = FindAudioInArchives(name);
  if (stored.empty()) stored = FindImage(name);
  if (stored.empty() && archives_->Exists(name)) stored = std::string(name);
  return stored;
}

std::string TVkResManager::ResolveFile(std::string_view name) {
  std::string stored = FindResource(name);
  if (stored.empty()) return {};
  std::string location = archives_->Locate(stored);
  return IsArchiveLocation(location) ? std::string() : location;
}

bool TVkResManager::ResourceExists(std::string_view name) {
  return !FindResource(name).empty() || !FindAudioFile(name).location.empty() ||
         CourseFileExists(media_directory_, name);
}

std::unique_ptr<TKsStream> TVkResManager::OpenResource(std::string_view name) {
  std::unique_ptr<TKsStream> stream;
  try {
    stream = archives_->Open(name);
  } catch (...) {
    DiagnosticLog("Error loading resource \"" + std::string(name) + "\".");
    throw;
  }
  if (HasExtension(name, ".bmp") || HasExtension(name, ".jpg")) {
    ++picture_count_;
    picture_bytes_ += stream->Size();
  }
  return stream;
}

void TVkResManager::LoadBitmap(Picture& bitmap, std::string_view name) {
  std::string text(name);
  if (!HasExtension(name, ".img"))
    Fail("Illegal image name \"" + text + "\" (image's extension must be .img).");
  std::string stored = FindImage(name);
  if (stored.empty())
    Fail("Error loading image \"" + text + "\".\r\n(Image \"" + WithExtension(name, ".jpg") +
         "\" or \"" + WithExtension(name, ".bmp") + "\" not found.)");
  auto stream = OpenResource(stored);
  if (stream->Size() > kMaxPictureResourceBytes)
    Fail("Picture \"" + stored + "\" is too large: " + std::to_string(stream->Size()) +
         " bytes (at most " + std::to_string(kMaxPictureResourceBytes) + ")");
  std::string data = stream->ReadAll();
  bitmap = HasExtension(stored, ".jpg") ? DecodeJpeg(data, stored) : DecodeBmp(data, stored);
}

void TVkResManager::LoadStrings(std::vector<std::string>& strings, std::string_view name) {
  strings = SplitLines(OpenResource(name)->ReadAll());
}

std::vector<std::string> TVkResManager::ResourceNames() { return archives_->Names(); }

bool TVkResManager::HasPart(std::string_view extension) const {
  return archives_->HasSourceWithExtension(extension);
}

void TVkResManager::Fail(const std::string& text) {
  DiagnosticLog(text);
  throw EVkError(text);
}

void TVkResManager::PrefetchRes(std::string_view) {
  ShowPlain("TVkResManager.PrefetchRes not yet implemented!");
}

void TVkResManager::ClearPrefetch() { prefetch_.clear(); }

int64_t TVkResManager::PrefetchSize() {
  int64_t total = 0;
  for (auto& entry : prefetch_) total += entry.second->Size();
  return total;
}

std::string TVkResManager::PrefetchNames() const {
  std::string names;
  for (const auto& entry : prefetch_) names += (names.empty() ? "" : ", ") + entry.first;
  return "(" + names + ")";
}

TVkResManager& ResManager() {
  static TVkResManager manager(ProgramPath(), ProgramDirectory() + "/media");
  return manager;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
  }
  return lines;
}

}  // namespace vork
