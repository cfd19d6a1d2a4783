#include "install/extract_archive.h"

#include <stdlib.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "install/rar_library.h"

namespace vork {
namespace {

namespace fs = std::filesystem;

constexpr size_t kHeadBytes = 16;

struct ArchiveCloser {
  void operator()(RarArchive* archive) const { RARCloseArchive(archive); }
};

// A working folder of the installation: made in the destination (so that
// moving a file into place is a rename on one file system), named so that a
// later start finds it if this process is killed, and removed with
// everything left in it.
class WorkFolder {
 public:
  explicit WorkFolder(const std::string& destination) {
    std::string pattern = destination + "/.~install-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~WorkFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

ExtractOutcome Outcome(ExtractResult result) { return {result, {}, 0}; }

ExtractOutcome RefusedOutcome(const std::string& entry, const std::string& reason) {
  return {ExtractResult::Refused, {entry, reason}, 0};
}

ExtractResult ResultOf(int code) {
  if (code == ERAR_TOO_LARGE) return ExtractResult::TooLarge;
  return code == ERAR_ECREATE || code == ERAR_EWRITE ? ExtractResult::NotWritable
                                                     : ExtractResult::Corrupt;
}

PartEntryKind KindOf(const RARHeaderData& header) {
  if (header.Link) return PartEntryKind::Link;
  if (header.Special) return PartEntryKind::Other;
  return header.Directory ? PartEntryKind::Folder : PartEntryKind::File;
}

std::string HeadOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string head(kHeadBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return head;
}

// Unpacks every entry into folder, asking the rules about each before it
// is written and, once its first bytes are known, again after.
ExtractOutcome Unpack(const std::string& archive_file, const std::string& folder,
                      const ExtractOptions& options, int64_t limit) {
  RAROpenArchiveData open;
  open.ArcName = archive_file;
  open.OpenMode = RAR_OM_EXTRACT;
  std::unique_ptr<RarArchive, ArchiveCloser> archive(RAROpenArchive(open));
  if (!archive) return Outcome(ExtractResult::Corrupt);
  RARSetUnpackLimit(archive.get(), limit);
  RARHeaderData header;
  for (;;) {
    const int read = RARReadHeader(archive.get(), header);
    if (read == ERAR_END_ARCHIVE) return Outcome(ExtractResult::Done);
    if (read != ERAR_SUCCESS) return Outcome(ExtractResult::Corrupt);
    PartEntry entry{header.StoredName, KindOf(header), header.FileAttr, {}};
    if (auto reason = RefusalReason(options.rules, entry)) return RefusedOutcome(entry.name, *reason);
    const int processed = RARProcessFile(archive.get(), RAR_EXTRACT, folder);
    if (processed != ERAR_SUCCESS) return Outcome(ResultOf(processed));
    if (entry.kind != PartEntryKind::File) continue;
    entry.head = HeadOf(fs::path(folder) / header.FileName);
    if (auto reason = RefusalReason(options.rules, entry)) return RefusedOutcome(entry.name, *reason);
  }
}

bool IsWithin(const fs::path& path, const fs::path& root) {
  auto p = path.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++p)
    if (p == path.end() || *p != *r) return false;
  return true;
}

// A file already in the course that a part must not replace: one that can
// run (the player, a library, a helper program).
bool IsProgram(const fs::path& target) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(target, error);
  if (error || !fs::is_regular_file(status)) return false;
  const auto execute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  return (status.permissions() & execute) != fs::perms::none || LooksLikeProgram(HeadOf(target));
}

// Every staged entry's place in the destination, folders before what they
// hold, or the reason the part may not go there.
ExtractOutcome PlacesToFill(const fs::path& staging, const fs::path& root,
                            std::vector<fs::path>& relatives) {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(staging, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::path relative = it->path().lexically_relative(staging);
    // The entry itself may be replaced (a rename does not follow a link), so
    // only the folder it lands in must resolve inside the destination.
    const fs::path parent = fs::weakly_canonical(root / relative.parent_path(), error);
    if (error || !IsWithin(parent, root))
      return RefusedOutcome(relative.generic_string(), "its folder in the course leads elsewhere");
    if (!it->is_directory() && IsProgram(root / relative))
      return RefusedOutcome(relative.generic_string(), "it would replace a program");
    relatives.push_back(relative);
  }
  return Outcome(error ? ExtractResult::NotWritable : ExtractResult::Done);
}

int64_t FreeBytes(const fs::path& folder) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return 0;
  return static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
}

}  // namespace

int64_t UnpackLimit(int64_t archive_bytes, int64_t free_bytes, const ExtractOptions& options) {
  const int64_t by_ratio = archive_bytes > INT64_MAX / std::max<int64_t>(options.unpack_ratio, 1)
                               ? INT64_MAX
                               : archive_bytes * options.unpack_ratio;
  const int64_t by_disk = std::max<int64_t>(free_bytes - options.free_space_reserve, 0);
  return std::max<int64_t>(std::min({by_ratio, by_disk, options.max_unpacked_bytes}), 0);
}

ExtractOutcome ExtractArchive(const std::string& archive_file, const std::string& destination,
                              const ExtractOptions& options) {
  std::error_code error;
  const fs::path root = fs::canonical(destination, error);
  if (error) return Outcome(ExtractResult::NotWritable);
  const auto archive_bytes = static_cast<int64_t>(fs::file_size(archive_file, error));
  if (error) return Outcome(ExtractResult::Corrupt);
  const int64_t limit = UnpackLimit(archive_bytes, FreeBytes(root), options);
  WorkFolder staging(root.string());
  if (staging.Path().empty()) return Outcome(ExtractResult::NotWritable);
  ExtractOutcome outcome = Unpack(archive_file, staging.Path(), options, limit);
  outcome.limit_bytes = limit;
  if (outcome.result != ExtractResult::Done) return outcome;
  std::vector<fs::path> relatives;
  outcome = PlacesToFill(staging.Path(), root, relatives);
  outcome.limit_bytes = limit;
  if (outcome.result != ExtractResult::Done) return outcome;
  WorkFolder keeping(root.string());
  if (keeping.Path().empty()) return Outcome(ExtractResult::NotWritable);
  if (!PartMove(staging.Path(), keeping.Path(), root, options.rename).Run(relatives))
    outcome.result = ExtractResult::NotWritable;
  return outcome;
}

}  // namespace vork
