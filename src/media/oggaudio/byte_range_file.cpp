#include "media/oggaudio/byte_range_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>

#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_error.h"

namespace vork {

namespace {

[[noreturn]] void FailToOpen(const std::string& path, const std::string& reason) {
  throw SoundError(OGGAUDIO_ERROR_CANNOT_OPEN, "cannot open \"" + path + "\": " + reason);
}

// Opening without blocking keeps a FIFO or device node from hanging the
// player; only regular files are sounds.
std::FILE* OpenRegularFile(const std::string& path, std::uint64_t& fileSize) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) FailToOpen(path, std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    FailToOpen(path, "not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    ::close(fd);
    FailToOpen(path, std::strerror(errno));
  }
  fileSize = static_cast<std::uint64_t>(info.st_size);
  return file;
}

}  // namespace

ByteRangeFile ByteRangeFile::Open(const SoundLocation& location) {
  std::uint64_t fileSize = 0;
  std::FILE* file = OpenRegularFile(location.path, fileSize);
  if (!location.isRange) return ByteRangeFile(file, 0, fileSize);
  // Written so that offset + size cannot overflow.
  if (location.offset > fileSize || location.size > fileSize - location.offset) {
    std::fclose(file);
    throw SoundError(OGGAUDIO_ERROR_RANGE_PAST_END,
                     "the range " + std::to_string(location.offset) + "," + std::to_string(location.size) +
                         " reaches past the end of \"" + location.path + "\" (" + std::to_string(fileSize) +
                         " bytes)");
  }
  return ByteRangeFile(file, location.offset, location.size);
}

ByteRangeFile::ByteRangeFile(std::FILE* file, std::uint64_t offset, std::uint64_t size)
    : file_(file), begin_(offset), size_(size) {
  Seek(0, SEEK_SET);
}

std::size_t ByteRangeFile::Read(void* buffer, std::size_t count) {
  std::uint64_t left = size_ - position_;
  if (count > left) count = static_cast<std::size_t>(left);
  if (count == 0) return 0;
  std::size_t done = std::fread(buffer, 1, count, file_.get());
  position_ += done;
  return done;
}

bool ByteRangeFile::Seek(std::int64_t offset, int whence) {
  std::int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<std::int64_t>(position_);
  else if (whence == SEEK_END) base = static_cast<std::int64_t>(size_);
  else if (whence != SEEK_SET) return false;
  // A position outside [0, size] is refused before it is computed, so no
  // addition below can overflow.
  if (offset < -base || offset > static_cast<std::int64_t>(size_) - base) return false;
  std::uint64_t target = static_cast<std::uint64_t>(base + offset);
  if (begin_ + target > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
  if (::fseeko(file_.get(), static_cast<off_t>(begin_ + target), SEEK_SET) != 0) return false;
  position_ = target;
  return true;
}

}  // namespace vork
