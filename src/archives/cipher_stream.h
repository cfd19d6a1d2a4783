#pragma once
// A stream that scrambles what it writes and descrambles what it reads,
// keyed by each byte's absolute position in the underlying stream. Seeking
// passes through unchanged.

#include <memory>
#include <vector>

#include "archives/stream.h"

namespace vork {

class TKsCipherStream : public TKsStream {
 public:
  // A method above 3 throws EVkError "Error #2719". The underlying stream is
  // shared so that windows opened on this stream keep it alive.
  TKsCipherStream(std::shared_ptr<TKsStream> stream, int method);

  size_t Read(void* buffer, size_t count) override;
  // Stops early when the underlying stream writes fewer bytes than asked.
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  std::string Description() const override { return stream_->Description(); }
  int Method() const { return method_; }

 private:
  static constexpr size_t kWorkBufferSize = 65536;
  std::shared_ptr<TKsStream> stream_;
  int method_;
  std::vector<unsigned char> work_;  // allocated by the first Write
};

}  // namespace vork
