#pragma once
// A stream on a file, read-only or newly created for writing.

#include <string>

#include "archives/stream.h"

namespace vork {

class TKsFileStream : public TKsStream {
 public:
  enum class Mode { Read, Create };
  // Throws EVkError naming the file and the system's reason when it cannot
  // be opened.
  TKsFileStream(const std::string& path, Mode mode = Mode::Read);
  ~TKsFileStream() override;
  TKsFileStream(const TKsFileStream&) = delete;
  TKsFileStream& operator=(const TKsFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  std::string Description() const override { return path_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  int64_t position_ = 0;
};

}  // namespace vork
