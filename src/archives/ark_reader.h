#pragma once
// Reading resource archives (.vka files).
//
// Layout, integers little-endian:
//   0  "ARK2"
//   4  scrambling method (0..3)
//   5  directory offset D (4 bytes, scrambled)
//   D  entry count N, then N entries: name length (1 byte), name, data
//      offset (4), data size (4); all scrambled
// Resource data lies anywhere in between; it is scrambled too, except for
// ".ogg" resources, which the sound library reads straight from the file.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archives/client_stream.h"
#include "archives/stream.h"

namespace vork {

struct TKsArkItem {
  std::string name;
  uint32_t offset = 0;
  uint32_t size = 0;
};

// Items sorted by name without regard to case; "\" and "/" in names are the
// same separator and kept as "/".
class TKsArkItems {
 public:
  // Replaces the list by items given in directory order; of several items
  // whose names differ only in case, the last one is kept.
  void Assign(std::vector<TKsArkItem> items);
  // Inserts in order, replacing an item with the same name.
  void Add(TKsArkItem item);
  // Binary search; -1 when absent.
  int IndexOf(std::string_view name) const;
  size_t Count() const { return items_.size(); }
  const TKsArkItem& operator[](size_t index) const { return items_[index]; }

 private:
  std::vector<TKsArkItem> items_;
};

// True when name's extension is ".ogg" in any letter case: such resources are
// stored unscrambled.
bool IsStoredRaw(std::string_view name);

class TKsArkReader {
 public:
  // Reads the header and the directory. Throws EVkError with
  // "Unknown file format ($XXXXXXXX)" for a wrong magic, "Error #2719" for a
  // method above 3, and a message naming the archive for a truncated or
  // inconsistent header or directory.
  explicit TKsArkReader(std::shared_ptr<TKsStream> file);

  int Method() const { return method_; }
  size_t Count() const { return items_.Count(); }
  const std::string& Name(size_t index) const { return items_[index].name; }
  const TKsArkItem& Item(size_t index) const { return items_[index]; }
  int IndexOf(std::string_view name) const { return items_.IndexOf(name); }
  // A window on the resource's bytes, descrambled unless it is an ".ogg".
  // An unknown name throws "Resource \"name\" not found".
  std::unique_ptr<TKsClientStream> Open(std::string_view name) const;

 private:
  [[noreturn]] void Damaged(const std::string& reason) const;
  void ReadDirectory(int64_t file_size);

  std::shared_ptr<TKsStream> file_;
  int method_ = 0;
  std::shared_ptr<TKsStream> cipher_;
  TKsArkItems items_;
};

}  // namespace vork
