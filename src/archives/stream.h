#pragma once
// The byte stream that archives, resources and pictures are read through:
// a position, Read and Write that answer how many bytes they moved, and Seek.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vork {

enum class SeekOrigin { Begin, Current, End };

class TKsStream {
 public:
  virtual ~TKsStream() = default;
  // Read and Write move at most count bytes and answer how many they moved;
  // a short count at the end of the data is not an error.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Answers the new position.
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, SeekOrigin::Begin); }
  // The size, leaving the position where it was.
  int64_t Size();

  // Reads exactly count bytes or throws EVkError naming what() of the
  // stream, with the position where the data ran out.
  void ReadBuffer(void* buffer, size_t count);
  // The rest of the stream from the position on.
  std::string ReadAll();

  // What the stream reads, for error messages (a file name, "memory").
  virtual std::string Description() const = 0;
};

}  // namespace vork
