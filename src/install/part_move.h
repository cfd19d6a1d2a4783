#pragma once
// Moving an unpacked part from its staging folder into the course folder as
// one step. A file the part replaces is first moved aside into a keeping
// folder; only when every move succeeded are the kept files dropped. When
// one move fails, everything done so far is undone in reverse order: the
// new files are taken out, the kept ones put back, the folders made are
// removed. The staging and keeping folders lie in the course folder, so
// every move is a rename on one file system.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vork {

// Renames from to to, replacing nothing (the caller moves any file at to
// aside first); false when it failed.
using RenameFile = std::function<bool(const std::string& from, const std::string& to)>;

bool RenameWithSystem(const std::string& from, const std::string& to);

class PartMove {
 public:
  PartMove(std::filesystem::path staging, std::filesystem::path keeping, std::filesystem::path root,
           RenameFile rename);

  // relatives: the staged entries, each folder before what it holds. False
  // when a move failed; the course folder is then as it was before.
  bool Run(const std::vector<std::filesystem::path>& relatives);

 private:
  struct Step {
    enum class Kind { MadeFolder, KeptAside, Placed } kind;
    std::filesystem::path target;  // in the course folder
    std::filesystem::path other;   // the kept file, or the staged one
  };

  bool PlaceFolder(const std::filesystem::path& relative);
  bool PlaceFile(const std::filesystem::path& relative);
  void Undo();

  std::filesystem::path staging_;
  std::filesystem::path keeping_;
  std::filesystem::path root_;
  RenameFile rename_;
  std::vector<Step> done_;
};

}  // namespace vork
