#pragma once
// A small reader and writer of "[Section]" / "Name=value" files: the settings
// file beside the program and the plain-text registry. Section and entry
// names compare without regard to case; values are kept as written.

#include <map>
#include <string>
#include <string_view>

#include "platform/cp1252.h"

namespace vork {

class IniFile {
 public:
  // Reads path; a missing or unreadable file gives an empty IniFile.
  static IniFile Load(const std::string& path);
  static IniFile Parse(std::string_view text);

  // The value, or fallback when the section or entry is absent.
  std::string Get(std::string_view section, std::string_view name,
                  std::string_view fallback = {}) const;
  bool Has(std::string_view section, std::string_view name) const;
  void Set(std::string_view section, std::string_view name, std::string_view value);
  void Remove(std::string_view section, std::string_view name);
  bool HasSection(std::string_view section) const;

  std::string Text() const;
  // Writes the whole file through a temporary file and a rename, so that a
  // crash leaves either the old or the new file. Throws EVkError on failure.
  void Save(const std::string& path) const;

 private:
  using Entries = std::map<std::string, std::string, LessIgnoreCase>;
  std::map<std::string, Entries, LessIgnoreCase> sections_;
};

// Writes data to path atomically: a new file beside it (O_CREAT|O_EXCL),
// flushed to disk and renamed over path. The new file keeps the permission
// bits of the file it replaces, and its owner and group where this process
// may set them; a file that did not exist follows the umask. Throws EVkError
// naming the file on failure and leaves the old file as it was.
void WriteFileAtomically(const std::string& path, std::string_view data);

// Deletes the temporary files that WriteFileAtomically left beside path when
// its process was killed in the middle of a write. Only the one writer of
// path may call it (for example while holding a lock on it): another
// writer's temporary file would vanish under it.
void RemoveLeftoverTemporaryFiles(const std::string& path);

}  // namespace vork
