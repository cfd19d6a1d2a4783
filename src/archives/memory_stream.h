#pragma once
// A stream over bytes held in memory: archives built by tests, fuzz inputs.

#include <string>

#include "archives/stream.h"

namespace vork {

class TKsMemoryStream : public TKsStream {
 public:
  TKsMemoryStream() = default;
  explicit TKsMemoryStream(std::string data) : data_(std::move(data)) {}

  size_t Read(void* buffer, size_t count) override;
  // Writing past the end grows the data; a gap left by a seek is zero-filled.
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  std::string Description() const override { return "memory"; }

  const std::string& Data() const { return data_; }

 private:
  std::string data_;
  size_t position_ = 0;
};

}  // namespace vork
