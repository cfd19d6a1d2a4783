#include "archives/memory_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/errors.h"

namespace vork {

size_t TKsMemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= data_.size()) return 0;
  size_t got = std::min(count, data_.size() - position_);
  std::memcpy(buffer, data_.data() + position_, got);
  position_ += got;
  return got;
}

size_t TKsMemoryStream::Write(const void* buffer, size_t count) {
  if (data_.size() < position_ + count) data_.resize(position_ + count, '\0');
  std::memcpy(data_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

int64_t TKsMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = origin == SeekOrigin::Begin     ? 0
                 : origin == SeekOrigin::Current ? static_cast<int64_t>(position_)
                                                 : static_cast<int64_t>(data_.size());
  if (base + offset < 0) throw EVkError("Seek before the start of a memory stream");
  position_ = static_cast<size_t>(base + offset);
  return static_cast<int64_t>(position_);
}

}  // namespace vork
