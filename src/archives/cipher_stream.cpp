#include "archives/cipher_stream.h"

#include <algorithm>
#include <cstring>

#include "archives/scrambling.h"
#include "platform/errors.h"

namespace vork {

TKsCipherStream::TKsCipherStream(std::shared_ptr<TKsStream> stream, int method)
    : stream_(std::move(stream)), method_(method) {
  if (method < 0 || method > kHighestScramblingMethod) throw EVkError("Error #2719");
}

size_t TKsCipherStream::Read(void* buffer, size_t count) {
  int64_t position = stream_->Position();
  size_t got = stream_->Read(buffer, count);
  Descramble(method_, static_cast<unsigned char*>(buffer), got, position);
  return got;
}

size_t TKsCipherStream::Write(const void* buffer, size_t count) {
  if (work_.empty()) work_.resize(kWorkBufferSize);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  size_t total = 0;
  while (total < count) {
    size_t chunk = std::min(count - total, kWorkBufferSize);
    std::memcpy(work_.data(), bytes + total, chunk);
    Scramble(method_, work_.data(), chunk, stream_->Position());
    size_t put = stream_->Write(work_.data(), chunk);
    total += put;
    if (put < chunk) break;
  }
  return total;
}

int64_t TKsCipherStream::Seek(int64_t offset, SeekOrigin origin) {
  return stream_->Seek(offset, origin);
}

}  // namespace vork
