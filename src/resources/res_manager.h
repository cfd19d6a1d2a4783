#pragma once
// The resource manager: maps the names a course uses to stored resources in
// the course's archive set (.vka directories or files and their numbered
// update parts) and to loose sounds in the media directory, and loads
// pictures and text lists from them. One per process (ResManager()).
//
// Logical names: "x.img" is a picture stored as "x.jpg" or "x.bmp"; "x.aud"
// a sound stored as "x.ogg" (archives) or "x.ogg" / "x.wav" (media folder).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archives/multi_vka.h"
#include "archives/stream.h"
#include "resources/picture.h"

namespace vork {

struct AudioLocation {
  std::string location;  // a file path or an archive location; "" when not found
  bool is_ogg = false;
};

class TVkResManager {
 public:
  // Finds the archive set beside program_path at once (Rescan).
  TVkResManager(std::string program_path, std::string media_directory);
  ~TVkResManager();
  TVkResManager(const TVkResManager&) = delete;
  TVkResManager& operator=(const TVkResManager&) = delete;

  // The media directory comes from the start-up settings, which are read
  // after the manager may already exist (for the configuration).
  void SetMediaDirectory(std::string directory) { media_directory_ = std::move(directory); }
  const std::string& MediaDirectory() const { return media_directory_; }

  std::string FindAudioInArchives(std::string_view name);
  AudioLocation FindAudioFile(std::string_view name) const;
  AudioLocation LocateArchivedAudio(std::string_view name);
  AudioLocation LocateAudio(std::string_view name);
  std::string FindImage(std::string_view name);
  std::string FindResource(std::string_view name);
  std::string ResolveFile(std::string_view name);
  bool ResourceExists(std::string_view name);

  // Failures are logged with "Error loading resource" and passed on.
  std::unique_ptr<TKsStream> OpenResource(std::string_view name);
  // name must end ".img"; the picture is the ".jpg" or else the ".bmp".
  void LoadBitmap(Picture& bitmap, std::string_view name);
  // One entry a line (CR, LF or CR LF); replaces what strings held.
  void LoadStrings(std::vector<std::string>& strings, std::string_view name);
  std::vector<std::string> ResourceNames();
  bool HasPart(std::string_view extension) const;
  // Builds the archive set again; a part that cannot be opened is reported
  // in an error box and left out.
  void Rescan();
  // Logs text and throws EVkError(text).
  [[noreturn]] void Fail(const std::string& text);

  // Pictures opened so far (".bmp" and ".jpg") and their bytes.
  int PictureCount() const { return picture_count_; }
  int64_t PictureBytes() const { return picture_bytes_; }
  // A scene change starts the statistics again.
  void ResetPictureStatistics() {
    picture_count_ = 0;
    picture_bytes_ = 0;
  }

  // Prefetching was never implemented; PrefetchRes says so in a box.
  void PrefetchRes(std::string_view name);
  void ClearPrefetch();
  int PrefetchCount() const { return static_cast<int>(prefetch_.size()); }
  int64_t PrefetchSize();
  std::string PrefetchNames() const;

  const TVkMultiVka& Archives() const { return *archives_; }

 private:
  std::string program_path_;
  std::string media_directory_;
  std::unique_ptr<TVkMultiVka> archives_;
  int picture_count_ = 0;
  int64_t picture_bytes_ = 0;
  std::vector<std::pair<std::string, std::unique_ptr<TKsStream>>> prefetch_;
};

// The process's resource manager, created at the first call for the program
// path (program_location.h) with the media folder beside it.
TVkResManager& ResManager();

// text split into lines at CR, LF and CR LF; a final line break does not
// start another line.
std::vector<std::string> SplitLines(std::string_view text);

// Picture resources larger than this are refused before they are read.
constexpr int64_t kMaxPictureResourceBytes = 256 * 1024 * 1024;

}  // namespace vork
