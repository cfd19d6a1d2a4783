#pragma once
// A resource archive file as a resource source.

#include "archives/ark_reader.h"
#include "archives/vka_source.h"

namespace vork {

class TVkFileVka : public TIVkVka {
 public:
  // Opens the archive and reads its directory; throws EVkError when the file
  // cannot be opened or is not a readable archive.
  explicit TVkFileVka(std::string path);

  // "path@offset,size"
  std::string Locate(std::string_view name) override;
  // In directory order (sorted without regard to case).
  std::vector<std::string> Names() override;
  std::unique_ptr<TKsStream> Open(std::string_view name) override;
  bool Exists(std::string_view name) override;
  const std::string& SourcePath() const override { return path_; }

  const TKsArkReader& Reader() const { return *reader_; }

 private:
  std::string path_;
  std::unique_ptr<TKsArkReader> reader_;
};

}  // namespace vork
