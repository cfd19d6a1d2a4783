#pragma once
// A window onto part of another stream: reads and writes land at the
// window's start plus the window's own position, and never read past its end.

#include <memory>

#include "archives/stream.h"

namespace vork {

class TKsClientStream : public TKsStream {
 public:
  // The parent is shared so that a resource stream stays valid after the
  // archive it came from is closed (the archive set is rebuilt by a rescan
  // while the course may still hold an open resource).
  TKsClientStream(std::shared_ptr<TKsStream> parent, int64_t start, int64_t size);

  size_t Read(void* buffer, size_t count) override;
  // A write past the end lengthens the window.
  size_t Write(const void* buffer, size_t count) override;
  // The new position is clamped to 0 .. the window's size.
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  std::string Description() const override { return parent_->Description(); }

  int64_t Start() const { return start_; }
  int64_t WindowSize() const { return end_ - start_; }

 private:
  std::shared_ptr<TKsStream> parent_;
  int64_t start_;
  int64_t end_;
  int64_t position_ = 0;
};

}  // namespace vork
