#include "install/extract_archive.h"

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "install/rar_library.h"

namespace vork {
namespace {

namespace fs = std::filesystem;

struct ArchiveCloser {
  void operator()(RarArchive* archive) const { RARCloseArchive(archive); }
};

// The staging folder: made beside the destination (so that moving a file
// into place is a rename on one file system) and removed with everything
// left in it.
class StagingFolder {
 public:
  explicit StagingFolder(const std::string& destination) {
    std::string pattern = destination + "/.~install-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~StagingFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

ExtractResult ResultOf(int code) {
  return code == ERAR_ECREATE || code == ERAR_EWRITE ? ExtractResult::NotWritable
                                                     : ExtractResult::Corrupt;
}

ExtractResult Unpack(const std::string& archive_file, const std::string& folder) {
  RAROpenArchiveData open;
  open.ArcName = archive_file;
  open.OpenMode = RAR_OM_EXTRACT;
  std::unique_ptr<RarArchive, ArchiveCloser> archive(RAROpenArchive(open));
  if (!archive) return ExtractResult::Corrupt;
  RARHeaderData header;
  for (;;) {
    const int read = RARReadHeader(archive.get(), header);
    if (read == ERAR_END_ARCHIVE) return ExtractResult::Done;
    if (read != ERAR_SUCCESS) return ExtractResult::Corrupt;
    const int processed = RARProcessFile(archive.get(), RAR_EXTRACT, folder);
    if (processed != ERAR_SUCCESS) return ResultOf(processed);
  }
}

bool IsWithin(const fs::path& path, const fs::path& root) {
  auto p = path.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++p)
    if (p == path.end() || *p != *r) return false;
  return true;
}

// Every staged entry's place in the destination, folders before what they
// hold; empty when one of them would resolve to outside the destination.
std::vector<fs::path> PlacesToFill(const fs::path& staging, const fs::path& root,
                                   bool& escapes) {
  std::vector<fs::path> relatives;
  escapes = false;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(staging, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::path relative = it->path().lexically_relative(staging);
    // The entry itself may be replaced (a rename does not follow a link), so
    // only the folder it lands in must resolve inside the destination.
    const fs::path parent = fs::weakly_canonical(root / relative.parent_path(), error);
    if (error || !IsWithin(parent, root)) {
      escapes = true;
      return {};
    }
    relatives.push_back(relative);
  }
  if (error) escapes = true;
  return relatives;
}

ExtractResult MoveIntoPlace(const fs::path& staging, const fs::path& root) {
  bool escapes = false;
  const auto relatives = PlacesToFill(staging, root, escapes);
  if (escapes) return ExtractResult::Corrupt;
  std::error_code error;
  for (const fs::path& relative : relatives) {
    const fs::path from = staging / relative;
    const fs::path to = root / relative;
    if (fs::is_directory(fs::symlink_status(from))) {
      if (!fs::is_directory(to)) fs::create_directory(to, error);
      if (error || !fs::is_directory(to)) return ExtractResult::NotWritable;
    } else {
      fs::rename(from, to, error);
      if (error) return ExtractResult::NotWritable;
    }
  }
  return ExtractResult::Done;
}

}  // namespace

ExtractResult ExtractArchive(const std::string& archive_file, const std::string& destination) {
  std::error_code error;
  const fs::path root = fs::canonical(destination, error);
  if (error) return ExtractResult::NotWritable;
  StagingFolder staging(root.string());
  if (staging.Path().empty()) return ExtractResult::NotWritable;
  const ExtractResult unpacked = Unpack(archive_file, staging.Path());
  if (unpacked != ExtractResult::Done) return unpacked;
  return MoveIntoPlace(staging.Path(), root);
}

}  // namespace vork
