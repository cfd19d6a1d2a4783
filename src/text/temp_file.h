#pragma once
// Reserving fresh temporary files (voice recordings, downloads) under names
// that no other file has.

#include <string>
#include <string_view>

namespace vork {

// The temporary directory ($TMPDIR, else /tmp) without a trailing "/".
std::string TempDirectory();

// A new, empty file prefix + two decimal numbers + extension, created with
// the user's permissions only, or empty when 1000 tries fail. Creation is
// exclusive (O_CREAT|O_EXCL): a name is ours only if we made the file, even
// when other programs share the directory. An extension that holds a path
// separator ("/" or "\") or a NUL byte gives empty: it would place the file
// somewhere else.
std::string CreateTempFileWithPrefix(std::string_view prefix, std::string_view extension);

// CreateTempFileWithPrefix(TempDirectory() + "/~", extension):
// "/tmp/~4127733.wav".
std::string CreateTempFile(std::string_view extension);

}  // namespace vork
