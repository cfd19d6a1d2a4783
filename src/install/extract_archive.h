#pragma once
// Unpacking a downloaded RAR archive into the course's folder.
//
// The archive is unpacked into a fresh staging folder beside the
// destination first, and its files are moved into place only once every
// entry has unpacked: a corrupt, refused or half-written archive leaves the
// course exactly as it was. Nothing is moved to a place that would resolve
// through a symbolic link to outside the destination.

#include <string>

namespace vork {

enum class ExtractResult {
  Done,
  Corrupt,      // not an archive, a damaged entry, or a refused entry name
  NotWritable,  // the destination (or a folder in it) cannot be written
};

ExtractResult ExtractArchive(const std::string& archive_file, const std::string& destination);

}  // namespace vork
