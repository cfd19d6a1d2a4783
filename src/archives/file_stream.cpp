#include "archives/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/errors.h"
#include "platform/fault_injection.h"

namespace vork {

TKsFileStream::TKsFileStream(const std::string& path, Mode mode) : path_(path) {
  int flags = mode == Mode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd_ < 0) throw EVkError("Cannot open file \"" + path + "\": " + std::strerror(errno));
  struct stat info;
  if (mode == Mode::Read && ::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd_);
    throw EVkError("Cannot open file \"" + path + "\": it is a directory");
  }
}

TKsFileStream::~TKsFileStream() { ::close(fd_); }

size_t TKsFileStream::Read(void* buffer, size_t count) {
  size_t total = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (total < count) {
    ssize_t got = FileOperationFails() ? -1 : ::pread(fd_, bytes + total, count - total, position_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0)
      throw EVkError("Cannot read file \"" + path_ + "\": " + std::strerror(errno));
    if (got == 0) break;
    total += static_cast<size_t>(got);
    position_ += got;
  }
  return total;
}

size_t TKsFileStream::Write(const void* buffer, size_t count) {
  size_t total = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (total < count) {
    ssize_t put = FileOperationFails() ? -1 : ::pwrite(fd_, bytes + total, count - total, position_);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    total += static_cast<size_t>(put);
    position_ += put;
  }
  return total;
}

int64_t TKsFileStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::Current) base = position_;
  if (origin == SeekOrigin::End) {
    struct stat info;
    if (::fstat(fd_, &info) != 0)
      throw EVkError("Cannot read file \"" + path_ + "\": " + std::strerror(errno));
    base = info.st_size;
  }
  int64_t target = base + offset;
  if (target < 0) throw EVkError("Seek before the start of \"" + path_ + "\"");
  position_ = target;
  return position_;
}

}  // namespace vork
