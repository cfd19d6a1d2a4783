#pragma once
// A scratch folder per test and small file helpers.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <cstdio>
#include <string>

namespace vork::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vork-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& data) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

inline std::string ReadFile(const std::string& path) {
  std::string data;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, got);
    std::fclose(file);
  }
  return data;
}

}  // namespace vork::testing
