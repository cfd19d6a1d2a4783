#include "install/scratch_folder.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vork::testing {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::string pattern = fs::temp_directory_path().string() + "/vork-install-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = fs::canonical(pattern).string();
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::Tree() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(path_))
    names.push_back(entry.path().lexically_relative(path_).string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ScratchFolder::Snapshot() const {
  std::string snapshot;
  for (const std::string& name : Tree()) {
    const fs::path path = fs::path(path_) / name;
    const fs::file_status status = fs::symlink_status(path);
    snapshot += name + " " + std::to_string(static_cast<int>(status.type())) + " " +
                std::to_string(static_cast<unsigned>(status.permissions())) + " ";
    if (fs::is_symlink(status)) snapshot += "-> " + fs::read_symlink(path).string();
    else if (fs::is_regular_file(status)) snapshot += ReadFile(path.string());
    snapshot += "\n";
  }
  return snapshot;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace vork::testing
