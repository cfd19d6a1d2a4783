#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <string>
#include <vector>

namespace vork::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Every path below the folder, relative and sorted ("a", "a/b").
  std::vector<std::string> Tree() const;
  // Every entry below the folder with its kind, permission bits and bytes
  // (a link's target), one a line: whole folders compare by it.
  std::string Snapshot() const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
// Writes bytes to path (replacing it).
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace vork::testing
