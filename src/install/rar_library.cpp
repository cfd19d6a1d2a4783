#include "install/rar_library.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "install/unpack_names.h"

namespace vork {

struct RarArchive {
  archive* reader = nullptr;
  RARHeaderData current;
  bool has_entry = false;
  int64_t unpack_budget = INT64_MAX;
};

namespace {

// Folders of an entry's name, made with the user's permissions; none may be
// anything but a real folder (the unpack folder is fresh, so nothing but
// this archive can have put a link there, and links are never made).
bool MakeFolders(const std::string& root, const std::string& relative) {
  std::string path = root;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t slash = relative.find('/', start);
    if (slash == std::string::npos) break;
    path += '/';
    path.append(relative, start, slash - start);
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    start = slash + 1;
  }
  return true;
}

int WriteData(RarArchive* archive, const std::string& target) {
  ::archive* reader = archive->reader;
  // O_NOFOLLOW: a name repeated in the archive replaces the earlier file but
  // can never be written through a link.
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return ERAR_ECREATE;
  const void* block = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  int result = ERAR_SUCCESS;
  int status;
  while ((status = archive_read_data_block(reader, &block, &size, &offset)) == ARCHIVE_OK) {
    if (::lseek(fd, offset, SEEK_SET) < 0) {
      result = ERAR_EWRITE;
      break;
    }
    if (static_cast<int64_t>(size) > archive->unpack_budget) {
      result = ERAR_TOO_LARGE;
      break;
    }
    archive->unpack_budget -= static_cast<int64_t>(size);
    const char* bytes = static_cast<const char*>(block);
    while (size > 0) {
      const ssize_t written = ::write(fd, bytes, size);
      if (written < 0) {
        if (errno == EINTR) continue;
        result = ERAR_EWRITE;
        break;
      }
      bytes += written;
      size -= static_cast<size_t>(written);
    }
    if (result != ERAR_SUCCESS) break;
  }
  if (result == ERAR_SUCCESS && status != ARCHIVE_EOF) result = ERAR_BAD_DATA;
  if (::close(fd) != 0 && result == ERAR_SUCCESS) result = ERAR_EWRITE;
  return result;
}

int Skip(archive* reader) {
  return archive_read_data_skip(reader) == ARCHIVE_OK ? ERAR_SUCCESS : ERAR_BAD_DATA;
}

// Reads the entry's data without keeping it (which checks it).
int ReadThrough(archive* reader) {
  const void* block = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  int status;
  while ((status = archive_read_data_block(reader, &block, &size, &offset)) == ARCHIVE_OK) {
  }
  return status == ARCHIVE_EOF ? ERAR_SUCCESS : ERAR_BAD_DATA;
}

const char* EntryName(archive_entry* entry) {
  const char* name = archive_entry_pathname(entry);
  return name ? name : archive_entry_pathname_utf8(entry);
}

}  // namespace

RarArchive* RAROpenArchive(RAROpenArchiveData& data) {
  data.OpenResult = ERAR_SUCCESS;
  auto* result = new RarArchive;
  result->reader = archive_read_new();
  if (!result->reader) {
    delete result;
    data.OpenResult = ERAR_NO_MEMORY;
    return nullptr;
  }
  archive_read_support_format_rar(result->reader);
  archive_read_support_format_rar5(result->reader);
  if (archive_read_open_filename(result->reader, data.ArcName.c_str(), 64 * 1024) != ARCHIVE_OK) {
    data.OpenResult = ERAR_BAD_ARCHIVE;
    RARCloseArchive(result);
    return nullptr;
  }
  return result;
}

int RARReadHeader(RarArchive* archive, RARHeaderData& header) {
  archive_entry* entry = nullptr;
  archive->has_entry = false;
  const int status = archive_read_next_header(archive->reader, &entry);
  if (status == ARCHIVE_EOF) return ERAR_END_ARCHIVE;
  if (status != ARCHIVE_OK && status != ARCHIVE_WARN) return ERAR_BAD_DATA;
  const char* name = EntryName(entry);
  if (!name) return ERAR_BAD_DATA;
  RARHeaderData read;
  read.StoredName = name;
  read.FileName = SafeRelativePath(name).value_or("");
  read.UnpSize = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
  read.FileAttr = static_cast<uint32_t>(archive_entry_perm(entry));
  const auto type = archive_entry_filetype(entry);
  read.Directory = type == AE_IFDIR;
  read.Link = type == AE_IFLNK || archive_entry_hardlink(entry) != nullptr ||
              archive_entry_symlink(entry) != nullptr;
  read.Special = !read.Directory && !read.Link && type != AE_IFREG;
  archive->current = read;
  archive->has_entry = true;
  header = read;
  return ERAR_SUCCESS;
}

int RARProcessFile(RarArchive* archive, int operation, const std::string& dest_path) {
  if (!archive->has_entry) return ERAR_BAD_DATA;
  archive->has_entry = false;
  const RARHeaderData& entry = archive->current;
  if (operation == RAR_TEST) return ReadThrough(archive->reader);
  if (operation != RAR_EXTRACT || entry.Link || entry.Special) return Skip(archive->reader);
  if (entry.FileName.empty()) return ERAR_BAD_DATA;
  if (entry.Directory) {
    if (!MakeFolders(dest_path, entry.FileName + "/")) return ERAR_ECREATE;
    return Skip(archive->reader);
  }
  if (!MakeFolders(dest_path, entry.FileName)) return ERAR_ECREATE;
  if (entry.UnpSize > archive->unpack_budget) return ERAR_TOO_LARGE;
  return WriteData(archive, dest_path + "/" + entry.FileName);
}

void RARSetUnpackLimit(RarArchive* archive, int64_t bytes) { archive->unpack_budget = bytes; }

int RARCloseArchive(RarArchive* archive) {
  if (!archive) return ERAR_SUCCESS;
  if (archive->reader) archive_read_free(archive->reader);
  delete archive;
  return ERAR_SUCCESS;
}

}  // namespace vork
