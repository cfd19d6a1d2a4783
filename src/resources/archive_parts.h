#pragma once
// Finding a course's archive parts beside it: base + ".vka" and the update
// parts base + ".x01" … ".x99" (".x00" is never a part).

#include <string>
#include <vector>

namespace vork {

enum class PartKind { Directories, Files };

// The parts of base, as full paths, sorted without regard to case so that
// the ".vka" comes before the numbered parts. Names match without regard to
// case, as the file system the courses were made on did.
std::vector<std::string> FindArchiveParts(const std::string& base, PartKind kind);

// A list can be used when its first entry is the ".vka" base.
bool ArePartsUsable(const std::vector<std::string>& parts);

// The directory base of a program path: the text before the first ".img/"
// (letter case ignored), or "" when it has none. A course may run from a
// folder "course.img" whose archives are directories beside that folder.
std::string DirectoryBase(const std::string& program_path);

}  // namespace vork
