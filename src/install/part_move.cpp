#include "install/part_move.h"

#include <stdio.h>

#include <system_error>

namespace vork {

namespace fs = std::filesystem;

bool RenameWithSystem(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

PartMove::PartMove(fs::path staging, fs::path keeping, fs::path root, RenameFile rename)
    : staging_(std::move(staging)),
      keeping_(std::move(keeping)),
      root_(std::move(root)),
      rename_(rename ? std::move(rename) : RenameFile(RenameWithSystem)) {}

bool PartMove::Run(const std::vector<fs::path>& relatives) {
  for (const fs::path& relative : relatives) {
    const bool folder = fs::is_directory(fs::symlink_status(staging_ / relative));
    if (!(folder ? PlaceFolder(relative) : PlaceFile(relative))) {
      Undo();
      return false;
    }
  }
  done_.clear();
  return true;
}

bool PartMove::PlaceFolder(const fs::path& relative) {
  const fs::path target = root_ / relative;
  std::error_code error;
  if (fs::is_directory(target, error)) return true;
  if (!fs::create_directory(target, error) || error) return false;
  done_.push_back({Step::Kind::MadeFolder, target, {}});
  return true;
}

bool PartMove::PlaceFile(const fs::path& relative) {
  const fs::path target = root_ / relative;
  const fs::path staged = staging_ / relative;
  std::error_code error;
  if (fs::exists(fs::symlink_status(target, error))) {
    if (fs::is_directory(fs::symlink_status(target, error))) return false;
    // Numbered, so that two entries differing only in a folder never meet.
    const fs::path kept = keeping_ / std::to_string(done_.size());
    if (!rename_(target.string(), kept.string())) return false;
    done_.push_back({Step::Kind::KeptAside, target, kept});
  }
  if (!rename_(staged.string(), target.string())) return false;
  done_.push_back({Step::Kind::Placed, target, staged});
  return true;
}

// Undoing uses the system's rename and never stops half-way: whatever one
// step cannot undo, the others still are.
void PartMove::Undo() {
  std::error_code ignored;
  for (auto step = done_.rbegin(); step != done_.rend(); ++step) {
    switch (step->kind) {
      case Step::Kind::Placed: fs::remove(step->target, ignored); break;
      case Step::Kind::KeptAside: RenameWithSystem(step->other.string(), step->target.string()); break;
      case Step::Kind::MadeFolder: fs::remove(step->target, ignored); break;
    }
  }
  done_.clear();
}

}  // namespace vork
