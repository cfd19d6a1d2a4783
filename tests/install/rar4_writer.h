#pragma once
// A minimal writer of RAR 4 archives with stored (uncompressed) entries, for
// test fixtures: no RAR writer is packaged for this platform, and libarchive
// reads what this writes.

#include <cstdint>
#include <string>
#include <vector>

namespace vork::testing {

struct RarEntry {
  enum class Kind { File, Directory, Symlink };
  std::string name;  // stored as given, "\" and ".." included
  std::string data;  // a file's bytes or a link's target
  Kind kind = Kind::File;
  uint32_t unix_mode = 0;  // stored type and permission bits; 0: the kind's usual
};

std::string Rar4Archive(const std::vector<RarEntry>& entries);

}  // namespace vork::testing
