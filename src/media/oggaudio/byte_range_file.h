#pragma once
// A read-only window onto a file: the whole file, or a byte range inside a
// course archive. Decoders see the window as a file of its own, so a sound
// inside an archive streams from disk and never reads past its range.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "media/oggaudio/sound_location.h"

namespace vork {

class ByteRangeFile {
 public:
  // Opens the location's file and checks that its range lies inside it;
  // throws SoundError (cannot open, range past end) otherwise.
  static ByteRangeFile Open(const SoundLocation& location);

  // Takes ownership of an open stream (for example one over memory) and
  // shows the `size` bytes from `offset` on; the caller vouches for the range.
  ByteRangeFile(std::FILE* file, std::uint64_t offset, std::uint64_t size);

  // Reads up to `count` bytes at the current position, never past the range;
  // answers how many were read.
  std::size_t Read(void* buffer, std::size_t count);
  // Moves within the range (whence as for fseek); answers false, without
  // moving, for a position outside it.
  bool Seek(std::int64_t offset, int whence);
  std::uint64_t Tell() const { return position_; }
  std::uint64_t Size() const { return size_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::uint64_t begin_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;  // relative to begin_
};

}  // namespace vork
