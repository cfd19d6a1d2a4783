#include "archives/stream.h"

#include "platform/errors.h"

namespace vork {

int64_t TKsStream::Size() {
  int64_t position = Position();
  int64_t size = Seek(0, SeekOrigin::End);
  SetPosition(position);
  return size;
}

void TKsStream::ReadBuffer(void* buffer, size_t count) {
  int64_t position = Position();
  size_t got = Read(buffer, count);
  if (got != count)
    throw EVkError("Stream read error in \"" + Description() + "\": " + std::to_string(count) +
                   " bytes wanted at position " + std::to_string(position) + ", " +
                   std::to_string(got) + " available");
}

std::string TKsStream::ReadAll() {
  int64_t remaining = Size() - Position();
  std::string data(remaining > 0 ? static_cast<size_t>(remaining) : 0, '\0');
  data.resize(Read(data.data(), data.size()));
  return data;
}

}  // namespace vork
