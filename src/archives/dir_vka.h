#pragma once
// A resource directory: loose files, found by the course path resolver
// (letter case ignored, "\" as a separator).

#include "archives/vka_source.h"

namespace vork {

class TVkDirVka : public TIVkVka {
 public:
  // A trailing "/" is dropped.
  explicit TVkDirVka(std::string directory);

  std::string Locate(std::string_view name) override;
  // Every entry of the directory itself except "." and "..".
  std::vector<std::string> Names() override;
  std::unique_ptr<TKsStream> Open(std::string_view name) override;
  bool Exists(std::string_view name) override;
  const std::string& SourcePath() const override { return directory_; }

 private:
  std::string directory_;
};

}  // namespace vork
