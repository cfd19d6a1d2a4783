#pragma once
// Names in a folder, and finding one the way courses spell it. Courses were
// made on file systems that ignore letter case (Windows-1252 letters), and
// their files often reach Linux with UTF-8 names; every lookup of a file a
// course or a learner names goes through SameNameIgnoringCase, so all of
// them match the same files.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

// The names in `folder` other than "." and "..", in byte order, so that no
// answer depends on the order of a folder listing; none when the folder
// cannot be read (as the empty name cannot).
std::vector<std::string> FolderNames(const std::string& folder);

// True when `on_disk`, a name as a folder holds it, is `wanted` without
// regard to letter case. When `wanted` has letters beyond ASCII, a name on
// disk also matches through its Windows-1252 spelling, for files whose
// names were written in UTF-8.
bool SameNameIgnoringCase(std::string_view on_disk, std::string_view wanted);

// The names in `folder` that are `wanted` without regard to letter case, in
// byte order.
std::vector<std::string> FindIgnoringCase(const std::string& folder, std::string_view wanted);

}  // namespace vork
