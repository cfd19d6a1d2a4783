#pragma once
// What a downloaded part may put into the course folder. A part adds and
// replaces course content (archive parts, media, documents); it must never
// bring anything that can run, nor touch what belongs to the learners or
// configures the course: one such entry refuses the whole part.
//
// The decision is a pure function of the archive's entries (names, kinds,
// stored permission bits, the first bytes of each file), so that it can be
// tested and fuzzed without a file system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

enum class PartEntryKind { File, Folder, Link, Other };

struct PartEntry {
  std::string name;  // as stored in the archive, unchecked
  PartEntryKind kind = PartEntryKind::File;
  uint32_t mode = 0;  // permission bits as stored; 0 when the archive keeps none
  std::string head;   // a file's first bytes once unpacked; empty before
};

struct Refusal {
  std::string entry;   // the entry's name as stored
  std::string reason;  // why, in words for the box
};

// The course's own files that no part may write, besides the rules every
// part follows. Paths are relative to the course folder, "/"-separated, and
// compared ignoring ASCII case: archives are made on systems whose names
// ignore case, and "Users/Ann.vkr" must not slip past "users".
struct InstallRules {
  std::vector<std::string> protected_files;                // the file itself
  std::vector<std::string> protected_folders = {"users"};  // the folder and all below it
};

// Rules for a course folder: the program file (executable or image) and its
// settings file, the running executable, the sound library and the users
// folder (the configured one when it lies inside the course folder).
InstallRules CourseInstallRules(const std::string& course_folder);

// True when bytes begin like something the system runs (ELF, "#!").
bool LooksLikeProgram(std::string_view head);

// Why the entry may not be installed; nullopt when it may. The head is
// checked when given, so a caller can ask before unpacking and again after.
std::optional<std::string> RefusalReason(const InstallRules& rules, const PartEntry& entry);

// The first refused entry of a part; nullopt when the whole part may be
// installed.
std::optional<Refusal> RefusedEntry(const InstallRules& rules, const std::vector<PartEntry>& entries);

}  // namespace vork
