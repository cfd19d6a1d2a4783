#pragma once
// Where a medium named by a course lies: a plain file (a loose file in the
// media directory or a resource directory, or a path), or an entry of a
// resource archive file, which is played from its bytes in place.

#include <memory>
#include <string>
#include <string_view>

#include "archives/stream.h"

namespace vork {

struct MediaSource {
  std::string path;     // a file to open by name, or the archive file
  std::string entry;    // the entry inside the archive; "" for a plain file

  bool Found() const { return !path.empty(); }
  bool Archived() const { return !entry.empty(); }
};

// The course's archive set first (".aud" and ".img" names as the resource
// manager maps them, the last archive part that holds the name winning),
// then a ".aud" sound or the name itself in the media directory, then the
// name as a path. Names resolve without regard to case. Not found: an empty
// source.
MediaSource LocateMedia(std::string_view name);

// An "http://" or "https://" address (letter case ignored), which the
// browser player streams as it is.
bool IsMediaAddress(std::string_view name);

// A stream of an archived medium's bytes (descrambled as the archive
// requires) over a file handle of its own, so that it may be read on
// another thread while the course goes on reading the same archive.
// Throws EVkError when the archive or the entry cannot be read.
std::unique_ptr<TKsStream> OpenArchivedMedia(const MediaSource& source);

}  // namespace vork
