#pragma once
// Unpacking a downloaded RAR archive into the course's folder.
//
// The archive is unpacked into a fresh staging folder beside the
// destination first, checking every entry against the install rules as it
// comes and the unpacked bytes against a limit; its files are moved into
// place only once every entry has unpacked and passed, and that move is all
// or nothing (see part_move.h). A corrupt, refused, oversized or half-moved
// archive leaves the course exactly as it was. Nothing is moved to a place
// that would resolve through a symbolic link to outside the destination,
// and no program already in the course folder is replaced.

#include <cstdint>
#include <string>

#include "install/install_rules.h"
#include "install/part_move.h"

namespace vork {

enum class ExtractResult {
  Done,
  Corrupt,      // not an archive or a damaged entry
  NotWritable,  // the destination (or a folder in it) cannot be written
  Refused,      // an entry the rules refuse (see ExtractOutcome::refusal)
  TooLarge,     // it unpacks to more than the limit
};

struct ExtractOptions {
  InstallRules rules;
  // The unpacked bytes allowed: at most ratio times the archive's size, and
  // never so much that less than the reserve stays free on the disk.
  int64_t unpack_ratio = 16;
  int64_t free_space_reserve = int64_t{256} << 20;
  int64_t max_unpacked_bytes = INT64_MAX;  // a bound of its own, beside both
  RenameFile rename;  // the system's when empty
};

struct ExtractOutcome {
  ExtractResult result = ExtractResult::Done;
  Refusal refusal;          // when Refused
  int64_t limit_bytes = 0;  // the unpack limit that applied
};

// The unpack limit for an archive of archive_bytes on a disk with
// free_bytes available; 0 when nothing may be unpacked.
int64_t UnpackLimit(int64_t archive_bytes, int64_t free_bytes, const ExtractOptions& options);

ExtractOutcome ExtractArchive(const std::string& archive_file, const std::string& destination,
                              const ExtractOptions& options = {});

}  // namespace vork
