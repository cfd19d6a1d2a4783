#pragma once
// A minimal writer of RAR 4 archives with stored (uncompressed) entries, for
// test fixtures: no RAR writer is packaged for this platform, and libarchive
// reads what this writes.

#include <string>
#include <vector>

namespace vork::testing {

struct RarEntry {
  enum class Kind { File, Directory, Symlink };
  std::string name;  // stored as given, "\" and ".." included
  std::string data;  // a file's bytes or a link's target
  Kind kind = Kind::File;
};

std::string Rar4Archive(const std::vector<RarEntry>& entries);

}  // namespace vork::testing
