#pragma once
// The one resolver for file names that come from a course. Courses were made
// on a case-insensitive file system and write "\" between folders, so a name
// taken from a course is matched here component by component without regard
// to case (Windows-1252 letters), with "\" and "/" both separating folders.

#include <string>
#include <string_view>

namespace vork {

// name with every "\" turned into "/".
std::string WithForwardSlashes(std::string_view name);

// The path of an existing file or folder that matches directory + "/" + name,
// each component of name compared without regard to case when the exact
// spelling does not exist; an exact match always wins, and among several
// case-insensitive matches the first in byte order is taken, so the answer
// does not depend on the order of folder listings. When nothing matches, the
// plain joined path (with "/" separators) is returned, so that the caller's
// open or existence test fails naming the file the course asked for.
// directory itself is taken as it is.
std::string ResolveCoursePath(std::string_view directory, std::string_view name);

// ResolveCoursePath for a whole path (absolute, or relative to the working
// folder).
std::string ResolveCoursePath(std::string_view path);

// True when the resolved name is an existing regular file.
bool CourseFileExists(std::string_view directory, std::string_view name);

}  // namespace vork
