#include "archives/client_stream.h"

#include <algorithm>

namespace vork {

TKsClientStream::TKsClientStream(std::shared_ptr<TKsStream> parent, int64_t start, int64_t size)
    : parent_(std::move(parent)), start_(start), end_(start + size) {}

size_t TKsClientStream::Read(void* buffer, size_t count) {
  int64_t available = end_ - (start_ + position_);
  if (available <= 0 || count == 0) return 0;
  parent_->SetPosition(start_ + position_);
  size_t got = parent_->Read(buffer, std::min(count, static_cast<size_t>(available)));
  position_ += static_cast<int64_t>(got);
  return got;
}

size_t TKsClientStream::Write(const void* buffer, size_t count) {
  parent_->SetPosition(start_ + position_);
  size_t put = parent_->Write(buffer, count);
  position_ += static_cast<int64_t>(put);
  end_ = std::max(end_, start_ + position_);
  return put;
}

int64_t TKsClientStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t size = end_ - start_;
  int64_t target = origin == SeekOrigin::Begin     ? offset
                   : origin == SeekOrigin::Current ? position_ + offset
                                                   : size + offset;
  position_ = std::clamp<int64_t>(target, 0, size);
  return position_;
}

}  // namespace vork
